#include "morlex/core/date_format.h"

#include <array>

namespace morlex {
namespace {
constexpr std::array<std::u16string_view, 4> kPatterns = {u"mm/dd/yyyy", u"mm/dd/yy", u"m/d/yyyy",
                                                          u"m/d/yy"};
}  // namespace

std::u16string_view PatternOfFormat(std::int32_t value) {
  if (value < 0 || value > 3) return {};
  return kPatterns[static_cast<std::size_t>(value)];
}

enmDateFormat FormatOfPattern(std::u16string_view pattern) {
  for (std::size_t i = 0; i < kPatterns.size(); ++i) {
    if (pattern == kPatterns[i]) return static_cast<enmDateFormat>(i);
  }
  return LeadingZerosCentury;
}

}  // namespace morlex
