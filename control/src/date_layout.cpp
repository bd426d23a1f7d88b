// The order of the field's date parts and their separator.
#include "morlex/control/morlex_date.h"
#include "morlex/core/error.h"

namespace morlex {

std::optional<Date> MorlexDate::ReadDate(std::u16string_view text) const {
  return ReadDateText(text, CurrentYear(), layout_);
}

void MorlexDate::SetDateOrder(std::int32_t New_DateOrder) {
  const std::optional<morlex::DateOrder> order = DateOrderOf(New_DateOrder);
  if (!order) throw Error(errnum::kInvalidValue);
  ChangeLayout({*order, layout_.separator});
  host_.NotifyChanged("DateOrder");
}

void MorlexDate::SetDateSeparator(std::u16string_view New_DateSeparator) {
  const std::optional<char16_t> separator = DateSeparatorOf(New_DateSeparator);
  if (!separator) throw Error(errnum::kInvalidValue);
  ChangeLayout({layout_.order, *separator});
  host_.NotifyChanged("DateSeparator");
}

void MorlexDate::ChangeLayout(const DateLayout& layout) {
  if (layout == layout_) return;
  // A date the field holds stays the same date: read in the old layout, it
  // is written in the new one. Any other text stays as typed.
  const std::optional<Date> date = ReadDate(txtDate.Text());
  layout_ = layout;
  if (date) txtDate.SetText(WriteDate(*date, RenderPattern(), layout_));
}

}  // namespace morlex
