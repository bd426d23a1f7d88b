#include "morlex/core/keystroke_editor.h"

#include <algorithm>

#include "morlex/core/unicode.h"

namespace morlex {
namespace {

constexpr char16_t kSlash = u'/';

bool IsHighSurrogate(char16_t ch) {
  return ch >= 0xD800 && ch <= 0xDBFF;
}
bool IsLowSurrogate(char16_t ch) {
  return ch >= 0xDC00 && ch <= 0xDFFF;
}

// From(t, i) of the date rules: the characters from number i (counted from
// 1) to the end, empty past the end.
std::u16string_view From(std::u16string_view text, int i) {
  const auto start = static_cast<std::size_t>(std::max(i, 1) - 1);
  return start >= text.size() ? std::u16string_view() : text.substr(start);
}

int TrimmedLength(std::u16string_view text) {
  return static_cast<int>(TrimBlanks(text).size());
}

KeyDecision Let() {
  return {KeyAction::kLetThrough, 0};
}
KeyDecision Overwrite(int q) {
  return {KeyAction::kOverwrite, q};
}
KeyDecision Separate(int p) {
  return {KeyAction::kInsertSeparator, p};
}

template <typename IsSeparator>
Slashes FindSeparators(std::u16string_view text, IsSeparator is_separator) {
  Slashes s;
  // The scan stops at the trimmed length but reads the untrimmed text; for a
  // text without leading blanks that is every character up to the last
  // non-blank one.
  const std::size_t length = TrimBlanks(text).size();
  for (std::size_t i = 0; i < length; ++i) {
    if (!is_separator(text[i])) continue;
    ++s.count;
    const int number = static_cast<int>(i) + 1;
    if (s.first < 1) {
      s.first = number;
    } else if (s.second < 1) {
      s.second = number;
    }
  }
  return s;
}

}  // namespace

Slashes FindSlashes(std::u16string_view text) {
  return FindSeparators(text, [](char16_t ch) { return ch == kSlash; });
}

Slashes FindSlashes(std::u16string_view text, const DateLayout& layout) {
  if (layout.IsDefault()) return FindSlashes(text);
  return FindSeparators(text, [&layout](char16_t ch) { return layout.IsSeparator(ch); });
}

int CountSlashes(std::u16string_view text, int n) {
  if (n <= 0) return 0;
  const auto end = std::min(text.size(), static_cast<std::size_t>(n));
  return static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(end), kSlash));
}

int CountSlashes(std::u16string_view text, int n, const DateLayout& layout) {
  if (layout.IsDefault()) return CountSlashes(text, n);
  if (n <= 0) return 0;
  const auto end = std::min(text.size(), static_cast<std::size_t>(n));
  return static_cast<int>(std::count_if(text.begin(), text.begin() + static_cast<long>(end),
                                        [&layout](char16_t ch) { return layout.IsSeparator(ch); }));
}

void AssignWorkingText(std::u16string& out, std::u16string_view text, int sel_start,
                       int sel_length) {
  const std::size_t size = text.size();
  const std::size_t c = std::min(size, static_cast<std::size_t>(std::max(sel_start, 0)));
  const std::size_t l = std::min(size - c, static_cast<std::size_t>(std::max(sel_length, 0)));
  if (l == 0) {
    out.assign(text);
    return;
  }
  out.assign(text.substr(0, c));
  out.append(text.substr(c + l));
}

std::u16string WorkingText(std::u16string_view text, int sel_start, int sel_length) {
  std::u16string out;
  AssignWorkingText(out, text, sel_start, sel_length);
  return out;
}

namespace {

// The rules with the digits of the three parts in text order (month, day,
// year in the default layout) and the separator key.
KeyDecision DecideKeyInParts(std::int32_t key, std::u16string_view working, int caret,
                             const Slashes& slashes, int first_length, int second_length,
                             int third_length, char16_t separator) {
  const int p = caret;
  const int f = slashes.first;
  const int s = slashes.second;

  // A separator where both separators exist moves on to the next part
  // instead: from the first part to the second, from the second or third to
  // the third.
  if (key == separator && slashes.count >= 2) return {KeyAction::kJump, p < f ? f : s};
  if (key < u'0' || key > u'9') return Let();

  if (s > 0 && p >= s) {  // third part
    if (TrimmedLength(From(working, s + 1)) < third_length) return Let();
    if (p - s > third_length - 1) return {KeyAction::kDrop, 0};
    return Overwrite(p);
  }
  if (f > 0 && p >= f) {  // second part
    if (s > 0) {
      if (s - f < second_length + 1) return Let();
      // At the end of a full second part the digit goes on into the third.
      if (s - p == 1) return Overwrite(s);
      return Overwrite(p);
    }
    if (TrimmedLength(From(working, f + 1)) < second_length) return Let();
    return Separate(p);
  }
  // first part
  if (f > 0) {
    if (f < first_length + 1) return Let();
    if (f - p == 1) return Overwrite(f);
    return Overwrite(p);
  }
  if (TrimmedLength(working) < first_length) return Let();
  return Separate(p);
}

}  // namespace

KeyDecision DecideKey(std::int32_t key, std::u16string_view working, int caret,
                      const Slashes& slashes, int year_length) {
  return DecideKeyInParts(key, working, caret, slashes, 2, 2, year_length, kSlash);
}

KeyDecision DecideKey(std::int32_t key, std::u16string_view working, int caret,
                      const Slashes& slashes, int year_length, const DateLayout& layout) {
  return DecideKeyInParts(key, working, caret, slashes, layout.PartLength(0, year_length),
                          layout.PartLength(1, year_length), layout.PartLength(2, year_length),
                          layout.separator);
}

std::u16string OverwriteAt(std::u16string_view working, int q, char16_t digit, int& caret_after) {
  const std::size_t size = working.size();
  std::size_t at = static_cast<std::size_t>(std::max(q, 0));
  caret_after = q + 1;
  if (at >= size) {
    std::u16string out(working);
    out.push_back(digit);
    return out;
  }
  std::size_t replaced = 1;
  if (IsHighSurrogate(working[at]) && at + 1 < size && IsLowSurrogate(working[at + 1])) {
    replaced = 2;
  } else if (IsLowSurrogate(working[at]) && at > 0 && IsHighSurrogate(working[at - 1])) {
    // The caret stood inside a pair: the whole character goes.
    --at;
    replaced = 2;
    caret_after = q;
  }
  std::u16string out;
  out.reserve(size);
  out.append(working.substr(0, at));
  out.push_back(digit);
  out.append(working.substr(at + replaced));
  return out;
}

std::u16string CutWithSeparator(std::u16string_view working, int p, char16_t separator) {
  const std::size_t at = std::min(working.size(), static_cast<std::size_t>(std::max(p, 0)));
  std::u16string out;
  out.reserve(at + 1);
  out.append(working.substr(0, at));
  out.push_back(separator);
  return out;
}

PartSelection SelectPart(const Slashes& slashes, int slashes_before_caret) {
  if (slashes_before_caret >= 2) return {slashes.second, kToEnd};
  if (slashes_before_caret == 1) {
    return {slashes.first, slashes.second > 0 ? slashes.second - slashes.first - 1 : kToEnd};
  }
  return {0, slashes.first > 0 ? slashes.first - 1 : kToEnd};
}

}  // namespace morlex
