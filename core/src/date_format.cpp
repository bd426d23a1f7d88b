#include "morlex/core/date_format.h"

#include <array>

#include "morlex/core/date_layout.h"

namespace morlex {
namespace {
// The four patterns are the default layout's, written from the table.
constexpr std::array<PatternText, 4> kPatterns = {
    kDefaultLayout.Pattern(0), kDefaultLayout.Pattern(1), kDefaultLayout.Pattern(2),
    kDefaultLayout.Pattern(3)};
static_assert(kPatterns[0].view() == u"mm/dd/yyyy" && kPatterns[1].view() == u"mm/dd/yy" &&
              kPatterns[2].view() == u"m/d/yyyy" && kPatterns[3].view() == u"m/d/yy");
static_assert(kDateFormats.size() == kPatterns.size());
static_assert(YearLength(LeadingZerosCentury) == kDateFormats[0].year &&
              YearLength(LeadingZerosNoCentury) == kDateFormats[1].year &&
              YearLength(NoLeadingZerosCentury) == kDateFormats[2].year &&
              YearLength(NoLeadingZerosNoCentury) == kDateFormats[3].year);
}  // namespace

std::u16string_view PatternOfFormat(std::int32_t value) {
  if (value < 0 || value > 3) return {};
  return kPatterns[static_cast<std::size_t>(value)].view();
}

enmDateFormat FormatOfPattern(std::u16string_view pattern) {
  for (std::size_t i = 0; i < kPatterns.size(); ++i) {
    if (pattern == kPatterns[i].view()) return static_cast<enmDateFormat>(i);
  }
  return LeadingZerosCentury;
}

}  // namespace morlex
