#pragma once
// The control's navigation keys as Qt codes them, for both Qt bindings and for
// the drivers that play the user on them: one table, read both ways.

#include <QString>
#include <Qt>
#include <array>
#include <utility>

#include "morlex/platform/widgets.h"

namespace morlex::qtshared {

// Every key of the key-down notification but Tab, with Qt's code for it.
// Tab is Qt's Tab, or Backtab with Shift.
inline constexpr std::array<std::pair<platform::NavKey, Qt::Key>, 10> kNavKeys = {{
    {platform::NavKey::kLeft, Qt::Key_Left},
    {platform::NavKey::kRight, Qt::Key_Right},
    {platform::NavKey::kUp, Qt::Key_Up},
    {platform::NavKey::kDown, Qt::Key_Down},
    {platform::NavKey::kPageUp, Qt::Key_PageUp},
    {platform::NavKey::kPageDown, Qt::Key_PageDown},
    {platform::NavKey::kHome, Qt::Key_Home},
    {platform::NavKey::kEnd, Qt::Key_End},
    {platform::NavKey::kF4, Qt::Key_F4},
    {platform::NavKey::kSpace, Qt::Key_Space},
}};

// The key-down notification's view of a key of Qt's code; kOther for a key
// that no handler of the control or its forms takes.
constexpr platform::NavKey NavKeyOf(int key) {
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return platform::NavKey::kTab;
  for (const auto& [nav, qt_key] : kNavKeys) {
    if (qt_key == key) return nav;
  }
  return platform::NavKey::kOther;
}

// Qt's code of a key of the control's, as a user presses it with or without
// Shift; Qt::Key_unknown for kOther.
constexpr int QtKeyOf(platform::NavKey key, bool shift) {
  if (key == platform::NavKey::kTab) return shift ? Qt::Key_Backtab : Qt::Key_Tab;
  for (const auto& [nav, qt_key] : kNavKeys) {
    if (nav == key) return qt_key;
  }
  return Qt::Key_unknown;
}

// A key-down as a Qt key event gives it: the key's code, the modifiers held
// and the text that Qt gives with it (Space and Tab have some).
struct QtKeyPress {
  int key;
  Qt::KeyboardModifiers modifiers;
  QString text;
};

inline QtKeyPress QtKeyPressOf(const platform::KeyDownArgs& down) {
  Qt::KeyboardModifiers held;
  if (down.shift) held |= Qt::ShiftModifier;
  if (down.ctrl) held |= Qt::ControlModifier;
  if (down.alt) held |= Qt::AltModifier;
  const QString text = down.key == platform::NavKey::kSpace ? QStringLiteral(" ")
                       : down.key == platform::NavKey::kTab ? QStringLiteral("\t")
                                                            : QString();
  return {QtKeyOf(down.key, down.shift), held, text};
}

}  // namespace morlex::qtshared
