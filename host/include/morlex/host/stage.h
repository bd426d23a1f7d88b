#pragma once
// A host form holding one MorlexDate, with the end user in front of it: the
// scriptable host and the behaviour tests drive the control through a Stage,
// on whichever toolkit its Binding provides.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "morlex/host/binding.h"

namespace morlex::host {

enum class BlurTarget { kOutside, kSpin, kCalendar };

struct TextState {
  std::u16string text;
  int sel_start = 0;
  int sel_length = 0;
};

struct WidgetBox {
  std::string name;
  float left = 0, top = 0, width = 0, height = 0;
  bool visible = false;
};

// The user in front of a form shown modally.
class DialogUser {
 public:
  DialogUser(UserInput& input, platform::Form& form) : input_(input), form_(form) {}
  platform::Form& Form() { return form_; }
  UserInput& Input() { return input_; }
  bool Shown() const { return form_.IsShown(); }
  void TypeKey(std::string_view text_box, char16_t ch);
  // A key that types no character on the named text box or picture box.
  void PressKey(std::string_view widget, platform::KeyDownArgs key);
  void Focus(std::string_view widget);
  void PressUpDown(std::string_view name, bool up);
  void PressButton(std::string_view name);
  void ClickLabel(std::string_view name, int index);
  void DblClickLabel(std::string_view name, int index);
  void Close();
  // Name of the widget with the focus, empty when none.
  std::string FocusedName();

 private:
  UserInput& input_;
  platform::Form& form_;
};

class Stage {
 public:
  // Lines the control makes the host print (notices and events).
  using Printer = std::function<void(const std::string& line)>;

  explicit Stage(Binding& binding, Printer printer = {});
  ~Stage();

  headless::HostPolicy& Policy() { return policy_; }
  void SetToday(Date today);
  // Ambient UserMode for the controls created from now on.
  void SetUserMode(bool user_mode) { user_mode_ = user_mode; }

  // Creates a control at the design size (2280 x 885), runs first-time
  // initialisation, then the host's first resize notice. Prints nothing.
  MorlexDate& New();
  // Creates a control and loads it from bag. Prints nothing.
  MorlexDate& Load(platform::PropertyBag& bag);
  // The current control; nullptr before New or Load.
  MorlexDate* Control();
  HostedControl* Hosted() { return hosted_.get(); }

  void HostResize(float width, float height);
  void HostShow();

  // The end user on the field. While the control is disabled they do nothing.
  void Type(std::u16string_view text);
  void Key(char16_t code);
  void Caret(int position, int length);
  void Click(int position);
  void DblClick();
  void Spin(bool up);
  // A key that types no character on the field (Up, Down, Alt+Down, F4);
  // while_shown plays the user on a calendar the key opens.
  void PressKey(platform::KeyDownArgs key, std::function<void(DialogUser&)> while_shown = {});
  void Focus();
  void Blur(BlurTarget target);
  // Clicks the calendar button; while_shown plays the user on the dialog.
  void ClickCalendar(std::function<void(DialogUser&)> while_shown);
  // Calls AboutBox; while_shown plays the user on the about form.
  void About(std::function<void(DialogUser&)> while_shown);

  TextState State();
  // The control's size and its three widgets, in the order txtDate,
  // spinCTL, cmdCalendar.
  std::vector<WidgetBox> Layout(float& width, float& height);

 private:
  class Sink;
  // A new hosted control, made ready by prepare before its events print.
  MorlexDate& Start(const std::function<void(MorlexDate&)>& prepare);
  MorlexDate& Require();
  bool UserCanAct();
  void EnsureTextFocus();
  void Print(const std::string& line);

  Binding& binding_;
  Printer printer_;
  headless::HostPolicy policy_;
  std::optional<platform::FixedClock> clock_;
  bool user_mode_ = true;
  bool printing_ = false;
  std::unique_ptr<HostedControl> hosted_;
  std::shared_ptr<Sink> sink_;
};

// Writes a string the way the host prints it: in double quotes, with \" and
// \\ escapes.
std::string Quote(std::u16string_view text);
std::string Quote(std::string_view utf8);
// Writes a value the way the host prints it: strings quoted, True/False,
// numbers in their shortest form, a font as "FACE" SIZE.
std::string ValueText(const platform::Variant& value);

}  // namespace morlex::host
