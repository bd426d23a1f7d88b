#include "morlex/core/date_layout.h"

#include "morlex/core/date_text.h"

namespace morlex {
namespace {

constexpr std::size_t kLayouts = kDateOrders.size() * kDateSeparators.size();

constexpr std::size_t LayoutIndex(const DateLayout& layout) {
  std::size_t s = 0;
  while (s + 1 < kDateSeparators.size() && kDateSeparators[s] != layout.separator) ++s;
  return static_cast<std::size_t>(layout.order) * kDateSeparators.size() + s;
}

// Every pattern of every layout, written once from the tables, so that the
// field's pattern in force is a view that lives as long as the program.
constexpr std::array<std::array<PatternText, kDateFormats.size()>, kLayouts> kLayoutPatterns = [] {
  std::array<std::array<PatternText, kDateFormats.size()>, kLayouts> table{};
  for (const auto& order : kDateOrders) {
    for (char16_t separator : kDateSeparators) {
      const DateLayout layout{order.order, separator};
      for (std::size_t f = 0; f < kDateFormats.size(); ++f) {
        table[LayoutIndex(layout)][f] = layout.Pattern(static_cast<std::int32_t>(f));
      }
    }
  }
  return table;
}();

static_assert(kLayoutPatterns[LayoutIndex(kDefaultLayout)][0].view() == u"mm/dd/yyyy");
static_assert(kLayoutPatterns[LayoutIndex({DayMonthYear, u'.'})][3].view() == u"d.m.yy");
static_assert(kLayoutPatterns[LayoutIndex({YearMonthDay, u'-'})][0].view() == u"yyyy-mm-dd");

}  // namespace

std::optional<DateOrder> DateOrderOf(std::int32_t value) {
  for (const auto& order : kDateOrders) {
    if (order.order == value) return order.order;
  }
  return std::nullopt;
}

std::optional<char16_t> DateSeparatorOf(std::u16string_view text) {
  if (text.size() != 1) return std::nullopt;
  for (char16_t separator : kDateSeparators) {
    if (separator == text[0]) return separator;
  }
  return std::nullopt;
}

std::u16string_view PatternInLayout(std::u16string_view pattern, const DateLayout& layout) {
  if (layout.IsDefault() || !layout.ok()) return pattern;
  const enmDateFormat format = FormatOfPattern(pattern);
  if (PatternOfFormat(format) != pattern) return pattern;
  return kLayoutPatterns[LayoutIndex(layout)][static_cast<std::size_t>(format)].view();
}

std::u16string WriteDate(const Date& date, std::u16string_view pattern, const DateLayout& layout) {
  if (!pattern.empty()) return FormatDate(date, pattern);
  if (layout.IsDefault() || !layout.ok()) return DateToText(date);
  return FormatDate(date, PatternInLayout(PatternOfFormat(NoLeadingZerosCentury), layout));
}

std::u16string RenderDate(std::u16string_view text, std::u16string_view pattern, int current_year,
                          const DateLayout& layout) {
  if (pattern.empty()) return std::u16string(text);
  const auto date = ReadDateText(text, current_year, layout);
  if (!date) return std::u16string(text);
  return FormatDate(*date, pattern);
}

}  // namespace morlex
