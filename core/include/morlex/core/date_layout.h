#pragma once
// The layout of date text: the order of its three parts, the separator
// between them, and the digits each part takes in each of the four formats.
// This is the one description of how a date is written; reading, writing,
// the keystroke editor, spinning and every list of format values read it.
//
// The default layout, month/day/year with "/", reads by the rules of
// date_text.h, unchanged. Every other layout mirrors those rules part by part
// (ReadDateText with a layout):
//  - the first, second and third part of the text play the roles that month,
//    day and year play in month/day/year: day, month, year in day/month/year
//    (two digits, two digits, the format's year length); year, month, day in
//    year/month/day (the format's year length, two digits, two digits);
//  - two numbers are the two non-year parts, in the layout's order, of the
//    current year;
//  - a year of one or two digits lies in the window 1930..2029 (0..29 ->
//    2000..2029, 30..99 -> 1930..1999); of three or four digits it is taken
//    as written and must be 100..9999; a longer year is no year;
//  - when the numbers are no date in the layout's order but are one with the
//    two non-year parts swapped, the text reads swapped (in day/month/year,
//    5/13/1999 is 13 May 1999, the mirror of 13/5/1999);
//  - the numbers may be separated by "/", "." or "-", the same character
//    both times, whatever the layout's own separator: a pasted 24/12/2026
//    reads as 24.12.2026 does;
//  - three numbers whose first has four digits are year, month and day in
//    every layout: 2026-12-24 is 24 December 2026;
//  - anything else (mixed separators, blanks inside, letters, one or four
//    numbers, 30.2.1999) is not a date.
// The keystroke editor and spinning find the parts by the separators of the
// text: in the default layout "/" alone, in the others any of the three.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "morlex/core/date.h"
#include "morlex/core/date_format.h"

namespace morlex {

// The order of the parts; the values are those of the public DateOrder
// property.
enum DateOrder : std::int32_t {
  MonthDayYear = 0,
  DayMonthYear = 1,
  YearMonthDay = 2,
};

enum class DatePart : std::uint8_t { kMonth, kDay, kYear };

// One order: its parts in text order and the words that name it to a person
// ("day/month/year").
struct DateOrderInfo {
  DateOrder order;
  std::string_view name;  // as the enumeration member
  std::array<DatePart, 3> parts;
  std::u16string_view words;
};

inline constexpr std::array<DateOrderInfo, 3> kDateOrders = {{
    {MonthDayYear,
     "MonthDayYear",
     {DatePart::kMonth, DatePart::kDay, DatePart::kYear},
     u"month/day/year"},
    {DayMonthYear,
     "DayMonthYear",
     {DatePart::kDay, DatePart::kMonth, DatePart::kYear},
     u"day/month/year"},
    {YearMonthDay,
     "YearMonthDay",
     {DatePart::kYear, DatePart::kMonth, DatePart::kDay},
     u"year/month/day"},
}};

// The separators a layout may have; the first is the default.
inline constexpr std::array<char16_t, 3> kDateSeparators = {u'/', u'.', u'-'};

// The four formats: the fewest digits of month and day, and the digits of
// the year (written, and allowed by the keystroke editor).
struct FormatDigits {
  enmDateFormat format;
  std::string_view name;  // as the enumeration member
  int month;
  int day;
  int year;
};

inline constexpr std::array<FormatDigits, 4> kDateFormats = {{
    {LeadingZerosCentury, "LeadingZerosCentury", 2, 2, 4},
    {LeadingZerosNoCentury, "LeadingZerosNoCentury", 2, 2, 2},
    {NoLeadingZerosCentury, "NoLeadingZerosCentury", 1, 1, 4},
    {NoLeadingZerosNoCentury, "NoLeadingZerosNoCentury", 1, 1, 2},
}};

// A pattern held in place: at most "yyyy/mm/dd".
struct PatternText {
  std::array<char16_t, 10> chars{};
  std::size_t size = 0;
  constexpr std::u16string_view view() const { return {chars.data(), size}; }
};

struct DateLayout {
  DateOrder order = MonthDayYear;
  char16_t separator = u'/';

