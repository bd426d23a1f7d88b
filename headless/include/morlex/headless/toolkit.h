#pragma once
// The headless reference toolkit: every widget of the platform layer, kept in
// memory, with the user's side (typing, clicking, pressing arrows, closing a
// window) as plain calls. Tests, benchmarks and morlex-host run on it.
//
//   morlex::headless::Toolkit toolkit;
//   morlex::headless::TestHost host(policy);
//   morlex::MorlexDate control(host, toolkit);
//   auto& txt = toolkit.LastControlSurface()->TextBox("txtDate");
//   txt.Type(u'1');  // preview, key handler, insertion, key release

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "morlex/platform/designed_widget.h"
#include "morlex/platform/toolkit.h"

namespace morlex::headless {

// A key's press, then its release. The release is a notification of its own:
// it comes whatever the press did, and a failure of the press is the one
// reported. Every toolkit built on these widgets presses keys this way.
template <typename Press, typename Release>
void PressThenRelease(Press&& press, const Release& key_up) {
  std::exception_ptr failure;
  try {
    press();
  } catch (...) {
    failure = std::current_exception();
  }
  try {
    if (key_up) key_up();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  if (failure) std::rethrow_exception(failure);
}

class Surface;

// Shared state of every headless widget.
template <typename Base>
class WidgetImpl : public platform::DesignedWidget<Base> {
 public:
  WidgetImpl(Surface& surface, const platform::WidgetDesign& design)
      : platform::DesignedWidget<Base>(design), surface_(surface) {}

  void SetLeft(float v) override { this->left_ = v; }
  void SetTop(float v) override { this->top_ = v; }
  void SetWidth(float v) override { this->width_ = v; }
  void SetHeight(float v) override { this->height_ = v; }
  void SetVisible(bool v) override { this->visible_ = v; }
  void SetEnabled(bool v) override { this->enabled_ = v; }
  void SetFocus() override;

  int TabIndex() const { return this->tab_index_; }
  bool TabStop() const { return this->tab_stop_; }
  Surface& Owner() const { return surface_; }

 protected:
  Surface& surface_;
};

class TextBox final : public WidgetImpl<platform::TextBox> {
 public:
  TextBox(Surface& surface, const platform::WidgetDesign& design);

  std::u16string Text() const override { return text_; }
  void SetText(std::u16string_view text) override;
  int SelStart() const override { return sel_start_; }
  void SetSelStart(int position) override;
  int SelLength() const override { return sel_length_; }
  void SetSelLength(int length) override;
  std::u16string SelText() const override;
  void SetSelText(std::u16string_view text) override;
  int MaxLength() const override { return max_length_; }
  void SetMaxLength(int length) override;
  std::uint32_t BackColor() const override { return back_color_; }
  void SetBackColor(std::uint32_t c) override { back_color_ = c; }
  std::uint32_t ForeColor() const override { return fore_color_; }
  void SetForeColor(std::uint32_t c) override { fore_color_ = c; }
  platform::FontRef GetFont() const override { return font_; }
  void SetFont(platform::FontRef font) override;
  std::u16string ToolTipText() const override { return tool_tip_; }
  void SetToolTipText(std::u16string_view t) override { tool_tip_ = t; }
  std::int32_t WhatsThisHelpID() const override { return help_id_; }
  void SetWhatsThisHelpID(std::int32_t id) override { help_id_ = id; }
  std::u16string DataField() const override { return data_field_; }
  void SetDataField(std::u16string_view f) override { data_field_ = f; }

  // --- The user's side ---
  // One character key: the surface's key preview, KeyPress, the box's own
  // insertion (Backspace deletes; typed characters beyond the maximum length
  // are refused), then KeyUp. A failure of a handler comes back to the caller
  // after the key release has run.
  void Type(char16_t ch);
  // The caret moved by keyboard to position, selecting length; KeyUp follows.
  void MoveCaret(int position, int length);
  // A click at caret position (focus comes to the box first); Click follows.
  void ClickAt(int position);
  void DoubleClick();
  // A key that types no character: KeyDown, then (unless a handler took it)
  // Tab moves the focus on, and KeyUp follows.
  void PressKey(platform::KeyDownArgs key);

 private:
  void InsertTyped(std::int16_t code);
  void Replace(int start, int length, std::u16string_view with);

  std::u16string text_;
  int sel_start_ = 0;
  int sel_length_ = 0;
  int max_length_ = 0;
  std::uint32_t back_color_;
  std::uint32_t fore_color_;
  platform::FontRef font_;
  std::u16string tool_tip_;
  std::int32_t help_id_ = 0;
  std::u16string data_field_;
};

class CommandButton final : public WidgetImpl<platform::CommandButton> {
 public:
  CommandButton(Surface& surface, const platform::WidgetDesign& design);
  std::u16string Caption() const override { return caption_; }
  void SetCaption(std::u16string_view c) override { caption_ = c; }
  const std::string& Picture() const { return picture_; }
  // A press with the mouse: the button takes the focus, then Click runs.
  // Nothing happens while it is hidden or disabled.
  void Press();

 private:
  std::u16string caption_;
  std::string picture_;
};

class Label final : public WidgetImpl<platform::Label> {
 public:
  Label(Surface& surface, const platform::WidgetDesign& design);
  std::u16string Caption() const override { return caption_; }
  void SetCaption(std::u16string_view c) override;
  bool Bordered() const override { return bordered_; }
  void SetBordered(bool b) override { bordered_ = b; }
  int Alignment() const override { return alignment_; }
  void SetAlignment(int a) override { alignment_ = a; }
  std::uint32_t BackColor() const override { return back_color_; }
  void SetBackColor(std::uint32_t c) override { back_color_ = c; }
  bool Bold() const override { return bold_; }
  void SetBold(bool bold) override { bold_ = bold; }
  void SetDay(const std::optional<Date>& day) override { day_ = day; }
  const std::optional<Date>& Day() const { return day_; }
  bool AutoSize() const { return auto_size_; }
  // The user clicks or double-clicks; a disabled label ignores both.
  void UserClick();
  void UserDblClick();

 private:
  void Fit();
  std::u16string caption_;
  bool bordered_;
  int alignment_;
  std::uint32_t back_color_;
  bool auto_size_;
  bool bold_ = false;
  float font_size_;
  std::optional<Date> day_;
};

class PictureBox final : public WidgetImpl<platform::PictureBox> {
 public:
  PictureBox(Surface& surface, const platform::WidgetDesign& design);
  float ScaleWidth() const override;
  float ScaleHeight() const override;
  // A key while the box has the focus: KeyDown, then (unless a handler took
  // it) Tab moves the focus on.
  void PressKey(platform::KeyDownArgs key);

 private:
  float border_;
};

class Image final : public WidgetImpl<platform::Image> {
 public:
  Image(Surface& surface, const platform::WidgetDesign& design);
  const std::string& Picture() const { return picture_; }

 private:
  std::string picture_;
};

class UpDown final : public WidgetImpl<platform::UpDown> {
 public:
  UpDown(Surface& surface, const platform::WidgetDesign& design);
  int Value() const override { return value_; }
  // A value outside the range fails (380); an equal value notifies nothing.
  void SetValue(int value) override;
  int Min() const override { return min_; }
  int Max() const override { return max_; }
  // A press on the upper or lower arrow: one step, within the range.
  void Press(bool up);

 private:
  int value_ = 0;
  int min_, max_, increment_;
};

// A surface and its widgets, with the focus inside it.
class Surface : public platform::WidgetListSurface {
 public:
  explicit Surface(const platform::SurfaceDesign& design);
  ~Surface() override;

  // The same widgets with their user-side calls.
  TextBox& Text(std::string_view name);
  CommandButton& Button(std::string_view name);
  Label& Lbl(std::string_view name, int index = -1);
  UpDown& Spin(std::string_view name);

  const platform::SurfaceDesign& Design() const { return design_; }
  bool KeyPreviewOn() const { return design_.key_preview; }

  // The widget with the focus; nullptr when the focus is outside.
  platform::Widget* Focused() const { return focused_; }
  // Moves the focus (nullptr: out of the surface). The old widget's LostFocus
  // runs after the focus has moved, then the new one's GotFocus.
  void MoveFocus(platform::Widget* to);
  // The widget of the design's line i (the widgets follow the design's
  // lines); nullptr past the last.
  platform::Widget* WidgetOfLine(std::size_t i) const {
    return i < widgets_.size() ? widgets_[i].get() : nullptr;
  }
  // The first widget in tab order that can take the focus.
  platform::Widget* FirstInTabOrder() const;
  // Tab (or with back, Shift+Tab) from the focused widget: the next tab stop
  // round the form; past the last tab stop of a control, out of it.
  void TabFrom(bool back);

 private:
  const std::vector<std::unique_ptr<platform::Widget>>& AllWidgets() const override {
    return widgets_;
  }
  // The tab index of widget i (a widget of the design's line i) when Tab
  // may reach it now.
  std::optional<int> TabStopOf(std::size_t i) const;

  platform::SurfaceDesign design_;
  std::vector<std::unique_ptr<platform::Widget>> widgets_;
  platform::Widget* focused_ = nullptr;
};

class Toolkit;

class Form final : public Surface, public platform::Form {
 public:
  Form(Toolkit& toolkit, const platform::SurfaceDesign& design);
  ~Form() override;

  std::u16string Caption() const override { return caption_; }
  void SetCaption(std::u16string_view c) override { caption_ = c; }
  // Shows the form: the focus goes to the first widget in tab order, then
  // Activate runs, then the toolkit's modal interaction (if one is set) plays
  // the user. A form still shown afterwards is closed by its close command.
  void ShowModal() override;
  void Hide() override { shown_ = false; }
  bool IsShown() const override { return shown_; }
  // The window's own close command: Close runs and the form is hidden.
  void CloseCommand();

 private:
  Toolkit& toolkit_;
  std::u16string caption_;
  bool shown_ = false;
};

class Toolkit final : public platform::Toolkit {
 public:
  std::unique_ptr<platform::Surface> CreateControlSurface(
      const platform::SurfaceDesign& design) override;
  std::unique_ptr<platform::Form> CreateForm(const platform::SurfaceDesign& design) override;

  // The next modal show runs this with the shown form, then forgets it.
  void SetModalInteraction(std::function<void(Form&)> interaction) {
    modal_interaction_ = std::move(interaction);
  }
  std::function<void(Form&)> TakeModalInteraction() { return std::move(modal_interaction_); }

  Surface* LastControlSurface() const { return last_surface_; }
  // Forms created so far that still exist.
  int LiveForms() const { return live_forms_; }

 private:
  friend class Form;
  friend class Surface;
  std::function<void(Form&)> modal_interaction_;
  Surface* last_surface_ = nullptr;
  int live_forms_ = 0;
};

// Text size of a caption in twips for the headless metric: every character
// is 0.6 of the font size wide, a line 1.2 of it high, rounded to whole
// pixels (15 twips).
float HeadlessTextWidth(std::u16string_view text, float points);
float HeadlessTextHeight(float points);

}  // namespace morlex::headless
