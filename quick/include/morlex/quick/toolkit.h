#pragma once
// The widget toolkit of the Qt Quick field. The widgets keep their state as
// the reference toolkit does; the field item draws its own surface from them
// and a form (the calendar) opens as a Qt Quick Popup over the field, made
// from the field's `popup` component and driven through a FormView.
//
//   morlex::quick::Toolkit toolkit;
//   toolkit.SetModalHook([](morlex::platform::Form& form) { /* the user's part */ });

#include <QtQml/qqmlregistration.h>
#include <QAbstractListModel>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

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

class FormParts;

// The hands of the user on a form, for its popup's QML: keys and clicks go to
// the form, which decides what they do; the popup shows the form's widgets
// through a FormParts. Every call is guarded: a failure is reported, never
// thrown to QML.
class FormView : public QObject {
  Q_OBJECT
  QML_ELEMENT
  QML_UNCREATABLE("made by the toolkit for each form")

 public:
  explicit FormView(platform::Form& form);

  // A key with Qt's code, modifiers and text, for the widget with the focus;
  // true when the form took it.
  Q_INVOKABLE bool key(int key, int modifiers, const QString& text);
  // A click (or double click) on the widget at row i of the parts.
  Q_INVOKABLE void click(int i);
  Q_INVOKABLE void doubleClick(int i);
  // A press on the upper or lower arrow of the up-down at row i.
  Q_INVOKABLE void spin(int i, bool up);
  // The window's close command (Esc outside a form's buttons, a press outside).
  Q_INVOKABLE void close();
  // Tells the parts shown for the form (if any) to read it again.
  void Refresh();
  // The parts that show the form from now on; nullptr for none.
  void ShowIn(FormParts* parts);

 private:
  platform::Form& form_;
  QPointer<FormParts> parts_;
};

// The widgets of a form as its popup shows them, a row each, with the roles
// kind, name, number (the index in a control array), x, y, width, height (in
// pixels), caption, visible, enabled, bold, bordered, alignment, focused,
// cell, isDefault and day. It outlives the forms it shows: a popup kept from
// one opening to the next is told only of the rows that changed, so that
// reopening it on the same month costs next to nothing.
class FormParts : public QAbstractListModel {
  Q_OBJECT
  QML_ELEMENT
  QML_UNCREATABLE("made by the field with its popup")
  Q_PROPERTY(QString caption READ caption NOTIFY captionChanged)
  Q_PROPERTY(qreal contentWidth READ contentWidth NOTIFY sizeChanged)
  Q_PROPERTY(qreal contentHeight READ contentHeight NOTIFY sizeChanged)
  // The row of the bordered label (the chosen day); -1 for none.
  Q_PROPERTY(int marked READ marked NOTIFY markedChanged)

 public:
  explicit FormParts(QObject* parent = nullptr);
  ~FormParts() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QHash<int, QByteArray> roleNames() const override;
  QString caption() const { return caption_; }
  qreal contentWidth() const { return size_.width(); }
  qreal contentHeight() const { return size_.height(); }
  int marked() const { return marked_; }

  // Reads form's widgets, telling only of what differs from the last read.
  void Read(platform::Form& form);

  // The caption of a visible label, where it lies (for FormCaptions).
  struct Caption {
    QRectF area;
    QString text;
    int alignment = 0;  // 0 left, 1 right, 2 centred
    bool bold = false;
    bool cell = false;  // a day of the grid
  };
  std::vector<Caption> Captions() const;

  struct Part;

 Q_SIGNALS:
  void captionChanged();
  void sizeChanged();
  void markedChanged();

 private:
  std::vector<Part> parts_;
  QString caption_;
  QSizeF size_;
  int marked_ = -1;
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
