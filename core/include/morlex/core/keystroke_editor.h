#pragma once
// The keystroke rules of the date field, as pure functions of the text, the
// caret and the key. The control feeds them what its text box holds and
// carries out the action they choose; nothing here touches a widget.
//
// Positions follow the text box: a caret position counts the UTF-16 units
// before the caret (0 is the start); the slash positions count characters
// from 1 (0 when there is no such "/").

#include <cstdint>
#include <string>
#include <string_view>

#include "morlex/core/date_layout.h"

namespace morlex {

// The first and second "/" of a text (character numbers from 1, 0 when
// missing) and how many "/" it holds. Only the first trimmed-length
// characters of the text are looked at, so that trailing blanks never hold a
// separator; a third and later "/" only count.
struct Slashes {
  int first = 0;
  int second = 0;
  int count = 0;
  friend bool operator==(const Slashes&, const Slashes&) = default;
};

Slashes FindSlashes(std::u16string_view text);

// The same for the separators of a layout ("/" alone in the default one, any
// of "/", "." and "-" in the others).
Slashes FindSlashes(std::u16string_view text, const DateLayout& layout);

// Number of "/" among the first n characters of text (all of it when n is
// past the end, none for n <= 0).
int CountSlashes(std::u16string_view text, int n);
int CountSlashes(std::u16string_view text, int n, const DateLayout& layout);

// The text without the selected characters: the first sel_start units, then
// everything after the selection. Out-of-range values are clamped.
std::u16string WorkingText(std::u16string_view text, int sel_start, int sel_length);

// Writes WorkingText into out, reusing its storage.
void AssignWorkingText(std::u16string& out, std::u16string_view text, int sel_start,
                       int sel_length);

enum class KeyAction {
  kLetThrough,       // the text box handles the key in its ordinary way
  kDrop,             // the key is swallowed, nothing changes
  kJump,             // "/" over an existing separator: drop, caret to `position`
  kOverwrite,        // the character after `position` becomes the digit; drop
  kInsertSeparator,  // cut the text at `position`, append "/", caret after it,
                     // then let the digit in
};

struct KeyDecision {
  KeyAction action = KeyAction::kLetThrough;
  int position = 0;
  friend bool operator==(const KeyDecision&, const KeyDecision&) = default;
};

// Decides what a key that passed the key preview does to the working text
// (the field text less its selection) with the caret at `caret`. slashes
// must be FindSlashes(working); year_length is 4 or 2 by the format in force.
KeyDecision DecideKey(std::int32_t key, std::u16string_view working, int caret,
                      const Slashes& slashes, int year_length);

// The same rules in a layout, part by part: the first, second and third part
// of the text take the digits that month, day and year take in the default
// layout (PartLength), and the layout's separator is the key that jumps and
// the character that is inserted. slashes must be FindSlashes(working,
// layout); a key of any separator of a non-default layout is to be given as
// the layout's own (SeparatorKey).
KeyDecision DecideKey(std::int32_t key, std::u16string_view working, int caret,
                      const Slashes& slashes, int year_length, const DateLayout& layout);

// The key a typed character stands for: in a non-default layout "/", "." and
// "-" all mean its separator; every other key (and every key in the default
// layout) stands for itself.
constexpr std::int32_t SeparatorKey(std::int32_t key, const DateLayout& layout) {
  if (layout.IsDefault() || key < 0 || key > 0xFFFF) return key;
  return layout.IsSeparator(static_cast<char16_t>(key)) ? layout.separator : key;
}

// Overwrite at q: the text with the character right after position q replaced
// by `digit`. A surrogate pair there is replaced whole, so the result never
// holds half a pair that the working text did not. caret_after receives the
// position right after the digit (q + 1 for every text the field can hold as
// a date). A q past the end appends the digit.
std::u16string OverwriteAt(std::u16string_view working, int q, char16_t digit, int& caret_after);

// The working text cut at position p with a "/" (or the given separator)
// appended.
std::u16string CutWithSeparator(std::u16string_view working, int p, char16_t separator = u'/');

// What a double-click selects: the date part in which the remembered caret
// stood, told by the number of "/" before it (slashes of the whole text). A
// length of kToEnd selects to the end of the text.
struct PartSelection {
  int start = 0;
  int length = 0;
  friend bool operator==(const PartSelection&, const PartSelection&) = default;
};
inline constexpr int kToEnd = 99;

// Only a remembered caret of 1 to 9 selects a part; at 0 or beyond 9 a
// double-click does nothing at all.
constexpr bool SelectsPart(int remembered_caret) {
  return remembered_caret >= 1 && remembered_caret <= 9;
}

PartSelection SelectPart(const Slashes& slashes, int slashes_before_caret);

}  // namespace morlex
