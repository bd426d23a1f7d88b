#pragma once
// frmAbout: the small modal window that names the component and shows its
// version. MorlexDate::AboutBox opens it; a host design tool offers that as
// the control's "About" entry.
//
//   morlex::about::frmAbout form(toolkit, host.Version());  // loaded
//   form.Show();  // modal; returns once the user has closed it
//   // destroying the object unloads the form

#include <memory>
#include <string>
#include <string_view>

#include "morlex/platform/host.h"
#include "morlex/platform/toolkit.h"

namespace morlex::about {

// The notice line that replaces the placeholder caption of lblCopyRight. The
// label is one line of 2535 twips at the form's 8-point font: about 25
// characters, which this must stay within to be shown whole.
inline constexpr std::u16string_view kNoticeLine = u"\u00A9 2026 Morlex Software";

// The version line: the three numbers in plain decimal, joined by "."
// (1, 2, 13 give "1.2.13": no leading zeros, unlike the version block).
std::u16string VersionText(const platform::ComponentVersion& version);

class frmAbout {
 public:
  // Loads the form from its design and runs the load step: the version and
  // notice lines are filled in. Fails when the toolkit cannot create it.
  frmAbout(platform::Toolkit& toolkit, const platform::ComponentVersion& version);
  ~frmAbout();
  frmAbout(const frmAbout&) = delete;
  frmAbout& operator=(const frmAbout&) = delete;

  // Shows the form modally with no owner; returns when it has been closed
  // (cmdClose or the title bar's close box).
  void Show();

  platform::Form& Form() { return *form_; }

 private:
  void Form_Activate();
  void cmdClose_Click();

  std::unique_ptr<platform::Form> form_;
};

// Loads frmAbout, shows it modally and unloads it once closed. Failures go to
// the caller (AboutBox ignores them).
void ShowAboutBox(platform::Toolkit& toolkit, const platform::ComponentVersion& version);

}  // namespace morlex::about
