#include "focus_relay_p.h"

#include <QApplication>
#include <QFocusEvent>

namespace morlex::qt::detail {

FocusRelay::FocusRelay(QWidget& field, QWidget& box) : field_(field), box_(&box) {
  box.installEventFilter(this);
  if (box.hasFocus()) Enter();
}

FocusRelay::~FocusRelay() {
  QObject::disconnect(watching_);
  if (box_) box_->removeEventFilter(this);
}

bool FocusRelay::eventFilter(QObject* watched, QEvent* event) {
  if (watched != box_) return false;
  if (event->type() == QEvent::FocusOut) {
    reason_ = static_cast<QFocusEvent*>(event)->reason();
  } else if (event->type() == QEvent::FocusIn) {
    reason_ = static_cast<QFocusEvent*>(event)->reason();
    if (!inside_) {
      Enter();
      Send(QEvent::FocusIn);
    }
  }
  return false;
}

void FocusRelay::Enter() {
  inside_ = true;
  // Only a field that holds the focus listens for where it goes: Qt
  // announces the change after both focus events have been delivered, so
  // the text box (and the field's commit on leaving) has had its FocusOut.
  watching_ = connect(qApp, &QApplication::focusChanged, this,
                      [this](QWidget*, QWidget* now) { FocusChanged(now); });
}

void FocusRelay::FocusChanged(QWidget* now) {
  if (!box_ || !inside_) return;
  if (now != nullptr && (now == &field_ || field_.isAncestorOf(now))) return;
  // A window that becomes inactive (a modal dialog of the field opens over
  // it, the user switches applications) or a popup keeps its focus widget:
  // the focus has not left the field, as its own commit also holds.
  if (reason_ == Qt::ActiveWindowFocusReason || reason_ == Qt::PopupFocusReason) return;
  inside_ = false;
  QObject::disconnect(watching_);
  Send(QEvent::FocusOut);
}

void FocusRelay::Send(QEvent::Type type) {
  QFocusEvent focus(type, reason_);
  QCoreApplication::sendEvent(&field_, &focus);
}

}  // namespace morlex::qt::detail
