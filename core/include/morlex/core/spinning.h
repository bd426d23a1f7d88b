#pragma once
// One step of the spin indicator on the date text: which part the remembered
// caret picks, the stepped date written in the pattern in force, and where
// the caret goes so that further presses step the same part.

#include <cstdint>
#include <string>
#include <string_view>

#include "morlex/core/date.h"
#include "morlex/core/date_layout.h"
#include "morlex/core/keystroke_editor.h"

namespace morlex {

enum class SpinPart { kMonth, kDay, kYear };

// The part of a month/day/year text that a caret stands in: the month before
// the first "/", the day up to the second, the year from there on.
SpinPart ChooseSpinPart(int caret, const Slashes& slashes);

DateUnit UnitOfPart(SpinPart part);

// The date as the field shows it after a step: written in pattern, or as
// plain date text under the empty pattern (which would otherwise write
// nothing and lose the date).
std::u16string RenderSpunDate(const Date& date, std::u16string_view pattern);

// The caret after a step, from the new text: the end of the month or day
// part, or the end of the text for the year. A pattern that lacks the
// separator the part needs puts the caret at the end of the text.
int CaretAfterSpin(std::u16string_view new_text, SpinPart part);

enum class SpinStatus {
  kStepped,
  kNotADate,       // the text does not read as a date: nothing happens
  kNotThreeParts,  // a date, but not written with exactly two "/"
  kOutOfRange,     // the step leaves the years 100 to 9999: a failure
};

struct SpinResult {
  SpinStatus status = SpinStatus::kNotADate;
  Slashes slashes;  // of the text before the step (when it is a date)
  SpinPart part = SpinPart::kMonth;
  std::u16string text;  // the new text (kStepped only)
  int caret = 0;        // the new caret (kStepped only)
};

// Steps the date that text reads as by `step` units of the part under the
// remembered caret.
SpinResult SpinDateText(std::u16string_view text, int remembered_caret, std::int64_t step,
                        std::u16string_view pattern, int current_year);

// The same in a layout: the caret picks the first, second or third part of
// the text, which the layout names (the day first in day/month/year), and
// goes to the end of that part, or of the text for the third; part tells
// the part stepped. pattern is the pattern in force in the layout.
SpinResult SpinDateText(std::u16string_view text, int remembered_caret, std::int64_t step,
                        std::u16string_view pattern, int current_year, const DateLayout& layout);

}  // namespace morlex
