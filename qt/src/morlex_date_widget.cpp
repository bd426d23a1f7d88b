#include "morlex/qt/morlex_date_widget.h"

#include <QAccessible>
#include <QMetaMethod>
#include <QResizeEvent>
#include <QShowEvent>
#include <QWheelEvent>

#include "accessibility_p.h"
#include "date_order_p.h"
#include "morlex/qt/failure.h"
#include "morlex_date_widget_p.h"

namespace morlex::qt {

MorlexDateWidget::MorlexDateWidget(QWidget* parent)
    : QWidget(parent), d(std::make_unique<Private>(*this, nullptr)) {
  Init(Startup::kNew);
}

MorlexDateWidget::MorlexDateWidget(Toolkit& toolkit, Startup startup, QWidget* parent)
    : QWidget(parent), d(std::make_unique<Private>(*this, &toolkit)) {
  Init(startup);
}

void MorlexDateWidget::Init(Startup startup) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  // The text box inside takes the focus (the proxy below); a policy of the
  // field's own lets a label's mnemonic reach it, and leaving out the click
  // keeps a press on the drawn arrows from taking the focus.
  setFocusPolicy(Qt::TabFocus);
  d->Apply(designs::kControlDesignWidth, designs::kControlDesignHeight);
  {
    const detail::SurfaceParentScope inside(*d->toolkit, this, true);  // see event()
    d->control = std::make_unique<MorlexDate>(*d, *d->toolkit);
    d->forwards_to = inside.Made();
  }
  // The surface's widgets sit on this widget itself; a toolkit that made a
  // body of its own has it fill the widget.
  if (QWidget* body = WidgetOf(d->control->ControlSurface()); body != this) {
    d->body = body;
    if (body->parentWidget() != this) body->setParent(this);
    d->FitBody();
    body->show();
  }
  QWidget* box = WidgetOf(d->control->ControlSurface().GetTextBox("txtDate"));
  setFocusProxy(box);
  if (box != nullptr) {
    d->relay = std::make_unique<detail::FocusRelay>(*this, *box);
    box->installEventFilter(this);
  }
  d->sink = detail::MakeSignalSink(
      *this,
      [this](bool commit) {
        if (commit) {
          d->SignalDate(true);
        } else {
          d->FollowText();
        }
      },
      [this] {
        static const QMetaMethod text_changed =
            QMetaMethod::fromSignal(&MorlexDateWidget::textChanged);
        return isSignalConnected(text_changed);
      },
      [this] { return d->value.ShowingProgramText(); });
  d->control->Advise(d->sink);
  d->control->SetCommitHook([this] {
    d->committed = true;
    d->SignalDate(true);  // the value handed on, before the edit is finished
    Q_EMIT editingFinished();
  });
  if (startup == Startup::kNew) {
    Guarded([this] {
      d->control->InitProperties();
      d->FollowToolTip();
      d->Notice();
    });
  }
}

MorlexDateWidget::~MorlexDateWidget() {
  // The control goes before the QWidget children it drew on; the events
  // their going sends no longer reach its surface.
  d->forwards_to = nullptr;
  d->relay.reset();
  if (d->control) d->control.reset();
}

// --- Properties ----------------------------------------------------------------------

