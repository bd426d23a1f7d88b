#pragma once
// The widget operations the control and its forms rely on. A toolkit (the
// headless reference toolkit, the Qt binding) implements them.
//
// All lengths are twips. Each widget kind tells its owner what happens
// through the std::function members of its `events` struct, which the owner
// sets, and clears with `widget.events = {}` before it goes. A widget calls
// them synchronously, on the user interface thread, and a notification that
// throws makes the operation that set it off throw the same failure to its
// caller (so that `SetText` fails when the change handler fails, on every
// toolkit alike).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "morlex/core/date.h"
#include "morlex/platform/font.h"

namespace morlex::platform {

// A key that types no character (or Space where a widget takes no text), as
// the key-down notification reports it. Toolkits map their own key codes
// onto these; every other key is kOther.
enum class NavKey : std::uint8_t {
  kOther,
  kLeft,
  kRight,
  kUp,
  kDown,
  kPageUp,
  kPageDown,
  kHome,
  kEnd,
  kF4,
  kSpace,
  kTab,
};

// The character codes of the keys that type no printable character, as the
// key-press notification reports them; every other key's code is its
// character (printable ones from kSpace on, but kDelete).
enum KeyCode : std::int16_t {
  kBackspace = 8,
  kTab = 9,
  kEnter = 13,
  kEscape = 27,
  kSpace = 32,
  kDelete = 127,
};

// One key going down, with the modifier keys held. A handler that acts on
// the key sets handled, and the widget then does nothing of its own with it
// (no caret move, no character, no focus change).
struct KeyDownArgs {
  NavKey key = NavKey::kOther;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool handled = false;
};

class Widget {
 public:
  virtual ~Widget() = default;

  virtual const std::string& Name() const = 0;
  virtual int Index() const = 0;  // -1 when not in a widget array

  virtual float Left() const = 0;
  virtual float Top() const = 0;
  virtual float Width() const = 0;
  virtual float Height() const = 0;
  virtual void SetLeft(float twips) = 0;
  virtual void SetTop(float twips) = 0;
  virtual void SetWidth(float twips) = 0;
  virtual void SetHeight(float twips) = 0;

  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;

  // Gives this widget the keyboard focus (within its surface).
  virtual void SetFocus() = 0;
};

struct TextBoxEvents {
  // A key goes down, before any character it types reaches KeyPress.
  std::function<void(KeyDownArgs& key)> KeyDown;
  // A character key; the handler may set the code to 0 to drop the key.
  std::function<void(std::int16_t& key_ascii)> KeyPress;
  std::function<void()> KeyUp;
  std::function<void()> Click;
  std::function<void()> DblClick;
  // After every change of the text, by the user or by SetText/SetSelText.
  std::function<void()> Change;
  std::function<void()> GotFocus;
  std::function<void()> LostFocus;
};

class TextBox : public Widget {
 public:
  virtual std::u16string Text() const = 0;
  // Replaces the text (never cut to the maximum length); Change runs before
  // this returns. The caret goes to the start.
  virtual void SetText(std::u16string_view text) = 0;

  // Caret position: characters before the caret, the start of the selection.
  virtual int SelStart() const = 0;
  // A negative value fails (380); a value past the end puts the caret at the end.
  virtual void SetSelStart(int position) = 0;
  virtual int SelLength() const = 0;
  // A negative value fails (380); a length past the end selects to the end.
  virtual void SetSelLength(int length) = 0;
  virtual std::u16string SelText() const = 0;
  // Replaces the selection (inserts at the caret when there is none); the
  // caret ends after the inserted text. Change runs when the text changed.
  virtual void SetSelText(std::u16string_view text) = 0;

  // Characters the user may type; 0 for no limit. Set texts are never cut.
  virtual int MaxLength() const = 0;
  virtual void SetMaxLength(int length) = 0;

  virtual std::uint32_t BackColor() const = 0;
  virtual void SetBackColor(std::uint32_t color) = 0;
  virtual std::uint32_t ForeColor() const = 0;
  virtual void SetForeColor(std::uint32_t color) = 0;
  // The font object itself (by reference).
  virtual FontRef GetFont() const = 0;
  virtual void SetFont(FontRef font) = 0;
  virtual std::u16string ToolTipText() const = 0;
  virtual void SetToolTipText(std::u16string_view text) = 0;
  virtual std::int32_t WhatsThisHelpID() const = 0;
  virtual void SetWhatsThisHelpID(std::int32_t id) = 0;
  virtual std::u16string DataField() const = 0;
  virtual void SetDataField(std::u16string_view field) = 0;

  TextBoxEvents events;
};

struct CommandButtonEvents {
  std::function<void()> Click;
};

class CommandButton : public Widget {
 public:
  virtual std::u16string Caption() const = 0;
  virtual void SetCaption(std::u16string_view caption) = 0;

  CommandButtonEvents events;
};

struct LabelEvents {
  // A disabled label sends no notifications. The argument is the array index.
  std::function<void(int index)> Click;
  std::function<void(int index)> DblClick;
};

class Label : public Widget {
 public:
  virtual std::u16string Caption() const = 0;
  // With auto-size on, the label refits its width and height to the caption,
  // keeping its left and top.
  virtual void SetCaption(std::u16string_view caption) = 0;
  virtual bool Bordered() const = 0;
  virtual void SetBordered(bool single_line) = 0;
  virtual int Alignment() const = 0;  // 0 left, 1 right, 2 centre
  virtual void SetAlignment(int alignment) = 0;
  virtual std::uint32_t BackColor() const = 0;
  virtual void SetBackColor(std::uint32_t color) = 0;

  // A caption drawn in bold type: a mark that needs no colour of its own, so
  // that it reads in every palette (the calendar marks today with it).
  virtual bool Bold() const { return false; }
  virtual void SetBold(bool /*bold*/) {}
  // The day a cell of a calendar grid stands for, for assistive technology
  // (a screen reader names the cell by its date in the user's words);
  // nullopt for a blank cell or a label that is no day.
  virtual void SetDay(const std::optional<Date>& /*day*/) {}

  LabelEvents events;
};

struct PictureBoxEvents {
  // A key goes down while the picture box has the focus.
  std::function<void(KeyDownArgs& key)> KeyDown;
};

class PictureBox : public Widget {
 public:
  // The inner size in twips.
  virtual float ScaleWidth() const = 0;
  virtual float ScaleHeight() const = 0;

  PictureBoxEvents events;
};

class Image : public Widget {};

struct UpDownEvents {
  // After every change of the value, by the user's arrows or by SetValue.
  std::function<void()> Change;
};

class UpDown : public Widget {
 public:
  virtual int Value() const = 0;
  // Change runs before this returns (also when the control resets it to 0).
  virtual void SetValue(int value) = 0;
  virtual int Min() const = 0;
  virtual int Max() const = 0;

  UpDownEvents events;
};

}  // namespace morlex::platform
