#include "morlex/host/stage.h"

#include "morlex/core/error.h"
#include "morlex/core/unicode.h"

namespace morlex::host {

// --- Printing ------------------------------------------------------------------

std::string Quote(std::string_view utf8) {
  std::string out = "\"";
  for (char ch : utf8) {
    if (ch == '"' || ch == '\\') out.push_back('\\');
    out.push_back(ch);
  }
  out.push_back('"');
  return out;
}

std::string Quote(std::u16string_view text) {
  return Quote(ToUtf8(text));
}

std::string ValueText(const platform::Variant& value) {
  if (const auto* s = std::get_if<std::u16string>(&value)) return Quote(*s);
  if (const auto* b = std::get_if<bool>(&value)) return *b ? "True" : "False";
  if (const auto* i = std::get_if<std::int32_t>(&value)) return std::to_string(*i);
  if (const auto* f = std::get_if<float>(&value)) return platform::NumberText(*f);
  if (const auto* d = std::get_if<double>(&value)) return platform::NumberText(*d);
  if (const auto* font = std::get_if<platform::FontRef>(&value)) {
    if (!*font) return "Nothing";
    return Quote((*font)->name) + " " + platform::NumberText((*font)->size);
  }
  return "Empty";
}

// --- DialogUser ------------------------------------------------------------------

void DialogUser::TypeKey(std::string_view text_box, char16_t ch) {
  platform::TextBox& box = form_.GetTextBox(text_box);
  if (input_.FocusedWidget(form_) != &box) input_.MoveFocus(form_, &box);
  input_.TypeKey(box, ch);
}

namespace {

// The text box, picture box or up-down of a form by its name.
platform::Widget& FocusableWidget(platform::Form& form, std::string_view name) {
  try {
    return form.GetTextBox(name);
  } catch (const Error&) {
  }
  try {
    return form.GetPictureBox(name);
  } catch (const Error&) {
  }
  return form.GetUpDown(name);
}

}  // namespace

void DialogUser::Focus(std::string_view widget) {
  input_.MoveFocus(form_, &FocusableWidget(form_, widget));
}

void DialogUser::PressKey(std::string_view widget, platform::KeyDownArgs key) {
  input_.PressKey(FocusableWidget(form_, widget), key);
}

void DialogUser::PressUpDown(std::string_view name, bool up) {
  input_.PressUpDown(form_.GetUpDown(name), up);
}
void DialogUser::PressButton(std::string_view name) {
  input_.PressButton(form_.GetCommandButton(name));
}
void DialogUser::ClickLabel(std::string_view name, int index) {
  input_.ClickLabel(form_.GetLabel(name, index));
}
void DialogUser::DblClickLabel(std::string_view name, int index) {
  input_.DblClickLabel(form_.GetLabel(name, index));
}
void DialogUser::Close() {
  input_.CloseForm(form_);
}

std::string DialogUser::FocusedName() {
  platform::Widget* w = input_.FocusedWidget(form_);
  return w != nullptr ? w->Name() : std::string();
}

// --- Stage -------------------------------------------------------------------------

class Stage::Sink final : public EventRelay {
 public:
  explicit Sink(Stage& stage) : stage_(stage) {}
  void OnEvent(Event event) override { stage_.Print("event " + std::string(EventName(event))); }
  void DateError(ErrObject& objErr, std::u16string& strCustom) override {
    stage_.Print("event " + std::string(EventName(Event::kDateError)) +
                 " source=" + Quote(objErr.source) + " custom=" + Quote(strCustom));
  }

