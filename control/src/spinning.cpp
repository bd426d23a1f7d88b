// The spin indicator: steps the month, day or year under the remembered caret.
#include "morlex/core/spinning.h"
#include "morlex/control/morlex_date.h"
#include "morlex/core/date_text.h"
#include "morlex/core/integer.h"

namespace morlex {

void MorlexDate::spinCTL_Change() {
  // Setting the value back to 0 below comes straight back here.
  const int value = spinCTL.Value();
  if (value == 0) return;
  try {
    SpinTheDate(ToInteger16(value));
  } catch (...) {
    // Left at +1 or -1 the indicator would take no further press in that
    // direction; the failure still goes to the caller.
    spinCTL.SetValue(0);
    throw;
  }
  spinCTL.SetValue(0);
}

void MorlexDate::SpinTheDate(std::int16_t step) {
  try {
    const SpinResult r =
        SpinDateText(txtDate.Text(), m_intCaret, step, RenderPattern(), CurrentYear(), layout_);
    // A text that is no date, or a date without a year part, leaves the
    // arrows without effect.
    if (r.status == SpinStatus::kNotADate || r.status == SpinStatus::kNotThreeParts) return;
    // A step that would leave the field on a date outside its range fails
    // as a step past the calendar's years does. The whole range holds every
    // date a step can reach, so the stepped text is read again only for a
    // narrower one.
    const auto reached = r.status == SpinStatus::kStepped && !DateRangeIsWhole()
                             ? ReadDate(r.text)
                             : std::optional<Date>();
    if (r.status == SpinStatus::kOutOfRange || (reached && !InDateRange(*reached))) {
      throw Error(errnum::kInvalidCall);
    }
    const std::int16_t caret = ToInteger16(r.caret);
    txtDate.SetText(r.text);
    txtDate.SetSelStart(caret);
    m_intCaret = caret;
  } catch (...) {
    ReportError("SpinTheDate", u"Spin error encountered.");
  }
}

}  // namespace morlex
