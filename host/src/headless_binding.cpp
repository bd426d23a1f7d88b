#include <memory>

#include "morlex/headless/host.h"
#include "morlex/headless/toolkit.h"
#include "morlex/host/binding.h"

namespace morlex::host {
namespace {

headless::Surface& Headless(platform::Surface& s) {
  return dynamic_cast<headless::Surface&>(s);
}

class HeadlessInput final : public UserInput {
 public:
  explicit HeadlessInput(headless::Toolkit& toolkit) : toolkit_(toolkit) {}

  void TypeKey(platform::TextBox& box, char16_t ch) override {
    dynamic_cast<headless::TextBox&>(box).Type(ch);
  }
  void MoveCaret(platform::TextBox& box, int position, int length) override {
    dynamic_cast<headless::TextBox&>(box).MoveCaret(position, length);
  }
  void ClickText(platform::TextBox& box, int position) override {
    dynamic_cast<headless::TextBox&>(box).ClickAt(position);
  }
  void DblClickText(platform::TextBox& box) override {
    dynamic_cast<headless::TextBox&>(box).DoubleClick();
  }
  void PressKey(platform::Widget& widget, platform::KeyDownArgs key) override {
    if (auto* box = dynamic_cast<headless::TextBox*>(&widget)) {
      box->PressKey(key);
    } else if (auto* area = dynamic_cast<headless::PictureBox*>(&widget)) {
      area->PressKey(key);
    } else if (auto* button = dynamic_cast<headless::CommandButton*>(&widget)) {
      if (key.key == platform::NavKey::kSpace) button->Press();
      if (key.key == platform::NavKey::kTab) button->Owner().TabFrom(key.shift);
    } else if (auto* updown = dynamic_cast<headless::UpDown*>(&widget)) {
      if (key.key == platform::NavKey::kUp || key.key == platform::NavKey::kDown) {
        updown->Press(key.key == platform::NavKey::kUp);
      }
      if (key.key == platform::NavKey::kTab) updown->Owner().TabFrom(key.shift);
    }
  }
  void PressUpDown(platform::UpDown& updown, bool up) override {
    dynamic_cast<headless::UpDown&>(updown).Press(up);
  }
  void PressButton(platform::CommandButton& button) override {
    dynamic_cast<headless::CommandButton&>(button).Press();
  }
  void ClickLabel(platform::Label& label) override {
    dynamic_cast<headless::Label&>(label).UserClick();
  }
  void DblClickLabel(platform::Label& label) override {
    dynamic_cast<headless::Label&>(label).UserDblClick();
  }
  void MoveFocus(platform::Surface& surface, platform::Widget* to) override {
    Headless(surface).MoveFocus(to);
  }
  platform::Widget* FocusedWidget(platform::Surface& surface) override {
    return Headless(surface).Focused();
  }
  void CloseForm(platform::Form& form) override {
    dynamic_cast<headless::Form&>(form).CloseCommand();
  }
  void SetModalInteraction(std::function<void(platform::Form&)> interaction) override {
    if (!interaction) {
      toolkit_.SetModalInteraction(nullptr);
      return;
    }
    toolkit_.SetModalInteraction([fn = std::move(interaction)](headless::Form& form) { fn(form); });
  }

 private:
  headless::Toolkit& toolkit_;
};

class HeadlessBinding final : public Binding {
 public:
  HeadlessBinding() : input_(toolkit_) {}
  platform::Toolkit& GetToolkit() override { return toolkit_; }
  UserInput& Input() override { return input_; }
  std::unique_ptr<HostedControl> CreateHosted(headless::HostPolicy& policy) override {
    auto hosted = std::make_unique<TestHosted>(toolkit_, policy);
    hosted->Attach(toolkit_.LastControlSurface());
    return hosted;
  }

 private:
  headless::Toolkit toolkit_;
  HeadlessInput input_;
};

}  // namespace

std::unique_ptr<Binding> MakeHeadlessBinding() {
  return std::make_unique<HeadlessBinding>();
}

}  // namespace morlex::host
