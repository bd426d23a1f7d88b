#pragma once
// Qt gives the keyboard focus of a MorlexDateWidget to its text box (the
// field's focus proxy), and sends the focus events to the text box only.
// Whoever watches the field itself (QDataWidgetMapper and item views through
// their delegate's event filter, a form's own filters) must see the field
// gain and lose the focus too: FocusRelay sends the field a FocusIn when the
// focus comes into it and a FocusOut when the focus leaves it, the latter
// after the field's own commit has run. Moves that stay inside the field do
// not count, nor does a window that becomes inactive because the field's
// calendar or about box (or a popup) opens over it.
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace morlex::qt::detail {

class FocusRelay final : public QObject {
 public:
  FocusRelay(QWidget& field, QWidget& box);
  ~FocusRelay() override;
  FocusRelay(const FocusRelay&) = delete;
  FocusRelay& operator=(const FocusRelay&) = delete;

  // Whether the field holds the focus as its watchers were told.
  bool Inside() const { return inside_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Enter();
  void FocusChanged(QWidget* now);
  void Send(QEvent::Type type);

  QWidget& field_;
  QPointer<QWidget> box_;
  bool inside_ = false;
  Qt::FocusReason reason_ = Qt::OtherFocusReason;
  QMetaObject::Connection watching_;
};

}  // namespace morlex::qt::detail
