// The month grid as plain values: slot geometry, weekday headings, and the
// fill of the 42 cells for a month.
#include "morlex/calendar/month_grid.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "morlex/core/date.h"
#include "morlex/core/date_text.h"
#include "morlex/platform/date_names.h"

namespace {

using morlex::calendar::FillMonthCells;
using morlex::calendar::FirstDayCell;
using morlex::calendar::kCells;
using morlex::calendar::LayoutGrid;
using morlex::calendar::MarkCell;
using morlex::calendar::MarkedCell;
using morlex::calendar::MonthCells;
using morlex::calendar::RoundHalfEven;

// The caption of a day cell, "1" to "31" (the sweep below asks millions of
// times, so the texts are made once).
const std::u16string& Caption(int day) {
  static const auto table = [] {
    std::array<std::u16string, 32> t;
    for (int d = 1; d < 32; ++d) {
      for (char c : std::to_string(d)) t[d].push_back(static_cast<char16_t>(c));
    }
    return t;
  }();
  return table.at(static_cast<std::size_t>(day));
}

int BorderCount(const MonthCells& cells) {
  int n = 0;
  for (const auto& c : cells) n += c.bordered ? 1 : 0;
  return n;
}

TEST(MonthGridGeometry, RoundsExactHalvesToEven) {
  const struct {
    double in;
    double out;
  } cases[] = {{297.5, 298}, {296.5, 296}, {426.428, 426}, {0.5, 0},  {1.5, 2},
               {2.5, 2},     {2.4999, 2},  {2.5001, 3},    {-0.5, 0}, {-1.5, -2}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(MonthGridGeometry, DesignedAreaGivesTheWorkedExample) {
  const auto g = LayoutGrid(3015, 1815);
  EXPECT_EQ(g.row_height, 298);  // 297.5 goes to the even neighbour
  EXPECT_EQ(g.column_width, 426);
  EXPECT_EQ(g.CellWidth(), 396);
  EXPECT_EQ(g.CellHeight(), 268);
  const int tops[] = {15, 313, 611, 909, 1207, 1505};
  const int lefts[] = {15, 441, 867, 1293, 1719, 2145, 2571};
  for (int r = 0; r < 6; ++r) EXPECT_EQ(g.CellTop(r), tops[r]) << r;
  for (int c = 0; c < 7; ++c) EXPECT_EQ(g.CellLeft(c), lefts[c]) << c;
}

// Areas whose slots come out at an exact half, where rounding half away from
// zero would differ.
TEST(MonthGridGeometry, ExactHalfSlotsGoToTheEvenSize) {
  const struct {
    double width, height;
    int column_width, row_height;
  } cases[] = {
      {2021.5, 1809, 284, 296},  // 284.5 and 296.5 round down
      {2028.5, 1815, 286, 298},  // 285.5 and 297.5 round up
      {3015, 1812, 426, 297},    // no half: ordinary rounding
  };
  for (const auto& c : cases) {
    const auto g = LayoutGrid(c.width, c.height);
    EXPECT_EQ(g.column_width, c.column_width) << c.width;
    EXPECT_EQ(g.row_height, c.row_height) << c.height;
  }
}

TEST(MonthGridGeometry, DegenerateAreasGiveEmptyCellsNotNegativeOnes) {
  const struct {
    double width, height;
  } cases[] = {{0, 0}, {20, 20}, {-500, 100}, {NAN, NAN}, {30, 30}};
  for (const auto& c : cases) {
    const auto g = LayoutGrid(c.width, c.height);
    EXPECT_GE(g.column_width, 0);
    EXPECT_GE(g.row_height, 0);
    EXPECT_EQ(g.CellWidth(), 0);
    EXPECT_EQ(g.CellHeight(), 0);
  }
}

TEST(MonthGridHeadings, SundayToSaturdayAbbreviated) {
  const char16_t* names[] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(morlex::calendar::WeekdayHeading(i), names[i]) << i;
}

// English names in a week that starts on another day, with a long date of
// their own.
class WeekFrom final : public morlex::platform::DateNames {
 public:
  explicit WeekFrom(int first) : first_(first) {}
  std::u16string MonthName(int month) const override { return English().MonthName(month); }
  std::u16string ShortDayName(int weekday) const override {
    return English().ShortDayName(weekday);
  }
  int FirstWeekday() const override { return first_; }
  std::optional<std::u16string> LongDate(const morlex::Date& date) const override {
    if (first_ == 1) return std::nullopt;
    return morlex::FormatDate(date, u"dddd, d mmmm yyyy");
  }

 private:
  static const morlex::platform::DateNames& English() {
    return morlex::platform::EnglishDateNames::Instance();
  }
  int first_;
};

TEST(MonthGridHeadings, AWeekFromAnotherDayAndItsLongDate) {
  using morlex::calendar::CalendarTitle;
  using morlex::calendar::WeekdayHeading;
  EXPECT_EQ(WeekdayHeading(0, WeekFrom(2)), u"Mon");
  EXPECT_EQ(WeekdayHeading(6, WeekFrom(2)), u"Sun");
  EXPECT_EQ(WeekdayHeading(0, WeekFrom(7)), u"Sat");
  EXPECT_EQ(WeekdayHeading(0, WeekFrom(0)), u"Sun");  // names no weekday: Sunday
  EXPECT_EQ(CalendarTitle({2026, 12, 24}, WeekFrom(2)), u"Thursday, 24 December 2026");
  EXPECT_EQ(CalendarTitle({1999, 3, 5}, WeekFrom(1)), u"March 05, 1999");
}

// Where day 1 and the last day land, for the months whose shape matters.
TEST(MonthGridFill, FirstAndLastCellOfKnownMonths) {
  const struct {
    int month, year;
    int first_cell, last_cell;
  } cases[] = {
      {8, 1999, 7, 37},   // starts on a Sunday: the first row stays blank
      {2, 1998, 7, 34},   // Sunday start, 28 days: rows 0 and 5 blank
      {1, 2000, 6, 36},   // starts on a Saturday
      {3, 1999, 1, 31},   // starts on a Monday
      {2, 2000, 2, 30},   // leap February, Tuesday start
      {2, 1900, 4, 31},   // century year, not leap: 28 days
      {2, 2400, 2, 30},   // divisible by 400: leap
      {12, 1999, 3, 33},  // Wednesday start
      {1, 100, 5, 35},    // the first month of the range (a Friday)
      {12, 9999, 3, 33},  // the last (a Wednesday)
  };
  for (const auto& c : cases) {
    const auto cells = FillMonthCells(c.month, c.year, 1);
    EXPECT_EQ(FirstDayCell(c.month, c.year), c.first_cell) << c.month << "/" << c.year;
    EXPECT_EQ(cells[c.first_cell].caption, u"1") << c.month << "/" << c.year;
    EXPECT_EQ(cells[c.last_cell].caption, Caption(c.last_cell - c.first_cell + 1));
    for (int i = 0; i < kCells; ++i) {
      const bool in_month = i >= c.first_cell && i <= c.last_cell;
      EXPECT_EQ(cells[i].enabled, in_month) << c.month << "/" << c.year << " cell " << i;
      EXPECT_EQ(cells[i].caption.empty(), !in_month) << c.month << "/" << c.year << " cell " << i;
    }
  }
}

// A week from another day shifts the fill by the same rule: a month that
// starts on the week's first day leaves the first row blank.
TEST(MonthGridFill, AWeekFromAnotherDayShiftsTheFill) {
  const struct {
    int month, year, first_weekday;
    int first_cell;
  } cases[] = {
      {3, 1999, 2, 7},   // a Monday start in a week from Monday
      {8, 1999, 2, 6},   // a Sunday start: the first row's last cell
      {12, 2026, 2, 1},  // a Tuesday start
      {1, 2000, 7, 7},   // a Saturday start in a week from Saturday
      {1, 2000, 0, 6},   // first weekdays that name none count as Sunday
      {1, 2000, 8, 6},
  };
  for (const auto& c : cases) {
    const int last_cell = c.first_cell + morlex::DaysInMonth(c.year, c.month) - 1;
    const auto cells = FillMonthCells(c.month, c.year, 1, c.first_weekday);
    EXPECT_EQ(FirstDayCell(c.month, c.year, c.first_weekday), c.first_cell)
        << c.month << "/" << c.year << " from " << c.first_weekday;
    EXPECT_EQ(cells[c.first_cell].caption, u"1");
    EXPECT_TRUE(cells[c.first_cell].bordered);
    EXPECT_EQ(cells[last_cell].caption, Caption(last_cell - c.first_cell + 1));
    EXPECT_TRUE(cells[c.first_cell - 1].caption.empty());
    EXPECT_TRUE(cells[last_cell + 1].caption.empty());
  }
}

TEST(MonthGridFill, MarksOnlyTheChosenDay) {
  // August 1999: day d is cell 6 + d.
  for (int day = 1; day <= 31; ++day) {
    const auto cells = FillMonthCells(8, 1999, day);
    EXPECT_EQ(BorderCount(cells), 1) << day;
    EXPECT_EQ(MarkedCell(cells), 6 + day) << day;
  }
  // A chosen day the month lacks marks nothing rather than a blank cell.
  EXPECT_EQ(MarkedCell(FillMonthCells(2, 1999, 30)), -1);
  EXPECT_EQ(MarkedCell(FillMonthCells(2, 1999, 0)), -1);
}

TEST(MonthGridFill, OutOfRangeMonthsGiveABlankGrid) {
  const struct {
    int month, year;
  } cases[] = {{0, 1999}, {13, 1999}, {12, 99}, {1, 10000}, {-1, -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(FirstDayCell(c.month, c.year), 0);
    const auto cells = FillMonthCells(c.month, c.year, 1);
    for (const auto& cell : cells) {
      EXPECT_FALSE(cell.enabled);
      EXPECT_TRUE(cell.caption.empty());
      EXPECT_FALSE(cell.bordered);
    }
  }
}

TEST(MonthGridFill, MarkCellMovesTheOnlyBorder) {
  auto cells = FillMonthCells(3, 1999, 15);
  for (int index : {1, 31, 20, 1}) {
    MarkCell(cells, index);
    EXPECT_EQ(BorderCount(cells), 1);
    EXPECT_EQ(MarkedCell(cells), index);
  }
  // Captions and enabled flags are untouched by marking.
  const auto fresh = FillMonthCells(3, 1999, 15);
  for (int i = 0; i < kCells; ++i) {
    EXPECT_EQ(cells[i].caption, fresh[i].caption);
    EXPECT_EQ(cells[i].enabled, fresh[i].enabled);
  }
}

// Every month of the range against the date arithmetic: the offset of each
// month follows from the previous month's offset and length (anchored at
// August 1999, which starts on a Sunday), the length is the serial distance
// to the next month's first day, and the cells hold exactly 1..length.
TEST(MonthGridFill, EveryMonthFromJanuary100ToDecember9999) {
  using morlex::Date;
  using morlex::ToSerial;
  const std::int32_t anchor_sunday = ToSerial(Date{1999, 8, 1});
  int failures = 0;
  for (int year = morlex::kMinYear; year <= morlex::kMaxYear && failures < 10; ++year) {
    for (int month = 1; month <= 12; ++month) {
      const Date first{year, month, 1};
      const Date next = month == 12 ? Date{year + 1, 1, 1} : Date{year, month + 1, 1};
      const int length = ToSerial(next) - ToSerial(first);
      const int weekday_from_sunday =
          static_cast<int>(((ToSerial(first) - anchor_sunday) % 7 + 7) % 7);
      const int offset = weekday_from_sunday == 0 ? 7 : weekday_from_sunday;

      const int chosen = (year + month) % length + 1;
      const auto cells = FillMonthCells(month, year, chosen);
      bool ok = FirstDayCell(month, year) == offset && length >= 28 && length <= 31 &&
                offset + length - 1 <= 37 && BorderCount(cells) == 1 &&
                MarkedCell(cells) == offset + chosen - 1;
      for (int i = 0; ok && i < kCells; ++i) {
        const int day = i - offset + 1;
        const bool in_month = day >= 1 && day <= length;
        ok = cells[i].enabled == in_month &&
             (in_month ? cells[i].caption == Caption(day) : cells[i].caption.empty());
      }
      if (!ok) {
        ADD_FAILURE() << "month " << month << "/" << year << " offset " << offset << " length "
                      << length;
        ++failures;
      }
    }
  }
}

}  // namespace
