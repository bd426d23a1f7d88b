#include "morlex/calendar/month_fields.h"

#include "morlex/core/date.h"
#include "morlex/core/date_text.h"

namespace morlex::calendar {

std::optional<int> MonthOfLetter(std::int16_t key, int current) {
  if (key >= 'a' && key <= 'z') key = static_cast<std::int16_t>(key - 'a' + 'A');
  switch (key) {
    case 'J':
      if (current == 1) return 6;
      if (current == 6) return 7;
      return 1;
    case 'F':
      return 2;
    case 'M':
      return current == 3 ? 5 : 3;
    case 'A':
      return current == 4 ? 8 : 4;
    case 'S':
      return 9;
    case 'O':
      return 10;
    case 'N':
      return 11;
    case 'D':
      return 12;
    default:
      return std::nullopt;
  }
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
