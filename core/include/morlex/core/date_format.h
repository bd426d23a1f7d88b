#pragma once
// The four display formats of the field and their patterns.

#include <cstdint>
#include <string_view>

namespace morlex {

enum enmDateFormat : std::int32_t {
  LeadingZerosCentury = 0,      // "mm/dd/yyyy"
  LeadingZerosNoCentury = 1,    // "mm/dd/yy"
  NoLeadingZerosCentury = 2,    // "m/d/yyyy"
  NoLeadingZerosNoCentury = 3,  // "m/d/yy"
};

// The pattern of a format value; empty for a value outside 0..3.
std::u16string_view PatternOfFormat(std::int32_t value);

// The format of a pattern: the first of the four patterns that matches
// exactly (case-sensitive); any other pattern, the empty one included, is 0.
enmDateFormat FormatOfPattern(std::u16string_view pattern);

// Digits of the year part that the keystroke editor allows for a format
// value: 4 for the century formats, 2 for the others.
constexpr int YearLength(enmDateFormat format) {
  return format == LeadingZerosNoCentury || format == NoLeadingZerosNoCentury ? 2 : 4;
}

}  // namespace morlex
