#pragma once
// MorlexDateWidget: the date-entry field as a QWidget that any Qt application
// puts on a form. It owns one MorlexDate and is that control's host site: its
// size (twips at the screen's logical DPI, 15 to a pixel at 96 DPI), enabled
// state, ambient font and UserMode come from the widget; the application
// answers CanChange and receives NotifyChanged through callbacks.
//
//   auto* field = new morlex::qt::MorlexDateWidget(form);   // shows today
//   field->setDateFormat(morlex::qt::MorlexDateWidget::NoLeadingZerosCentury);
//   QObject::connect(field, &MorlexDateWidget::dateInvalid, form, [] { ... });
//   // Data binding: the host stores "Text" when the control says it changed.
//   field->setNotifyChangedHandler([&](const QString& key) {
//     if (key == "Text") record.setValue("due", field->text());
//   });
//
// The Qt face never throws: a failure of a property write or of a handler
// that Qt calls goes to morlex::qt::SetFailureHandler's handler (default: one
// line on standard error) and the field stays usable.
//
// This header needs Qt and C++17 only. The members under "Advanced hosts"
// reach the toolkit-free control behind the field (which throws
// morlex::Error as its contract says), its host site, its fonts and its
// property bags: a host that uses them includes "morlex/qt/advanced_host.h",
// which declares those types, and links Morlex::control as well.

#include <QColor>
#include <QDate>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "morlex/qt/export.h"

namespace morlex {
class MorlexDate;
namespace platform {
class Clock;
class HostSite;
class PropertyBag;
struct Font;
}  // namespace platform
}  // namespace morlex

