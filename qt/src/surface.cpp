// Surfaces of the Qt toolkit: building the widgets of a design, the focus
// inside a surface, and the user's keys and clicks on the widgets.
#include <QApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <optional>

#include "morlex/core/error.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/units.h"
#include "widgets_p.h"

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
    switch (event.key()) {
      case Qt::Key_Backspace:
        code = 8;
        break;
      case Qt::Key_Tab:
        code = 9;
        break;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        code = 13;
        break;
      case Qt::Key_Escape:
        code = 27;
        break;
      default:
        return std::nullopt;
    }
  }
  if (code == 127) return std::nullopt;  // Delete
  const bool control = code < 32;
  if (control && code != 0 && code != 8 && code != 9 && code != 13 && code != 27) {
    return std::nullopt;
  }
  if (!control &&
      (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
    return std::nullopt;  // a shortcut or an access key
  }
  return static_cast<std::int16_t>(code);
}

bool KeepsFocusWidget(Qt::FocusReason reason) {
  // A window that becomes inactive (a modal dialog opens over it, the user
  // switches applications) or opens a popup keeps its focus widget: the
  // focus has not left the widget within its window.
  return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

template <typename Fn>
void CallHandler(const Fn& handler) {
  auto copy = handler;  // the handler may replace itself while it runs
  if (copy) copy();
}

}  // namespace

class Surface::Bridge final : public QObject {
 public:
  explicit Bridge(Surface& surface) : surface_(surface) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    return surface_.HandleEvent(watched, event);
  }

 private:
  Surface& surface_;
};

Surface::Surface(const platform::SurfaceDesign& design, QWidget* body, bool owns_body,
                 bool draws_parts, bool body_forwards_events)
    : design_font_(design.font),
      key_preview_(design.key_preview),
      body_(body),
      owns_body_(owns_body),
      font_(QFontFromFont(platform::FontOfDesign(design.font))),
      bridge_(std::make_unique<Bridge>(*this)),
      draws_parts_(draws_parts),
      body_forwards_events_(body_forwards_events) {
  if (owns_body_) body_->setFont(font_);
  Build(design);
}

Surface::~Surface() {
  // The filter and the connections go first: deleting the Qt widgets sends
  // focus and hide events that must no longer reach the handlers.
  bridge_.reset();
  for (QtWidget* w : qt_widgets_) {
    if (auto* box = dynamic_cast<TextBox*>(&w->Self())) box->Edit()->SetSurface(nullptr);
  }
  if (!body_) return;
  if (owns_body_) {
    delete body_.data();
    return;
  }
  // The widgets placed on the body itself; the rest go with their box.
  std::vector<QWidget*> placed;
  for (QtWidget* w : qt_widgets_) {
    if (w->Q() != nullptr && w->Q()->parentWidget() == body_) placed.push_back(w->Q());
  }
  // Whatever the parts drew goes with them.
  for (DrawnPart* part : drawn_) {
    if (part->Shown()) body_->update(part->Area());
  }
  for (QWidget* q : placed) delete q;
}

QObject* Surface::Context() const {
  return bridge_.get();
}

double Surface::TwipsPerPixel() const {
  return qt::TwipsPerPixel(body_.data());
}

QWidget* Surface::ContainerOf(const platform::WidgetDesign& design) const {
  if (!design.container.empty()) {
    for (QtWidget* w : qt_widgets_) {
      auto* box = dynamic_cast<PictureBox*>(&w->Self());
      if (box != nullptr && box->Name() == design.container) return box->Frame();
    }
  }
  return body_.data();
}

