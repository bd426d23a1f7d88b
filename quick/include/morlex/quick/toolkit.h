#pragma once
// The widget toolkit of the Qt Quick field. The widgets keep their state as
// the reference toolkit does; the field item draws its own surface from them
// and a form (the calendar) opens as a Qt Quick Popup over the field, made
// from the field's `popup` component and driven through a FormView.
//
//   morlex::quick::Toolkit toolkit;
//   toolkit.SetModalHook([](morlex::platform::Form& form) { /* the user's part */ });

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <exception>
#include <functional>
#include <memory>

#include "morlex/platform/toolkit.h"
#include "morlex/qtshared/failure.h"

namespace morlex::quick {

class DateFieldTemplate;

// Gathers the failures of the user's actions that reach the Qt boundary
// (a key, a click) while it lives, for the caller to take up afterwards;
// without one they are written to the log. Nests; the innermost wins.
using qtshared::FailureCapture;

// Hands a failure caught at the Qt boundary to the innermost capture, or the log.
void ReportFailure(std::exception_ptr failure) noexcept;

// Runs fn; no failure passes (for code that Qt calls).
template <typename Fn>
void Guarded(Fn&& fn) noexcept {
  try {
    fn();
  } catch (...) {
    ReportFailure(std::current_exception());
  }
}

// What a popup's QML sees of a form: its widgets as a list of plain values
// (kind, name, index, x, y, width, height in pixels, caption, visible,
// enabled, bold, bordered, alignment, focused, day) and the user's hands on
// them. Every call is guarded: a failure is reported, never thrown to QML.
class FormView : public QObject {
  Q_OBJECT
  QML_ELEMENT
  QML_UNCREATABLE("made by the toolkit for each form")
  Q_PROPERTY(QString caption READ caption NOTIFY changed)
  Q_PROPERTY(QVariantList widgets READ widgets NOTIFY changed)
  Q_PROPERTY(qreal contentWidth READ contentWidth CONSTANT)
  Q_PROPERTY(qreal contentHeight READ contentHeight CONSTANT)

 public:
  explicit FormView(platform::Form& form);
  QString caption() const;
  QVariantList widgets() const;
  qreal contentWidth() const;
  qreal contentHeight() const;

  // A key with Qt's code, modifiers and text, for the widget with the focus;
  // true when the form took it.
  Q_INVOKABLE bool key(int key, int modifiers, const QString& text);
  // A click (or double click) on the widget at position i of `widgets`.
  Q_INVOKABLE void click(int i);
  Q_INVOKABLE void doubleClick(int i);
  // A press on the upper or lower arrow of the up-down at position i.
  Q_INVOKABLE void spin(int i, bool up);
  // The window's close command (Esc outside a form's buttons, a press outside).
  Q_INVOKABLE void close();
  // Tells the view to read the form again.
  void Refresh() {
    stale_ = true;
    Q_EMIT changed();
  }

 Q_SIGNALS:
  void changed();

 private:
  platform::Form& form_;
  // The widgets as last read: QML reads the list once for every part it
  // shows, so it is made once for every change.
  mutable QVariantList widgets_;
  mutable bool stale_ = true;
};

class Toolkit final : public platform::Toolkit {
 public:
  Toolkit() = default;

  std::unique_ptr<platform::Surface> CreateControlSurface(
      const platform::SurfaceDesign& design) override;
  std::unique_ptr<platform::Form> CreateForm(const platform::SurfaceDesign& design) override;

  // The field over which forms open; set by the field that uses the toolkit.
  void SetField(DateFieldTemplate* field) { field_ = field; }
  DateFieldTemplate* Field() const { return field_; }

  // The next modal show runs hook with the shown form instead of waiting for
  // the user, then forgets it; a form still shown afterwards is closed.
  void SetModalHook(std::function<void(platform::Form&)> hook) { modal_hook_ = std::move(hook); }
  std::function<void(platform::Form&)> TakeModalHook() { return std::move(modal_hook_); }

  // The view of a form of this toolkit; nullptr for any other form.
  static FormView* ViewOf(platform::Form& form);

 private:
  // Its forms and the field keep references to it: one toolkit, never copied.
  Toolkit(const Toolkit&) = delete;
  Toolkit& operator=(const Toolkit&) = delete;
  DateFieldTemplate* field_ = nullptr;
  std::function<void(platform::Form&)> modal_hook_;
};

}  // namespace morlex::quick
