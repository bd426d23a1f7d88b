#include "morlex/control/about_form.h"

#include "morlex/core/unicode.h"
#include "morlex/designs/form_designs.h"

namespace morlex::about {

std::u16string VersionText(const platform::ComponentVersion& version) {
  return FromUtf8(std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                  std::to_string(version.revision));
}

frmAbout::frmAbout(platform::Toolkit& toolkit, const platform::ComponentVersion& version)
    : form_(toolkit.CreateForm(designs::AboutForm())) {
  // The handlers run inside the toolkit's modal loop: nothing may escape
  // from them into it.
  form_->form_events.Activate = [this]() noexcept {
    try {
      Form_Activate();
    } catch (...) {
    }
  };
  form_->GetCommandButton("cmdClose").events.Click = [this]() noexcept {
    try {
      cmdClose_Click();
    } catch (...) {
    }
  };
  form_->GetLabel("lblVersion").SetCaption(VersionText(version));
  form_->GetLabel("lblCopyRight").SetCaption(kNoticeLine);
}

frmAbout::~frmAbout() {
  // The form may outlive this object for a moment inside the toolkit.
  form_->form_events = {};
  try {
    form_->GetCommandButton("cmdClose").events = {};
  } catch (...) {
  }
}

void frmAbout::Show() {
  form_->ShowModal();
}

// Each time the window becomes active the focus goes to the one button, so
// that Enter, Space and Esc close the box straight away.
void frmAbout::Form_Activate() {
  form_->GetCommandButton("cmdClose").SetFocus();
}

// Unloading is hiding the window here (which ends the modal show) and
// releasing the form once the show has returned; the next AboutBox loads a
// fresh one.
void frmAbout::cmdClose_Click() {
  form_->Hide();
}

void ShowAboutBox(platform::Toolkit& toolkit, const platform::ComponentVersion& version) {
  frmAbout form(toolkit, version);
  form.Show();
}

}  // namespace morlex::about
