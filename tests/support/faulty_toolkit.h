#pragma once
// A widget toolkit that fails on demand. It wraps the headless toolkit: every
// surface, form and widget it hands out passes each call on to its headless
// counterpart and each notification back, unless the fault plan makes the
// call fail first. FaultyBinding puts it under a Stage, so the end user and
// the host drive the control through the wrappers exactly as they would
// through the headless toolkit itself.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "fault_plan.h"
#include "faulty_host.h"
#include "morlex/headless/toolkit.h"
#include "morlex/host/binding.h"

namespace morlex::testing_support {

// What every wrapped widget shares: position, size, visibility, focus.
template <typename Iface>
class WrappedWidget : public Iface {
 public:
  WrappedWidget(Iface& inner, FaultPlan& plan) : inner_(inner), plan_(plan) {}

  Iface& Inner() const { return inner_; }

  const std::string& Name() const override { return inner_.Name(); }
  int Index() const override { return inner_.Index(); }
  float Left() const override { return inner_.Left(); }
  float Top() const override { return inner_.Top(); }
  float Width() const override { return inner_.Width(); }
  float Height() const override { return inner_.Height(); }
  void SetLeft(float v) override { Hit("SetLeft"), inner_.SetLeft(v); }
  void SetTop(float v) override { Hit("SetTop"), inner_.SetTop(v); }
  void SetWidth(float v) override { Hit("SetWidth"), inner_.SetWidth(v); }
  void SetHeight(float v) override { Hit("SetHeight"), inner_.SetHeight(v); }
  bool Visible() const override { return inner_.Visible(); }
  void SetVisible(bool v) override { Hit("SetVisible"), inner_.SetVisible(v); }
  bool Enabled() const override { return inner_.Enabled(); }
  void SetEnabled(bool v) override { Hit("SetEnabled"), inner_.SetEnabled(v); }
  void SetFocus() override { Hit("SetFocus"), inner_.SetFocus(); }

 protected:
  // Sites are named without the array index: "lblDay.SetCaption" arms
  // every day cell alike.
  void Hit(std::string_view op) const { plan_.Hit(inner_.Name() + "." + std::string(op)); }

  // A handler for the inner widget's event that runs the wrapper's handler of
  // the same event, as it is set when the event comes.
  template <typename... Args>
  static std::function<void(Args...)> Relay(std::function<void(Args...)>& to) {
    return [&to](Args... args) {
      if (to) to(args...);
    };
  }

  Iface& inner_;
  FaultPlan& plan_;
};

class FaultyTextBox final : public WrappedWidget<platform::TextBox> {
 public:
  FaultyTextBox(platform::TextBox& inner, FaultPlan& plan) : WrappedWidget(inner, plan) {
    auto& in = inner.events;
    in.KeyDown = Relay(events.KeyDown);
    in.KeyPress = Relay(events.KeyPress);
    in.KeyUp = Relay(events.KeyUp);
    in.Click = Relay(events.Click);
    in.DblClick = Relay(events.DblClick);
    in.Change = Relay(events.Change);
    in.GotFocus = Relay(events.GotFocus);
    in.LostFocus = Relay(events.LostFocus);
  }
  ~FaultyTextBox() override { inner_.events = {}; }