void Surface::Build(const platform::SurfaceDesign& design) {
  widgets_.reserve(design.widgets.size());
  qt_widgets_.reserve(design.widgets.size());
  if (draws_parts_) drawn_.reserve(design.widgets.size());
  for (const auto& d : design.widgets) {
    QWidget* parent = ContainerOf(d);
    std::unique_ptr<platform::Widget> widget;
    QtWidget* qt_widget = nullptr;
    auto keep = [&](auto made) {
      qt_widget = made.get();
      widget = std::move(made);
    };
    // The buttons and up-downs placed on the body of a surface that draws
    // its parts are drawn by the body.
    const bool drawn = draws_parts_ && parent == body_;
    auto keep_drawn = [&](auto made) {
      drawn_.push_back(made.get());
      keep(std::move(made));
    };
    switch (d.kind) {
      case platform::WidgetKind::kTextBox:
        keep(std::make_unique<TextBox>(*this, d, parent));
        break;
      case platform::WidgetKind::kCommandButton:
        if (drawn) {
          keep_drawn(std::make_unique<DrawnButton>(*this, d));
        } else {
          keep(std::make_unique<CommandButton>(*this, d, parent));
        }
        break;
      case platform::WidgetKind::kLabel:
        keep(std::make_unique<Label>(*this, d, parent));
        break;
      case platform::WidgetKind::kPictureBox:
        keep(std::make_unique<PictureBox>(*this, d, parent));
        break;
      case platform::WidgetKind::kImage:
        keep(std::make_unique<Image>(*this, d, parent));
        break;
      case platform::WidgetKind::kUpDown:
        if (drawn) {
          keep_drawn(std::make_unique<DrawnUpDown>(*this, d));
        } else {
          keep(std::make_unique<UpDown>(*this, d, parent));
        }
        break;
    }
    // A text box's line edit passes its events on itself.
    QWidget* q = qt_widget->Q();
    if (q != nullptr && dynamic_cast<TextBox*>(&qt_widget->Self()) == nullptr) {
      q->installEventFilter(bridge_.get());
    }
    qt_widget->Place();
    qt_widgets_.push_back(qt_widget);
    widgets_.push_back(std::move(widget));
  }

  // The body paints the drawn parts and passes them the mouse, and tells
  // them when the mouse is over them.
  if (!drawn_.empty()) {
    if (!body_forwards_events_) body_->installEventFilter(bridge_.get());
    body_->setAttribute(Qt::WA_Hover);
  }

  // Tab moves through the widgets that are tab stops, by tab index.
  std::vector<QtWidget*> chain;
  for (QtWidget* w : qt_widgets_) {
    if (w->TakesFocus() && w->TabStop()) chain.push_back(w);
  }
  std::stable_sort(chain.begin(), chain.end(),
                   [](QtWidget* a, QtWidget* b) { return a->TabIndex() < b->TabIndex(); });
  for (std::size_t i = 1; i < chain.size(); ++i) {
    QWidget::setTabOrder(chain[i - 1]->Q(), chain[i]->Q());
  }
}

void Surface::PlaceAll() {
  for (QtWidget* w : qt_widgets_) w->Place();
}

template <typename T>
T& Surface::Find(std::string_view name, int index) {
  return platform::detail::FindWidget<T>(widgets_, name, index);
}

platform::TextBox& Surface::GetTextBox(std::string_view n) {
  return Find<TextBox>(n, -1);
}
platform::CommandButton& Surface::GetCommandButton(std::string_view n) {
  return Find<platform::CommandButton>(n, -1);
}
platform::Label& Surface::GetLabel(std::string_view n, int i) {
  return Find<Label>(n, i);
}
platform::PictureBox& Surface::GetPictureBox(std::string_view n) {
  return Find<PictureBox>(n, -1);
}
platform::Image& Surface::GetImage(std::string_view n) {
  return Find<Image>(n, -1);
}
platform::UpDown& Surface::GetUpDown(std::string_view n) {
  return Find<platform::UpDown>(n, -1);
}

QtWidget* Surface::FromQ(const QObject* object) const {
  if (object == nullptr) return nullptr;
  for (QtWidget* w : qt_widgets_) {
    if (w->Q() == object) return w;
  }
  return nullptr;
}

QtWidget* Surface::AsQt(platform::Widget* widget) const {
  for (QtWidget* w : qt_widgets_) {
    if (&w->Self() == widget) return w;
  }
  return nullptr;
}

platform::Widget* Surface::FirstInTabOrder() const {
  QtWidget* best = nullptr;
  for (QtWidget* w : qt_widgets_) {
    const platform::Widget& self = w->Self();
    if (!w->TakesFocus() || !w->TabStop() || !self.Visible() || !self.Enabled()) continue;
    if (best == nullptr || w->TabIndex() < best->TabIndex()) best = w;
  }
  return best != nullptr ? &best->Self() : nullptr;
}

