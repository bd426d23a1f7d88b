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

}  // namespace

GridGeometry LayoutGrid(double width, double height) {
  GridGeometry g;
  g.column_width = SlotSize(width, kColumns);
  g.row_height = SlotSize(height, kRows);
  return g;
}

std::u16string WeekdayHeading(int column, const platform::DateNames& names) {
  // Day serial 1 of the platform's date numbering is Sunday 31 December 1899;
  // the headings are the weekday names of serials 1 to 7.
  static const std::int32_t kFirstSunday = ToSerial(Date{1899, 12, 31});
  const int offset = ((column % kColumns) + kColumns) % kColumns;
  return names.ShortDayName(Weekday(FromSerial(kFirstSunday + offset)));
}

std::u16string CalendarTitle(const Date& date, const platform::DateNames& names) {
  // Only the month's name is the locale's: day and year keep their digits
  // and the order stays month, day, year.
  return names.MonthName(date.month) + FormatDate(date, u" dd, yyyy");
}

int FirstDayCell(int month, int year) {
  const Date first{year, month, 1};
  if (!first.ok()) return 0;
  const int offset = Weekday(first) - 1;
  return offset == 0 ? kColumns : offset;
}

MonthCells FillMonthCells(int month, int year, int chosen_day) {
  MonthCells cells{};
  const int offset = FirstDayCell(month, year);
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
