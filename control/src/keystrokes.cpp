// The key preview of the field and the text box's key, release, click and
// double-click handlers.
#include "morlex/control/morlex_date.h"

namespace morlex {

void MorlexDate::UserControl_KeyPress(std::int16_t& KeyAscii) {
  switch (KeyAscii) {
    case 8:   // Backspace
    case 9:   // Tab
    case 46:  // "."
    case 47:  // "/"
      return;
    case 0:
    case 13:  // Enter commits the date and goes no further
      FormatTheDate();
      ValidateAndUpdate();
      KeyAscii = 0;
      return;
    default:
      if (KeyAscii >= 48 && KeyAscii <= 57) return;
      KeyAscii = 0;
  }
}

void MorlexDate::txtDate_KeyPress(std::int16_t& KeyAscii) {
  (void)KeyAscii;
}

void MorlexDate::txtDate_KeyUp() {}

void MorlexDate::txtDate_Click() {
  RaiseClick();
}

void MorlexDate::txtDate_DblClick() {}

}  // namespace morlex
