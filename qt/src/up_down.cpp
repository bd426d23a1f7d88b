// The up-down of the Qt toolkit: what every up-down is, drawn or a widget of
// its own, the look of its arrows, and a form's up-down widget.
#include "up_down_p.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "morlex/qt/failure.h"

namespace morlex::qt::detail {
namespace {

// Draws a pair of arrow buttons in size, the upper or lower one pressed
// (+1, -1) or neither (0), with the look of the widget's style.
void DrawArrows(QPainter& painter, const QWidget& widget, QSize size, int pressed, bool enabled,
                bool focus) {
  const int upper = size.height() / 2;
  const QRect halves[2] = {QRect(0, 0, size.width(), upper),
                           QRect(0, upper, size.width(), size.height() - upper)};
  const auto with_state = [&](QStyleOption& option) {
    option.initFrom(&widget);
    if (!enabled) option.state &= ~QStyle::State_Enabled;
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
  };
  for (int i = 0; i < 2; ++i) {
    const bool sunken = pressed == (i == 0 ? 1 : -1);
    QStyleOptionButton bevel;
    with_state(bevel);
    bevel.rect = halves[i];
    bevel.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
    widget.style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &bevel, &painter, &widget);

    QStyleOption arrow;
    with_state(arrow);
    arrow.rect = halves[i].adjusted(2, 1, -2, -1).translated(sunken ? 1 : 0, sunken ? 1 : 0);
    widget.style()->drawPrimitive(
        i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow, &painter,
        &widget);
  }
  if (focus) {
    QStyleOptionFocusRect frame;
    frame.initFrom(&widget);
    frame.rect = QRect(QPoint(0, 0), size).adjusted(2, 2, -2, -2);
    widget.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, &widget);
  }
}

// The value one press of an arrow gives: a step, held within the range.
int SteppedValue(int value, bool up, int increment, int min, int max) {
  const long long next = static_cast<long long>(value) + (up ? increment : -increment);
  return static_cast<int>(std::clamp<long long>(next, min, max));
}

}  // namespace

// --- UpDownState -----------------------------------------------------------------

void UpDownState::SetValue(int value, const platform::UpDownEvents& events) {
  if (value < min_ || value > max_) InvalidValue();
  if (value == value_) return;
  value_ = value;
  CallHandler(events.Change);
}

void UpDownState::Press(bool up, const platform::UpDownEvents& events) {
  const int next = SteppedValue(value_, up, increment_, min_, max_);
  if (next != value_) SetValue(next, events);
}

int UpDownState::ArrowAt(const QRect& area, QPoint at) {
  if (!area.contains(at)) return 0;
  return at.y() - area.top() < area.height() / 2 ? 1 : -1;
}

void UpDownState::RepeatWhileHeld(QObject* owner, std::function<void(bool up)> step) {
  if (repeat_ == nullptr) {
    QTimer* made = new QTimer(owner);
    QObject::connect(made, &QTimer::timeout, owner, [made, this, step = std::move(step)] {
      if (pressed_ == 0) {
        made->stop();
        return;
      }
      made->setInterval(60);
      step(pressed_ > 0);
    });
    repeat_ = made;
  }
  repeat_->start(400);
}

bool UpDownState::LetGo() {
  if (repeat_ != nullptr) repeat_->stop();
  const bool held = pressed_ != 0;
  pressed_ = 0;
  return held;
}

void PaintArrows(QPainter& painter, const QWidget& widget, const QRect& area, int pressed,
                 bool enabled, bool focus, KeptPictureKey& kept_key) {
  const auto draw = [&](QPainter& on) {
    DrawArrows(on, widget, area.size(), pressed, enabled, focus);
  };
  if (widget.style()->inherits("QStyleSheetStyle")) {
    DrawAt(painter, area, draw);
    return;
  }
  QStyleOption look;
  look.initFrom(&widget);
  look.rect = QRect(QPoint(0, 0), area.size());
  if (!enabled) look.state &= ~QStyle::State_Enabled;
  const qreal ratio = TargetRatio(painter);
  const QString key =
      kept_key.Of(widget, look, ratio, {2, static_cast<quint64>(pressed + 1), focus ? 1U : 0U});
  PaintKept(painter, area.topLeft(), area.size(), ratio, key, draw);
}

// --- UpDownWidget ----------------------------------------------------------------

UpDownWidget::UpDownWidget(QWidget* parent, UpDown& owner) : QWidget(parent), owner_(owner) {}

void UpDownWidget::Step(bool up) {
  Guarded([&] { owner_.UserPress(up); });
}

void UpDownWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  UpDownState& state = owner_.State();
  state.Hold(UpDownState::ArrowAt(rect(), event->position().toPoint()));
  update();
  if (state.Pressed() == 0) return;
  state.RepeatWhileHeld(this, [this](bool up) { Step(up); });
  Step(state.Pressed() > 0);
}

void UpDownWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  owner_.State().LetGo();
  update();
}

void UpDownWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
    Step(event->key() == Qt::Key_Up);
    return;
  }
  QWidget::keyPressEvent(event);
}

void UpDownWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintArrows(painter, *this, rect(), owner_.State().Pressed(), isEnabled(), hasFocus(), kept_key_);
}

// --- UpDown ----------------------------------------------------------------------

UpDown::UpDown(Surface& surface, const platform::WidgetDesign& d, QWidget* parent)
    : WidgetImpl(surface, d, new UpDownWidget(parent, *this)), state_(d) {
  // The field's arrows leave the keyboard focus where it is, as a spin box's
  // arrows do; an up-down that is a tab stop takes it from Tab and steps
  // with the arrow keys.
  widget_->setFocusPolicy(tab_stop_ ? Qt::StrongFocus : Qt::NoFocus);
}

}  // namespace morlex::qt::detail
