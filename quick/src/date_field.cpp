#include "morlex/quick/date_field.h"

#include <QCursor>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QQmlContext>
#include <QQmlEngine>
#include <optional>

#include "morlex/control/morlex_date.h"
#include "morlex/core/date_format.h"
#include "morlex/core/date_text.h"
#include "morlex/core/date_value.h"
#include "morlex/core/spinning.h"
#include "morlex/platform/clock.h"
#include "morlex/quick/toolkit.h"
#include "quick_p.h"
#include "scene_site.h"

namespace morlex::quick {
namespace {

QString ToQ(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

Date FromQDate(const QDate& date) {
  return date.isValid() ? Date{date.year(), date.month(), date.day()} : Date{};
}

QDate ToQDate(const Date& date) {
  return QDate(date.year, date.month, date.day);
}

QRectF AreaOf(const platform::Widget& w) {
  if (!w.Visible()) return {};
  return QRectF(detail::ToPixels(w.Left()), detail::ToPixels(w.Top()), detail::ToPixels(w.Width()),
                detail::ToPixels(w.Height()));
}

}  // namespace

class DateFieldTemplate::Private {
 public:
  explicit Private(DateFieldTemplate& field) : q(field), scene_site(field) {}

  headless::Surface& Surface() const { return *surface; }
  headless::TextBox& Box() const { return Surface().Text("txtDate"); }

  void Wire() {
    surface = &dynamic_cast<headless::Surface&>(q.control_->ControlSurface());
    toolkit->SetField(&q);
    q.control_->Advise(std::make_shared<detail::Sink>(q));
    q.control_->SetCommitHook([this] {
      if (!gone) Q_EMIT q.committed();
    });
  }

  int CurrentYear() const { return q.control_->Host().GetClock().Today().year; }

  // Emits what changed since the last look: the text (and with it the date),
  // the caret and the places of the parts.
  void Sync() {
    if (gone || !q.control_) return;
    const QString text = ToQ(q.control_->Text());
    const QDate old_date = Date();
    const bool text_changed = text != last_text;
    if (text_changed) last_text = text;
    // Followed at every look, text changed or not: a date outside the range
    // stands for none and one a new range takes in for itself, and a date the
    // program shows as the text already there becomes the value.
    value.SetRange(q.control_->MinimumDate(), q.control_->MaximumDate());
    value.Follow(ToU16(text), CurrentYear());
    headless::TextBox& box = Box();
    const int start = box.SelStart();
    const int length = box.SelLength();
    const QRectF areas[3] = {AreaOf(box), AreaOf(Surface().Spin("spinCTL")),
                             AreaOf(Surface().Button("cmdCalendar"))};
    if (text_changed) Q_EMIT q.textChanged();
    if (Date() != old_date || date_unknown) {
      date_unknown = false;
      Q_EMIT q.dateChanged();
    }
    if (start != sel_start || length != sel_length) {
      sel_start = start;
      sel_length = length;
      Q_EMIT q.selectionChanged();
    }
    if (areas[0] != last_areas[0] || areas[1] != last_areas[1] || areas[2] != last_areas[2]) {
      for (int i = 0; i < 3; ++i) last_areas[i] = areas[i];
      q.PlaceParts();
      Q_EMIT q.layoutChanged();
    }
  }

  // The date of the text as it stands; invalid while it is no date.
  QDate Date() const {
    if (!q.control_) return {};
    const std::u16string text = q.control_->Text();
    if (!ReadDateText(text, CurrentYear())) return {};
    const auto& v = value.value();
    return v && v->ok() ? ToQDate(*v) : QDate();
  }

  // Runs a call into the control at the Qt boundary, then shows its effect.
  // The field may go during the call (from the calendar popup's loop): the
  // destructor then leaves the control and this to be deleted once the call
  // has unwound.
  template <typename Fn>
  void Act(Fn&& fn) {
    ++busy;
    Guarded(std::forward<Fn>(fn));
    --busy;
    Guarded([this] { Sync(); });
  }

