#pragma once
// A small JSON reader and writer for the component's own files. The reader
// is built for files that may be damaged or hostile: it never throws, limits
// nesting, keeps numbers as their text (so each reader converts them exactly
// to its own type), keeps strings as UTF-16 with \u escapes taken verbatim,
// and, when it meets an error, keeps what it had read completely before it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace morlex::storage::detail {

struct JsonMember;

struct JsonValue {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  // False when the value was cut short by an error inside it; a container so
  // marked keeps the members read before the error.
  bool complete = true;
  bool boolean = false;
  std::string number;      // as written, e.g. "-12.5e3"
  std::u16string text;     // a string, decoded
  bool text_valid = true;  // false when the string held bytes that are not UTF-8
  std::vector<JsonValue> items;
  std::vector<JsonMember> members;  // in file order; duplicates kept

  // The last member named key; nullptr when none. Unless allow_incomplete,
  // a member whose value was cut short does not count.
  const JsonValue* Find(std::u16string_view key, bool allow_incomplete = false) const;
};

struct JsonMember {
  std::u16string key;
  bool key_valid = true;
  JsonValue value;
};

struct JsonParse {
  JsonValue root;
  bool ok = true;       // the whole text was one well-formed value
  std::string problem;  // the first problem, with its line number
};

inline constexpr int kMaxJsonDepth = 64;
// A bound on the values of one document, so that a file of a few megabytes
// of "[0,0,0,..." cannot make the reader take hundreds of megabytes.
inline constexpr std::size_t kMaxJsonValues = 200000;

JsonParse ParseJson(std::string_view text);

// Writes text as a JSON string literal (with quotes). Characters outside
// ASCII are written as UTF-8; unpaired surrogates as \u escapes, so that
// reading it back gives the same UTF-16 units.
void AppendJsonString(std::string& out, std::u16string_view text);

}  // namespace morlex::storage::detail