  std::u16string Text() const override { return Hit("Text"), inner_.Text(); }
  // "SetText" refuses the text; "SetText:after" fails once it has changed
  // (and the change handler has run).
  void SetText(std::u16string_view t) override {
    Hit("SetText");
    inner_.SetText(t);
    Hit("SetText:after");
  }
  int SelStart() const override { return inner_.SelStart(); }
  void SetSelStart(int p) override { Hit("SetSelStart"), inner_.SetSelStart(p); }
  int SelLength() const override { return inner_.SelLength(); }
  void SetSelLength(int l) override { Hit("SetSelLength"), inner_.SetSelLength(l); }
  std::u16string SelText() const override { return inner_.SelText(); }
  void SetSelText(std::u16string_view t) override { Hit("SetSelText"), inner_.SetSelText(t); }
  int MaxLength() const override { return inner_.MaxLength(); }
  void SetMaxLength(int l) override { Hit("SetMaxLength"), inner_.SetMaxLength(l); }
  std::uint32_t BackColor() const override { return inner_.BackColor(); }
  void SetBackColor(std::uint32_t c) override { Hit("SetBackColor"), inner_.SetBackColor(c); }
  std::uint32_t ForeColor() const override { return inner_.ForeColor(); }
  void SetForeColor(std::uint32_t c) override { Hit("SetForeColor"), inner_.SetForeColor(c); }
  platform::FontRef GetFont() const override { return inner_.GetFont(); }
  void SetFont(platform::FontRef f) override { Hit("SetFont"), inner_.SetFont(std::move(f)); }
  std::u16string ToolTipText() const override { return inner_.ToolTipText(); }
  void SetToolTipText(std::u16string_view t) override {
    Hit("SetToolTipText"), inner_.SetToolTipText(t);
  }
  std::int32_t WhatsThisHelpID() const override { return inner_.WhatsThisHelpID(); }
  void SetWhatsThisHelpID(std::int32_t id) override {
    Hit("SetWhatsThisHelpID"), inner_.SetWhatsThisHelpID(id);
  }
  std::u16string DataField() const override { return inner_.DataField(); }
  void SetDataField(std::u16string_view f) override { Hit("SetDataField"), inner_.SetDataField(f); }
};

class FaultyCommandButton final : public WrappedWidget<platform::CommandButton> {
 public:
  FaultyCommandButton(platform::CommandButton& inner, FaultPlan& plan)
      : WrappedWidget(inner, plan) {
    inner.events.Click = Relay(events.Click);
  }
  ~FaultyCommandButton() override { inner_.events = {}; }
  std::u16string Caption() const override { return inner_.Caption(); }
  void SetCaption(std::u16string_view c) override { Hit("SetCaption"), inner_.SetCaption(c); }
};

class FaultyLabel final : public WrappedWidget<platform::Label> {
 public:
  FaultyLabel(platform::Label& inner, FaultPlan& plan) : WrappedWidget(inner, plan) {
    inner.events.Click = Relay(events.Click);
    inner.events.DblClick = Relay(events.DblClick);
  }
  ~FaultyLabel() override { inner_.events = {}; }
  std::u16string Caption() const override { return inner_.Caption(); }
  void SetCaption(std::u16string_view c) override { Hit("SetCaption"), inner_.SetCaption(c); }
  bool Bordered() const override { return inner_.Bordered(); }
  void SetBordered(bool b) override { Hit("SetBordered"), inner_.SetBordered(b); }
  int Alignment() const override { return inner_.Alignment(); }
  void SetAlignment(int a) override { Hit("SetAlignment"), inner_.SetAlignment(a); }
  std::uint32_t BackColor() const override { return inner_.BackColor(); }
  void SetBackColor(std::uint32_t c) override { Hit("SetBackColor"), inner_.SetBackColor(c); }
  bool Bold() const override { return inner_.Bold(); }
  void SetBold(bool b) override { Hit("SetBold"), inner_.SetBold(b); }
  void SetDay(const std::optional<Date>& d) override { Hit("SetDay"), inner_.SetDay(d); }
};

class FaultyPictureBox final : public WrappedWidget<platform::PictureBox> {
 public:
  FaultyPictureBox(platform::PictureBox& inner, FaultPlan& plan) : WrappedWidget(inner, plan) {
    inner.events.KeyDown = Relay(events.KeyDown);
  }
  ~FaultyPictureBox() override { inner_.events = {}; }
  float ScaleWidth() const override { return Hit("ScaleWidth"), inner_.ScaleWidth(); }
  float ScaleHeight() const override { return Hit("ScaleHeight"), inner_.ScaleHeight(); }
};

class FaultyImage final : public WrappedWidget<platform::Image> {
 public:
  using WrappedWidget::WrappedWidget;
};

class FaultyUpDown final : public WrappedWidget<platform::UpDown> {
 public:
  FaultyUpDown(platform::UpDown& inner, FaultPlan& plan) : WrappedWidget(inner, plan) {
    inner.events.Change = Relay(events.Change);
  }
  ~FaultyUpDown() override { inner_.events = {}; }
  int Value() const override { return inner_.Value(); }
  void SetValue(int v) override { Hit("SetValue"), inner_.SetValue(v); }
  int Min() const override { return inner_.Min(); }
  int Max() const override { return inner_.Max(); }
};

// The wrappers of one surface's widgets, made on first request and kept,
// so that the control and the user always meet the same wrapper.
class WidgetWrappers {
 public:
  explicit WidgetWrappers(FaultPlan& plan) : plan_(plan) {}