void Surface::MoveFocus(platform::Widget* to, bool sync_qt) {
  platform::Widget* from = focused_;
  if (from == to) return;
  focused_ = to;
  if (sync_qt) {
    // The Qt focus follows; the focus events it sends (in an active window)
    // are this move itself and must not be taken for the user's.
    moving_focus_ = true;
    // A drawn part holds no Qt focus: the widget that had it loses it, as
    // when the focus leaves the surface.
    QtWidget* target = AsQt(to);
    QtWidget* source = AsQt(from);
    if (target != nullptr && target->Q() != nullptr) {
      target->Q()->setFocus(Qt::OtherFocusReason);
    } else if (source != nullptr && source->Q() != nullptr) {
      source->Q()->clearFocus();
    }
    moving_focus_ = false;
  }
  if (auto* box = dynamic_cast<platform::TextBox*>(from)) CallHandler(box->events.LostFocus);
  if (focused_ != to) return;  // a LostFocus handler moved the focus on
  if (auto* box = dynamic_cast<platform::TextBox*>(to)) CallHandler(box->events.GotFocus);
}

bool Surface::HandleEvent(QObject* watched, QEvent* event) noexcept {
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
    platform::Widget& self = widget->Self();
    auto* box = dynamic_cast<TextBox*>(&self);
    auto* label = dynamic_cast<Label*>(&self);
    switch (event->type()) {
      case QEvent::KeyPress:
        if (!q->isEnabled()) return false;
        return HandleKeyPress(*widget, static_cast<QKeyEvent*>(event));
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
          Guarded([&] {
            auto click = label->Click;
            if (click) click(label->Index());
          });
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
          Guarded([&] {
            auto dbl = label->DblClick;
            if (dbl) dbl(label->Index());
          });
        }
        // The control selects the date part itself; the line edit's own
        // word selection would undo it.
        return true;
      }
      case QEvent::FocusIn:
        HandleFocusIn(*widget);
        return false;
      case QEvent::FocusOut:
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
  const auto code = CharacterCode(*event);
  if (!code) return false;
  auto* box = dynamic_cast<TextBox*>(&widget.Self());
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
      // the host's form, whose default or cancel button may want them.
      const bool pass_on = box != nullptr && (typed == 13 || typed == 27);
      return !pass_on;
    }
    if (key == typed && !box->RefusesTyped(event->text())) {
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

namespace morlex::qt {

Toolkit::Toolkit() = default;
Toolkit::~Toolkit() = default;

std::unique_ptr<platform::Surface> Toolkit::CreateControlSurface(
    const platform::SurfaceDesign& design) {
  if (QWidget* adopted = detail::SurfaceParentScope::Current()) {
    return std::make_unique<detail::Surface>(design, adopted, false, true,
                                             detail::SurfaceParentScope::ForwardsEvents());
  }
  auto* body = new QWidget(nullptr);
  body->setObjectName(QString::fromStdString(design.name));
  return std::make_unique<detail::Surface>(design, body, true, true);
}

std::unique_ptr<platform::Form> Toolkit::CreateForm(const platform::SurfaceDesign& design) {
  return std::make_unique<detail::Form>(*this, design, live_forms_);
}

QWidget* WidgetOf(const platform::Widget& widget) {
  const auto* w = dynamic_cast<const detail::QtWidget*>(&widget);
  return w != nullptr ? w->Q() : nullptr;
}

QRect AreaOf(const platform::Widget& widget) {
  if (const auto* part = dynamic_cast<const detail::DrawnPart*>(&widget)) return part->Area();
  const QWidget* q = WidgetOf(widget);
  return q != nullptr ? q->geometry() : QRect();
}

bool IsDrawnPart(const platform::Widget& widget) {
  return dynamic_cast<const detail::DrawnPart*>(&widget) != nullptr;
}

QWidget* WidgetOf(const platform::Surface& surface) {
  const auto* s = dynamic_cast<const detail::Surface*>(&surface);
  return s != nullptr ? s->Body() : nullptr;
}

platform::Widget* FocusedWidget(const platform::Surface& surface) {
  const auto* s = dynamic_cast<const detail::Surface*>(&surface);
  return s != nullptr ? s->Focused() : nullptr;
}

void MoveFocus(platform::Surface& surface, platform::Widget* to) {
  auto* s = dynamic_cast<detail::Surface*>(&surface);
  if (s == nullptr) throw Error(errnum::kInvalidCall, "Not a surface of the Qt toolkit");
  s->MoveFocus(to);
}

}  // namespace morlex::qt
