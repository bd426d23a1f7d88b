#include "json.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "morlex/core/unicode.h"

namespace morlex::storage::detail {
namespace {

// The escapes of one character in a string, by the letter after the
// backslash (\u and its four digits aside).
constexpr std::pair<char, char16_t> kEscapes[] = {
    {'"', u'"'},  {'\\', u'\\'}, {'/', u'/'},  {'b', u'\b'},
    {'f', u'\f'}, {'n', u'\n'},  {'r', u'\r'}, {'t', u'\t'},
};

class Parser {
 public:
  explicit Parser(std::string_view text) : s_(text) {}

  JsonParse Run() {
    JsonParse result;
    // A byte-order mark is tolerated at the very start.
    if (s_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    SkipBlanks();
    if (!ParseValue(result.root, 0)) {
      result.ok = false;
    } else {
      SkipBlanks();
      if (pos_ < s_.size()) Problem("text after the end of the document");
    }
    result.ok = result.ok && problem_.empty();
    result.problem = problem_;
    return result;
  }

 private:
  bool Problem(const std::string& what) {
    if (problem_.empty()) problem_ = "line " + std::to_string(line_) + ": " + what;
    return false;
  }

  // What follows an item of an object or an array: a ',' and more items, or
  // its closing character. Either is taken.
  enum class Next { kMore, kEnd, kProblem };
  Next AfterItem(char close) {
    SkipBlanks();
    if (pos_ >= s_.size()) {
      Problem("unexpected end of file");
      return Next::kProblem;
    }
    if (s_[pos_] == ',') {
      ++pos_;
      return Next::kMore;
    }
    if (s_[pos_] == close) {
      ++pos_;
      return Next::kEnd;
    }
    Problem(std::string("expected ',' or '").append(1, close).append("'"));
    return Next::kProblem;
  }

  void SkipBlanks() {
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == '\n') {
        ++line_;
      } else if (c != ' ' && c != '\t' && c != '\r') {
        return;
      }
      ++pos_;
    }
  }

  bool Literal(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word) return Problem("unknown word");
    pos_ += word.size();
    return true;
  }

  bool ParseValue(JsonValue& out, int depth) {
    if (depth > kMaxJsonDepth) {
      out.complete = false;
      return Problem("nested too deeply");
    }
    if (++values_ > kMaxJsonValues) {
      out.complete = false;
      return Problem("too many values");
    }
    SkipBlanks();
    if (pos_ >= s_.size()) {
      out.complete = false;
      return Problem("unexpected end of file");
    }
    bool good = false;
    switch (s_[pos_]) {
      case '{':
        good = ParseObject(out, depth);
        break;
      case '[':
        good = ParseArray(out, depth);
        break;
      case '"':
        out.kind = JsonValue::Kind::kString;
        good = ParseString(out.text, out.text_valid);
        break;
      case 't':
        out.kind = JsonValue::Kind::kBool;
        out.boolean = true;
        good = Literal("true");
        break;
      case 'f':
        out.kind = JsonValue::Kind::kBool;
        good = Literal("false");
        break;
      case 'n':
        good = Literal("null");
        break;
      default:
        out.kind = JsonValue::Kind::kNumber;
        good = ParseNumber(out.number);
        break;
    }
    if (!good) out.complete = false;
    return good;
  }

  bool ParseObject(JsonValue& out, int depth) {
    out.kind = JsonValue::Kind::kObject;
    ++pos_;  // {
    SkipBlanks();
    if (pos_ < s_.size() && s_[pos_] == '}') {
      ++pos_;
      return true;
    }
    while (true) {
      SkipBlanks();
      if (pos_ >= s_.size() || s_[pos_] != '"') return Problem("expected a member name");
      JsonMember member;
      if (!ParseString(member.key, member.key_valid)) return false;
      SkipBlanks();
      if (pos_ >= s_.size() || s_[pos_] != ':') return Problem("expected ':'");
      ++pos_;
      // The member is kept even when its value breaks off, marked incomplete,
      // so that the members read before it stay usable.
      out.members.push_back(std::move(member));
      if (!ParseValue(out.members.back().value, depth + 1)) return false;
      if (const Next next = AfterItem('}'); next != Next::kMore) return next == Next::kEnd;
    }
  }

