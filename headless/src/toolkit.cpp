#include "morlex/headless/toolkit.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>

#include "morlex/core/error.h"
#include "morlex/core/unicode.h"

namespace morlex::headless {
namespace {

[[noreturn]] void InvalidValue() {
  throw Error(errnum::kInvalidValue);
}

float RoundToPixel(float twips) {
  return std::round(twips / 15.0F) * 15.0F;
}

template <typename T>
const T* As(const platform::Widget* w) {
  return dynamic_cast<const T*>(w);
}

}  // namespace

float HeadlessTextWidth(std::u16string_view text, float points) {
  return RoundToPixel(static_cast<float>(text.size()) * points * 0.6F * 20.0F);
}
float HeadlessTextHeight(float points) {
  return RoundToPixel(points * 1.2F * 20.0F);
}

// --- WidgetImpl ----------------------------------------------------------------

template <typename Base>
void WidgetImpl<Base>::SetFocus() {
  surface_.MoveFocus(this);
}

// --- TextBox -------------------------------------------------------------------

TextBox::TextBox(Surface& surface, const platform::WidgetDesign& d)
    : WidgetImpl(surface, d),
      max_length_(d.max_length),
      back_color_(d.back_color.value_or(platform::kColorWindow)),
      fore_color_(d.fore_color.value_or(platform::kColorWindowText)) {
  font_ = std::make_shared<platform::Font>(
      platform::FontOfDesign(d.font.value_or(surface.Design().font)));
}

void TextBox::SetText(std::u16string_view text) {
  sel_start_ = 0;
  sel_length_ = 0;
  if (text == text_) return;
  text_ = text;
  if (events.Change) events.Change();
}

void TextBox::SetSelStart(int position) {
  if (position < 0) InvalidValue();
  sel_start_ = std::min(position, static_cast<int>(text_.size()));
  sel_length_ = 0;
}

void TextBox::SetSelLength(int length) {
  if (length < 0) InvalidValue();
  sel_length_ = std::min(length, static_cast<int>(text_.size()) - sel_start_);
}

std::u16string TextBox::SelText() const {
  return text_.substr(static_cast<std::size_t>(sel_start_), static_cast<std::size_t>(sel_length_));
}

void TextBox::Replace(int start, int length, std::u16string_view with) {
  const std::u16string before = text_;
  text_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length), with);
  sel_start_ = start + static_cast<int>(with.size());
  sel_length_ = 0;
  if (text_ != before && events.Change) events.Change();
}

void TextBox::SetSelText(std::u16string_view text) {
  Replace(sel_start_, sel_length_, text);
}

void TextBox::SetMaxLength(int length) {
  if (length < 0) InvalidValue();
  max_length_ = length;
}

void TextBox::SetFont(platform::FontRef font) {
  if (!font) InvalidValue();
  font_ = std::move(font);
}

void TextBox::InsertTyped(std::int16_t code) {
  if (code == platform::kBackspace) {
    if (sel_length_ > 0) {
      Replace(sel_start_, sel_length_, {});
    } else if (sel_start_ > 0) {
      Replace(sel_start_ - 1, 1, {});
    }
    return;
  }
  if (code >= 0 && code < 32) return;  // Tab, Enter and other controls insert nothing
  const int length_after = static_cast<int>(text_.size()) - sel_length_ + 1;
  if (max_length_ > 0 && length_after > max_length_) return;
  const char16_t ch = static_cast<char16_t>(code);
  Replace(sel_start_, sel_length_, std::u16string_view(&ch, 1));
}

namespace {}  // namespace

void TextBox::Type(char16_t ch) {
  if (!enabled_ || !visible_) return;
  PressThenRelease(
      [&] {
        auto code = static_cast<std::int16_t>(ch);
        if (surface_.KeyPreviewOn() && surface_.KeyPreview) surface_.KeyPreview(code);
        if (code != 0 && events.KeyPress) events.KeyPress(code);
        if (code != 0) InsertTyped(code);
      },
      events.KeyUp);
}

void TextBox::MoveCaret(int position, int length) {
  if (!enabled_ || !visible_) return;
  const int size = static_cast<int>(text_.size());
  sel_start_ = std::clamp(position, 0, size);
  sel_length_ = std::clamp(length, 0, size - sel_start_);
  if (events.KeyUp) events.KeyUp();
}

void TextBox::ClickAt(int position) {
  if (!enabled_ || !visible_) return;
  if (surface_.Focused() != this) surface_.MoveFocus(this);
  sel_start_ = std::clamp(position, 0, static_cast<int>(text_.size()));
  sel_length_ = 0;
  if (events.Click) events.Click();
}

void TextBox::DoubleClick() {
  if (!enabled_ || !visible_) return;
  if (events.DblClick) events.DblClick();
}

