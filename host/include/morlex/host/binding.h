#pragma once
// What a scriptable host needs of one widget toolkit: the toolkit itself, a
// host site for a control, and the end user's hands on the toolkit's widgets.
// The headless toolkit and the Qt binding each provide one.

#include <functional>
#include <memory>

#include "morlex/control/morlex_date.h"
#include "morlex/headless/host.h"
#include "morlex/platform/clock.h"
#include "morlex/platform/toolkit.h"

namespace morlex::host {

// The end user acting on widgets. Every call runs the toolkit's own sequence
// of notifications, exactly as a real keystroke or click would.
class UserInput {
 public:
  virtual ~UserInput() = default;
  // One character key: key preview, KeyPress, insertion, key release.
  virtual void TypeKey(platform::TextBox& box, char16_t ch) = 0;
  // The caret moved by keyboard (selecting length); the key release follows.
  virtual void MoveCaret(platform::TextBox& box, int position, int length) = 0;
  virtual void ClickText(platform::TextBox& box, int position) = 0;
  virtual void DblClickText(platform::TextBox& box) = 0;
  // A key that types no character on a widget with the focus (arrows,
  // pages, Home, End, F4, Tab; Space on a widget that takes no text): the
  // widget's KeyDown, then what the toolkit does with a key nothing took.
  virtual void PressKey(platform::Widget& widget, platform::KeyDownArgs key) = 0;
  virtual void PressUpDown(platform::UpDown& updown, bool up) = 0;
  virtual void PressButton(platform::CommandButton& button) = 0;
  virtual void ClickLabel(platform::Label& label) = 0;
  virtual void DblClickLabel(platform::Label& label) = 0;
  // The user moves the focus within a surface; nullptr: out of the surface.
  virtual void MoveFocus(platform::Surface& surface, platform::Widget* to) = 0;
  virtual platform::Widget* FocusedWidget(platform::Surface& surface) = 0;
  // The window's close command.
  virtual void CloseForm(platform::Form& form) = 0;
  // The next modal show plays this while the form is shown.
  virtual void SetModalInteraction(std::function<void(platform::Form&)> interaction) = 0;
};

// One control placed in a host of the toolkit.
class HostedControl {
 public:
  virtual ~HostedControl() = default;
  virtual MorlexDate& Control() = 0;
  virtual platform::HostSite& Site() = 0;
  // The host resizes the control (the resize notice follows).
  virtual void HostResize(float width, float height) = 0;
  // The host shows the control (the show notice follows).
  virtual void HostShow() = 0;
};

class Binding {
 public:
  virtual ~Binding() = default;
  virtual platform::Toolkit& GetToolkit() = 0;
  virtual UserInput& Input() = 0;
  // Creates a host of the design size (2280 x 885) behaving by policy, and a
  // control in it (creation only; no initialisation or loading yet).
  virtual std::unique_ptr<HostedControl> CreateHosted(headless::HostPolicy& policy) = 0;
};

// Today by a host's policy, read each time: a script may pin the date after
// the control was created. For a binding whose controls keep a clock of their
// own rather than asking the host.
class PolicyClock final : public platform::Clock {
 public:
  explicit PolicyClock(const headless::HostPolicy& policy) : policy_(policy) {}
  Date Today() const override {
    static const platform::SystemClock system_clock;
    return (policy_.clock != nullptr ? *policy_.clock : system_clock).Today();
  }

 private:
  const headless::HostPolicy& policy_;
};

// The headless toolkit's binding.
std::unique_ptr<Binding> MakeHeadlessBinding();

}  // namespace morlex::host