  // Whether order and separator are among the known ones.
  constexpr bool ok() const {
    return order >= MonthDayYear && order <= YearMonthDay &&
           (separator == u'/' || separator == u'.' || separator == u'-');
  }
  constexpr bool IsDefault() const { return order == MonthDayYear && separator == u'/'; }

  // The part at position 0..2 of the text, and the position of a part.
  constexpr DatePart PartAt(int position) const {
    return kDateOrders[static_cast<std::size_t>(order)].parts[static_cast<std::size_t>(position)];
  }
  constexpr int PositionOf(DatePart part) const {
    for (int i = 0; i < 3; ++i) {
      if (PartAt(i) == part) return i;
    }
    return 2;
  }

  // Whether ch separates parts: "/" alone in the default layout, any of the
  // three separators in the others.
  constexpr bool IsSeparator(char16_t ch) const {
    if (IsDefault()) return ch == u'/';
    return static_cast<unsigned>(ch) - u'-' <= 2;  // "-", "." or "/"
  }

  // The digits the keystroke editor lets into the part at a position: the
  // year length for the year, two for month and day.
  constexpr int PartLength(int position, int year_length) const {
    return PartAt(position) == DatePart::kYear ? year_length : 2;
  }

  // The pattern of a format value 0..3 in this layout ("dd.mm.yyyy");
  // empty for any other value.
  constexpr PatternText Pattern(std::int32_t format) const {
    PatternText p;
    if (format < 0 || format > 3) return p;
    const FormatDigits& f = kDateFormats[static_cast<std::size_t>(format)];
    for (int i = 0; i < 3; ++i) {
      if (i > 0) p.chars[p.size++] = separator;
      const DatePart part = PartAt(i);
      const int n = part == DatePart::kYear ? f.year : part == DatePart::kMonth ? f.month : f.day;
      const char16_t letter = part == DatePart::kYear    ? u'y'
                              : part == DatePart::kMonth ? u'm'
                                                         : u'd';
      for (int k = 0; k < n; ++k) p.chars[p.size++] = letter;
    }
    return p;
  }

  friend constexpr bool operator==(const DateLayout&, const DateLayout&) = default;
};

inline constexpr DateLayout kDefaultLayout{};

// The layout of a DateOrder value and a separator text; nullopt for a value
// outside the table or a separator other than "/", "." and "-".
std::optional<DateOrder> DateOrderOf(std::int32_t value);
std::optional<char16_t> DateSeparatorOf(std::u16string_view text);

// The words of the order ("day/month/year").
constexpr std::u16string_view OrderWords(DateOrder order) {
  return kDateOrders[static_cast<std::size_t>(order)].words;
}

// The date the text reads as in the layout (rules above); the default layout
// reads exactly as ReadDateText(text, current_year).
std::optional<Date> ReadDateText(std::u16string_view text, int current_year,
                                 const DateLayout& layout);

// The pattern the field renders with: a pattern of the four formats is
// written in the layout's order and separator; any other pattern (the empty
// one, or whatever a stored setting held) stays as it is.
std::u16string_view PatternInLayout(std::u16string_view pattern, const DateLayout& layout);

// The date written in pattern, or, under the empty pattern (which would
// write nothing and lose the date), as plain date text of the layout:
// "m/d/yyyy" by default, "d.m.yyyy" in day/month/year with ".".
std::u16string WriteDate(const Date& date, std::u16string_view pattern, const DateLayout& layout);

// The date that the text reads as in the layout, written in pattern; a text
// that is not a date, and the empty pattern, give the text back unchanged.
std::u16string RenderDate(std::u16string_view text, std::u16string_view pattern, int current_year,
                          const DateLayout& layout);

}  // namespace morlex