void TextBox::PressKey(platform::KeyDownArgs key) {
  if (!enabled_ || !visible_) return;
  PressThenRelease(
      [&] {
        if (events.KeyDown) events.KeyDown(key);
        if (!key.handled && key.key == platform::NavKey::kTab) surface_.TabFrom(key.shift);
      },
      events.KeyUp);
}

// --- CommandButton -------------------------------------------------------------

CommandButton::CommandButton(Surface& surface, const platform::WidgetDesign& d)
    : WidgetImpl(surface, d), caption_(d.caption), picture_(d.picture) {}

void CommandButton::Press() {
  if (!enabled_ || !visible_) return;
  surface_.MoveFocus(this);
  if (events.Click) events.Click();
}

// --- Label ---------------------------------------------------------------------

Label::Label(Surface& surface, const platform::WidgetDesign& d)
    : WidgetImpl(surface, d),
      caption_(d.caption),
      bordered_(d.border_style != 0),
      alignment_(d.alignment),
      back_color_(d.back_color.value_or(platform::kColorButtonFace)),
      auto_size_(d.auto_size),
      font_size_(d.font.value_or(surface.Design().font).size) {}

void Label::Fit() {
  width_ = HeadlessTextWidth(caption_, font_size_);
  height_ = HeadlessTextHeight(font_size_);
}

void Label::SetCaption(std::u16string_view c) {
  caption_ = c;
  if (auto_size_) Fit();
}

void Label::UserClick() {
  if (enabled_ && visible_ && events.Click) events.Click(index_);
}

void Label::UserDblClick() {
  if (enabled_ && visible_ && events.DblClick) events.DblClick(index_);
}

// --- PictureBox, Image -----------------------------------------------------------

PictureBox::PictureBox(Surface& surface, const platform::WidgetDesign& d)
    : WidgetImpl(surface, d), border_(d.border_style != 0 ? 60.0F : 0.0F) {}

float PictureBox::ScaleWidth() const {
  return std::max(0.0F, width_ - border_);
}
float PictureBox::ScaleHeight() const {
  return std::max(0.0F, height_ - border_);
}

void PictureBox::PressKey(platform::KeyDownArgs key) {
  if (!enabled_ || !visible_) return;
  if (events.KeyDown) events.KeyDown(key);
  if (!key.handled && key.key == platform::NavKey::kTab) surface_.TabFrom(key.shift);
}

Image::Image(Surface& surface, const platform::WidgetDesign& d)
    : WidgetImpl(surface, d), picture_(d.picture) {}

// --- UpDown --------------------------------------------------------------------

UpDown::UpDown(Surface& surface, const platform::WidgetDesign& d)
    : WidgetImpl(surface, d), min_(d.min), max_(d.max), increment_(d.increment) {}

void UpDown::SetValue(int value) {
  if (value < min_ || value > max_) InvalidValue();
  if (value == value_) return;
  value_ = value;
  if (events.Change) events.Change();
}

void UpDown::Press(bool up) {
  if (!enabled_ || !visible_) return;
  const long next = static_cast<long>(value_) + (up ? increment_ : -increment_);
  const int clamped = static_cast<int>(std::clamp<long>(next, min_, max_));
  if (clamped != value_) SetValue(clamped);
}

// --- Surface ---------------------------------------------------------------------

Surface::Surface(const platform::SurfaceDesign& design) : design_(design) {
  for (const auto& d : design_.widgets) {
    switch (d.kind) {
      case platform::WidgetKind::kTextBox:
        widgets_.push_back(std::make_unique<TextBox>(*this, d));
        break;
      case platform::WidgetKind::kCommandButton:
        widgets_.push_back(std::make_unique<CommandButton>(*this, d));
        break;
      case platform::WidgetKind::kLabel:
        widgets_.push_back(std::make_unique<Label>(*this, d));
        break;
      case platform::WidgetKind::kPictureBox:
        widgets_.push_back(std::make_unique<PictureBox>(*this, d));
        break;
      case platform::WidgetKind::kImage:
        widgets_.push_back(std::make_unique<Image>(*this, d));
        break;
      case platform::WidgetKind::kUpDown:
        widgets_.push_back(std::make_unique<UpDown>(*this, d));
        break;
    }
  }
}

Surface::~Surface() = default;

TextBox& Surface::Text(std::string_view n) {
  return Find<TextBox>(n, -1);
}
CommandButton& Surface::Button(std::string_view n) {
  return Find<CommandButton>(n, -1);
}
Label& Surface::Lbl(std::string_view n, int i) {
  return Find<Label>(n, i);
}
UpDown& Surface::Spin(std::string_view n) {
  return Find<UpDown>(n, -1);
}

