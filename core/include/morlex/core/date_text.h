#pragma once
// Date text: month, day and year as decimal numbers separated by "/", read by
// fixed rules, and the writing of a date in a pattern.
//
// Reading rules (IsDateText, ReadDateText):
//  - leading and trailing blanks are ignored; an empty text is not a date;
//  - the text splits at "/" into two or three runs of decimal digits: month,
//    day[, year]; two numbers mean a day of the current year;
//  - month and day are their numbers whatever their digit count (007 is 7);
//    a year of one or two digits lies in the window 1930..2029 (0..29 ->
//    2000..2029, 30..99 -> 1930..1999); a year of three or four digits is
//    taken as written and must be 100..9999; a longer year is no year;
//  - when month/day is no date but day/month is, the text reads as day/month
//    (13/5/1999 is 13 May 1999);
//  - anything else (other separators, blanks inside, letters, four numbers,
//    2/30/1999) is not a date.

#include <optional>
#include <string>
#include <string_view>

#include "morlex/core/date.h"

namespace morlex {

// The date the text reads as; current_year serves texts of two numbers.
std::optional<Date> ReadDateText(std::u16string_view text, int current_year);

// Whether the text reads as a date. Never changes anything.
inline bool IsDateText(std::u16string_view text, int current_year) {
  return ReadDateText(text, current_year).has_value();
}

// The English name of month 1..12 ("January"), whatever the locale; empty
// for any other number.
std::u16string_view MonthName(int month);

// Writes date in pattern. Runs of letters are replaced: "m" month, "mm" month
// in two digits, "mmm"/"mmmm" the English month name (short/full), "d", "dd"
// likewise for the day, "ddd"/"dddd" the English weekday name (short/full),
// "yy" the last two digits of the year, "yyyy" (or "y", "yyy") the year in
// four digits with leading zeros (0999); every other character is copied.
std::u16string FormatDate(const Date& date, std::u16string_view pattern);

// The date the text reads as, written in pattern. A text that is not a date,
// and the empty pattern, give the text back unchanged: rendering never
// destroys what the user typed.
std::u16string RenderDate(std::u16string_view text, std::u16string_view pattern, int current_year);

// The date as plain date text "m/d/yyyy" (year in four digits), which reads
// back as the same date.
std::u16string DateToText(const Date& date);

}  // namespace morlex
