// Text-change handling, loss of focus, and the commit of the date on leaving
// the field or on Enter.
#include "morlex/control/morlex_date.h"
#include "morlex/core/date_text.h"
#include "morlex/core/unicode.h"

namespace morlex {

void MorlexDate::txtDate_Change() {
  if (host_.CanChange("Text")) host_.NotifyChanged("Text");
  RaiseDateChanged();
}

void MorlexDate::txtDate_LostFocus() {
  // Focus that moves on to the spin indicator or the calendar button stays
  // inside the field: nothing is rendered or committed then.
  if (host_.ActiveConstituent() != nullptr) return;
  FormatTheDate();
  ValidateAndUpdate();
}

void MorlexDate::Commit() {
  FormatTheDate();
  ValidateAndUpdate();
}

void MorlexDate::FormatTheDate() {
  try {
    const std::u16string text = txtDate.Text();
    if (text.empty()) return;
    const int year = CurrentYear();
    if (!ReadDateText(text, year, layout_)) return;  // left as typed; the commit reports it
    txtDate.SetText(RenderDate(text, RenderPattern(), year, layout_));
  } catch (...) {
    ReportError("FormatTheDate", u"Could not format date with format property " +
                                     std::u16string(RenderPattern()) + u".");
  }
}

void MorlexDate::ValidateAndUpdate() {
  bool stored = false;
  try {
    const std::u16string text = txtDate.Text();
    const std::optional<Date> date = ReadDate(text);
    if (!TrimBlanks(text).empty() && !date) {
      RaiseDateInvalid();
      return;
    }
    if (!host_.CanChange("Text")) return;
    // A date outside the range fails as a store that the host refused.
    if (date) CheckDateRange(*date);
    // The host stores the value into its bound field here; its failure to
    // store comes back through this call.
    host_.NotifyChanged("Text");
    stored = true;
  } catch (...) {
    ReportError("ValidateAndUpdate", u"Could not update recordset.");
  }
  if (stored && commit_hook_) {
    auto hook = commit_hook_;  // the hook may replace itself
    hook();
  }
}

}  // namespace morlex
