// The user's keys, clicks and focus changes on the widgets of a surface of
// the Qt toolkit, and the paint and mouse events of its drawn parts.
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <optional>

#include "drawn_parts_p.h"
#include "label_p.h"
#include "morlex/qt/failure.h"
#include "morlex/qtshared/keys.h"
#include "picture_box_p.h"
#include "surface_p.h"
#include "text_box_p.h"

namespace morlex::qt::detail {
namespace {

// The character code of a key, as the key preview and the key handler see
// it; nullopt for keys that are not characters (arrows, Delete, function
// keys, shortcuts such as Ctrl+C), which the line edit handles itself.
std::optional<std::int16_t> CharacterCode(const QKeyEvent& event) {
  char16_t code = 0;
  const QString text = event.text();
  if (!text.isEmpty()) {
    code = text.at(0).unicode();
  } else {
    const auto* known = std::find_if(kControlKeys.begin(), kControlKeys.end(),
                                     [&](const ControlKey& k) { return k.key == event.key(); });
    if (known == kControlKeys.end()) return std::nullopt;
    code = static_cast<char16_t>(known->code);
  }
  if (code == platform::kDelete) return std::nullopt;
  const bool control = code < platform::kSpace;
  if (control && code != 0 && code != platform::kBackspace && code != platform::kTab &&
      code != platform::kEnter && code != platform::kEscape) {
    return std::nullopt;
  }
  if (!control &&
      (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
    return std::nullopt;  // a shortcut or an access key
  }
  return static_cast<std::int16_t>(code);
}

// A printable character typed with Alt, Ctrl or Meta held: an access key or
// a shortcut, never text. The line edit would insert some of them (Alt+C
// types "c"), past the key preview.
bool IsModifiedCharacter(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.isEmpty() || !text.at(0).isPrint()) return false;
  return (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
}

// The line edit's own shortcuts that arrive with a printable text on some
// platforms; they edit as they always do.
bool IsEditShortcut(QKeyEvent& event) {
  for (const QKeySequence::StandardKey key :
       {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::Undo,
        QKeySequence::Redo, QKeySequence::SelectAll}) {
    if (event.matches(key)) return true;
  }
  return false;
}

bool KeepsFocusWidget(Qt::FocusReason reason) {
  // A window that becomes inactive (a modal dialog opens over it, the user
  // switches applications) or opens a popup keeps its focus widget: the
  // focus has not left the widget within its window.
  return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

}  // namespace

bool Surface::HandleEvent(QObject* watched, QEvent* event) noexcept {
  if (watched == body_) {
    // Right to left, a place counts from the body's right edge: a new width
    // or a new direction moves every widget, whether its place changed or
    // not. (The control's layout then places what it moves.)
    const QEvent::Type type = event->type();
    if (type == QEvent::LayoutDirectionChange ||
        (type == QEvent::Resize && body_->isRightToLeft())) {
      try {
        PlaceAll();
      } catch (...) {
        ReportFailure(std::current_exception());
      }
    }
  }
  if (!drawn_.empty()) {
    try {
      if (HandlePartEvent(watched, event)) return true;
    } catch (...) {
      ReportFailure(std::current_exception());
      return true;
    }
  }
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
      break;
    default:
      return false;
  }
  try {
    QtWidget* widget = FromQ(watched);
    if (widget == nullptr) return false;
    QWidget* q = widget->Q();
    // A typed key, the most frequent of these, needs neither kind below.
    if (event->type() == QEvent::KeyPress) {
      return q->isEnabled() && HandleKeyPress(*widget, static_cast<QKeyEvent*>(event));
    }
    platform::Widget& self = widget->Self();
    auto* box = dynamic_cast<TextBox*>(&self);
    auto* label = dynamic_cast<Label*>(&self);
    switch (event->type()) {
      case QEvent::KeyRelease:
        if (box != nullptr && q->isEnabled()) Guarded([&] { CallHandler(box->events.KeyUp); });
        return false;
      case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return false;
        if (swallow_release_ == watched) {
          // The release that ends a double-click gives no second Click.
          swallow_release_ = nullptr;
          return false;
        }
        if (!q->isEnabled() || !q->rect().contains(mouse->position().toPoint())) return false;
        if (box != nullptr) Guarded([&] { CallHandler(box->events.Click); });
        if (label != nullptr) {
          Guarded([&] { CallHandler(label->events.Click, label->Index()); });
        }
        return false;
      }
      case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !q->isEnabled()) return false;
        if (box == nullptr && label == nullptr) return false;
        swallow_release_ = watched;
        if (box != nullptr) Guarded([&] { CallHandler(box->events.DblClick); });
        if (label != nullptr) {
          Guarded([&] { CallHandler(label->events.DblClick, label->Index()); });
        }
        // The control selects the date part itself; the line edit's own
        // word selection would undo it.
        return true;
      }
      case QEvent::FocusIn:
        // The day grid marks its chosen cell while it has the focus.
        if (dynamic_cast<PictureBox*>(&self) != nullptr) q->update();
        HandleFocusIn(*widget);
        return false;
      case QEvent::FocusOut:
        if (dynamic_cast<PictureBox*>(&self) != nullptr) q->update();
        HandleFocusOut(static_cast<QFocusEvent*>(event)->reason());
        return false;
      default:
        return false;
    }
  } catch (...) {
    ReportFailure(std::current_exception());
    return false;
  }
}

