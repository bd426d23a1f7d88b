// What the field adds to the user's input on its text box, as a QDateEdit
// has it: read-only, keyboard tracking, the mouse wheel, and the tooltip.
#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "morlex/qt/failure.h"
#include "morlex_date_widget_p.h"
#include "widget_p.h"

namespace morlex::qt {
namespace {

// A wheel turns 120 units a notch; one notch is one step. A burst of
// events never steps further than this at once.
constexpr int kWheelNotch = 120;
constexpr long long kMaxWheelSteps = 100;

}  // namespace

bool MorlexDateWidget::isReadOnly() const {
  return d->read_only;
}
void MorlexDateWidget::setReadOnly(bool on) {
  if (on == d->read_only) return;
  Guarded([&] { d->SetReadOnly(on); });
}
bool MorlexDateWidget::keyboardTracking() const {
  return d->keyboard_tracking;
}
void MorlexDateWidget::setKeyboardTracking(bool on) {
  d->keyboard_tracking = on;
  if (on) d->SignalDate(false);  // a held-back change is told now
}

void MorlexDateWidget::Private::SetReadOnly(bool on) {
  read_only = on;
  if (auto* edit = qobject_cast<QLineEdit*>(q.focusProxy())) edit->setReadOnly(on);
  // The arrows and the calendar button show disabled and take no press,
  // from the mouse or from a screen reader.
  platform::Surface& surface = control->ControlSurface();
  surface.GetUpDown("spinCTL").SetEnabled(!on);
  surface.GetCommandButton("cmdCalendar").SetEnabled(!on);
  if (QAccessible::isActive()) {
    QAccessible::State changed;
    changed.readOnly = true;
    QAccessibleStateChangeEvent notice(&q, changed);
    QAccessible::updateAccessibility(&notice);
  }
}

bool MorlexDateWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched != focusProxy()) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress:
      return d->FilterKey(*static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
    case QEvent::FocusOut:
    case QEvent::MouseButtonPress:
      d->typing = false;
      break;
    default:
      break;
  }
  return false;
}

bool MorlexDateWidget::Private::FilterKey(QKeyEvent& event) {
  const int key = event.key();
  // Up and Down spin, Alt+Down and F4 open the calendar; Enter commits.
  // Every other key may type, and its change waits for the commit when
  // keyboard tracking is off.
  const bool steps_or_opens = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_F4;
  typing = !steps_or_opens && key != Qt::Key_Return && key != Qt::Key_Enter;
  if (!read_only) return false;
  const QString text = event.text();
  const bool plain = (event.modifiers() &
                      (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == Qt::NoModifier;
  const bool types = key == Qt::Key_Backspace || (plain && !text.isEmpty() && text.at(0).isPrint());
  if (!steps_or_opens && !types) return false;  // moving, selecting, copying, Tab, Enter
  // Refused, as a read-only line edit refuses it: the form may want it.
  event.ignore();
  return true;
}

bool MorlexDateWidget::Private::Wheel(QWheelEvent& event) {
  // Only a field that has the focus steps (the caret picks the part); any
  // other leaves the wheel to the form, which may scroll.
  const QWidget* box = q.focusProxy();
  if (read_only || !q.isEnabled() || !control || !control->Spin() || box == nullptr ||
      !box->hasFocus()) {
    return false;
  }
  const long long turned = static_cast<long long>(wheel_turned) + event.angleDelta().y();
  const long long steps = std::clamp(turned / kWheelNotch, -kMaxWheelSteps, kMaxWheelSteps);
  wheel_turned = static_cast<int>(turned % kWheelNotch);
  event.accept();
  typing = false;
  // Each notch is what an Up or Down key does: the text box's key-down
  // handler steps the part under the caret.
  Guarded([&] {
    platform::TextBox& text = control->ControlSurface().GetTextBox("txtDate");
    for (long long i = 0; i < std::abs(steps); ++i) {
      platform::KeyDownArgs key{steps > 0 ? platform::NavKey::kUp : platform::NavKey::kDown};
      detail::CallHandler(text.events.KeyDown, key);
    }
  });
  return true;
}

void MorlexDateWidget::Private::FollowToolTip() {
  if (!control) return;
  const QString tip = ToQString(control->ToolTipText());
  if (q.toolTip() != tip) q.setToolTip(tip);
}

}  // namespace morlex::qt
