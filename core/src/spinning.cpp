#include "morlex/core/spinning.h"

#include "morlex/core/date_text.h"
#include "morlex/core/unicode.h"

namespace morlex {
namespace {

// Each part a spin steps: the unit it steps by and the part of a date layout
// it is.
struct SpinPartRow {
  SpinPart part;
  DateUnit unit;
  DatePart date_part;
};
constexpr SpinPartRow kSpinParts[] = {
    {SpinPart::kMonth, DateUnit::kMonths, DatePart::kMonth},
    {SpinPart::kDay, DateUnit::kDays, DatePart::kDay},
    {SpinPart::kYear, DateUnit::kYears, DatePart::kYear},
};

const SpinPartRow& RowOf(SpinPart part) {
  for (const SpinPartRow& row : kSpinParts) {
    if (row.part == part) return row;
  }
  return kSpinParts[2];
}

}  // namespace

SpinPart ChooseSpinPart(int caret, const Slashes& slashes) {
  if (caret < slashes.first) return SpinPart::kMonth;
  if (caret < slashes.second) return SpinPart::kDay;
  return SpinPart::kYear;
}

DateUnit UnitOfPart(SpinPart part) {
  return RowOf(part).unit;
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

namespace morlex {
namespace {

SpinPart SpinPartOf(DatePart part) {
  for (const SpinPartRow& row : kSpinParts) {
    if (row.date_part == part) return row.part;
  }
  return SpinPart::kYear;
}

}  // namespace

SpinResult SpinDateText(std::u16string_view text, int remembered_caret, std::int64_t step,
                        std::u16string_view pattern, int current_year, const DateLayout& layout) {
  if (layout.IsDefault()) {
    return SpinDateText(text, remembered_caret, step, pattern, current_year);
  }
  SpinResult r;
  const auto date = ReadDateText(text, current_year, layout);
  if (!date) return r;
  r.slashes = FindSlashes(text, layout);
  if (r.slashes.count != 2) {
    r.status = SpinStatus::kNotThreeParts;
    return r;
  }
  // ChooseSpinPart tells the position: month, day and year stand for the
  // first, second and third part of the text.
  const SpinPart position = ChooseSpinPart(remembered_caret, r.slashes);
  const int index = position == SpinPart::kMonth ? 0 : position == SpinPart::kDay ? 1 : 2;
  // A text whose first number is a four-digit year reads as year/month/day
  // whatever the order, and so it steps.
  const std::u16string_view trimmed = TrimBlanks(text);
  std::size_t digits = 0;
  while (digits < trimmed.size() && !layout.IsSeparator(trimmed[digits])) ++digits;
  const DatePart part = digits == 4
                            ? kDateOrders[YearMonthDay].parts[static_cast<std::size_t>(index)]
                            : layout.PartAt(index);
  r.part = SpinPartOf(part);
  const auto next = AddToDate(UnitOfPart(r.part), step, *date);
  if (!next) {
    r.status = SpinStatus::kOutOfRange;
    return r;
  }
  r.text = WriteDate(*next, pattern, layout);
  const Slashes after = FindSlashes(r.text, layout);
  const int end = static_cast<int>(r.text.size());
  // The caret goes to the end of the stepped part as the new text has it.
  const int written_at = layout.PositionOf(part);
  if (written_at == 0) {
    r.caret = after.first > 0 ? after.first - 1 : end;
  } else if (written_at == 1) {
    r.caret = after.second > 0 ? after.second - 1 : end;
  } else {
    r.caret = end;
  }
  r.status = SpinStatus::kStepped;
  return r;
}

}  // namespace morlex
