#pragma once
// Internal: the surfaces of the Qt toolkit, which build the widgets of a
// design on a body, track the focus inside it and take the user's keys and
// clicks on its widgets and drawn parts.

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "morlex/platform/design.h"
#include "morlex/platform/surface.h"
#include "morlex/platform/widgets.h"
#include "morlex/qt/toolkit.h"

class QEvent;
class QKeyEvent;
class QPainter;

namespace morlex::qt::detail {

class DrawnPart;
class Surface;
class QtWidget;

// While one is open on a toolkit, the control surfaces that the toolkit
// creates use parent itself as their body, instead of a window of their own
// that the owner then moves into place: a MorlexDateWidget opens one around
// the creation of its control, so that a field is one widget less to build,
// show and paint. A parent that forwards its events passes its paint and
// mouse events to the surface's HandleEvent itself, in place of an event
// filter (which would cost each field an allocation of its own). Scopes
// nest; the innermost one open on a toolkit counts, and only for that
// toolkit.
class SurfaceParentScope {
 public:
  SurfaceParentScope(Toolkit& toolkit, QWidget* parent, bool forwards_events = false)
      : toolkit_(toolkit),
        parent_(parent),
        forwards_events_(forwards_events),
        previous_(std::exchange(toolkit.surface_parent_, this)) {}
  ~SurfaceParentScope() { toolkit_.surface_parent_ = previous_; }
  SurfaceParentScope(const SurfaceParentScope&) = delete;
  SurfaceParentScope& operator=(const SurfaceParentScope&) = delete;

  QWidget* Parent() const { return parent_; }
  bool ForwardsEvents() const { return forwards_events_; }
  // The control surface that the toolkit made on the parent while this
  // scope was the innermost one (the last, if several), or nullptr.
  Surface* Made() const { return made_; }
  // The innermost scope open on a toolkit, or nullptr.
  static const SurfaceParentScope* Current(const Toolkit& toolkit) {
    return toolkit.surface_parent_;
  }

 private:
  friend class qt::Toolkit;  // sets made_
  Toolkit& toolkit_;
  QWidget* parent_;
  bool forwards_events_;
  SurfaceParentScope* previous_;
  Surface* made_ = nullptr;
};

class Surface : public platform::WidgetListSurface {
 public:
  // body is the QWidget that holds the widgets: the control's body or a
  // form's dialog. The surface deletes it when it owns it; a body it does
  // not own keeps its own font and name, and loses only the surface's
  // widgets when the surface goes.
  //
  // With draws_parts, the up-downs and command buttons placed on the body
  // itself are parts the body draws (DrawnPart), not widgets of their own:
  // a field's surface; a form's have real ones.
  //
  // With body_forwards_events, the body passes its events to HandleEvent
  // itself (see SurfaceParentScope).
  Surface(const platform::SurfaceDesign& design, QWidget* body, bool owns_body,
          bool draws_parts = false, bool body_forwards_events = false);
  ~Surface() override;

  // The design's font, for widgets that name none.
  const platform::FontDesign& DesignFont() const { return design_font_; }
  QWidget* Body() const { return body_; }
  bool OwnsBody() const { return owns_body_; }
  // Where a widget's place (in pixels, within container's contents) lies on
  // screen: mirrored left for right when the surface runs right to left, as
  // Qt's layouts mirror, and as it is otherwise.
  QRect Mirrored(const QRect& area, const QWidget* container) const;
  const QFont& SurfaceFont() const { return font_; }
  // The QObject that carries the surface's connections and event filter;
  // destroying the surface cuts them before its widgets go.
  QObject* Context() const;
  const std::vector<QtWidget*>& Widgets() const { return qt_widgets_; }
  double TwipsPerPixel() const;
  // Places every widget again (after a change of screen or DPI).
  void PlaceAll();
  // How many times its design size a surface is drawn, so that its texts
  // fit the fonts they are shown in (a form at a large application font):
  // a twip stands for that many times the pixels, and a font that the
  // design names grows as much. 1 for a surface drawn at its design size.
  double TextScale() const { return text_scale_; }

  platform::Widget* Focused() const { return focused_; }
  // Moves the tracked focus and, when sync_qt, the Qt focus with it; then
  // the old widget's LostFocus and the new one's GotFocus run. Failures of
  // the handlers come back to the caller.
  void MoveFocus(platform::Widget* to, bool sync_qt = true);
  platform::Widget* FirstInTabOrder() const;
  // The widget of this surface a Qt widget belongs to, or nullptr.
  QtWidget* FromQ(const QObject* object) const;
  QtWidget* AsQt(platform::Widget* widget) const;
  // The Qt parent for a widget of the design (the body, or a picture box).
  QWidget* ContainerOf(const platform::WidgetDesign& design) const;

  // The event filter of every widget of the surface (and of the body when
  // it draws parts); never throws.
  bool HandleEvent(QObject* watched, QEvent* event) noexcept;

  // The drawn parts, bottom first.
  const std::vector<DrawnPart*>& DrawnParts() const { return drawn_; }
  // The topmost shown part at a point of the body, or nullptr.
  DrawnPart* PartAt(QPoint at) const;
  // Paints the shown parts that meet the dirty rectangle (body pixels).
  void PaintParts(QPainter& painter, const QRect& dirty) const;
  // Paints the parts that lie over a widget of the body, over it; never
  // throws.
  void PaintPartsOver(QWidget& widget) const noexcept;

 private:
  class Bridge;
  const std::vector<std::unique_ptr<platform::Widget>>& AllWidgets() const override {
    return widgets_;
  }
  bool HandleKeyPress(QtWidget& widget, QKeyEvent* event);
  // Paint and mouse events of the body, and mouse events of its widgets
  // that fall on a drawn part: true when a part took the event.
  bool HandlePartEvent(QObject* watched, QEvent* event);
  void HandleFocusIn(QtWidget& widget);
  void HandleFocusOut(Qt::FocusReason reason);
  void Build(const platform::SurfaceDesign& design);

 protected:
  // From here on the surface places its widgets at the scale of this
  // moment, and PlaceAll takes the scale anew: a form, which is laid out
  // while it is hidden and only placed as a whole when it is shown.
  void HoldScale();
  // Takes effect with the next placement of all widgets.
  void SetTextScale(double scale);

 private:
  // Asking Qt for the scale of a widget that is not shown yet walks the
  // screens each time, and placing a form asks for every widget. While
  // this is above zero, it is the scale every placement uses: during a
  // placement of all widgets, which no change of screen can interrupt, and
  // for a surface that holds its scale.
  double held_twips_per_pixel_ = 0;
  bool holds_scale_ = false;
  double text_scale_ = 1;
  class ScaleForPlacing;

  // What the widgets need of the design once they are built.
  platform::FontDesign design_font_;
  bool key_preview_;
  QPointer<QWidget> body_;
  bool owns_body_;
  QFont font_;
  std::unique_ptr<Bridge> bridge_;
  std::vector<std::unique_ptr<platform::Widget>> widgets_;
  std::vector<QtWidget*> qt_widgets_;
  platform::Widget* focused_ = nullptr;
  bool moving_focus_ = false;
  QObject* swallow_release_ = nullptr;  // the release that ends a double-click
  bool draws_parts_;
  bool body_forwards_events_;
  std::vector<DrawnPart*> drawn_;
  DrawnPart* pressed_part_ = nullptr;  // the part the held mouse button pressed
  DrawnPart* hovered_part_ = nullptr;  // the part under the mouse
};

}  // namespace morlex::qt::detail
