#pragma once
// The behaviour of the Qt Quick date field: the toolkit-free MorlexDate behind
// a QQuickItem. QML applications use it as `DateField` (import Morlex.Controls),
// whose look is a short QML file over this type; a style replaces that file.
//
//   import Morlex.Controls
//   DateField { dateFormat: DateFieldTemplate.LeadingZerosCentury; onDateChanged: print(date) }
//
// Keys reach the control's keystroke editor, the spin indicator and Up/Down
// step the part under the caret, focus leaving the field and Enter commit,
// and Alt+Down, F4 or the calendar button open the calendar popup.
//
// Signals and the control's events: dateChanged is the notify signal of
// `date` (the date the text stands for changed); textChanged follows every
// change of the text (the control's DateChanged event); dateInvalid and
// dateError are its DateInvalid and DateError; clicked and doubleClicked its
// Click and DblClick; committed runs after a commit handed the value on.

#include <QtQml/qqmlregistration.h>
#include <QDate>
#include <QFont>
#include <QPointF>
#include <QPointer>
#include <QQmlComponent>
#include <QQuickItem>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

namespace morlex {
class MorlexDate;
namespace platform {
class HostSite;
}
}  // namespace morlex

namespace morlex::quick {

class FormParts;
class Toolkit;

class DateFieldTemplate : public QQuickItem {
  Q_OBJECT
  QML_ELEMENT
  Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
  Q_PROPERTY(QDate date READ date WRITE setDate NOTIFY dateChanged)
  Q_PROPERTY(DateFormat dateFormat READ dateFormat WRITE setDateFormat NOTIFY dateFormatChanged)
  Q_PROPERTY(bool calendar READ calendar WRITE setCalendar NOTIFY calendarChanged)
  Q_PROPERTY(bool spin READ spin WRITE setSpin NOTIFY spinChanged)
  Q_PROPERTY(QDate minimumDate READ minimumDate WRITE setMinimumDate NOTIFY rangeChanged)
  Q_PROPERTY(QDate maximumDate READ maximumDate WRITE setMaximumDate NOTIFY rangeChanged)
  Q_PROPERTY(bool readOnly READ readOnly WRITE setReadOnly NOTIFY readOnlyChanged)
  Q_PROPERTY(bool acceptableInput READ acceptableInput NOTIFY textChanged)
  Q_PROPERTY(QString pattern READ pattern NOTIFY dateFormatChanged)
  // For the look: where the caret is, what is selected, and where the parts
  // of the field lie (in the item's coordinates).
  Q_PROPERTY(int cursorPosition READ cursorPosition NOTIFY selectionChanged)
  Q_PROPERTY(int selectionStart READ selectionStart NOTIFY selectionChanged)
  Q_PROPERTY(int selectionEnd READ selectionEnd NOTIFY selectionChanged)
  Q_PROPERTY(QRectF textArea READ textArea NOTIFY layoutChanged)
  Q_PROPERTY(QRectF spinArea READ spinArea NOTIFY layoutChanged)
  Q_PROPERTY(QRectF buttonArea READ buttonArea NOTIFY layoutChanged)
  // The room right of textArea (the indicators'), for a text item that
  // fills the field to keep clear.
  Q_PROPERTY(qreal textRightInset READ textRightInset NOTIFY layoutChanged)
  Q_PROPERTY(bool popupOpen READ popupOpen NOTIFY popupOpenChanged)
  // The open calendar popup; null while it is closed.
  Q_PROPERTY(QObject* popupObject READ popupObject NOTIFY popupOpenChanged)
  // The calendar's look: a Popup whose `form` and `parts` properties receive
  // the calendar's hands and widgets (see CalendarPopup.qml); null for the
  // module's own CalendarPopup.
  Q_PROPERTY(QQmlComponent* popup READ popup WRITE setPopup NOTIFY popupChanged)
  // The look's spin indicator and calendar button: the field places them
  // over spinArea and buttonArea and hides them while their area is empty,
  // as a Controls template places its background, so that a look binds no
  // geometry of its own for them (a form of many fields makes each once).
  Q_PROPERTY(QQuickItem* spinIndicator READ spinIndicator WRITE setSpinIndicator NOTIFY
                 spinIndicatorChanged)
  Q_PROPERTY(QQuickItem* calendarButton READ calendarButton WRITE setCalendarButton NOTIFY
                 calendarButtonChanged)

 public:
  // Of a fixed type: QML may write any number, which the control refuses.
  enum DateFormat : int {
    LeadingZerosCentury = 0,      // mm/dd/yyyy
    LeadingZerosNoCentury = 1,    // mm/dd/yy
    NoLeadingZerosCentury = 2,    // m/d/yyyy
    NoLeadingZerosNoCentury = 3,  // m/d/yy
  };
  Q_ENUM(DateFormat)

  explicit DateFieldTemplate(QQuickItem* parent = nullptr);
  ~DateFieldTemplate() override;

