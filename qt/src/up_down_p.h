#pragma once
// Internal: the up-down, a pair of arrow buttons drawn by the platform
// style. A form's up-downs are widgets of their own; a field's arrows are
// drawn by its surface's body (DrawnUpDown). Both keep what an up-down is
// in one UpDownState and draw their arrows alike.

#include <QRect>
#include <QWidget>
#include <functional>

#include "kept_picture_p.h"
#include "widget_p.h"

class QKeyEvent;
class QMouseEvent;
class QPaintEvent;
class QPainter;
class QTimer;

namespace morlex::qt::detail {

// What an up-down is, drawn or a widget of its own: its value inside its
// range, the step of one press, and the arrow that the mouse holds, which
// steps again while it is held.
class UpDownState {
 public:
  explicit UpDownState(const platform::WidgetDesign& design)
      : min_(design.min), max_(design.max), increment_(design.increment) {}
  UpDownState(const UpDownState&) = delete;
  UpDownState& operator=(const UpDownState&) = delete;

  int Value() const { return value_; }
  int Min() const { return min_; }
  int Max() const { return max_; }
  // A value written by the control: one outside the range fails (380); an
  // equal value notifies nothing, another runs the Change handler.
  void SetValue(int value, const platform::UpDownEvents& events);
  // One press on an arrow: one step, held within the range.
  void Press(bool up, const platform::UpDownEvents& events);

  // Which arrow of a pair that fills area a point hits: +1 the upper, -1
  // the lower, 0 none.
  static int ArrowAt(const QRect& area, QPoint at);
  // The arrow the mouse holds: +1 upper, -1 lower, 0 none.
  int Pressed() const { return pressed_; }
  // The mouse pressed on an arrow, or beside them (0).
  void Hold(int arrow) { pressed_ = arrow; }
  // Steps again through step while the arrow stays held: after 400 ms, then
  // every 60 ms. The timer is made at the first press (most arrows are
  // never held), as a child of owner, which must not outlive this state.
  void RepeatWhileHeld(QObject* owner, std::function<void(bool up)> step);
  // The mouse let go: no arrow is held and none steps again. Whether one
  // was held.
  bool LetGo();

 private:
  int value_ = 0;
  int min_, max_, increment_;
  int pressed_ = 0;
  QTimer* repeat_ = nullptr;
};

// Every up-down's arrows look alike: they are drawn once for each look
// (size, state, colours, style, pixel ratio) and copied from then on. A
// style sheet may style each widget apart: then they are drawn every time.
// pressed is the sunken arrow (+1 upper, -1 lower, 0 none); focus adds a
// focus frame.
void PaintArrows(QPainter& painter, const QWidget& widget, const QRect& area, int pressed,
                 bool enabled, bool focus, KeptPictureKey& kept_key);

class UpDown;

// The arrows of a form's up-down. A press steps once (and repeats while
// held); the arrows do not take the focus from the mouse.
class UpDownWidget final : public QWidget {
  Q_OBJECT  // a class of its own to screen readers (see accessibility_p.h)

      public : UpDownWidget(QWidget* parent, UpDown& owner);
  // A step as the user's press on an arrow makes it; failures are reported.
  void Step(bool up);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  UpDown& owner_;
  KeptPictureKey kept_key_;
};

class UpDown final : public WidgetImpl<platform::UpDown> {
 public:
  UpDown(Surface& surface, const platform::WidgetDesign& design, QWidget* parent);
  int Value() const override { return state_.Value(); }
  void SetValue(int value) override { state_.SetValue(value, events); }
  int Min() const override { return state_.Min(); }
  int Max() const override { return state_.Max(); }
  bool TakesFocus() const override { return true; }
  // One press on an arrow: one step within the range.
  void Press(bool up) { state_.Press(up, events); }
  // The user's press on an arrow: a step while the up-down is enabled.
  void UserPress(bool up) {
    if (enabled_) Press(up);
  }
  UpDownState& State() { return state_; }

 private:
  UpDownState state_;
};

}  // namespace morlex::qt::detail
