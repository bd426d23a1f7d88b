#include "morlex/core/spinning.h"

#include "morlex/core/date_text.h"

namespace morlex {

SpinPart ChooseSpinPart(int caret, const Slashes& slashes) {
  if (caret < slashes.first) return SpinPart::kMonth;
  if (caret < slashes.second) return SpinPart::kDay;
  return SpinPart::kYear;
}

DateUnit UnitOfPart(SpinPart part) {
  switch (part) {
    case SpinPart::kMonth:
      return DateUnit::kMonths;
    case SpinPart::kDay:
      return DateUnit::kDays;
    case SpinPart::kYear:
      break;
  }
  return DateUnit::kYears;
}

std::u16string RenderSpunDate(const Date& date, std::u16string_view pattern) {
  return pattern.empty() ? DateToText(date) : FormatDate(date, pattern);
}

int CaretAfterSpin(std::u16string_view new_text, SpinPart part) {
  const int end = static_cast<int>(new_text.size());
  const Slashes s = FindSlashes(new_text);
  switch (part) {
    case SpinPart::kMonth:
      return s.first > 0 ? s.first - 1 : end;
    case SpinPart::kDay:
      return s.second > 0 ? s.second - 1 : end;
    case SpinPart::kYear:
      break;
  }
  return end;
}

SpinResult SpinDateText(std::u16string_view text, int remembered_caret, std::int64_t step,
                        std::u16string_view pattern, int current_year) {
  SpinResult r;
  const auto date = ReadDateText(text, current_year);
  if (!date) return r;
  r.slashes = FindSlashes(text);
  // Month/day alone reads as a date of this year but has no year part to
  // step or to put the caret after.
  if (r.slashes.count != 2) {
    r.status = SpinStatus::kNotThreeParts;
    return r;
  }
  r.part = ChooseSpinPart(remembered_caret, r.slashes);
  const auto next = AddToDate(UnitOfPart(r.part), step, *date);
  if (!next) {
    r.status = SpinStatus::kOutOfRange;
    return r;
  }
  r.text = RenderSpunDate(*next, pattern);
  r.caret = CaretAfterSpin(r.text, r.part);
  r.status = SpinStatus::kStepped;
  return r;
}

}  // namespace morlex
