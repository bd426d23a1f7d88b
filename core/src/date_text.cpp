#include "morlex/core/date_text.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "morlex/core/date_layout.h"
#include "morlex/core/unicode.h"

namespace morlex {
namespace {

constexpr std::array<std::u16string_view, 12> kMonthNames = {
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December"};
constexpr std::array<std::u16string_view, 7> kWeekdayNames = {
    u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};

// A run of digits. Value and count both stop growing at kSaturated, far above
// any month, day or year, so a run of any length reads without overflow and
// still counts as too large (or, for a year, as too many digits).
constexpr int kSaturated = 1'000'000;

struct Number {
  int value = 0;
  int digits = 0;
};

// Splits the trimmed text into at most three runs of digits at the
// characters that is_separator accepts.
template <typename IsSeparator>
bool SplitNumbers(std::u16string_view text, std::array<Number, 3>& out, int& count,
                  IsSeparator is_separator) {
  count = 0;
  Number current;
  for (char16_t ch : text) {
    if (is_separator(ch)) {
      if (current.digits == 0 || count == 2) return false;
      out[count++] = current;
      current = {};
    } else if (ch >= u'0' && ch <= u'9') {
      if (current.digits < kSaturated) ++current.digits;
      current.value = std::min(current.value * 10 + (ch - u'0'), kSaturated);
    } else {
      return false;
    }
  }
  if (current.digits == 0) return false;
  out[count++] = current;
  return count >= 2;
}

// Month and day are their numbers however many digits write them (007 is 7);
// only the year's digit count carries meaning.
std::optional<Date> MonthDay(const Number& month, const Number& day, int year) {
  Date d{year, month.value, day.value};
  if (d.ok()) return d;
  return std::nullopt;
}

// A year of one or two digits lies in the window 1930..2029; of three or four
// it is taken as written; a longer one is no year.
bool WrittenYear(const Number& y, int& year) {
  if (y.digits > 4) return false;
  year = y.digits <= 2 ? (y.value < 30 ? 2000 + y.value : 1900 + y.value) : y.value;
  return true;
}

void AppendNumber(std::u16string& out, int value, int min_width) {
  char16_t buf[12];
  int n = 0;
  unsigned v = static_cast<unsigned>(value < 0 ? -value : value);
  do {
    buf[n++] = static_cast<char16_t>(u'0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (n < min_width) buf[n++] = u'0';
  while (n > 0) out.push_back(buf[--n]);
}

}  // namespace

std::u16string_view MonthName(int month) {
  if (month < 1 || month > 12) return {};
  return kMonthNames[static_cast<std::size_t>(month - 1)];
}

std::optional<Date> ReadDateText(std::u16string_view text, int current_year) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  std::array<Number, 3> n;
  int count = 0;
  if (!SplitNumbers(text, n, count, [](char16_t ch) { return ch == u'/'; })) return std::nullopt;

  int year = current_year;
  if (count == 3 && !WrittenYear(n[2], year)) return std::nullopt;
  if (year < kMinYear || year > kMaxYear) return std::nullopt;

  if (auto d = MonthDay(n[0], n[1], year)) return d;
  return MonthDay(n[1], n[0], year);
}

namespace {

// Where month, day and year stand among the numbers of a text: for three
// numbers in each order, for two (no year: kNoYear), and for a first number
// of four digits. Written from the order table.
constexpr std::uint8_t kNoYear = 3;
struct Slots {
  std::uint8_t month;
  std::uint8_t day;
  std::uint8_t year;
};
constexpr Slots SlotsOf(const DateOrderInfo& order, bool two_numbers) {
  Slots slots{0, 0, kNoYear};
  std::uint8_t at = 0;
  for (DatePart part : order.parts) {
    if (two_numbers && part == DatePart::kYear) continue;
    if (part == DatePart::kMonth) slots.month = at;
    if (part == DatePart::kDay) slots.day = at;
    if (part == DatePart::kYear) slots.year = at;
    ++at;
  }
  return slots;
}
// Indexed by order and by the count of numbers less two.
constexpr std::array<std::array<Slots, 2>, kDateOrders.size()> kSlots = [] {
  std::array<std::array<Slots, 2>, kDateOrders.size()> table{};
  for (std::size_t i = 0; i < kDateOrders.size(); ++i) {
    table[i] = {SlotsOf(kDateOrders[i], true), SlotsOf(kDateOrders[i], false)};
  }
  return table;
}();
constexpr Slots kYearFirst = SlotsOf(kDateOrders[YearMonthDay], false);

}  // namespace

std::optional<Date> ReadDateText(std::u16string_view text, int current_year,
                                 const DateLayout& layout) {
  if (layout.IsDefault()) return ReadDateText(text, current_year);
  text = TrimBlanks(text);
  std::array<Number, 3> n;
  std::size_t count = 0;
  Number current;
  unsigned seen = 0;  // a bit for each kind of separator met
  for (char16_t ch : text) {
    const unsigned digit = static_cast<unsigned>(ch) - u'0';
    if (digit <= 9) {
      if (current.digits < kSaturated) ++current.digits;
      current.value = std::min(current.value * 10 + static_cast<int>(digit), kSaturated);
      continue;
    }
    // "-", "." and "/" are neighbours in the character set: one test.
    static_assert(u'.' == u'-' + 1 && u'/' == u'-' + 2);
    const unsigned kind = static_cast<unsigned>(ch) - u'-';
    if (kind > 2 || current.digits == 0 || count == 2) return std::nullopt;
    seen |= 1U << kind;
    n[count++] = current;
    current = {};
  }
  // One number, or two kinds of separator, is no date.
  if (current.digits == 0 || count == 0 || (seen & (seen - 1)) != 0) return std::nullopt;
  n[count++] = current;

  const auto order = static_cast<std::size_t>(layout.order);
  if (order >= kDateOrders.size()) return std::nullopt;
  const Slots& slots = count == 3 && n[0].digits == 4 ? kYearFirst : kSlots[order][count - 2];
  int year = current_year;
  if (slots.year != kNoYear && !WrittenYear(n[slots.year], year)) return std::nullopt;
  if (year < kMinYear || year > kMaxYear) return std::nullopt;

  // Month and day are tried as the order has them, then swapped; the date
  // is built in place (as MonthDay does) so that both tries stay cheap.
  const int first = n[slots.month].value;
  const int second = n[slots.day].value;
  if (const Date d{year, first, second}; d.ok()) return d;
  if (const Date d{year, second, first}; d.ok()) return d;
  return std::nullopt;
}

std::u16string FormatDate(const Date& date, std::u16string_view pattern) {
  std::u16string out;
  out.reserve(pattern.size() + 8);
  for (std::size_t i = 0; i < pattern.size();) {
    const char16_t ch = pattern[i];
    if (ch != u'm' && ch != u'd' && ch != u'y') {
      out.push_back(ch);
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == ch) ++run;
    i += run;
    if (ch == u'm') {
      if (run <= 2) {
        AppendNumber(out, date.month, static_cast<int>(run));
      } else {
        const auto name = MonthName(date.month);
        out.append(run == 3 ? name.substr(0, 3) : name);
      }
    } else if (ch == u'd') {
      if (run <= 2) {
        AppendNumber(out, date.day, static_cast<int>(run));
      } else {
        const auto name = kWeekdayNames[Weekday(date) - 1];
        out.append(run == 3 ? name.substr(0, 3) : name);
      }
    } else if (run == 2) {
      AppendNumber(out, date.year % 100, 2);
    } else {
      AppendNumber(out, date.year, 4);
    }
  }
  return out;
}

std::u16string RenderDate(std::u16string_view text, std::u16string_view pattern, int current_year) {
  if (pattern.empty()) return std::u16string(text);
  const auto date = ReadDateText(text, current_year);
  if (!date) return std::u16string(text);
  return FormatDate(*date, pattern);
}

std::u16string DateToText(const Date& date) {
  return FormatDate(date, u"m/d/yyyy");
}

}  // namespace morlex