  QString text() const;
  void setText(const QString& text);
  // Invalid while the text stands for no date; an invalid date empties the
  // field, a date outside the range is refused.
  QDate date() const;
  void setDate(const QDate& date);
  DateFormat dateFormat() const;
  void setDateFormat(DateFormat format);
  bool calendar() const;
  void setCalendar(bool calendar);
  bool spin() const;
  void setSpin(bool spin);
  QDate minimumDate() const;
  // An invalid date lifts the bound; a bound past the other moves it along.
  void setMinimumDate(const QDate& date);
  QDate maximumDate() const;
  void setMaximumDate(const QDate& date);
  bool readOnly() const { return read_only_; }
  void setReadOnly(bool read_only);
  // True for an empty text or one that is a date within the range.
  bool acceptableInput() const;
  QString pattern() const;

  int cursorPosition() const;
  int selectionStart() const;
  int selectionEnd() const;
  QRectF textArea() const;
  QRectF spinArea() const;
  QRectF buttonArea() const;
  qreal textRightInset() const { return std::max<qreal>(0, width() - textArea().right()); }
  bool popupOpen() const { return popup_object_ != nullptr; }
  QObject* popupObject() const { return popup_object_; }
  QQmlComponent* popup() const { return popup_; }
  void setPopup(QQmlComponent* popup);
  QQuickItem* spinIndicator() const { return spin_indicator_; }
  void setSpinIndicator(QQuickItem* item);
  QQuickItem* calendarButton() const { return calendar_button_; }
  void setCalendarButton(QQuickItem* item);

  // A press of the mouse at a point of the item: on the spin indicator it
  // steps, on the button it opens the calendar, on the text it places the
  // caret at position (-1 puts it at the end). The field calls it for the
  // presses on itself and its look's items, asking the look which character
  // lies under the pointer: a look may define `function textPositionAt(x,
  // y)` (field coordinates) for that. A look with pointer handling of its
  // own may call it too.
  Q_INVOKABLE void pressAt(qreal x, qreal y, int position = -1);
  Q_INVOKABLE void doubleClickAt(qreal x, qreal y);
  // Renders and commits the text as Enter does.
  Q_INVOKABLE void commit();
  Q_INVOKABLE void selectAll();
  // The width of the widest text of pattern (mm/dd/yyyy, say) and the height
  // of a line, in font (for the look's implicit size).
  Q_INVOKABLE static QSizeF measure(const QFont& font, const QString& pattern);

  // --- For C++ hosts --------------------------------------------------------
  // Places the control in host (a host that owns the size and answers for
  // the stored value) on toolkit, instead of the item's own; call before the
  // item is complete. The host then initialises or loads the control.
  void HostWith(platform::HostSite& host, Toolkit& toolkit);
  // The control; nullptr before the item is complete.
  MorlexDate* Control() const { return control_.get(); }
  // Reads the control's state again after a call that bypassed the item.
  void Refresh();
  // Set by the toolkit while the calendar popup of the field runs.
  void SetPopupObject(QObject* popup);
  // The calendar popup made from `popup` on its first opening and kept for
  // the next ones, with the parts it shows; nulls without a component.
  // Throws when the component makes no popup.
  std::pair<QObject*, FormParts*> KeptPopup();

 Q_SIGNALS:
  void textChanged();
  void dateChanged();
  void dateFormatChanged();
  void calendarChanged();
  void spinChanged();
  void rangeChanged();
  void readOnlyChanged();
  void selectionChanged();
  void layoutChanged();
  void popupOpenChanged();
  void popupChanged();
  void spinIndicatorChanged();
  void calendarButtonChanged();
  void dateInvalid();
  void dateError(const QString& source, const QString& description, const QString& custom);
  void clicked();
  void doubleClicked();
  void committed();

 protected:
  void componentComplete() override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  // Presses on the look's items (its text item takes them otherwise) are
  // the field's.
  bool childMouseEventFilter(QQuickItem* item, QEvent* event) override;
  void geometryChange(const QRectF& new_geometry, const QRectF& old_geometry) override;

 private:
  class Private;
  friend class Private;

  // Makes item the look's part (a child of the field, placed over its area).
  void TakePart(QPointer<QQuickItem>& part, QQuickItem* item, void (DateFieldTemplate::*changed)());
  // Puts the spin indicator and the calendar button over their areas.
  void PlaceParts();
  // A press or double click at a point of the item; true when handled.
  bool Pointer(QEvent::Type type, QPointF at);

  std::unique_ptr<Private> d;
  std::unique_ptr<MorlexDate> control_;
  QQmlComponent* popup_ = nullptr;
  bool read_only_ = false;
  QObject* popup_object_ = nullptr;
  QPointer<QQuickItem> spin_indicator_;
  QPointer<QQuickItem> calendar_button_;
};

}  // namespace morlex::quick
