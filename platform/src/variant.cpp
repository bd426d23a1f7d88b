#include "morlex/platform/variant.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "morlex/core/error.h"
#include "morlex/core/unicode.h"

namespace morlex::platform {
namespace {

[[noreturn]] void TypeMismatch() {
  throw Error(errnum::kTypeMismatch);
}
[[noreturn]] void Overflow() {
  throw Error(errnum::kOverflow);
}

// A numeric string: blanks around, an optional sign, digits with at most one
// decimal point, an optional exponent. Nothing else ("inf", "nan", "0x10",
// "1,5") counts as a number.
bool ParseNumber(std::u16string_view text, double& out) {
  text = TrimBlanks(text);
  if (text.empty() || text.size() > 64) return false;
  std::string ascii;
  ascii.reserve(text.size());
  bool digits = false;
  bool point = false;
  bool exponent = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i];
    if (ch >= u'0' && ch <= u'9') {
      digits = true;
    } else if (ch == u'.' && !point && !exponent) {
      point = true;
    } else if ((ch == u'+' || ch == u'-') &&
               (i == 0 || text[i - 1] == u'e' || text[i - 1] == u'E')) {
    } else if ((ch == u'e' || ch == u'E') && digits && !exponent && i + 1 < text.size()) {
      exponent = true;
    } else {
      return false;
    }
    ascii.push_back(static_cast<char>(ch));
  }
  if (!digits) return false;
  const char* first = ascii.data();
  if (*first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, ascii.data() + ascii.size(), out);
  if (ec == std::errc::result_out_of_range) Overflow();
  return ec == std::errc() && end == ascii.data() + ascii.size();
}

}  // namespace

double ToDouble(const Variant& v) {
  if (const auto* b = std::get_if<bool>(&v)) return *b ? -1.0 : 0.0;
  if (const auto* i = std::get_if<std::int32_t>(&v)) return *i;
  if (const auto* f = std::get_if<float>(&v)) {
    if (!std::isfinite(*f)) Overflow();
    return *f;
  }
  if (const auto* d = std::get_if<double>(&v)) {
    if (!std::isfinite(*d)) Overflow();
    return *d;
  }
  if (const auto* s = std::get_if<std::u16string>(&v)) {
    double out = 0;
    if (!ParseNumber(*s, out)) TypeMismatch();
    if (!std::isfinite(out)) Overflow();
    return out;
  }
  TypeMismatch();
}

float ToSingle(const Variant& v) {
  if (const auto* f = std::get_if<float>(&v)) {
    if (!std::isfinite(*f)) Overflow();
    return *f;
  }
  const double d = ToDouble(v);
  if (std::fabs(d) > std::numeric_limits<float>::max()) Overflow();
  return static_cast<float>(d);
}

std::int32_t ToLong(const Variant& v) {
  if (const auto* i = std::get_if<std::int32_t>(&v)) return *i;
  const double d = std::nearbyint(ToDouble(v));  // default rounding: half to even
  if (d < -2147483648.0 || d > 2147483647.0) Overflow();
  return static_cast<std::int32_t>(d);
}

Variant ColorVariant(std::uint32_t color) {
  return static_cast<std::int32_t>(color);
}

std::uint32_t ToColor(const Variant& v) {
  if (std::holds_alternative<std::int32_t>(v) || std::holds_alternative<bool>(v)) {
    return static_cast<std::uint32_t>(ToLong(v));
  }
  const double d = std::nearbyint(ToDouble(v));
  if (d >= 2147483648.0 && d <= 4294967295.0) return static_cast<std::uint32_t>(d);
  return static_cast<std::uint32_t>(ToLong(v));
}

bool ToBoolean(const Variant& v) {
  if (const auto* b = std::get_if<bool>(&v)) return *b;
  if (const auto* s = std::get_if<std::u16string>(&v)) {
    std::u16string lower;
    for (char16_t ch : TrimBlanks(*s)) {
      lower.push_back(ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch + 32) : ch);
    }
    if (lower == u"true") return true;
    if (lower == u"false") return false;
  }
  if (std::holds_alternative<FontRef>(v) || std::holds_alternative<Empty>(v)) TypeMismatch();
  return ToDouble(v) != 0.0;
}

std::u16string ToText(const Variant& v) {
  if (const auto* s = std::get_if<std::u16string>(&v)) return *s;
  if (std::holds_alternative<Empty>(v)) return {};
  if (const auto* b = std::get_if<bool>(&v)) return *b ? u"True" : u"False";
  if (const auto* i = std::get_if<std::int32_t>(&v)) return FromUtf8(std::to_string(*i));
  if (const auto* f = std::get_if<float>(&v)) return FromUtf8(NumberText(*f));
  if (const auto* d = std::get_if<double>(&v)) return FromUtf8(NumberText(*d));
  TypeMismatch();
}

FontRef ToFont(const Variant& v) {
  if (const auto* f = std::get_if<FontRef>(&v)) {
    if (*f) return *f;
  }
  TypeMismatch();
}

const char* KindName(const Variant& v) {
  switch (v.index()) {
    case 0:
      return "empty";
    case 1:
      return "bool";
    case 2:
      return "long";
    case 3:
      return "single";
    case 4:
      return "double";
    case 5:
      return "string";
    default:
      return "font";
  }
}

std::string NumberText(float value) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

std::string NumberText(double value) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

}  // namespace morlex::platform
