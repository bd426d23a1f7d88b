// Surfaces of the Qt toolkit: building the widgets of a design on a body,
// and the focus inside a surface.
#include "surface_p.h"

#include <QApplication>
#include <QFrame>
#include <algorithm>
#include <cmath>

#include "command_button_p.h"
#include "drawn_parts_p.h"
#include "image_p.h"
#include "label_p.h"
#include "morlex/qt/units.h"
#include "picture_box_p.h"
#include "text_box_p.h"
#include "up_down_p.h"

namespace morlex::qt::detail {

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

QRect Surface::Mirrored(const QRect& area, const QWidget* container) const {
  if (body_ == nullptr || !body_->isRightToLeft() || container == nullptr) return area;
  const auto* frame = container != body_ ? qobject_cast<const QFrame*>(container) : nullptr;
  const int width = frame != nullptr ? frame->contentsRect().width() : container->width();
  return {width - area.left() - area.width(), area.top(), area.width(), area.height()};
}

double Surface::TwipsPerPixel() const {
  if (held_twips_per_pixel_ > 0) return held_twips_per_pixel_;
  return qt::TwipsPerPixel(body_.data()) / text_scale_;
}

// Holds the scale for the placements of one pass over the widgets (unless
// the surface holds it anyway), and lets go again even if a widget throws.
class Surface::ScaleForPlacing {
 public:
  explicit ScaleForPlacing(Surface& surface) : surface_(surface) {
    if (surface_.holds_scale_ || surface_.held_twips_per_pixel_ <= 0) {
      surface_.held_twips_per_pixel_ =
          qt::TwipsPerPixel(surface_.body_.data()) / surface_.text_scale_;
    }
  }
  ~ScaleForPlacing() {
    if (!surface_.holds_scale_) surface_.held_twips_per_pixel_ = 0;
  }
  ScaleForPlacing(const ScaleForPlacing&) = delete;
  ScaleForPlacing& operator=(const ScaleForPlacing&) = delete;

 private:
  Surface& surface_;
};

void Surface::HoldScale() {
  holds_scale_ = true;
  held_twips_per_pixel_ = qt::TwipsPerPixel(body_.data()) / text_scale_;
}

void Surface::SetTextScale(double scale) {
  text_scale_ = std::isfinite(scale) && scale >= 1 ? scale : 1;
  if (holds_scale_) HoldScale();
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
  const ScaleForPlacing scale(*this);
  widgets_.reserve(design.widgets.size());
  qt_widgets_.reserve(design.widgets.size());
  if (draws_parts_) drawn_.reserve(design.widgets.size());
  // The cells of a grid name the same container one after the other; a
  // picture box made in between may be the one a later widget names.
  const std::string* last_container = nullptr;
  QWidget* last_parent = nullptr;
  for (const auto& d : design.widgets) {
    QWidget* parent =
        last_container != nullptr && d.container == *last_container ? last_parent : ContainerOf(d);
    last_container = d.kind == platform::WidgetKind::kPictureBox ? nullptr : &d.container;
    last_parent = parent;
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
  const ScaleForPlacing scale(*this);
  for (QtWidget* w : qt_widgets_) w->Place();
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

}  // namespace morlex::qt::detail