  DateFieldTemplate& q;
  detail::SceneSite scene_site;
  std::unique_ptr<Toolkit> own_toolkit;
  Toolkit* toolkit = nullptr;
  headless::Surface* surface = nullptr;
  DateValue value;
  QString last_text;
  // What QML was told before the control existed: no date, the caret at 0;
  // a host's control may hold a date already.
  bool date_unknown = false;
  int sel_start = 0;
  int sel_length = 0;
  QRectF last_areas[3];
  int anchor = 0;
  int busy = 0;       // calls into the control under way
  bool gone = false;  // the field has been destroyed meanwhile
  // The calendar popup, made on its first opening, and the parts it shows.
  QPointer<QObject> kept_popup;
  FormParts* parts = nullptr;
  QQmlComponent* own_popup = nullptr;  // the module's look, when `popup` is null

  // Settings made before the control exists (QML sets them before the item
  // is complete), applied in this order once it does.
  std::optional<int> format;
  std::optional<bool> calendar, spin;
  std::optional<QDate> minimum, maximum;
  std::optional<QString> text;
  std::optional<QDate> date;
};

DateFieldTemplate::DateFieldTemplate(QQuickItem* parent)
    : QQuickItem(parent), d(std::make_unique<Private>(*this)) {
  setFlag(ItemIsFocusScope, false);
  setFlag(ItemAcceptsInputMethod, false);
  setActiveFocusOnTab(true);
  setAcceptedMouseButtons(Qt::LeftButton);
  setFiltersChildMouseEvents(true);
#if QT_CONFIG(cursor)
  setCursor(QCursor(Qt::IBeamCursor));
#endif
}

DateFieldTemplate::~DateFieldTemplate() {
  if (d->toolkit != nullptr && d->toolkit->Field() == this) d->toolkit->SetField(nullptr);
  // An open popup closes with the field (ending the loop it runs in).
  delete d->kept_popup;
  if (d->busy == 0) return;
  // Destroyed from inside a call into the control (the popup's loop, a
  // handler): the frames of that call still use the control and what it
  // holds, so those go once it has unwound, as a deferred deletion does.
  struct Leftovers : QObject {
    std::unique_ptr<Private> d;
    std::unique_ptr<MorlexDate> control;
    ~Leftovers() override { control.reset(); }
  };
  d->gone = true;
  auto* leftovers = new Leftovers;
  leftovers->d = std::move(d);
  leftovers->control = std::move(control_);
  leftovers->deleteLater();
}

void DateFieldTemplate::HostWith(platform::HostSite& host, Toolkit& toolkit) {
  if (control_) throw Error(errnum::kInvalidCall, "The field already holds a control");
  d->toolkit = &toolkit;
  control_ = std::make_unique<MorlexDate>(host, toolkit);
  d->date_unknown = true;
  d->Wire();
}

void DateFieldTemplate::componentComplete() {
  QQuickItem::componentComplete();
  if (control_) {
    Refresh();
    return;
  }
  // Only what differs from what QML read before is told again: a form of
  // many fields sets most of them up as they were.
  const QString pattern_before = pattern();
  const QDate minimum_before = minimumDate();
  const QDate maximum_before = maximumDate();
  Guarded([&] {
    d->own_toolkit = std::make_unique<Toolkit>();
    d->toolkit = d->own_toolkit.get();
    control_ = std::make_unique<MorlexDate>(d->scene_site, *d->toolkit);
    d->Wire();
    control_->InitProperties();
    // A field placed by QML starts empty, as a text field does.
    control_->SetText(u"");
  });
  if (!control_) return;
  if (d->format) setDateFormat(static_cast<DateFormat>(*d->format));
  if (d->calendar) setCalendar(*d->calendar);
  if (d->spin) setSpin(*d->spin);
  if (d->minimum) setMinimumDate(*d->minimum);
  if (d->maximum) setMaximumDate(*d->maximum);
  if (d->text) setText(*d->text);
  if (d->date) setDate(*d->date);
  d->Act([&] { control_->Show(); });
  if (pattern() != pattern_before) Q_EMIT dateFormatChanged();
  if (minimumDate() != minimum_before || maximumDate() != maximum_before) Q_EMIT rangeChanged();
}

void DateFieldTemplate::Refresh() {
  Guarded([&] { d->Sync(); });
}

// --- Properties ---------------------------------------------------------------

QString DateFieldTemplate::text() const {
  if (!control_) return d->text.value_or(QString());
  return ToQ(control_->Text());
}

void DateFieldTemplate::setText(const QString& text) {
  if (!control_) {
    d->text = text;
    return;
  }
  d->Act([&] { control_->SetText(ToU16(text)); });
}

QDate DateFieldTemplate::date() const {
  if (!control_) return d->date.value_or(QDate());
  return d->Date();
}

void DateFieldTemplate::setDate(const QDate& date) {
  if (!control_) {
    d->date = date;
    return;
  }
  d->Act([&] {
    if (!date.isValid()) {
      control_->SetText(u"");
      return;
    }
    const Date day = FromQDate(date);
    if (!day.ok() || !control_->InDateRange(day)) {
      throw Error(errnum::kInvalidValue, "The date " + date.toString(Qt::ISODate).toStdString() +
                                             " lies outside the field's range");
    }
    const std::u16string shown = RenderSpunDate(day, control_->DatePattern());
    d->value.Show(day, shown);
    control_->SetText(shown);
  });
}

DateFieldTemplate::DateFormat DateFieldTemplate::dateFormat() const {
  if (!control_) return static_cast<DateFormat>(d->format.value_or(LeadingZerosCentury));
  return static_cast<DateFormat>(FormatOfPattern(control_->DatePattern()));
}

void DateFieldTemplate::setDateFormat(DateFormat format) {
  if (!control_) {
    d->format = format;
    return;
  }
  const DateFormat before = dateFormat();
  d->Act([&] { control_->SetDateFormat(format); });
  if (dateFormat() != before) Q_EMIT dateFormatChanged();
}

QString DateFieldTemplate::pattern() const {
  if (!control_) return ToQ(PatternOfFormat(dateFormat()));
  return ToQ(control_->DatePattern());
}

bool DateFieldTemplate::calendar() const {
  return control_ ? control_->Calendar() : d->calendar.value_or(true);
}

void DateFieldTemplate::setCalendar(bool calendar) {
  if (!control_) {
    d->calendar = calendar;
    return;
  }
  if (calendar == control_->Calendar()) return;
  d->Act([&] { control_->SetCalendar(calendar); });
  Q_EMIT calendarChanged();
}

bool DateFieldTemplate::spin() const {
  return control_ ? control_->Spin() : d->spin.value_or(true);
}

void DateFieldTemplate::setSpin(bool spin) {
  if (!control_) {
    d->spin = spin;
    return;
  }
  if (spin == control_->Spin()) return;
  d->Act([&] { control_->SetSpin(spin); });
  Q_EMIT spinChanged();
}

QDate DateFieldTemplate::minimumDate() const {
  if (!control_) return d->minimum.value_or(QDate(kMinYear, 1, 1));
  return ToQDate(control_->MinimumDate());
}

QDate DateFieldTemplate::maximumDate() const {
  if (!control_) return d->maximum.value_or(QDate(kMaxYear, 12, 31));
  return ToQDate(control_->MaximumDate());
}

void DateFieldTemplate::setMinimumDate(const QDate& date) {
  if (!control_) {
    d->minimum = date;
    return;
  }
  d->Act([&] {
    // No date (a binding to an empty field, say) lifts the bound.
    const Date lo = date.isValid() ? FromQDate(date) : Date{kMinYear, 1, 1};
    Date hi = control_->MaximumDate();
    if (lo.ok() && ToSerial(hi) < ToSerial(lo)) hi = lo;
    control_->SetDateRange(lo, hi);
  });
  Q_EMIT rangeChanged();
}

void DateFieldTemplate::setMaximumDate(const QDate& date) {
  if (!control_) {
    d->maximum = date;
    return;
  }
  d->Act([&] {
    const Date hi = date.isValid() ? FromQDate(date) : Date{kMaxYear, 12, 31};
    Date lo = control_->MinimumDate();
    if (hi.ok() && ToSerial(hi) < ToSerial(lo)) lo = hi;
    control_->SetDateRange(lo, hi);
  });
  Q_EMIT rangeChanged();
}

void DateFieldTemplate::setReadOnly(bool read_only) {
  if (read_only == read_only_) return;
  read_only_ = read_only;
  Q_EMIT readOnlyChanged();
}

bool DateFieldTemplate::acceptableInput() const {
  if (!control_) return true;
  const std::u16string text = control_->Text();
  if (text.empty()) return true;
  const auto day = ReadDateText(text, d->CurrentYear());
  return day && control_->InDateRange(*day);
}

int DateFieldTemplate::cursorPosition() const {
  return control_ ? d->Box().SelStart() + d->Box().SelLength() : 0;
}
int DateFieldTemplate::selectionStart() const {
  return control_ ? d->Box().SelStart() : 0;
}
int DateFieldTemplate::selectionEnd() const {
  return control_ ? d->Box().SelStart() + d->Box().SelLength() : 0;
}
QRectF DateFieldTemplate::textArea() const {
  return control_ ? d->last_areas[0] : QRectF();
}
QRectF DateFieldTemplate::spinArea() const {
  return control_ ? d->last_areas[1] : QRectF();
}
QRectF DateFieldTemplate::buttonArea() const {
  return control_ ? d->last_areas[2] : QRectF();
}

void DateFieldTemplate::setSpinIndicator(QQuickItem* item) {
  TakePart(spin_indicator_, item, &DateFieldTemplate::spinIndicatorChanged);
}

void DateFieldTemplate::setCalendarButton(QQuickItem* item) {
  TakePart(calendar_button_, item, &DateFieldTemplate::calendarButtonChanged);
}

void DateFieldTemplate::TakePart(QPointer<QQuickItem>& part, QQuickItem* item,
                                 void (DateFieldTemplate::*changed)()) {
  if (item == part) return;
  part = item;
  if (item != nullptr && item->parentItem() == nullptr) item->setParentItem(this);
  PlaceParts();
  Q_EMIT(this->*changed)();
}

void DateFieldTemplate::PlaceParts() {
  const std::pair<QQuickItem*, QRectF> parts[] = {{spin_indicator_, spinArea()},
                                                  {calendar_button_, buttonArea()}};
  for (const auto& [item, area] : parts) {
    if (item == nullptr) continue;
    item->setPosition(area.topLeft());
    item->setSize(area.size());
    item->setVisible(area.width() > 0);
  }
}

void DateFieldTemplate::setPopup(QQmlComponent* popup) {
  if (popup == popup_) return;
  popup_ = popup;
  // The popup of the former component goes (closing, if open): the next
  // opening makes one of the new.
  if (d->kept_popup != nullptr) d->kept_popup->deleteLater();
  d->kept_popup = nullptr;
  d->parts = nullptr;
  Q_EMIT popupChanged();
}

std::pair<QObject*, FormParts*> DateFieldTemplate::KeptPopup() {
  if (d->kept_popup == nullptr) {
    QQmlContext* context = QQmlEngine::contextForObject(this);
    QQmlComponent* component = popup_;
    if (component == nullptr) {
      // The module's own look, made only now: most fields never open theirs.
      QQmlEngine* engine = qmlEngine(this);
      if (engine == nullptr) return {nullptr, nullptr};
      if (d->own_popup == nullptr) {
        d->own_popup = new QQmlComponent(
            engine, QUrl(QStringLiteral("qrc:/qt/qml/Morlex/Controls/qml/CalendarPopup.qml")),
            this);
      }
      component = d->own_popup;
    }
    if (context == nullptr) context = component->creationContext();
    QObject* made = component->beginCreate(context);
    if (made == nullptr) {
      throw Error(errnum::kInvalidCall, std::string("The calendar popup cannot be made: ")
                                            .append(component->errorString().toStdString()));
    }
    made->setParent(this);
    auto* parts = new FormParts(made);
    made->setProperty("parent", QVariant::fromValue(static_cast<QQuickItem*>(this)));
    made->setProperty("parts", QVariant::fromValue<QObject*>(parts));
    component->completeCreate();
    d->kept_popup = made;
    d->parts = parts;
  }
  return {d->kept_popup.data(), d->parts};
}

void DateFieldTemplate::SetPopupObject(QObject* popup) {
  if (popup == popup_object_) return;
  popup_object_ = popup;
  Q_EMIT popupOpenChanged();
}

// --- The user's hands -----------------------------------------------------------

void DateFieldTemplate::pressAt(qreal x, qreal y, int position) {
  if (!control_ || !isEnabled()) return;
  const QPointF at(x, y);
  d->Act([&] {
    headless::Surface& surface = d->Surface();
    headless::UpDown& spin = surface.Spin("spinCTL");
    headless::CommandButton& button = surface.Button("cmdCalendar");
    const QRectF spin_area = AreaOf(spin);
    if (spin_area.contains(at)) {
      if (!read_only_) spin.Press(y < spin_area.center().y());
      return;
    }
    if (AreaOf(button).contains(at)) {
      if (!read_only_) button.Press();
      return;
    }
    if (!hasActiveFocus()) forceActiveFocus(Qt::MouseFocusReason);
    headless::TextBox& box = d->Box();
    const int size = static_cast<int>(box.Text().size());
    if (position < 0 || position > size) position = size;
    d->anchor = position;
    box.ClickAt(position);
  });
}

bool DateFieldTemplate::Pointer(QEvent::Type type, QPointF at) {
  if (type == QEvent::MouseButtonDblClick) {
    doubleClickAt(at.x(), at.y());
    return true;
  }
  if (type != QEvent::MouseButtonPress) return false;
  // The look says which character lies under the pointer; without an
  // answer the caret goes to the end.
  int position = -1;
  QVariant answer;
  if (QMetaObject::invokeMethod(this, "textPositionAt", Q_RETURN_ARG(QVariant, answer),
                                Q_ARG(QVariant, at.x()), Q_ARG(QVariant, at.y()))) {
    bool ok = false;
    position = answer.toInt(&ok);
    if (!ok) position = -1;
  }
  pressAt(at.x(), at.y(), position);
  return true;
}

void DateFieldTemplate::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !Pointer(event->type(), event->position())) {
    QQuickItem::mousePressEvent(event);
  }
}