QString MorlexDateWidget::text() const {
  return ToQString(d->control->Text());
}
void MorlexDateWidget::setText(const QString& text) {
  Guarded([&] { d->control->SetText(FromQString(text)); });
}
MorlexDateWidget::DateFormat MorlexDateWidget::dateFormat() const {
  return static_cast<DateFormat>(d->control->DateFormat());
}
void MorlexDateWidget::setDateFormat(int format) {
  Guarded([&] {
    // The re-rendered text stands for the same value, even where a
    // two-digit year alone would read as another century.
    const std::optional<Date> before = d->value.value();
    if (before) {
      d->value.Show(before, FormatDate(*before, PatternInLayout(PatternOfFormat(format),
                                                                d->control->Layout())));
    }
    d->control->SetDateFormat(format);
    d->FollowText();
  });
}
MorlexDateWidget::DateOrder MorlexDateWidget::dateOrder() const {
  return static_cast<DateOrder>(d->control->DateOrder());
}
void MorlexDateWidget::setDateOrder(int order) {
  Guarded([&] {
    d->control->SetDateOrder(order);
    d->FollowText();
  });
  // A screen reader that listens hears the order in force.
  if (QWidget* editor = focusProxy(); editor != nullptr && QAccessible::isActive()) {
    detail::NameFieldEditor(*this, *editor);
  }
}
QString MorlexDateWidget::dateSeparator() const {
  return ToQString(d->control->DateSeparator());
}
void MorlexDateWidget::setDateSeparator(const QString& separator) {
  Guarded([&] {
    d->control->SetDateSeparator(FromQString(separator));
    d->FollowText();
  });
}
bool MorlexDateWidget::localeOrder() const {
  return d->locale_order;
}
void MorlexDateWidget::setLocaleOrder(bool on) {
  d->locale_order = on;
  if (on) {
    ApplyLocaleOrder();
  } else {
    d->control->SetCalendarNames(nullptr);
  }
}
void MorlexDateWidget::ApplyLocaleOrder() {
  const DateLayout layout = detail::LayoutOfLocale(locale());
  setDateOrder(layout.order);
  setDateSeparator(ToQString(std::u16string(1, layout.separator)));
  // The calendar speaks the same locale: its names, week and title.
  d->control->SetCalendarNames(std::make_shared<detail::LocaleDateNames>(locale()));
}
bool MorlexDateWidget::calendar() const {
  return d->control->Calendar();
}
void MorlexDateWidget::setCalendar(bool calendar) {
  Guarded([&] { d->control->SetCalendar(calendar); });
}
bool MorlexDateWidget::spin() const {
  return d->control->Spin();
}
void MorlexDateWidget::setSpin(bool spin) {
  Guarded([&] { d->control->SetSpin(spin); });
}
bool MorlexDateWidget::dateIsValid() const {
  return d->control->DateIsValid();
}
QString MorlexDateWidget::dataField() const {
  return ToQString(d->control->DataField());
}
void MorlexDateWidget::setDataField(const QString& field) {
  Guarded([&] { d->control->SetDataField(FromQString(field)); });
}
QColor MorlexDateWidget::backColor() const {
  return ColorFromValue(backColorValue(), d->ShownPalette());
}
void MorlexDateWidget::setBackColor(const QColor& color) {
  setBackColorValue(color.isValid() ? ColorValue(color) : platform::kColorWindow);
}
QColor MorlexDateWidget::foreColor() const {
  return ColorFromValue(foreColorValue(), d->ShownPalette());
}
void MorlexDateWidget::setForeColor(const QColor& color) {
  setForeColorValue(color.isValid() ? ColorValue(color) : platform::kColorWindowText);
}
uint MorlexDateWidget::backColorValue() const {
  return d->control->BackColor();
}
void MorlexDateWidget::setBackColorValue(uint color) {
  Guarded([&] { d->control->SetBackColor(color); });
}
uint MorlexDateWidget::foreColorValue() const {
  return d->control->ForeColor();
}
void MorlexDateWidget::setForeColorValue(uint color) {
  Guarded([&] { d->control->SetForeColor(color); });
}
QFont MorlexDateWidget::textFont() const {
  // The font shown: what the font object leaves unset is inherited.
  const platform::FontRef chosen = d->control->Font();
  return chosen ? QFontFromFont(*chosen).resolve(font()) : font();
}
void MorlexDateWidget::setTextFont(const QFont& font) {
  platform::Font chosen = FontFromQFont(font);
  // A font that names no face and no size is the one the widget inherits.
  constexpr uint kFaceOrSize =
      QFont::FamilyResolved | QFont::FamiliesResolved | QFont::SizeResolved;
  if ((font.resolveMask() & kFaceOrSize) == 0) {
    chosen.name = platform::Font{}.name;
    chosen.size = platform::Font{}.size;
  }
  Guarded([&] { d->control->SetFont(std::make_shared<platform::Font>(chosen)); });
}
QString MorlexDateWidget::toolTipText() const {
  return ToQString(d->control->ToolTipText());
}
void MorlexDateWidget::setToolTipText(const QString& text) {
  Guarded([&] { d->control->SetToolTipText(FromQString(text)); });
}
int MorlexDateWidget::whatsThisHelpId() const {
  return d->control->WhatsThisHelpID();
}
void MorlexDateWidget::setWhatsThisHelpId(int id) {
  Guarded([&] { d->control->SetWhatsThisHelpID(id); });
}
QString MorlexDateWidget::selText() const {
  return ToQString(d->control->SelText());
}
void MorlexDateWidget::setSelText(const QString& text) {
  Guarded([&] { d->control->SetSelText(FromQString(text)); });
}
int MorlexDateWidget::selStart() const {
  return d->control->SelStart();
}
void MorlexDateWidget::setSelStart(int position) {
  Guarded([&] { d->control->SetSelStart(position); });
}
int MorlexDateWidget::selLength() const {
  return d->control->SelLength();
}
void MorlexDateWidget::setSelLength(int length) {
  Guarded([&] { d->control->SetSelLength(length); });
}
void MorlexDateWidget::aboutBox() {
  Guarded([this] { d->control->AboutBox(); });
}

