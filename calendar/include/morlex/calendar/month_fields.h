#pragma once
// The month and year fields above the calendar grid, as plain functions: the
// month names, the letter keys that pick a month, and the year field's text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "morlex/core/date_text.h"
#include "morlex/platform/date_names.h"

namespace morlex::calendar {

// The month field shows the month's English name, as dates are written.
using morlex::MonthName;

// The month that a key picks while month `current` is shown, or nullopt for a
// key that picks none. Letters count in either case; J, M and A cycle through
// the months that share the initial (J: January, June, July; M: March, May;
// A: April, August).
std::optional<int> MonthOfLetter(std::int16_t key, int current);

// The same for the month names of names' language: a key picks the first
// month whose name begins with it, or, while such a month is shown, the next
// one in the year after it (back to the first after the last). Letters of
// the Latin, Greek and Cyrillic alphabets count in either case; any other
// character only as it is.
std::optional<int> MonthOfLetter(std::int16_t key, int current, const platform::DateNames& names);

// The year as the year field shows it: plain decimal digits, or with
// four_digits at least four digits with leading zeros (999 -> "0999").
std::u16string YearText(int year, bool four_digits);

// The numeric value of the year field's text, or nullopt unless the text is
// a run of one to nine decimal digits.
std::optional<int> YearFieldValue(std::u16string_view text);

// The year that a year field's text stands for as the year of a date text
// (one or two digits in the window 1930..2029, three or four as written), or
// nullopt when it stands for none in the years 100 to 9999.
std::optional<int> YearOfText(std::u16string_view text);

}  // namespace morlex::calendar