  template <typename Wrapper, typename Iface>
  Wrapper& Wrap(Iface& inner) {
    auto& slot = by_inner_[&inner];
    if (!slot) slot = std::make_unique<Wrapper>(inner, plan_);
    return static_cast<Wrapper&>(*slot);
  }
  // The wrapper of a headless widget, or the widget itself when none.
  platform::Widget* Outer(platform::Widget* inner) const {
    const auto it = by_inner_.find(inner);
    return it == by_inner_.end() ? inner : it->second.get();
  }

 private:
  FaultPlan& plan_;
  std::map<const platform::Widget*, std::unique_ptr<platform::Widget>> by_inner_;
};

// Unwraps a wrapped widget (any other widget is returned as it is).
inline platform::Widget* InnerWidget(platform::Widget* w) {
  if (auto* t = dynamic_cast<FaultyTextBox*>(w)) return &t->Inner();
  if (auto* b = dynamic_cast<FaultyCommandButton*>(w)) return &b->Inner();
  if (auto* l = dynamic_cast<FaultyLabel*>(w)) return &l->Inner();
  if (auto* p = dynamic_cast<FaultyPictureBox*>(w)) return &p->Inner();
  if (auto* i = dynamic_cast<FaultyImage*>(w)) return &i->Inner();
  if (auto* u = dynamic_cast<FaultyUpDown*>(w)) return &u->Inner();
  return w;
}

// A surface that owns its headless counterpart and hands out wrappers of
// its widgets; the control surface and the forms share it.
template <typename Base, typename InnerSurface>
class WrappingSurface : public Base {
 public:
  WrappingSurface(std::unique_ptr<InnerSurface> inner, FaultPlan& plan, std::string site)
      : inner_(std::move(inner)), plan_(plan), site_(std::move(site)), wrappers_(plan) {
    inner_->KeyPreview = [this](std::int16_t& k) {
      if (this->KeyPreview) this->KeyPreview(k);
    };
  }
  ~WrappingSurface() override { inner_->KeyPreview = nullptr; }

  InnerSurface& Inner() { return *inner_; }
  // The wrapper of one of the headless widgets (the widget itself if none).
  platform::Widget* Outer(platform::Widget* inner) const { return wrappers_.Outer(inner); }

  platform::TextBox& GetTextBox(std::string_view n) override {
    Hit("GetTextBox");
    return wrappers_.template Wrap<FaultyTextBox>(inner_->GetTextBox(n));
  }
  platform::CommandButton& GetCommandButton(std::string_view n) override {
    Hit("GetCommandButton");
    return wrappers_.template Wrap<FaultyCommandButton>(inner_->GetCommandButton(n));
  }
  platform::Label& GetLabel(std::string_view n, int i = -1) override {
    Hit("GetLabel");
    return wrappers_.template Wrap<FaultyLabel>(inner_->GetLabel(n, i));
  }
  platform::PictureBox& GetPictureBox(std::string_view n) override {
    Hit("GetPictureBox");
    return wrappers_.template Wrap<FaultyPictureBox>(inner_->GetPictureBox(n));
  }
  platform::Image& GetImage(std::string_view n) override {
    Hit("GetImage");
    return wrappers_.template Wrap<FaultyImage>(inner_->GetImage(n));
  }
  platform::UpDown& GetUpDown(std::string_view n) override {
    Hit("GetUpDown");
    return wrappers_.template Wrap<FaultyUpDown>(inner_->GetUpDown(n));
  }