void DateFieldTemplate::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !Pointer(event->type(), event->position())) {
    QQuickItem::mouseDoubleClickEvent(event);
  }
}

bool DateFieldTemplate::childMouseEventFilter(QQuickItem* item, QEvent* event) {
  if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick) {
    return false;
  }
  const auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::LeftButton) return false;
  return Pointer(event->type(), mapFromItem(item, mouse->position()));
}

void DateFieldTemplate::doubleClickAt(qreal x, qreal y) {
  if (!control_ || !isEnabled()) return;
  if (!AreaOf(d->Box()).contains(QPointF(x, y))) return;
  d->Act([&] { d->Box().DoubleClick(); });
}

void DateFieldTemplate::commit() {
  if (!control_) return;
  d->Act([&] { control_->Commit(); });
}

void DateFieldTemplate::selectAll() {
  if (!control_) return;
  d->Act([&] {
    headless::TextBox& box = d->Box();
    d->anchor = 0;
    box.SetSelStart(0);
    box.SetSelLength(static_cast<int>(box.Text().size()));
  });
}

QSizeF DateFieldTemplate::measure(const QFont& font, const QString& pattern) {
  // Fields of a form share their font and pattern: the last answer serves
  // the next field, and the text is laid out once.
  struct Last {
    QFont font;
    QString pattern;
    QSizeF size;
  };
  static thread_local std::optional<Last> last;
  if (!last || last->pattern != pattern || last->font != font) {
    QString widest = pattern;
    for (QChar& c : widest) {
      if (c == u'm' || c == u'd' || c == u'y') c = u'0';
    }
    const QFontMetricsF metrics(font);
    last = Last{font, pattern, QSizeF(metrics.horizontalAdvance(widest), metrics.height())};
  }
  return last->size;
}

