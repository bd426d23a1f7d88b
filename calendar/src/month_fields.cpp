#include "morlex/calendar/month_fields.h"

#include "morlex/core/date.h"
#include "morlex/core/date_text.h"

namespace morlex::calendar {

namespace {

// The capital of a small letter of the Latin-1, Greek and Cyrillic blocks,
// where month names begin; any other character as it is.
char16_t Capital(char16_t ch) {
  if ((ch >= u'a' && ch <= u'z') || (ch >= u'\u00E0' && ch <= u'\u00FE' && ch != u'\u00F7') ||
      (ch >= u'\u03B1' && ch <= u'\u03C9' && ch != u'\u03C2') ||
      (ch >= u'\u0430' && ch <= u'\u044F')) {
    return static_cast<char16_t>(ch - 0x20);
  }
  if (ch >= u'\u0450' && ch <= u'\u045F') return static_cast<char16_t>(ch - 0x50);
  return ch;
}

}  // namespace

std::optional<int> MonthOfLetter(std::int16_t key, int current) {
  return MonthOfLetter(key, current, platform::EnglishDateNames::Instance());
}

std::optional<int> MonthOfLetter(std::int16_t key, int current, const platform::DateNames& names) {
  const char16_t initial = Capital(static_cast<char16_t>(key));
  // The months of the initial, the first of them and the first after the
  // month shown; only a shown month of the initial leads on to the next.
  std::optional<int> first;
  std::optional<int> next;
  bool shown = false;
  for (int month = 1; month <= 12; ++month) {
    const std::u16string name = names.MonthName(month);
    if (name.empty() || Capital(name.front()) != initial) continue;
    if (!first) first = month;
    if (month == current) shown = true;
    if (month > current && !next) next = month;
  }
  return shown && next ? next : first;
}

std::u16string YearText(int year, bool four_digits) {
  std::u16string digits;
  unsigned v = static_cast<unsigned>(year < 0 ? -year : year);
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + v % 10));
    v /= 10;
  } while (v != 0);
  if (four_digits && digits.size() < 4) digits.insert(0, 4 - digits.size(), u'0');
  if (year < 0) digits.insert(digits.begin(), u'-');
  return digits;
}

std::optional<int> YearFieldValue(std::u16string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (char16_t ch : text) {
    if (ch < u'0' || ch > u'9') return std::nullopt;
    value = value * 10 + (ch - u'0');
  }
  return value;
}

std::optional<int> YearOfText(std::u16string_view text) {
  if (!YearFieldValue(text)) return std::nullopt;
  // Read as the year part of a date text, so that the field follows exactly
  // the rules every other date text of the control follows.
  std::u16string probe = u"1/1/";
  probe.append(text);
  const auto date = ReadDateText(probe, kMinYear);
  if (!date) return std::nullopt;
  return date->year;
}

}  // namespace morlex::calendar