 protected:
  void Hit(std::string_view op) const { plan_.Hit(site_ + "." + std::string(op)); }

  // Declared before the wrappers, so that they go first.
  std::unique_ptr<InnerSurface> inner_;
  FaultPlan& plan_;
  std::string site_;
  WidgetWrappers wrappers_;
};

class FaultySurface final : public WrappingSurface<platform::Surface, platform::Surface> {
 public:
  FaultySurface(std::unique_ptr<platform::Surface> inner, FaultPlan& plan)
      : WrappingSurface(std::move(inner), plan, "ControlSurface") {}
};

class FaultyForm final : public WrappingSurface<platform::Form, platform::Form> {
 public:
  FaultyForm(std::unique_ptr<platform::Form> inner, FaultPlan& plan, std::string name,
             std::map<const platform::Form*, FaultyForm*>& registry)
      : WrappingSurface(std::move(inner), plan, std::move(name)), registry_(registry) {
    registry_[inner_.get()] = this;
    inner_->form_events.Activate = [this] {
      if (form_events.Activate) form_events.Activate();
    };
    inner_->form_events.Close = [this] {
      if (form_events.Close) form_events.Close();
    };
  }
  ~FaultyForm() override {
    registry_.erase(inner_.get());
    inner_->form_events = {};
  }

  std::u16string Caption() const override { return inner_->Caption(); }
  void SetCaption(std::u16string_view c) override { Hit("SetCaption"), inner_->SetCaption(c); }
  void ShowModal() override { Hit("ShowModal"), inner_->ShowModal(); }
  void Hide() override { Hit("Hide"), inner_->Hide(); }
  bool IsShown() const override { return inner_->IsShown(); }

 private:
  std::map<const platform::Form*, FaultyForm*>& registry_;
};

class FaultyToolkit final : public platform::Toolkit {
 public:
  explicit FaultyToolkit(FaultPlan& plan) : plan_(plan) {}

  std::unique_ptr<platform::Surface> CreateControlSurface(
      const platform::SurfaceDesign& design) override {
    plan_.Hit("CreateControlSurface");
    auto surface = std::make_unique<FaultySurface>(inner_.CreateControlSurface(design), plan_);
    last_surface_ = surface.get();
    return surface;
  }
  std::unique_ptr<platform::Form> CreateForm(const platform::SurfaceDesign& design) override {
    plan_.Hit("CreateForm");
    return std::make_unique<FaultyForm>(inner_.CreateForm(design), plan_, design.name, forms_);
  }

  headless::Toolkit& Inner() { return inner_; }
  FaultySurface* LastControlSurface() const { return last_surface_; }
  // The wrapper of a headless form (nullptr when it has none).
  FaultyForm* Outer(const platform::Form& inner) const {
    const auto it = forms_.find(&inner);
    return it == forms_.end() ? nullptr : it->second;
  }

 private:
  FaultPlan& plan_;
  headless::Toolkit inner_;
  FaultySurface* last_surface_ = nullptr;
  std::map<const platform::Form*, FaultyForm*> forms_;
};

// The end user on the wrapped widgets: each action goes to the headless
// widget underneath, whose notifications come back through the wrappers.
class FaultyInput final : public host::UserInput {
 public:
  explicit FaultyInput(FaultyToolkit& toolkit) : toolkit_(toolkit) {}