void DateFieldTemplate::keyPressEvent(QKeyEvent* event) {
  if (!control_ || !isEnabled()) {
    event->ignore();
    return;
  }
  bool taken = false;
  bool leave = false;
  const bool back =
      event->key() == Qt::Key_Backtab || event->modifiers().testFlag(Qt::ShiftModifier);
  const QPointer<DateFieldTemplate> self(this);
  d->Act([&] {
    headless::Surface& surface = d->Surface();
    if (surface.Focused() == nullptr) surface.MoveFocus(surface.FirstInTabOrder());
    platform::Widget* focused = surface.Focused();
    const platform::NavKey nav = detail::NavOf(event->key());
    const auto tab = [&](bool backwards) {
      surface.TabFrom(backwards);
      leave = surface.Focused() == nullptr;
    };
    if (auto* box = dynamic_cast<headless::TextBox*>(focused)) {
      taken = detail::TextBoxKey(*box, event->key(), event->modifiers(), event->text(), d->anchor,
                                 tab, read_only_);
    } else if (auto* spin = dynamic_cast<headless::UpDown*>(focused)) {
      if (nav == platform::NavKey::kUp || nav == platform::NavKey::kDown) {
        if (!read_only_) spin->Press(nav == platform::NavKey::kUp);
        taken = true;
      }
    } else if (auto* button = dynamic_cast<headless::CommandButton*>(focused)) {
      if (nav == platform::NavKey::kSpace) {
        if (!read_only_) button->Press();
        taken = true;
      }
    }
    if (!taken && nav == platform::NavKey::kTab) {
      tab(back);
      taken = true;
    }
  });
  if (self == nullptr) {
    // The field went while the key ran (from its popup): nothing is left to
    // pass the key on to.
    event->accept();
    return;
  }
  event->setAccepted(taken);
  if (leave && hasActiveFocus()) {
    QQuickItem* next = nextItemInFocusChain(!back);
    if (next != nullptr && next != this) next->forceActiveFocus(Qt::TabFocusReason);
  }
}

void DateFieldTemplate::focusInEvent(QFocusEvent* event) {
  QQuickItem::focusInEvent(event);
  if (!control_) return;
  d->Act([&] {
    headless::Surface& surface = d->Surface();
    if (surface.Focused() == nullptr) surface.MoveFocus(surface.FirstInTabOrder());
  });
}

void DateFieldTemplate::focusOutEvent(QFocusEvent* event) {
  QQuickItem::focusOutEvent(event);
  // The calendar popup and another window taking the keys are no leaving:
  // the field commits when the user moves on within the window.
  if (!control_ || popupOpen() || event->reason() == Qt::PopupFocusReason ||
      event->reason() == Qt::ActiveWindowFocusReason) {
    return;
  }
  d->Act([&] { d->Surface().MoveFocus(nullptr); });
}

void DateFieldTemplate::geometryChange(const QRectF& new_geometry, const QRectF& old_geometry) {
  QQuickItem::geometryChange(new_geometry, old_geometry);
  if (!control_ || new_geometry.size() == old_geometry.size()) return;
  if (&control_->Host() != &d->scene_site) return;  // a host of its own sends its notices
  d->Act([&] { control_->Resize(); });
}

}  // namespace morlex::quick