  bool ParseArray(JsonValue& out, int depth) {
    out.kind = JsonValue::Kind::kArray;
    ++pos_;  // [
    SkipBlanks();
    if (pos_ < s_.size() && s_[pos_] == ']') {
      ++pos_;
      return true;
    }
    while (true) {
      out.items.emplace_back();
      if (!ParseValue(out.items.back(), depth + 1)) return false;
      if (const Next next = AfterItem(']'); next != Next::kMore) return next == Next::kEnd;
    }
  }

  // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
  bool ParseNumber(std::string& out) {
    const std::size_t start = pos_;
    auto digit = [&] { return pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9'; };
    auto digits = [&] {
      if (!digit()) return false;
      while (digit()) ++pos_;
      return true;
    };
    if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
    if (pos_ < s_.size() && s_[pos_] == '0') {
      ++pos_;
    } else if (!digits()) {
      return Problem("expected a value");
    }
    if (pos_ < s_.size() && s_[pos_] == '.') {
      ++pos_;
      if (!digits()) return Problem("expected digits after '.'");
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
      if (!digits()) return Problem("expected digits in the exponent");
    }
    out.assign(s_.substr(start, pos_ - start));
    return true;
  }

  static int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  // One UTF-8 sequence starting at pos_ (a byte >= 0x80). Returns false,
  // leaving pos_ after the first byte, when the sequence is not well formed.
  bool DecodeUtf8(std::u16string& out) {
    char32_t cp = 0;
    const std::size_t len = DecodeUtf8At(s_, pos_, cp);
    if (len == 0) {
      ++pos_;
      return false;
    }
    pos_ += len;
    AppendUtf16(out, cp);
    return true;
  }

  bool ParseString(std::u16string& out, bool& valid) {
    ++pos_;  // "
    while (true) {
      if (pos_ >= s_.size()) return Problem("unterminated string");
      const unsigned char c = static_cast<unsigned char>(s_[pos_]);
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (c < 0x20) return Problem("control character inside a string");
      if (c >= 0x80) {
        if (!DecodeUtf8(out)) valid = false;
        continue;
      }
      if (c != '\\') {
        out.push_back(c);
        ++pos_;
        continue;
      }
      if (++pos_ >= s_.size()) return Problem("unterminated string");
      const char e = s_[pos_++];
      if (e == 'u') {
        if (pos_ + 4 > s_.size()) return Problem("unterminated string");
        int unit = 0;
        for (int k = 0; k < 4; ++k) {
          const int h = HexValue(s_[pos_++]);
          if (h < 0) return Problem("bad \\u escape");
          unit = unit * 16 + h;
        }
        out.push_back(static_cast<char16_t>(unit));
        continue;
      }
      const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                        [&](const auto& k) { return k.first == e; });
      if (escape == std::end(kEscapes)) return Problem("unknown escape in a string");
      out.push_back(escape->second);
    }
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::size_t values_ = 0;
  std::string problem_;
};

}  // namespace

const JsonValue* JsonValue::Find(std::u16string_view key, bool allow_incomplete) const {
  const JsonValue* found = nullptr;
  for (const auto& m : members) {
    if (m.key_valid && m.key == key && (allow_incomplete || m.value.complete)) found = &m.value;
  }
  return found;
}

JsonParse ParseJson(std::string_view text) {
  return Parser(text).Run();
}

void AppendJsonString(std::string& out, std::u16string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  auto escape_unit = [&](char16_t unit) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(unit >> shift) & 0xF]);
  };
  out.push_back('"');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'"') {
      out += "\\\"";
    } else if (c == u'\\') {
      out += "\\\\";
    } else if (c == u'\n') {
      out += "\\n";
    } else if (c == u'\r') {
      out += "\\r";
    } else if (c == u'\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      escape_unit(c);
    } else if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
               text[i + 1] <= 0xDFFF) {
      const char32_t cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                          (static_cast<char32_t>(text[i + 1]) - 0xDC00);
      ++i;
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      escape_unit(c);  // an unpaired surrogate has no UTF-8 form
    } else {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  out.push_back('"');
}

}  // namespace morlex::storage::detail
