#pragma once
// The month grid of the calendar pop-up as plain values: where the 42 day
// cells and the seven weekday headings go inside the day area, and what each
// cell shows for a month. The dialog mirrors these values onto its labels.
//
// Cells are numbered row * 7 + column; rows 0..5 run top to bottom, columns
// 0..6 through the week from its first day: Sunday to Saturday, unless the
// names the calendar speaks start the week on another day.

#include <array>
#include <string>

#include "morlex/core/date.h"
#include "morlex/platform/date_names.h"

namespace morlex::calendar {

inline constexpr int kRows = 6;
inline constexpr int kColumns = 7;
inline constexpr int kCells = kRows * kColumns;
// The first weekday of the calendar's own week (weekdays count Sunday as 1).
inline constexpr int kSunday = 1;

// The nearest whole number; an exact half goes to the even neighbour.
double RoundHalfEven(double value);

// The day area is tiled by slots of column_width x row_height twips; each
// cell sits 15 twips inside its slot on every side, so neighbouring cells are
// 30 twips apart and the area's colour shows between them.
struct GridGeometry {
  int column_width = 0;  // W
  int row_height = 0;    // H

  int CellWidth() const { return column_width > 30 ? column_width - 30 : 0; }
  int CellHeight() const { return row_height > 30 ? row_height - 30 : 0; }
  int CellLeft(int column) const { return column * column_width + 15; }
  int CellTop(int row) const { return row * row_height + 15; }
};

// The slots for a day area of width x height twips (its inner size):
// W = (width - 30) / 7 and H = (height - 30) / 6, rounded half to even. An
// area too small (or not a number) gives slots of size 0.
GridGeometry LayoutGrid(double width, double height);

// The column of a weekday (1..7) in a week that starts on first_weekday; a
// first weekday outside 1..7 counts as Sunday.
int ColumnOfWeekday(int weekday, int first_weekday);

// The heading of a column: the abbreviated weekday name in names' language,
// the week starting on names' first weekday ("Sun" to "Sat" in English, "Mo"
// to "So" in German).
std::u16string WeekdayHeading(
    int column, const platform::DateNames& names = platform::EnglishDateNames::Instance());

// The title of the calendar for date: names' long date where they write one,
// else the order "mmmm dd, yyyy" with the month named in names' language
// ("March 05, 1999", "März 05, 1999").
std::u16string CalendarTitle(
    const Date& date, const platform::DateNames& names = platform::EnglishDateNames::Instance());

struct DayCell {
  std::u16string caption;  // the day "1".."31"; empty for a blank cell
  bool enabled = false;    // blank cells are disabled
  bool bordered = false;   // the chosen day carries the single-line border
};
using MonthCells = std::array<DayCell, kCells>;

// The cell that holds day 1 of the month: the column of its weekday in a
// week from first_weekday, where the week's first day gives 7 rather than 0,
// so the first row is never full and a month that starts on the week's first
// day (a Sunday, by default) leaves it blank. 0 when month/year names no
// month of the years 100 to 9999.
int FirstDayCell(int month, int year, int first_weekday = kSunday);

// The 42 cells for month/year: days 1 to the month's length from
// FirstDayCell on, every other cell blank, and the cell of chosen_day
// bordered (none when the month has no such day). All cells are blank when
// month/year names no month of the years 100 to 9999.
MonthCells FillMonthCells(int month, int year, int chosen_day, int first_weekday = kSunday);

// Moves the border to cell index; every other cell loses it.
void MarkCell(MonthCells& cells, int index);

// The bordered cell, -1 when none (the first, should there be several).
int MarkedCell(const MonthCells& cells);

}  // namespace morlex::calendar
