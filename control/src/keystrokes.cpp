// The key preview of the field and the text box's key, release, click and
// double-click handlers.
#include <string>

#include "morlex/control/morlex_date.h"
#include "morlex/core/integer.h"
#include "morlex/core/keystroke_editor.h"

namespace morlex {
namespace {

std::u16string KeyPressMessage(std::int16_t code) {
  const std::string digits = std::to_string(code);
  std::u16string message = u"KeyPress ";
  message.append(digits.begin(), digits.end());
  message += u" caused an error.";
  return message;
}

}  // namespace

void MorlexDate::FindSlashes(std::u16string_view text, std::int16_t& F, std::int16_t& S,
                             std::int16_t& N) const {
  const Slashes s = morlex::FindSlashes(text, layout_);
  F = ToInteger16(s.first);
  S = ToInteger16(s.second);
  N = ToInteger16(s.count);
}

void MorlexDate::CountSlashes(std::int16_t n, std::int16_t& count) const {
  count = ToInteger16(morlex::CountSlashes(m_strText, n, layout_));
}

void MorlexDate::UserControl_KeyPress(std::int16_t& KeyAscii) {
  switch (KeyAscii) {
    case platform::kBackspace:
    case platform::kTab:
    case 46:  // "."
    case 47:  // "/"
      return;
    case 0:
    case platform::kEnter:  // commits the date and goes no further
      FormatTheDate();
      ValidateAndUpdate();
      KeyAscii = 0;
      return;
    case 45:  // "-", a separator in the layouts other than the default
      if (!layout_.IsDefault()) return;
      KeyAscii = 0;
      return;
    default:
      if (KeyAscii >= 48 && KeyAscii <= 57) return;
      KeyAscii = 0;
  }
}

void MorlexDate::txtDate_KeyDown(platform::KeyDownArgs& key) {
  using platform::NavKey;
  // The keys stand in for the parts the host shows: with a part hidden, its
  // keys do what they do in any text box.
  const bool plain = !key.ctrl && !key.alt && !key.shift;
  if (m_blnSpin && plain && (key.key == NavKey::kUp || key.key == NavKey::kDown)) {
    key.handled = true;
    // The caret where it stands picks the part, as a click would have
    // remembered it; then the step runs exactly as an arrow press does.
    m_intCaret = ToInteger16(txtDate.SelStart());
    spinCTL.SetValue(key.key == NavKey::kUp ? 1 : -1);
    return;
  }
  const bool opens = (key.key == NavKey::kDown && key.alt && !key.ctrl) ||
                     (key.key == NavKey::kF4 && !key.alt && !key.ctrl);
  if (m_blnCalendar && opens) {
    key.handled = true;
    cmdCalendar_Click();
  }
}

void MorlexDate::txtDate_KeyPress(std::int16_t& KeyAscii) {
  // Once the handler has rewritten the text itself, the text box must not
  // add the key on top of that, not even when a later step fails.
  bool rewritten = false;
  try {
    if (host_.CanChange("Text")) host_.NotifyChanged("Text");
    // Outside the default layout each of "/", "." and "-" types the
    // layout's own separator.
    KeyAscii = static_cast<std::int16_t>(SeparatorKey(KeyAscii, layout_));
    if (KeyAscii == layout_.separator) txtDate.SetSelLength(0);

    const int caret = txtDate.SelStart();
    AssignWorkingText(m_strText, txtDate.Text(), caret, txtDate.SelLength());
    std::int16_t F = 0;
    std::int16_t S = 0;
    std::int16_t N = 0;
    FindSlashes(m_strText, F, S, N);
    const std::int16_t p = ToInteger16(caret);

    // The rewrites below are texts the control sets itself, so the box's
    // maximum length does not hold them; it refuses only its own insertion
    // of the typed key afterwards.
    const KeyDecision decision =
        layout_.IsDefault()
            ? DecideKey(KeyAscii, m_strText, p, Slashes{F, S, N}, YearLength(DateFormat()))
            : DecideKey(KeyAscii, m_strText, p, Slashes{F, S, N}, YearLength(DateFormat()),
                        layout_);
    switch (decision.action) {
      case KeyAction::kLetThrough:
        return;
      case KeyAction::kDrop:
        KeyAscii = 0;
        return;
      case KeyAction::kJump:
        KeyAscii = 0;
        txtDate.SetSelStart(decision.position);
        return;
      case KeyAction::kOverwrite: {
        int after = 0;
        const std::u16string text =
            OverwriteAt(m_strText, decision.position, static_cast<char16_t>(KeyAscii), after);
        const std::int16_t new_caret = ToInteger16(after);
        rewritten = true;
        txtDate.SetText(text);
        KeyAscii = 0;
        txtDate.SetSelStart(new_caret);
        return;
      }
      case KeyAction::kInsertSeparator: {
        const std::int16_t new_caret = ToInteger16(std::int64_t{decision.position} + 1);
        m_strText = CutWithSeparator(m_strText, decision.position, layout_.separator);
        rewritten = true;
        txtDate.SetText(m_strText);
        txtDate.SetSelStart(new_caret);
        // The code stays: the text box now types the digit after the "/".
        return;
      }
    }
  } catch (...) {
    const std::int16_t held = KeyAscii;
    if (rewritten) KeyAscii = 0;
    ReportError("KeyPress", KeyPressMessage(held));
  }
}

void MorlexDate::txtDate_KeyUp() {
  m_intCaret = ToInteger16(txtDate.SelStart());
}

void MorlexDate::txtDate_Click() {
  m_intCaret = ToInteger16(txtDate.SelStart());
  RaiseClick();
}

void MorlexDate::txtDate_DblClick() {
  // The part comes from the remembered caret (the click that opened the
  // double-click, or the last key), not from wherever the box's caret is now.
  if (!SelectsPart(m_intCaret)) return;
  m_strText = txtDate.Text();
  std::int16_t F = 0;
  std::int16_t S = 0;
  std::int16_t N = 0;
  FindSlashes(m_strText, F, S, N);
  std::int16_t before = 0;
  CountSlashes(m_intCaret, before);
  const PartSelection part = SelectPart(Slashes{F, S, N}, before);
  txtDate.SetSelStart(part.start);
  txtDate.SetSelLength(part.length);
  RaiseDblClick();
}

}  // namespace morlex
