#include "morlex/storage/property_bag_file.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "json.h"
#include "morlex/core/unicode.h"
#include "morlex/storage/atomic_file.h"

namespace morlex::storage {
namespace {

using detail::JsonValue;
using platform::Variant;
using Kind = JsonValue::Kind;

platform::FontRef CopyFont(const platform::FontRef& font) {
  return font ? std::make_shared<platform::Font>(*font) : nullptr;
}

// --- Writing ---------------------------------------------------------------

void AppendNumber(std::string& out, double value, bool single) {
  if (std::isnan(value)) {
    out += "\"nan\"";
  } else if (std::isinf(value)) {
    out += value > 0 ? "\"inf\"" : "\"-inf\"";
  } else {
    out += single ? platform::NumberText(static_cast<float>(value)) : platform::NumberText(value);
  }
}

void AppendFont(std::string& out, const platform::Font& f) {
  out += "{\"name\": ";
  detail::AppendJsonString(out, f.name);
  out += ", \"size\": ";
  AppendNumber(out, f.size, true);
  out += std::string(", \"bold\": ") + (f.bold ? "true" : "false");
  out += std::string(", \"italic\": ") + (f.italic ? "true" : "false");
  out += std::string(", \"underline\": ") + (f.underline ? "true" : "false");
  out += std::string(", \"strikethrough\": ") + (f.strikethrough ? "true" : "false");
  out += ", \"weight\": " + std::to_string(f.weight);
  out += ", \"charset\": " + std::to_string(f.charset) + "}";
}

void AppendValue(std::string& out, const Variant& v) {
  out += "{\"type\": \"";
  out += platform::KindName(v);
  out += "\", \"value\": ";
  if (const auto* b = std::get_if<bool>(&v)) {
    out += *b ? "true" : "false";
  } else if (const auto* i = std::get_if<std::int32_t>(&v)) {
    out += std::to_string(*i);
  } else if (const auto* f = std::get_if<float>(&v)) {
    AppendNumber(out, *f, true);
  } else if (const auto* d = std::get_if<double>(&v)) {
    AppendNumber(out, *d, false);
  } else if (const auto* s = std::get_if<std::u16string>(&v)) {
    detail::AppendJsonString(out, *s);
  } else if (const auto* font = std::get_if<platform::FontRef>(&v); font && *font) {
    AppendFont(out, **font);
  } else {
    out += "null";
  }
  out += "}";
}

// --- Reading ---------------------------------------------------------------

// Each reader gives false when the JSON value is not of the form its type
// needs; the entry is then left out and reads as its default.

bool ReadLong(const JsonValue& j, std::int32_t& out) {
  if (j.kind != Kind::kNumber) return false;
  const char* first = j.number.data();
  const char* last = first + j.number.size();
  const auto [end, ec] = std::from_chars(first, last, out);
  return ec == std::errc() && end == last;
}

template <typename T>
bool ReadReal(const JsonValue& j, T& out) {
  if (j.kind == Kind::kString) {
    if (j.text == u"nan")
      out = std::numeric_limits<T>::quiet_NaN();
    else if (j.text == u"inf")
      out = std::numeric_limits<T>::infinity();
    else if (j.text == u"-inf")
      out = -std::numeric_limits<T>::infinity();
    else
      return false;
    return true;
  }
  if (j.kind != Kind::kNumber) return false;
  const char* first = j.number.data();
  const char* last = first + j.number.size();
  // Parsed straight into the target type, so that the shortest text written
  // for a single gives back exactly that single.
  const auto [end, ec] = std::from_chars(first, last, out);
  return ec == std::errc() && end == last;
}

bool ReadInt16(const JsonValue& j, std::int16_t& out) {
  std::int32_t wide = 0;
  if (!ReadLong(j, wide) || wide < INT16_MIN || wide > INT16_MAX) return false;
  out = static_cast<std::int16_t>(wide);
  return true;
}

bool ReadFlag(const JsonValue* j, bool& out) {
  if (j == nullptr) return true;  // left at its default
  if (j->kind != Kind::kBool) return false;
  out = j->boolean;
  return true;
}

bool ReadFont(const JsonValue& j, Variant& out) {
  if (j.kind == Kind::kNull) {
    out = platform::FontRef();
    return true;
  }
  if (j.kind != Kind::kObject) return false;
  auto font = std::make_shared<platform::Font>();
  const JsonValue* name = j.Find(u"name");
  const JsonValue* size = j.Find(u"size");
  if (name == nullptr || name->kind != Kind::kString || !name->text_valid) return false;
  if (size == nullptr || !ReadReal(*size, font->size) || !std::isfinite(font->size)) return false;
  font->name = name->text;
  if (!ReadFlag(j.Find(u"bold"), font->bold) || !ReadFlag(j.Find(u"italic"), font->italic) ||
      !ReadFlag(j.Find(u"underline"), font->underline) ||
      !ReadFlag(j.Find(u"strikethrough"), font->strikethrough)) {
    return false;
  }
  if (const JsonValue* w = j.Find(u"weight"); w && !ReadInt16(*w, font->weight)) return false;
  if (const JsonValue* c = j.Find(u"charset"); c && !ReadInt16(*c, font->charset)) return false;
  out = std::move(font);
  return true;
}

// Reads {"type": T, "value": V}; an empty string when it worked, else why not.
std::string ReadEntry(const JsonValue& entry, Variant& out) {
  if (entry.kind != Kind::kObject) return "not a typed value";
  const JsonValue* type = entry.Find(u"type");
  const JsonValue* value = entry.Find(u"value");
  if (type == nullptr || type->kind != Kind::kString) return "no type";
  if (value == nullptr) return "no value";
  const std::u16string& t = type->text;
  if (t == u"string") {
    if (value->kind != Kind::kString) return "value is not a string";
    if (!value->text_valid) return "value is not valid UTF-8";
    out = value->text;
  } else if (t == u"bool") {
    if (value->kind != Kind::kBool) return "value is not true or false";
    out = value->boolean;
  } else if (t == u"long") {
    std::int32_t v = 0;
    if (!ReadLong(*value, v)) return "value is not a 32-bit whole number";
    out = v;
  } else if (t == u"single") {
    float v = 0;
    if (!ReadReal(*value, v)) return "value is not a single-precision number";
    out = v;
  } else if (t == u"double") {
    double v = 0;
    if (!ReadReal(*value, v)) return "value is not a number";
    out = v;
  } else if (t == u"font") {
    if (!ReadFont(*value, out)) return "value is not a font";
  } else if (t == u"empty") {
    if (value->kind != Kind::kNull) return "an empty value must be null";
    out = platform::Empty{};
  } else {
    return "unknown type '" + ToUtf8(t) + "'";
  }
  return {};
}

}  // namespace

FilePropertyBag FilePropertyBag::Parse(std::string_view text) {
  FilePropertyBag bag;
  const detail::JsonParse parse = detail::ParseJson(text);
  if (!parse.ok) bag.problems_.push_back(parse.problem);
  const JsonValue& root = parse.root;
  if (root.kind != Kind::kObject) {
    if (parse.ok) bag.problems_.push_back("not a property bag file");
    return bag;
  }
  if (const JsonValue* format = root.Find(u"format"); format == nullptr ||
                                                      format->kind != Kind::kString ||
                                                      ToUtf8(format->text) != kBagFileFormat) {
    // Another program's JSON: nothing in it is ours to read.
    bag.problems_.push_back("not a property bag file (no \"format\": \"" +
                            std::string(kBagFileFormat) + "\")");
    return bag;
  }
  // A cut-off file keeps the properties read completely before the cut.
  const JsonValue* properties = root.Find(u"properties", true);
  if (properties == nullptr || properties->kind != Kind::kObject) {
    bag.problems_.push_back("no \"properties\" object");
    return bag;
  }
  for (const auto& member : properties->members) {
    const std::string key = ToUtf8(member.key);
    if (!member.key_valid) {
      bag.problems_.push_back("a key that is not valid UTF-8 was left out");
      continue;
    }
    if (!member.value.complete) {
      bag.problems_.push_back("\"" + key + "\": cut short");
      continue;
    }
    Variant value;
    const std::string why = ReadEntry(member.value, value);
    if (!why.empty()) {
      bag.problems_.push_back("\"" + key + "\": " + why);
      continue;
    }
    if (bag.Contains(key)) bag.problems_.push_back("\"" + key + "\": given again; the last counts");
    bag.Store(key, std::move(value));
  }
  return bag;
}

FilePropertyBag FilePropertyBag::ReadFile(const std::filesystem::path& path) {
  return Parse(ReadWholeFile(path, kMaxBagFileSize));
}

std::string FilePropertyBag::Serialize() const {
  std::string out = "{\n  \"format\": ";
  detail::AppendJsonString(out, FromUtf8(kBagFileFormat));
  out += ",\n  \"version\": 1,\n  \"properties\": {";
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    out += i == 0 ? "\n    " : ",\n    ";
    detail::AppendJsonString(out, FromUtf8(entries_[i].key));
    out += ": ";
    AppendValue(out, entries_[i].value);
  }
  out += entries_.empty() ? "}\n}\n" : "\n  }\n}\n";
  return out;
}

void FilePropertyBag::WriteFile(const std::filesystem::path& path) const {
  WriteFileAtomically(path, Serialize());
}

Variant FilePropertyBag::ReadProperty(std::string_view key, const Variant& default_value) {
  const auto it = index_.find(key);
  if (it == index_.end()) return default_value;
  const Variant& v = entries_[it->second].value;
  if (const auto* font = std::get_if<platform::FontRef>(&v)) return CopyFont(*font);
  return v;
}

void FilePropertyBag::WriteProperty(std::string_view key, const Variant& value,
                                    const Variant& default_value) {
  (void)default_value;
  if (const auto* font = std::get_if<platform::FontRef>(&value)) {
    Store(std::string(key), CopyFont(*font));
  } else {
    Store(std::string(key), value);
  }
}

void FilePropertyBag::Store(std::string key, Variant value) {
  if (const auto it = index_.find(key); it != index_.end()) {
    entries_[it->second].value = std::move(value);
    return;
  }
  index_.emplace(key, entries_.size());
  entries_.push_back({std::move(key), std::move(value)});
}

}  // namespace morlex::storage
