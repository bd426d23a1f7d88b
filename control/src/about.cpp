// The about box.
#include "morlex/control/about_form.h"
#include "morlex/control/morlex_date.h"

namespace morlex {

void MorlexDate::AboutBox() {
  // The about box is a courtesy: whatever goes wrong while showing it (no
  // form could be created, the window could not be shown) is ignored, and
  // the host is never told.
  try {
    about::ShowAboutBox(toolkit_, host_.Version());
  } catch (...) {
  }
}

}  // namespace morlex