DrawnPart* Surface::PartAt(QPoint at) const {
  for (auto it = drawn_.rbegin(); it != drawn_.rend(); ++it) {
    if ((*it)->Shown() && (*it)->Area().contains(at)) return *it;
  }
  return nullptr;
}

void Surface::PaintParts(QPainter& painter, const QRect& dirty) const {
  for (DrawnPart* part : drawn_) {
    if (part->Shown() && part->Area().intersects(dirty)) part->Paint(painter, *body_);
  }
}

void Surface::PaintPartsOver(QWidget& widget) const noexcept {
  if (drawn_.empty() || widget.parentWidget() != body_) return;
  const QRect over = widget.geometry();
  bool any = false;
  for (DrawnPart* part : drawn_) any = any || (part->Shown() && part->Area().intersects(over));
  if (!any) return;
  try {
    QPainter painter(&widget);
    painter.translate(-over.topLeft());
    PaintParts(painter, over);
  } catch (...) {
    ReportFailure(std::current_exception());  // called from a paint event
  }
}

bool Surface::HandlePartEvent(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == body_ && type == QEvent::Paint) {
    QPainter painter(body_.data());
    PaintParts(painter, static_cast<QPaintEvent*>(event)->rect());
    return false;  // the body paints what it paints of its own
  }
  if (type == QEvent::HoverEnter || type == QEvent::HoverMove || type == QEvent::HoverLeave) {
    // The mouse over the body, or over a widget of it: a part under it
    // shows so (the style may light it up).
    auto* widget = qobject_cast<QWidget*>(watched);
    DrawnPart* part = nullptr;
    if (type != QEvent::HoverLeave && widget != nullptr &&
        (widget == body_ || widget->parentWidget() == body_)) {
      const QPoint at = static_cast<QHoverEvent*>(event)->position().toPoint();
      part = PartAt(widget == body_ ? at : widget->mapToParent(at));
    }
    if (part != hovered_part_) {
      if (hovered_part_ != nullptr) hovered_part_->Hover(false);
      hovered_part_ = part;
      if (part != nullptr) part->Hover(true);
    }
    return false;
  }
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
      type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) {
    return false;
  }
  // The body's own events, and those of the widgets on it (the parts lie
  // over them).
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || (widget != body_ && widget->parentWidget() != body_)) return false;
  const auto* mouse = static_cast<QMouseEvent*>(event);
  const QPoint at = widget == body_ ? mouse->position().toPoint()
                                    : widget->mapToParent(mouse->position().toPoint());
  if (pressed_part_ != nullptr) {
    // The press went to a part: the moves and the release are its own.
    DrawnPart* part = pressed_part_;
    if (type == QEvent::MouseMove) {
      part->MouseDrag(at);
    } else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
      pressed_part_ = nullptr;
      part->MouseRelease(at);
    }
    return true;
  }
  if (type == QEvent::MouseMove || type == QEvent::MouseButtonRelease) return false;
  DrawnPart* part = PartAt(at);
  if (part == nullptr) return false;
  if (mouse->button() == Qt::LeftButton) {
    // A double-click on a part is a second press, as on a spin box's arrows.
    pressed_part_ = part;
    part->MousePress(at);
  }
  return true;
}