 private:
  Stage& stage_;
};

Stage::Stage(Binding& binding, Printer printer) : binding_(binding), printer_(std::move(printer)) {
  policy_.on_notify = [this](std::string_view key) { Print("notify " + std::string(key)); };
  policy_.on_notify_failed = [this](std::string_view key) {
    Print("notify " + std::string(key) + " failed");
  };
}

Stage::~Stage() = default;

void Stage::Print(const std::string& line) {
  if (printing_ && printer_) printer_(line);
}

void Stage::SetToday(Date today) {
  clock_.emplace(today);
  policy_.clock = &*clock_;
}

MorlexDate* Stage::Control() {
  return hosted_ ? &hosted_->Control() : nullptr;
}

MorlexDate& Stage::Require() {
  if (!hosted_)
    throw Error(errnum::kObjectNotSet,
                ErrorMessage(errnum::kObjectNotSet, "no control (use new or load first)"));
  return hosted_->Control();
}

MorlexDate& Stage::Start(const std::function<void(MorlexDate&)>& prepare) {
  printing_ = false;
  hosted_.reset();
  sink_.reset();
  policy_.user_mode = user_mode_;
  hosted_ = binding_.CreateHosted(policy_);
  MorlexDate& control = hosted_->Control();
  prepare(control);
  sink_ = std::make_shared<Sink>(*this);
  control.Advise(sink_);
  printing_ = true;
  return control;
}

MorlexDate& Stage::New() {
  return Start([this](MorlexDate& control) {
    control.InitProperties();
    hosted_->HostResize(hosted_->Site().Width(), hosted_->Site().Height());
  });
}

MorlexDate& Stage::Load(platform::PropertyBag& bag) {
  return Start([&bag](MorlexDate& control) { control.ReadProperties(bag); });
}

void Stage::HostResize(float width, float height) {
  Require();
  hosted_->HostResize(width, height);
}

void Stage::HostShow() {
  Require();
  hosted_->HostShow();
}

bool Stage::UserCanAct() {
  return Require(), hosted_->Site().Enabled();
}

void Stage::EnsureTextFocus() {
  platform::Surface& s = hosted_->Control().ControlSurface();
  platform::TextBox& box = s.GetTextBox("txtDate");
  if (binding_.Input().FocusedWidget(s) != &box) binding_.Input().MoveFocus(s, &box);
}

void Stage::Type(std::u16string_view text) {
  for (char16_t ch : text) Key(ch);
}

void Stage::Key(char16_t code) {
  if (!UserCanAct()) return;
  EnsureTextFocus();
  binding_.Input().TypeKey(hosted_->Control().ControlSurface().GetTextBox("txtDate"), code);
}

void Stage::Caret(int position, int length) {
  if (!UserCanAct()) return;
  EnsureTextFocus();
  binding_.Input().MoveCaret(hosted_->Control().ControlSurface().GetTextBox("txtDate"), position,
                             length);
}

void Stage::Click(int position) {
  if (!UserCanAct()) return;
  binding_.Input().ClickText(hosted_->Control().ControlSurface().GetTextBox("txtDate"), position);
}

void Stage::DblClick() {
  if (!UserCanAct()) return;
  binding_.Input().DblClickText(hosted_->Control().ControlSurface().GetTextBox("txtDate"));
}

void Stage::Spin(bool up) {
  if (!UserCanAct()) return;
  binding_.Input().PressUpDown(hosted_->Control().ControlSurface().GetUpDown("spinCTL"), up);
}

void Stage::PressKey(platform::KeyDownArgs key, std::function<void(DialogUser&)> while_shown) {
  if (!UserCanAct()) return;
  EnsureTextFocus();
  UserInput& input = binding_.Input();
  input.SetModalInteraction([&input, fn = std::move(while_shown)](platform::Form& form) {
    DialogUser user(input, form);
    if (fn) fn(user);
  });
  try {
    input.PressKey(hosted_->Control().ControlSurface().GetTextBox("txtDate"), key);
  } catch (...) {
    input.SetModalInteraction(nullptr);
    throw;
  }
  input.SetModalInteraction(nullptr);
}

void Stage::Focus() {
  if (!UserCanAct()) return;
  EnsureTextFocus();
}

void Stage::Blur(BlurTarget target) {
  Require();
  // The focus leaves from the text box: a script that never typed still
  // means "the user was in the field and left it".
  EnsureTextFocus();
  platform::Surface& s = hosted_->Control().ControlSurface();
  platform::Widget* to = nullptr;
  if (target == BlurTarget::kSpin) to = &s.GetUpDown("spinCTL");
  if (target == BlurTarget::kCalendar) to = &s.GetCommandButton("cmdCalendar");
  binding_.Input().MoveFocus(s, to);
}

void Stage::ClickCalendar(std::function<void(DialogUser&)> while_shown) {
  if (!UserCanAct()) return;
  UserInput& input = binding_.Input();
  input.SetModalInteraction([&input, fn = std::move(while_shown)](platform::Form& form) {
    DialogUser user(input, form);
    if (fn) fn(user);
  });
  try {
    input.PressButton(hosted_->Control().ControlSurface().GetCommandButton("cmdCalendar"));
  } catch (...) {
    input.SetModalInteraction(nullptr);
    throw;
  }
  input.SetModalInteraction(nullptr);
}

void Stage::About(std::function<void(DialogUser&)> while_shown) {
  MorlexDate& control = Require();
  UserInput& input = binding_.Input();
  input.SetModalInteraction([&input, fn = std::move(while_shown)](platform::Form& form) {
    DialogUser user(input, form);
    if (fn) fn(user);
  });
  try {
    control.AboutBox();
  } catch (...) {
    input.SetModalInteraction(nullptr);
    throw;
  }
  input.SetModalInteraction(nullptr);
}

TextState Stage::State() {
  platform::TextBox& box = Require().ControlSurface().GetTextBox("txtDate");
  return {box.Text(), box.SelStart(), box.SelLength()};
}

std::vector<WidgetBox> Stage::Layout(float& width, float& height) {
  MorlexDate& control = Require();
  width = hosted_->Site().Width();
  height = hosted_->Site().Height();
  platform::Surface& s = control.ControlSurface();
  const platform::Widget* widgets[] = {&s.GetTextBox("txtDate"), &s.GetUpDown("spinCTL"),
                                       &s.GetCommandButton("cmdCalendar")};
  std::vector<WidgetBox> out;
  for (const platform::Widget* w : widgets) {
    out.push_back({w->Name(), w->Left(), w->Top(), w->Width(), w->Height(), w->Visible()});
  }
  return out;
}

}  // namespace morlex::host
