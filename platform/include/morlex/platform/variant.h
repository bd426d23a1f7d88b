#pragma once
// The tagged value that crosses the published interface and the property
// bag, with the conversions the control applies to it. A conversion that is
// not possible throws morlex::Error (13, "Type mismatch"); a number too large
// for the target throws (6, "Overflow").

#include <cstdint>
#include <string>
#include <variant>

#include "morlex/platform/font.h"

namespace morlex::platform {

struct Empty {
  friend bool operator==(Empty, Empty) = default;
};

using Variant = std::variant<Empty, bool, std::int32_t, float, double, std::u16string, FontRef>;

// Numbers and numeric strings ("2000", " 2000.5 ", "1e3") convert; booleans
// give -1 and 0; anything else, non-finite values included, does not.
float ToSingle(const Variant& v);
double ToDouble(const Variant& v);
// Whole numbers round half to even, as the hosts do.
std::int32_t ToLong(const Variant& v);
// Numbers give non-zero = true; strings "True"/"False" (any case) and numeric
// strings convert.
bool ToBoolean(const Variant& v);
// Numbers and booleans are written as text ("1635", "True").
std::u16string ToText(const Variant& v);
FontRef ToFont(const Variant& v);

// A colour is any 32-bit pattern; a variant carries it as a signed 32-bit
// integer (0x80000005 as -2147483643). Hosts pass system colours both that
// way and as the unsigned reading (2147483653), so ToColor takes either.
Variant ColorVariant(std::uint32_t color);
std::uint32_t ToColor(const Variant& v);

// The kind name used in property-bag files and host output: "empty", "bool",
// "long", "single", "double", "string", "font".
const char* KindName(const Variant& v);

// Shortest decimal text that reads back as the same number (1635, 2000.5).
std::string NumberText(float value);
std::string NumberText(double value);

}  // namespace morlex::platform