bool Surface::HandleKeyPress(QtWidget& widget, QKeyEvent* event) {
  auto* box = dynamic_cast<TextBox*>(&widget.Self());
  if (platform::NavKey nav = qtshared::NavKeyOf(event->key()); nav != platform::NavKey::kOther) {
    auto* area = dynamic_cast<PictureBox*>(&widget.Self());
    // A grid mirrored right to left (the calendar's days) steps the way
    // its arrow keys point, as QCalendarWidget does; a text runs as typed.
    if (area != nullptr && widget.Q()->isRightToLeft()) {
      if (nav == platform::NavKey::kLeft) {
        nav = platform::NavKey::kRight;
      } else if (nav == platform::NavKey::kRight) {
        nav = platform::NavKey::kLeft;
      }
    }
    if (box != nullptr || area != nullptr) {
      const Qt::KeyboardModifiers held = event->modifiers();
      platform::KeyDownArgs key{nav, (held & Qt::ShiftModifier) != 0,
                                (held & Qt::ControlModifier) != 0, (held & Qt::AltModifier) != 0};
      if (event->key() == Qt::Key_Backtab) key.shift = true;
      try {
        if (box != nullptr) CallHandler(box->events.KeyDown, key);
        if (area != nullptr) CallHandler(area->events.KeyDown, key);
      } catch (...) {
        ReportFailure(std::current_exception());
        return true;  // a failing handler used the key up
      }
      if (key.handled) return true;
    }
  }
  const auto code = CharacterCode(*event);
  if (!code) {
    if (box != nullptr && IsModifiedCharacter(*event) && !IsEditShortcut(*event)) {
      // Not for the text: it goes on to the form, whose access keys and
      // shortcuts may want it.
      event->ignore();
      return true;
    }
    return false;
  }
  const std::int16_t typed = *code;
  std::int16_t key = typed;
  try {
    if (key_preview_) {
      auto preview = KeyPreview;
      if (preview) preview(key);
    }
    if (key != 0 && box == nullptr) return false;  // a button or an up-down handles its keys
    if (key != 0) {
      auto press = box->events.KeyPress;
      if (press) press(key);
    }
    if (key == 0) {
      // Enter and Esc insert nothing; once the handlers have had them (and
      // the control has committed its date) the line edit passes them on to
      // the host's form, whose default or cancel button may want them. A
      // box that takes no Tab (the calendar's month box consumes every key)
      // must still let it move the focus on, or the user is trapped in it.
      const bool pass_on =
          box != nullptr &&
          (typed == platform::kEnter || typed == platform::kEscape || typed == platform::kTab);
      return !pass_on;
    }
    if (key == typed && !box->RefusesTyped(event->text())) {
      if (typed >= platform::kSpace && event->text().size() == 1 && box->InsertsTypedDirectly()) {
        // The line edit would insert it the same way, only after testing
        // the key against every standard shortcut (most of a typed key's
        // cost), and no shortcut is a plain character. Its release still
        // goes through the line edit, which restarts the caret's blinking.
        box->Edit()->insert(event->text());  // its length was checked above
        event->accept();
        return true;
      }
      return false;  // the line edit inserts it (or moves the focus on Tab)
    }
    box->InsertTyped(key);
  } catch (...) {
    ReportFailure(std::current_exception());  // a failing handler drops the key
  }
  return true;
}

void Surface::HandleFocusIn(QtWidget& widget) {
  // Whatever gave it (the user, Tab, or a window restoring its focus widget
  // on activation), the widget has the focus now and the tracking follows.
  if (moving_focus_ || focused_ == &widget.Self()) return;
  Guarded([&] { MoveFocus(&widget.Self(), false); });
}

void Surface::HandleFocusOut(Qt::FocusReason reason) {
  if (moving_focus_ || KeepsFocusWidget(reason)) return;
  // Qt has already made the new widget the focus widget: a move within the
  // surface names it, a move anywhere else leaves the surface.
  QtWidget* now = FromQ(QApplication::focusWidget());
  platform::Widget* to = now != nullptr ? &now->Self() : nullptr;
  if (to == focused_) return;
  Guarded([&] { MoveFocus(to, false); });
}

}  // namespace morlex::qt::detail
