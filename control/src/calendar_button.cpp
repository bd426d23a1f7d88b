// The calendar button: opens the month calendar on the field's date and puts
// the picked day back into the field.
#include <memory>

#include "morlex/calendar/frm_calendar.h"
#include "morlex/control/morlex_date.h"
#include "morlex/core/date_text.h"
#include "morlex/designs/form_designs.h"

namespace morlex {

void MorlexDate::cmdCalendar_Click() {
  std::unique_ptr<frmCalendar> dialog;
  try {
    txtDate.SetFocus();
    // A fresh form for every click, so each opening starts unconfirmed and
    // on the field's current text.
    dialog = std::make_unique<frmCalendar>(toolkit_.CreateForm(designs::CalendarForm()),
                                           host_.GetClock());
    dialog->SetRange(minimum_, maximum_);
    dialog->ShowCalendar(txtDate.Text());
    if (dialog->ReturnDate()) {
      // Only rendered here; validation and commit wait for the focus to leave
      // the field or for Enter.
      txtDate.SetText(RenderDate(dialog->DateText(), m_strDateFormat, CurrentYear()));
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