// --- Qt events ---------------------------------------------------------------------------

bool MorlexDateWidget::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::LocaleChange:
      if (d->locale_order) ApplyLocaleOrder();
      break;
    case QEvent::ToolTipChange:
      // The application set the widget's tooltip: the text box shows it.
      if (d->control && toolTip() != toolTipText()) setToolTipText(toolTip());
      break;
    case QEvent::FocusOut:
      // The focus left the field (FocusRelay): a typed change held back
      // for the commit is told now, whether or not the commit stored it.
      d->typing = false;
      d->SignalDate(true);
      break;
    case QEvent::MouseButtonPress:
      d->typing = false;
      break;
    case QEvent::Wheel:
      if (d->Wheel(*static_cast<QWheelEvent*>(event))) return true;
      break;
    case QEvent::FontChange:
    case QEvent::ApplicationFontChange:
    case QEvent::StyleChange:
      updateGeometry();  // the text box shows the inherited font
      break;
    case QEvent::Show:
    case QEvent::FocusIn:
      // A screen reader hears the editor that has the focus, or finds it
      // under the field: it takes the field's name (which the host may set
      // or change up to here). Naming a widget makes Qt build its
      // accessible interface, which a form of many fields need not pay for
      // while no screen reader listens; the field's own interface names its
      // editor whenever one asks.
      if (QWidget* editor = focusProxy();
          editor != nullptr && (event->type() == QEvent::FocusIn || QAccessible::isActive())) {
        detail::NameFieldEditor(*this, *editor);
      }
      break;
    default:
      break;
  }
  // The surface draws the calendar button and the arrows on this widget
  // and takes the mouse presses that fall on them.
  detail::Surface* surface = d->forwards_to;
  if (surface == nullptr) return QWidget::event(event);
  if (event->type() != QEvent::Paint) {
    return surface->HandleEvent(this, event) || QWidget::event(event);
  }
  const bool handled = QWidget::event(event);
  surface->HandleEvent(this, event);  // over whatever the widget painted
  return handled;
}

void MorlexDateWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  d->FitBody();
  // The widget's own size changes deliver their notice themselves; a resize
  // by a layout or by the user is the host's, and lays the control out.
  if (d->applying || event->size() == d->notified_px || !d->control) return;
  d->notified_px = event->size();
  Guarded([this] { d->control->Resize(); });
}

void MorlexDateWidget::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous() || !d->control) return;
  Guarded([this] { d->control->Show(); });
}

}  // namespace morlex::qt
