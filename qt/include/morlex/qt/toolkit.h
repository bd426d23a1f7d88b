#pragma once
// The widget toolkit over Qt 6 Widgets: builds the control's surface and its
// forms from their designs with QLineEdit, QPushButton, QLabel, QFrame and a
// small up-down widget drawn by the platform style. Forms are modal QDialogs.
// On the control's own surface the calendar button and the spin arrows are
// no widgets of their own: the surface's body draws them with the platform
// style and answers the mouse on them, as a spin box does its arrows.
//
// Lengths stay in twips as the control set them; each widget is placed at
// the nearest whole pixel at the logical DPI of its screen, so a length reads
// back exactly as it was written.
//
// Usually a MorlexDateWidget owns its toolkit. Several widgets may share one,
// and a test driver uses the hook to play the user while a form is shown:
//
//   morlex::qt::Toolkit toolkit;
//   toolkit.SetModalHook([](morlex::platform::Form& form) { /* act on form */ });
//   auto* field = new morlex::qt::MorlexDateWidget(toolkit, Startup::kNew, parent);

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "morlex/platform/toolkit.h"
#include "morlex/qt/export.h"

class QLineEdit;
class QWidget;

namespace morlex::qt {
namespace detail {
class SurfaceParentScope;
}  // namespace detail

class MORLEX_QT_EXPORT Toolkit final : public platform::Toolkit {
 public:
  Toolkit();
  ~Toolkit() override;
  Toolkit(const Toolkit&) = delete;
  Toolkit& operator=(const Toolkit&) = delete;

  // The surface's QWidget has no parent yet; its owner puts it into place.
  std::unique_ptr<platform::Surface> CreateControlSurface(
      const platform::SurfaceDesign& design) override;
  // A modal dialog, loaded and hidden. Destroying the form unloads it.
  std::unique_ptr<platform::Form> CreateForm(const platform::SurfaceDesign& design) override;

  // The next modal show runs hook inside the form's modal loop, once the
  // loop has started; a form still shown afterwards is closed by its close
  // command. A failure of the hook comes back from ShowModal.
  void SetModalHook(std::function<void(platform::Form&)> hook) { modal_hook_ = std::move(hook); }
  std::function<void(platform::Form&)> TakeModalHook() { return std::move(modal_hook_); }

  // Forms of this toolkit that exist now.
  int LiveForms() const { return live_forms_; }

 private:
  friend class FormAccess;
  friend class detail::SurfaceParentScope;
  std::function<void(platform::Form&)> modal_hook_;
  int live_forms_ = 0;
  // The innermost scope that has the control surfaces made on a parent
  // widget of its owner's, or nullptr.
  detail::SurfaceParentScope* surface_parent_ = nullptr;
};

// The keys that type a control character, with the code the key-press
// notification gives each; where two keys give one code, a driver that plays
// the user sends the first.
struct ControlKey {
  Qt::Key key;
  std::int16_t code;
};
inline constexpr std::array<ControlKey, 5> kControlKeys = {{
    {Qt::Key_Backspace, platform::kBackspace},
    {Qt::Key_Tab, platform::kTab},
    {Qt::Key_Return, platform::kEnter},
    {Qt::Key_Enter, platform::kEnter},
    {Qt::Key_Escape, platform::kEscape},
}};

// The QWidget behind a widget or surface of the Qt toolkit; nullptr for a
// widget of another toolkit, and for a part that its surface's body draws
// itself (a field's spin arrows and calendar button).
MORLEX_QT_EXPORT QWidget* WidgetOf(const platform::Widget& widget);
MORLEX_QT_EXPORT QWidget* WidgetOf(const platform::Surface& surface);

// Where a widget of the Qt toolkit is, in the pixels of the QWidget it sits
// on (its surface's body, or a picture box): a widget's geometry, or the
// area of a drawn part. An empty rectangle for a widget of another toolkit.
MORLEX_QT_EXPORT QRect AreaOf(const platform::Widget& widget);
// Whether the body draws the widget itself (see WidgetOf).
MORLEX_QT_EXPORT bool IsDrawnPart(const platform::Widget& widget);

// The focus inside a surface of the Qt toolkit, as the toolkit tracks it (Qt
// itself moves the keyboard focus only in the active window). MoveFocus
// moves it and the Qt focus with it; nullptr moves it out of the surface.
// The old widget's LostFocus runs after the move, then the new one's
// GotFocus; their failures come back from MoveFocus.
MORLEX_QT_EXPORT platform::Widget* FocusedWidget(const platform::Surface& surface);
MORLEX_QT_EXPORT void MoveFocus(platform::Surface& surface, platform::Widget* to);

// The window's close command of a form of the Qt toolkit, as the close box
// of its title bar gives it.
MORLEX_QT_EXPORT void SendCloseCommand(platform::Form& form);

// For a driver that plays the user (the script host's input): the surface a
// widget of the Qt toolkit sits on, and a press on an up-down's arrow or a
// click on a button as the user's would make it where the part has no pixel
// to hit. Each throws Error for a widget of another toolkit.
MORLEX_QT_EXPORT platform::Surface& SurfaceOf(const platform::Widget& widget);
MORLEX_QT_EXPORT void PressAsIfHit(platform::UpDown& updown, bool up);
MORLEX_QT_EXPORT void ClickAsIfHit(platform::CommandButton& button);
// Whether a point of a text box's line edit lies under a part that its
// surface draws over it (the spin's arrows): a press there is the part's,
// not the text's. False for a line edit of no surface of this toolkit.
MORLEX_QT_EXPORT bool UnderDrawnPart(const QLineEdit& edit, QPoint at);

}  // namespace morlex::qt