  void TypeKey(platform::TextBox& box, char16_t ch) override { Headless(box).Type(ch); }
  void MoveCaret(platform::TextBox& box, int position, int length) override {
    Headless(box).MoveCaret(position, length);
  }
  void ClickText(platform::TextBox& box, int position) override { Headless(box).ClickAt(position); }
  void DblClickText(platform::TextBox& box) override { Headless(box).DoubleClick(); }
  void PressKey(platform::Widget& widget, platform::KeyDownArgs key) override {
    platform::Widget* inner = InnerWidget(&widget);
    if (auto* box = dynamic_cast<headless::TextBox*>(inner)) box->PressKey(key);
    if (auto* area = dynamic_cast<headless::PictureBox*>(inner)) area->PressKey(key);
  }
  void PressUpDown(platform::UpDown& updown, bool up) override {
    dynamic_cast<headless::UpDown&>(*InnerWidget(&updown)).Press(up);
  }
  void PressButton(platform::CommandButton& button) override {
    dynamic_cast<headless::CommandButton&>(*InnerWidget(&button)).Press();
  }
  void ClickLabel(platform::Label& label) override {
    dynamic_cast<headless::Label&>(*InnerWidget(&label)).UserClick();
  }
  void DblClickLabel(platform::Label& label) override {
    dynamic_cast<headless::Label&>(*InnerWidget(&label)).UserDblClick();
  }
  void MoveFocus(platform::Surface& surface, platform::Widget* to) override {
    HeadlessSurface(surface).MoveFocus(to != nullptr ? InnerWidget(to) : nullptr);
  }
  platform::Widget* FocusedWidget(platform::Surface& surface) override {
    platform::Widget* focused = HeadlessSurface(surface).Focused();
    if (auto* s = dynamic_cast<FaultySurface*>(&surface)) return s->Outer(focused);
    if (auto* f = dynamic_cast<FaultyForm*>(&surface)) return f->Outer(focused);
    return focused;
  }
  void CloseForm(platform::Form& form) override {
    auto* wrapped = dynamic_cast<FaultyForm*>(&form);
    dynamic_cast<headless::Form&>(wrapped != nullptr ? wrapped->Inner() : form).CloseCommand();
  }
  void SetModalInteraction(std::function<void(platform::Form&)> interaction) override {
    if (!interaction) {
      toolkit_.Inner().SetModalInteraction(nullptr);
      return;
    }
    toolkit_.Inner().SetModalInteraction([this, fn = std::move(interaction)](headless::Form& form) {
      FaultyForm* outer = toolkit_.Outer(form);
      if (outer != nullptr) {
        fn(*outer);
      } else {
        fn(form);
      }
    });
  }

 private:
  static headless::TextBox& Headless(platform::TextBox& box) {
    return dynamic_cast<headless::TextBox&>(*InnerWidget(&box));
  }
  static headless::Surface& HeadlessSurface(platform::Surface& surface) {
    if (auto* s = dynamic_cast<FaultySurface*>(&surface)) {
      return dynamic_cast<headless::Surface&>(s->Inner());
    }
    if (auto* f = dynamic_cast<FaultyForm*>(&surface)) {
      return dynamic_cast<headless::Surface&>(f->Inner());
    }
    return dynamic_cast<headless::Surface&>(surface);
  }

  FaultyToolkit& toolkit_;
};

class FaultyBinding final : public host::Binding {
 public:
  explicit FaultyBinding(FaultPlan& plan) : plan_(plan), toolkit_(plan), input_(toolkit_) {}
  platform::Toolkit& GetToolkit() override { return toolkit_; }
  host::UserInput& Input() override { return input_; }
  std::unique_ptr<host::HostedControl> CreateHosted(headless::HostPolicy& policy) override {
    // A control in a faulty host on the faulty toolkit.
    auto hosted = std::make_unique<host::TestHosted>(
        toolkit_, policy,
        [this](headless::TestHost& host) { return std::make_unique<FaultyHost>(host, plan_); });
    hosted->Attach(&dynamic_cast<headless::Surface&>(toolkit_.LastControlSurface()->Inner()));
    return hosted;
  }
  FaultyToolkit& Toolkit() { return toolkit_; }

 private:
  FaultPlan& plan_;
  FaultyToolkit toolkit_;
  FaultyInput input_;
};

}  // namespace morlex::testing_support
