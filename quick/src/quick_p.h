#pragma once
// What the field item and the forms share: lengths, widget look-up and the
// keys of a text box, as the reference toolkit's widgets take them.

#include <QString>
#include <Qt>
#include <functional>

#include "morlex/headless/toolkit.h"

namespace morlex::quick::detail {

// Twips in one device-independent pixel: Qt Quick lays out in those, at 96
// logical DPI.
inline constexpr double kTwipsPerPixel = 15.0;

inline double ToPixels(float twips) {
  return static_cast<double>(twips) / kTwipsPerPixel;
}

// The key of Qt's code for the control; kOther for a key it knows no name of.
platform::NavKey NavOf(int key);

// One key for a text box, as a user presses it: a character types through
// the key preview and KeyPress; any other key runs KeyDown and, unless a
// handler took it, moves the caret (anchor keeps the fixed end of a Shift
// selection) or, for Tab, runs tab (with true going back) before the key
// release. True when the key was the box's.
bool TextBoxKey(headless::TextBox& box, int key, Qt::KeyboardModifiers modifiers,
                const QString& text, int& anchor, const std::function<void(bool back)>& tab,
                bool read_only = false);

// One key for a form: Enter and Esc press its default and cancel buttons,
// Tab moves the focus round it, anything else goes to the widget with the
// focus. True when the form took it.
bool FormKey(headless::Surface& form, int key, Qt::KeyboardModifiers modifiers,
             const QString& text);

}  // namespace morlex::quick::detail
