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

// One control in the in-memory test host of the headless toolkit. The
// control sees the host as it is, or through a wrapper made round it (one
// that fails on demand, say); the host itself is resized either way.
class TestHosted final : public HostedControl {
 public:
  using Wrapper = std::function<std::unique_ptr<platform::HostSite>(headless::TestHost&)>;

  // Creates the host and the control on toolkit, as Binding::CreateHosted does.
  TestHosted(platform::Toolkit& toolkit, headless::HostPolicy& policy, const Wrapper& wrap = {})
      : test_host_(policy),
        wrapper_(wrap ? wrap(test_host_) : nullptr),
        control_(*Seen(), toolkit) {}
  // Lets the test host reach the control and its surface (the headless one).
  void Attach(headless::Surface* surface) { test_host_.Attach(&control_, surface); }

  MorlexDate& Control() override { return control_; }
  platform::HostSite& Site() override { return *Seen(); }
  void HostResize(float width, float height) override { test_host_.HostResize(width, height); }
  void HostShow() override { control_.Show(); }

 private:
  platform::HostSite* Seen() {
    return wrapper_ ? wrapper_.get() : static_cast<platform::HostSite*>(&test_host_);
  }

  headless::TestHost test_host_;
  std::unique_ptr<platform::HostSite> wrapper_;
  MorlexDate control_;
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