namespace morlex::qt {

class Toolkit;
class MorlexDateDelegate;

class MORLEX_QT_EXPORT MorlexDateWidget : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged USER true)
  Q_PROPERTY(DateFormat dateFormat READ dateFormat WRITE setDateFormat)
  // The order of the date's parts and their separator; with localeOrder on,
  // both come from locale() and follow its changes.
  Q_PROPERTY(DateOrder dateOrder READ dateOrder WRITE setDateOrder)
  Q_PROPERTY(QString dateSeparator READ dateSeparator WRITE setDateSeparator)
  Q_PROPERTY(bool localeOrder READ localeOrder WRITE setLocaleOrder)
  Q_PROPERTY(bool calendar READ calendar WRITE setCalendar)
  Q_PROPERTY(bool spin READ spin WRITE setSpin)
  Q_PROPERTY(bool dateIsValid READ dateIsValid)
  Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
  Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor)
  Q_PROPERTY(QColor foreColor READ foreColor WRITE setForeColor)
  Q_PROPERTY(QFont textFont READ textFont WRITE setTextFont)
  Q_PROPERTY(QString toolTipText READ toolTipText WRITE setToolTipText)
  Q_PROPERTY(int whatsThisHelpId READ whatsThisHelpId WRITE setWhatsThisHelpId)
  // The selection is the user's, and UserMode the host's: a form designer
  // neither offers nor records them.
  Q_PROPERTY(QString selText READ selText WRITE setSelText DESIGNABLE false)
  Q_PROPERTY(int selStart READ selStart WRITE setSelStart DESIGNABLE false)
  Q_PROPERTY(int selLength READ selLength WRITE setSelLength DESIGNABLE false)
  Q_PROPERTY(bool userMode READ userMode WRITE setUserMode DESIGNABLE false STORED false)
  // The typed value: a view of the text, so a form designer records the
  // text and leaves the date out.
  Q_PROPERTY(QDate date READ date WRITE setDate NOTIFY dateChanged DESIGNABLE false STORED false)
  Q_PROPERTY(bool readOnly READ isReadOnly WRITE setReadOnly)
  Q_PROPERTY(bool keyboardTracking READ keyboardTracking WRITE setKeyboardTracking)
  Q_PROPERTY(QDate minimumDate READ minimumDate WRITE setMinimumDate)
  Q_PROPERTY(QDate maximumDate READ maximumDate WRITE setMaximumDate)

 public:
  enum DateFormat {
    LeadingZerosCentury = 0,      // mm/dd/yyyy
    LeadingZerosNoCentury = 1,    // mm/dd/yy
    NoLeadingZerosCentury = 2,    // m/d/yyyy
    NoLeadingZerosNoCentury = 3,  // m/d/yy
  };
  Q_ENUM(DateFormat)

  enum DateOrder {
    MonthDayYear = 0,  // 12/24/2026, the default
    DayMonthYear = 1,  // 24.12.2026
    YearMonthDay = 2,  // 2026-12-24
  };
  Q_ENUM(DateOrder)

  // What the constructor does after creating the control.
  enum class Startup {
    kNew,              // first-time initialisation: a new field showing today
    kHostInitialises,  // nothing: the host calls initProperties or readProperties
  };

  // A new field with its own toolkit.
  explicit MorlexDateWidget(QWidget* parent = nullptr);
  // A field on a shared toolkit (which must outlive it); an advanced host's.
  MorlexDateWidget(Toolkit& toolkit, Startup startup, QWidget* parent = nullptr);
  ~MorlexDateWidget() override;

  // --- Properties (failures go to the failure handler) ---------------------
  QString text() const;
  void setText(const QString& text);
  DateFormat dateFormat() const;
  // Any value is taken; one outside the four leaves an empty pattern in force.
  void setDateFormat(int format);
  DateOrder dateOrder() const;
  // A value outside the three is refused (error 380 to the failure
  // handler) and the order stays.
  void setDateOrder(int order);
  QString dateSeparator() const;
  // "/", "." or "-"; any other text is refused like a bad order.
  void setDateSeparator(const QString& separator);
  // Off by default. On: order and separator follow the short date format of
  // locale() (de_DE 24.12.2026, en_GB 24/12/2026, en_US 12/24/2026, ja_JP
  // 2026/12/24, sv_SE 2026-12-24), now and at every locale change. A format
  // takes the order in which its day, month and year first appear, and the
  // first of "/", "." and "-" that stands between them ("/" when none
  // does); a format whose parts stand in another order (year/day/month), or
  // that lacks one of them, keeps month/day/year.
  bool localeOrder() const;
  void setLocaleOrder(bool on);
  bool calendar() const;
  void setCalendar(bool calendar);
  bool spin() const;
  void setSpin(bool spin);
  bool dateIsValid() const;
  QString dataField() const;
  void setDataField(const QString& field);
  // The colours as shown: a system colour reference resolves to its palette
  // role (window background to Base, window text to Text). A colour sets
  // an opaque RGB value; an invalid QColor() restores the system's window
  // background or window text.
  QColor backColor() const;
  void setBackColor(const QColor& color);
  void setBackColor(Qt::GlobalColor color) { setBackColor(QColor(color)); }
  QColor foreColor() const;
  void setForeColor(const QColor& color);
  void setForeColor(Qt::GlobalColor color) { setForeColor(QColor(color)); }
  // The control's own colour values: 0x00BBGGRR, or a system colour
  // reference 0x800000nn, as the published interface stores them. A number
  // given to setBackColor would silently become a QRgb (0xAARRGGBB, another
  // colour): that call does not compile; use these.
  uint backColorValue() const;
  void setBackColorValue(uint color);
  uint foreColorValue() const;
  void setForeColorValue(uint color);
  void setBackColor(uint) = delete;
  void setForeColor(uint) = delete;
  // The text box's font as shown. The control's font "MS Sans Serif" 8, the
  // designs' and a new field's, shows the font the widget inherits (its
  // parent's, then the application's) and follows it; a QFont that sets
  // neither a family nor a size (QFont(), or what textFont() gives for it)
  // sets that font, with the styles it sets. Any other font is shown as it
  // is.
  QFont textFont() const;
  void setTextFont(const QFont& font);
  // The tooltip the user sees over the field; the same text as the
  // widget's toolTip, whichever of the two was set.
  QString toolTipText() const;
  void setToolTipText(const QString& text);
  int whatsThisHelpId() const;
  void setWhatsThisHelpId(int id);
  QString selText() const;
  void setSelText(const QString& text);
  int selStart() const;
  void setSelStart(int position);
  int selLength() const;
  void setSelLength(int length);

  // As on QDateEdit: no typing, no spin and no calendar pick (the arrows and
  // the button show disabled); selecting and copying still work, and a
  // screen reader hears the field as read-only. The program still writes.
  bool isReadOnly() const;
  void setReadOnly(bool on);
  // On (the default), dateChanged follows every typed key. Off, a typed
  // change is signalled at the commit (Enter, focus leaving the field);
  // spinning, the calendar and the program's writes still signal at once.
  bool keyboardTracking() const;
  void setKeyboardTracking(bool on);

  // --- The typed value -------------------------------------------------------
  // The date the text stands for: null for an empty text, and null while
  // the text is no date the field can hold (half typed, invalid, or outside
  // the range), never a date typed on the way. A date set by setDate stays
  // the value while the text is still its rendering, so that 1920-01-05
  // shown as 01/05/20 is not read back as 2020.
  QDate date() const;
  // Shows date in the pattern in force (a null date: an empty text) as a
  // write of text would, asking the host first. A date outside the range
  // shows the nearest end of the range, as QDateEdit does.
  void setDate(const QDate& date);
  // The dates that a commit stores, a spin step reaches and the calendar
  // offers (by default 0100-01-01 to 9999-12-31). Typing is not checked;
  // a commit outside gives dateError with "Could not update recordset.".
  QDate minimumDate() const;
  void setMinimumDate(const QDate& date);  // moves the maximum up if needed
  QDate maximumDate() const;
  void setMaximumDate(const QDate& date);  // moves the minimum down if needed
  void setDateRange(const QDate& minimum, const QDate& maximum);

  // --- The host side ----------------------------------------------------------
  // True while the application runs (the default), False in a form designer.
  bool userMode() const;
  void setUserMode(bool user_mode);
  // May the bound property under key ("Text") change now? Unset: yes.
  void setCanChangeHandler(std::function<bool(const QString& key)> handler);
  // The property persisted under key changed. For "Text" the host stores the
  // value into its bound field; to report that it could not, it throws (the
  // control then raises dateError with "Could not update recordset.").
  void setNotifyChangedHandler(std::function<void(const QString& key)> handler);
  // The control asks for a new size (in twips) in the changing direction;
  // the handler may change the values to the size the container grants.
  void setResizeRequestHandler(
      std::function<void(Qt::Orientations changing, float& width, float& height)> handler);

  // --- Advanced hosts (types in morlex/qt/advanced_host.h) ---------------------
  // The font proposed to the control when none is stored; unset: the
  // designs' "MS Sans Serif" 8, shown as the inherited font.
  void setAmbientFont(std::shared_ptr<platform::Font> font);
  // The clock that tells "today" (not owned); nullptr: the system clock.
  void setClock(const platform::Clock* clock);

  // The host resizes the control to a size in twips; the layout follows
  // before this returns. Throws what the layout throws.
  void resizeTwips(float width, float height);
  // The host's life-cycle calls (Startup::kHostInitialises); they throw what
  // the control throws.
  void initProperties();
  void readProperties(platform::PropertyBag& bag);
  void writeProperties(platform::PropertyBag& bag);

  MorlexDate& control();
  const MorlexDate& control() const;
  platform::HostSite& site();
  Toolkit& toolkit();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 public Q_SLOTS:
  void aboutBox();

 Q_SIGNALS:
  // date() changed (the notify signal of date, as on QDateEdit).
  void dateChanged(const QDate& date);
  // After every change of the text: the control's DateChanged event.
  void textChanged(const QString& text);
  // A non-empty text that is not a date was committed.
  void dateInvalid();
  // A trapped procedure failed: source "MorlexDate.<procedure>", the
  // failure's description, and the procedure's own message.
  void dateError(const QString& source, const QString& description, const QString& custom);
  void clicked();
  void doubleClicked();
  // Deprecated: dateChanged's old name, kept for source compatibility and
  // emitted right after it.
  void valueChanged(const QDate& date);
  // A commit (focus leaving the field, or Enter) handed the value on.
  void editingFinished();

 protected:
  bool event(QEvent* event) override;
  // The text box's keys: what a read-only field refuses, and which keys type.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  friend class MorlexDateDelegate;
  // Shows a value without asking or telling the host: what an item
  // delegate does when it loads the model's value into the field.
  void ShowDate(const QDate& date);
  void ShowText(const QString& text);
  // Renders and commits the date as Enter does; true when a value was
  // handed on.
  bool Commit();
  // Whether a commit of the text now would hand a value on: an empty text,
  // or a date within the range.
  bool Storable() const;

  void Init(Startup startup);
  // Puts the order and separator of locale() in force (localeOrder on).
  void ApplyLocaleOrder();
  class Private;
  std::unique_ptr<Private> const d;
};

}  // namespace morlex::qt
