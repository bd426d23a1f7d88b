#include "focus_relay_p.h"

#include <QApplication>
#include <QFocusEvent>

namespace morlex::qt::detail {

FocusRelay::FocusRelay(QWidget& field, QWidget& box) : field_(field), box_(&box) {
  box.installEventFilter(this);
  // Qt announces the change after both focus events have been delivered, so
  // the text box (and the field's commit on leaving) has seen its FocusOut.
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget* old, QWidget* now) { FocusChanged(old, now); });
  inside_ = box.hasFocus();
}

FocusRelay::~FocusRelay() {
  if (box_) box_->removeEventFilter(this);
}

bool FocusRelay::eventFilter(QObject* watched, QEvent* event) {
  if (watched == box_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
    reason_ = static_cast<QFocusEvent*>(event)->reason();
  }
  return false;
}

void FocusRelay::FocusChanged(QWidget* old, QWidget* now) {
  if (!box_) return;
  const bool now_inside = now != nullptr && (now == &field_ || field_.isAncestorOf(now));
  if (now_inside) {
    if (!inside_) {
      inside_ = true;
      Send(QEvent::FocusIn);
    }
    return;
  }
  if (!inside_ || old == nullptr || !(old == &field_ || field_.isAncestorOf(old))) return;
  // A window that becomes inactive (a modal dialog of the field opens over
  // it, the user switches applications) or a popup keeps its focus widget:
  // the focus has not left the field, as its own commit also holds.
  if (reason_ == Qt::ActiveWindowFocusReason || reason_ == Qt::PopupFocusReason) return;
  inside_ = false;
  Send(QEvent::FocusOut);
}

void FocusRelay::Send(QEvent::Type type) {
  QFocusEvent focus(type, reason_);
  QCoreApplication::sendEvent(&field_, &focus);
}

}  // namespace morlex::qt::detail
