#pragma once
// The rule the fuzz drivers judge a field's date by: the date its text reads
// as when that lies in the field's range, nothing for a blank text, and no
// value for any other text, unless the program put a date in whose
// rendering the field still shows (a two-digit year of 1920 reads as 2020).
// Both drivers judge by the same reading, so that the widget and the Qt
// Quick field are held to one rule.
#include <QDate>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "morlex/core/date_text.h"
#include "morlex/core/unicode.h"

namespace morlex::test {

inline std::u16string U16(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// What text stands for in a field of that range: QDate() for a blank text,
// the date it reads as when in the range, else std::nullopt (no value).
inline std::optional<QDate> DateOfText(const QString& text, int current_year, const QDate& minimum,
                                       const QDate& maximum) {
  const std::u16string t = U16(text);
  if (morlex::TrimBlanks(t).empty()) return QDate();
  const auto read = morlex::ReadDateText(t, current_year);
  if (!read) return std::nullopt;
  const QDate date(read->year, read->month, read->day);
  if (date < minimum || date > maximum) return std::nullopt;
  return date;
}

// Whether text is date written in pattern (how the program's date shows).
inline bool ShowsDate(std::u16string_view pattern, const QDate& date, const QString& text) {
  if (!date.isValid() || pattern.empty()) return false;
  return morlex::FormatDate(morlex::Date{date.year(), date.month(), date.day()}, pattern) ==
         U16(text);
}

// The broken part of the rule for a field showing text with value, or an
// empty string when the value is right.
inline std::string DateRuleBroken(const QString& text, const QDate& value, int current_year,
                                  const QDate& minimum, const QDate& maximum,
                                  std::u16string_view pattern) {
  if (const std::optional<QDate> stands = DateOfText(text, current_year, minimum, maximum)) {
    if (stands->isNull()) return value.isNull() ? "" : "an empty text has a value";
    if (value == *stands || ShowsDate(pattern, value, text)) return "";
    return "the value is not the date of the text";
  }
  // No value in the text: none, unless the program showed its date as
  // this text (a two-digit year that alone reads outside the range).
  if (value.isNull() || ShowsDate(pattern, value, text)) return "";
  return "a text that is no date has a value";
}

}  // namespace morlex::test