void Surface::MoveFocus(platform::Widget* to) {
  platform::Widget* from = focused_;
  if (from == to) return;
  focused_ = to;
  if (auto* t = dynamic_cast<platform::TextBox*>(from); t && t->events.LostFocus) {
    t->events.LostFocus();
  }
  if (focused_ != to) return;  // a LostFocus handler moved the focus on
  if (auto* t = dynamic_cast<platform::TextBox*>(to); t && t->events.GotFocus) {
    t->events.GotFocus();
  }
}

namespace {

// The tab index of a widget of the given kind that Tab may reach now;
// nullopt for any other. The kind comes from the design, so that a form of
// many labels (the calendar's days) asks no label what it is.
std::optional<int> TabStopIndex(const platform::Widget& w, platform::WidgetKind kind) {
  using platform::WidgetKind;
  if (kind == WidgetKind::kLabel || kind == WidgetKind::kImage || !w.Visible() || !w.Enabled()) {
    return std::nullopt;
  }
  const auto stop = [](const auto& t) {
    return t.TabStop() ? std::optional<int>(t.TabIndex()) : std::nullopt;
  };
  switch (kind) {
    case WidgetKind::kTextBox:
      return stop(static_cast<const TextBox&>(w));
    case WidgetKind::kCommandButton:
      return stop(static_cast<const CommandButton&>(w));
    case WidgetKind::kUpDown:
      return stop(static_cast<const UpDown&>(w));
    case WidgetKind::kPictureBox:
      return stop(static_cast<const PictureBox&>(w));
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<int> Surface::TabStopOf(std::size_t i) const {
  return TabStopIndex(*widgets_[i], design_.widgets[i].kind);
}

platform::Widget* Surface::FirstInTabOrder() const {
  platform::Widget* best = nullptr;
  int best_index = 0;
  for (std::size_t i = 0; i < widgets_.size(); ++i) {
    const auto tab = TabStopOf(i);
    if (!tab) continue;
    if (best == nullptr || *tab < best_index) best = widgets_[i].get(), best_index = *tab;
  }
  return best;
}

void Surface::TabFrom(bool back) {
  int from = -1;
  for (std::size_t i = 0; i < widgets_.size() && focused_ != nullptr; ++i) {
    if (widgets_[i].get() == focused_) from = TabStopOf(i).value_or(-1);
  }
  // The nearest tab stop after (before) the focused one, else the first
  // (last) of all, which a form wraps round to.
  platform::Widget* next = nullptr;
  platform::Widget* wrap = nullptr;
  int next_index = 0;
  int wrap_index = 0;
  for (std::size_t i = 0; i < widgets_.size(); ++i) {
    platform::Widget* w = widgets_[i].get();
    if (w == focused_) continue;
    const auto tab = TabStopOf(i);
    if (!tab) continue;
    const bool ahead = back ? *tab < from : *tab > from;
    if (ahead && (next == nullptr || (back ? *tab > next_index : *tab < next_index))) {
      next = w, next_index = *tab;
    }
    if (wrap == nullptr || (back ? *tab > wrap_index : *tab < wrap_index)) {
      wrap = w, wrap_index = *tab;
    }
  }
  const bool is_form = dynamic_cast<const Form*>(this) != nullptr;
  MoveFocus(next != nullptr ? next : is_form ? wrap : nullptr);
}

// --- Form ------------------------------------------------------------------------

Form::Form(Toolkit& toolkit, const platform::SurfaceDesign& design)
    : Surface(design), toolkit_(toolkit), caption_(design.caption) {
  ++toolkit_.live_forms_;
}

Form::~Form() {
  --toolkit_.live_forms_;
}

void Form::ShowModal() {
  if (shown_) throw Error(errnum::kAlreadyShown);
  shown_ = true;
  if (platform::Widget* first = FirstInTabOrder()) MoveFocus(first);
  if (form_events.Activate) form_events.Activate();
  if (auto interaction = toolkit_.TakeModalInteraction(); interaction && shown_) {
    try {
      interaction(*this);
    } catch (...) {
      // The modal show ends with the failure; a form left marked as shown
      // could never be shown again.
      shown_ = false;
      throw;
    }
  }
  if (shown_) CloseCommand();
}

void Form::CloseCommand() {
  if (!shown_) return;
  if (form_events.Close) form_events.Close();
  shown_ = false;
}

// --- Toolkit ---------------------------------------------------------------------

std::unique_ptr<platform::Surface> Toolkit::CreateControlSurface(
    const platform::SurfaceDesign& design) {
  auto surface = std::make_unique<Surface>(design);
  last_surface_ = surface.get();
  return surface;
}

std::unique_ptr<platform::Form> Toolkit::CreateForm(const platform::SurfaceDesign& design) {
  return std::make_unique<Form>(*this, design);
}

}  // namespace morlex::headless
