// The calendar button: opens the month calendar on the field's date and puts
// the picked day back into the field.
#include <memory>

#include "morlex/calendar/frm_calendar.h"
#include "morlex/control/morlex_date.h"
#include "morlex/core/date_text.h"
#include "morlex/designs/form_designs.h"

namespace morlex {

void MorlexDate::cmdCalendar_Click() {
  // Held for the dialog's life: the host may put other names in force while
  // the dialog is shown (a locale change), and the dialog keeps speaking the
  // ones it opened with.
  const std::shared_ptr<const platform::DateNames> names = calendar_names_;
  std::unique_ptr<frmCalendar> dialog;
  try {
    txtDate.SetFocus();
    // A fresh form for every click, so each opening starts unconfirmed and
    // on the field's current text.
    dialog = std::make_unique<frmCalendar>(toolkit_.CreateForm(designs::CalendarForm()),
                                           host_.GetClock(), names.get());
    dialog->SetRange(minimum_, maximum_);
    if (layout_.IsDefault()) {
      dialog->ShowCalendar(txtDate.Text());
    } else {
      // The dialog reads month/day/year: it is given the field's date in
      // that form, and nothing (today) for a text that is no date here.
      const std::optional<Date> shown = ReadDate(txtDate.Text());
      dialog->ShowCalendar(shown ? DateToText(*shown) : std::u16string());
    }
    if (dialog->ReturnDate()) {
      // Only rendered here; validation and commit wait for the focus to leave
      // the field or for Enter.
      txtDate.SetText(layout_.IsDefault()
                          ? RenderDate(dialog->DateText(), m_strDateFormat, CurrentYear())
                          : WriteDate(dialog->ChosenDate(), RenderPattern(), layout_));
    }
    dialog.reset();
  } catch (...) {
    // Unload before telling the host, so that no dialog outlives a failure
    // and a DateError handler that opens the calendar again starts afresh.
    dialog.reset();
    ReportError("cmdCalendar_Click", u"Error making calendar selection.");
  }
}

}  // namespace morlex
