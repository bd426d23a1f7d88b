#include "morlex/calendar/month_grid.h"

#include <cmath>
#include <string>

#include "morlex/core/date.h"
#include "morlex/core/date_text.h"

namespace morlex::calendar {

double RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  if (fraction < 0.5) return lower;
  if (fraction > 0.5) return lower + 1.0;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

namespace {

// A slot size in whole twips; sizes that make no sense become 0 so that no
// widget is ever given a negative or absurd extent.
int SlotSize(double area, int parts) {
  const double slot = RoundHalfEven((area - 30.0) / parts);
  if (!(slot > 0.0)) return 0;           // also catches NaN
  if (slot > 1.0e8) return 100'000'000;  // far beyond any screen; keeps int arithmetic safe
  return static_cast<int>(slot);
}

// A week's first weekday; one that names no weekday counts as Sunday.
int WeekStart(int first_weekday) {
  return first_weekday >= 1 && first_weekday <= kColumns ? first_weekday : kSunday;
}

}  // namespace

GridGeometry LayoutGrid(double width, double height) {
  GridGeometry g;
  g.column_width = SlotSize(width, kColumns);
  g.row_height = SlotSize(height, kRows);
  return g;
}

int ColumnOfWeekday(int weekday, int first_weekday) {
  const int first = WeekStart(first_weekday);
  return ((weekday % kColumns - first) % kColumns + kColumns) % kColumns;
}

std::u16string WeekdayHeading(int column, const platform::DateNames& names) {
  // Column 0 is the week's first day; counted from Sunday's column 0, the
  // column's place gives its weekday.
  const int first = WeekStart(names.FirstWeekday());
  return names.ShortDayName(ColumnOfWeekday(first + column % kColumns, kSunday) + 1);
}

std::u16string CalendarTitle(const Date& date, const platform::DateNames& names) {
  if (auto written = names.LongDate(date)) return std::move(*written);
  // The calendar's own title: only the month's name is the locale's, day
  // and year keep their digits and the order stays month, day, year.
  return names.MonthName(date.month) + FormatDate(date, u" dd, yyyy");
}

int FirstDayCell(int month, int year, int first_weekday) {
  const Date first{year, month, 1};
  if (!first.ok()) return 0;
  const int offset = ColumnOfWeekday(Weekday(first), first_weekday);
  return offset == 0 ? kColumns : offset;
}

MonthCells FillMonthCells(int month, int year, int chosen_day, int first_weekday) {
  MonthCells cells{};
  const int offset = FirstDayCell(month, year, first_weekday);
  if (offset == 0) return cells;
  const int days = DaysInMonth(year, month);
  for (int d = 1; d <= days; ++d) {
    DayCell& cell = cells[static_cast<std::size_t>(offset + d - 1)];
    cell.caption = std::u16string(d < 10 ? 1 : 2, u'0');
    if (d < 10) {
      cell.caption[0] = static_cast<char16_t>(u'0' + d);
    } else {
      cell.caption[0] = static_cast<char16_t>(u'0' + d / 10);
      cell.caption[1] = static_cast<char16_t>(u'0' + d % 10);
    }
    cell.enabled = true;
    cell.bordered = d == chosen_day;
  }
  return cells;
}

void MarkCell(MonthCells& cells, int index) {
  for (int i = 0; i < kCells; ++i) cells[static_cast<std::size_t>(i)].bordered = i == index;
}

int MarkedCell(const MonthCells& cells) {
  for (int i = 0; i < kCells; ++i) {
    if (cells[static_cast<std::size_t>(i)].bordered) return i;
  }
  return -1;
}

}  // namespace morlex::calendar
