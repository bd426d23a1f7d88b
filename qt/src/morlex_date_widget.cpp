#include "morlex/qt/morlex_date_widget.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMetaMethod>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <cmath>

#include "accessibility_p.h"
#include "focus_relay_p.h"
#include "morlex/control/morlex_date.h"
#include "morlex/core/date_text.h"
#include "morlex/core/date_value.h"
#include "morlex/core/spinning.h"
#include "morlex/core/unicode.h"
#include "morlex/designs/form_designs.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/toolkit.h"
#include "morlex/qt/units.h"
#include "surface_p.h"

namespace morlex::qt {
namespace {

// Sets a flag for its lifetime and restores what it held.
class Flag {
 public:
  explicit Flag(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~Flag() { flag_ = was_; }
  Flag(const Flag&) = delete;
  Flag& operator=(const Flag&) = delete;

 private:
  bool& flag_;
  bool was_;
};

}  // namespace

class MorlexDateWidget::Private final : public platform::HostSite {
 public:
  Private(MorlexDateWidget& widget, Toolkit* shared) : q(widget) {
    if (shared == nullptr) own_toolkit = std::make_unique<Toolkit>();
    toolkit = shared != nullptr ? shared : own_toolkit.get();
  }

  // --- HostSite ---
  bool UserMode() const override { return user_mode; }
  platform::FontRef AmbientFont() const override {
    if (ambient_font) return ambient_font;
    // The system's dialog font, which the field shows as the font it
    // inherits: a new field's Font stays what the designs name, and a saved
    // field writes none.
    return std::make_shared<platform::Font>();
  }
  void NotifyChanged(std::string_view key) override {
    if (key == "Font" || key == "DateFormat" || key == "Calendar" || key == "Spin") {
      q.updateGeometry();  // the size a full date needs
    }
    if (showing) return;  // a delegate loading the model's value
    auto handler = notify_changed;
    if (handler) handler(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
  }
  bool CanChange(std::string_view key) override {
    if (showing) return true;
    auto handler = can_change;
    return !handler || handler(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
  }
  float Width() const override {
    const int px = q.width();
    return px == logical_px.width() ? width_twips : static_cast<float>(PixelsToTwips(px, Tpp()));
  }
  float Height() const override {
    const int px = q.height();
    return px == logical_px.height() ? height_twips : static_cast<float>(PixelsToTwips(px, Tpp()));
  }
  void SetWidth(float twips) override { Request(Qt::Horizontal, twips, Height()); }
  void SetHeight(float twips) override { Request(Qt::Vertical, Width(), twips); }
  bool Enabled() const override { return !q.testAttribute(Qt::WA_ForceDisabled); }
  void SetEnabled(bool enabled) override { q.setEnabled(enabled); }
  const platform::Widget* ActiveConstituent() const override {
    return control ? FocusedWidget(control->ControlSurface()) : nullptr;
  }
  const platform::Clock& GetClock() const override {
    static const platform::SystemClock system_clock;
    return clock != nullptr ? *clock : system_clock;
  }

  // --- Size ---
  double Tpp() const { return TwipsPerPixel(&q); }

  // Keeps the size in twips and gives the widget the pixels for it. The
  // resize notice is the caller's business.
  void Apply(float width, float height) {
    width_twips = width;
    height_twips = height;
    const double tpp = Tpp();
    logical_px = QSize(TwipsToPixelSize(width, tpp), TwipsToPixelSize(height, tpp));
    applying = true;
    q.resize(logical_px);
    applying = false;
    notified_px = q.size();
    FitBody();
    q.updateGeometry();
  }

  // The control asks for a size: the container may grant another; the
  // resize notice follows before the request returns.
  void Request(Qt::Orientations changing, float width, float height) {
    auto handler = resize_request;
    if (handler) handler(changing, width, height);
    Apply(width, height);
    Notice();
  }

  void Notice() {
    if (control) control->Resize();
  }

  void FitBody() {
    if (body != nullptr) body->setGeometry(q.rect());
  }

  // The pixels the field needs to show a full date of its pattern in the
  // text box's font: the widest digit in every place, the line edit's
  // margins and frame as its style gives them, the spin arrows lying over
  // the text's right end and the calendar button beside it.
  QSize Needed() const {
    platform::Surface& surface = control->ControlSurface();
    const auto* edit = qobject_cast<const QLineEdit*>(WidgetOf(surface.GetTextBox("txtDate")));
    if (edit == nullptr) return {};
    const QFontMetricsF metrics(edit->font());
    QChar widest(u'0');
    for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
      if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widest)) {
        widest = QChar(digit);
      }
    }
    QString date = ToQString(RenderSpunDate(Date{9999, 12, 31}, control->DatePattern()));
    for (QChar& c : date) {
      if (c.isDigit()) c = widest;
    }
    const int text = static_cast<int>(std::ceil(metrics.horizontalAdvance(date)));
    const int line = static_cast<int>(std::ceil(metrics.height()));
    // What QLineEdit adds around its text: two pixels each side, one above
    // and below, the caret, and the margins the text box keeps for its frame.
    const QMargins margins = edit->textMargins();
    const int caret = std::max(1, edit->style()->pixelMetric(QStyle::PM_TextCursorWidth));
    const QSize contents(text + 4 + caret + margins.left() + margins.right(),
                         std::max(line, 14) + 2 + margins.top() + margins.bottom());
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = QRect(QPoint(0, 0), contents);
    option.lineWidth = edit->hasFrame()
                           ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                           : 0;
    option.state |= QStyle::State_Sunken;
    const QSize box = edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, edit);
    // The parts are placed in twips, each rounded on its own: a pixel more
    // keeps rounding from taking the last one of the text.
    const double tpp = Tpp();
    int width = box.width() + 1;
    platform::TextBox& text_box = surface.GetTextBox("txtDate");
    platform::UpDown& spin = surface.GetUpDown("spinCTL");
    if (control->Spin() || spin.Visible()) {
      // What the arrows cover of the text box's right end, with their gap.
      const float covered = std::max(spin.Width(), text_box.Width() - spin.Left());
      width += TwipsToPixelSize(covered, tpp) + 1;
    }
    if (control->Calendar()) {
      width += TwipsToPixelSize(surface.GetCommandButton("cmdCalendar").Width(), tpp) + 1;
    }
    // The text box is a little lower than the field (the layout's inset),
    // and as high as a line edit's size hint in the same font.
    const int inset = TwipsToPixelSize(kTextHeightInset, tpp);
    return {width, box.height() + inset};
  }
  // How much lower than the field the layout makes its text box, in twips.
  static constexpr float kTextHeightInset = 30;

  // --- The typed value ---
  int Year() const { return GetClock().Today().year; }
  // The text may have changed: the value follows it.
  void FollowText() {
    if (!control || !value.Follow(control->Text(), Year())) return;
    Q_EMIT q.valueChanged(q.date());
  }
  // What setDate and ShowDate put into the field for date: its rendering in
  // the pattern in force, or nothing when it cannot be shown.
  std::optional<std::u16string> Rendering(const QDate& date) const {
    if (date.isNull()) return std::u16string();
    const Date day = FromQDate(date);
    if (!day.ok() || !control->InDateRange(day)) return std::nullopt;
    return RenderSpunDate(day, control->DatePattern());
  }
  static Date FromQDate(const QDate& date) {
    return date.isValid() ? Date{date.year(), date.month(), date.day()} : Date{};
  }

  MorlexDateWidget& q;
  std::unique_ptr<Toolkit> own_toolkit;
  Toolkit* toolkit = nullptr;
  bool user_mode = true;
  std::function<bool(const QString&)> can_change;
  std::function<void(const QString&)> notify_changed;
  std::function<void(Qt::Orientations, float&, float&)> resize_request;
  platform::FontRef ambient_font;
  const platform::Clock* clock = nullptr;

  // A new widget starts at its surface's design size, before initialisation
  // or loading sets the control's own.
  float width_twips = designs::kControlDesignWidth;
  float height_twips = designs::kControlDesignHeight;
  QSize logical_px;
  QSize notified_px;
  bool applying = false;

  std::unique_ptr<MorlexDate> control;
  QWidget* body = nullptr;
  // The control's surface when it sits on this widget and takes its
  // events from event().
  detail::Surface* forwards_to = nullptr;
  std::shared_ptr<MorlexDateEvents> sink;

  DateValue value;
  bool showing = false;
  bool committed = false;  // set by the commit hook
  std::unique_ptr<detail::FocusRelay> relay;
};

namespace {

// Turns the control's events into the widget's signals.
class SignalSink final : public MorlexDateEvents {
 public:
  SignalSink(MorlexDateWidget& widget, std::function<void()> follow,
             std::function<bool()> text_watched, std::function<bool()> unedited)
      : widget_(widget),
        follow_(std::move(follow)),
        text_watched_(std::move(text_watched)),
        unedited_(std::move(unedited)) {}
  void DateChanged() override {
    Q_EMIT widget_.dateChanged();
    // The text is read for a receiver only: this runs at every typed key.
    if (text_watched_()) Q_EMIT widget_.textChanged(widget_.text());
    follow_();
  }
  // A text that a delegate loaded from its model and the user left as it
  // was is no mistake of the user's: passing through the field says nothing.
  void DateInvalid() override {
    if (!unedited_()) Q_EMIT widget_.dateInvalid();
  }
  void Click() override { Q_EMIT widget_.clicked(); }
  void DblClick() override { Q_EMIT widget_.doubleClicked(); }
  void DateError(ErrObject& objErr, std::u16string& strCustom) override {
    Q_EMIT widget_.dateError(QString::fromStdString(objErr.source),
                             QString::fromStdString(objErr.description), ToQString(strCustom));
  }

 private:
  MorlexDateWidget& widget_;
  std::function<void()> follow_;
  std::function<bool()> text_watched_;
  std::function<bool()> unedited_;
};

}  // namespace

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
  if (box != nullptr) d->relay = std::make_unique<detail::FocusRelay>(*this, *box);
  d->sink = std::make_shared<SignalSink>(
      *this, [this] { d->FollowText(); },
      [this] {
        static const QMetaMethod text_changed =
            QMetaMethod::fromSignal(&MorlexDateWidget::textChanged);
        return isSignalConnected(text_changed);
      },
      [this] { return d->value.ShowingProgramText(); });
  d->control->Advise(d->sink);
  d->control->SetCommitHook([this] {
    d->committed = true;
    Q_EMIT editingFinished();
  });
  if (startup == Startup::kNew) {
    Guarded([this] {
      d->control->InitProperties();
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
    if (before) d->value.Show(before, FormatDate(*before, PatternOfFormat(format)));
    d->control->SetDateFormat(format);
    d->FollowText();
  });
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
uint MorlexDateWidget::backColor() const {
  return d->control->BackColor();
}
void MorlexDateWidget::setBackColor(uint color) {
  Guarded([&] { d->control->SetBackColor(color); });
}
uint MorlexDateWidget::foreColor() const {
  return d->control->ForeColor();
}
void MorlexDateWidget::setForeColor(uint color) {
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

// --- The typed value --------------------------------------------------------------------

QDate MorlexDateWidget::date() const {
  const std::optional<Date>& value = d->value.value();
  return value ? QDate(value->year, value->month, value->day) : QDate();
}

void MorlexDateWidget::setDate(const QDate& requested) {
  Guarded([&] {
    // As on QDateEdit, a date outside the range shows the nearest end of it.
    const QDate date =
        requested.isNull() ? requested : std::clamp(requested, minimumDate(), maximumDate());
    const std::optional<std::u16string> shown = d->Rendering(date);
    if (!shown) return;
    d->value.Show(date.isNull() ? std::nullopt : std::optional(Private::FromQDate(date)), *shown);
    d->control->SetText(*shown);
    d->FollowText();  // also when the text was that rendering already
  });
}

void MorlexDateWidget::ShowDate(const QDate& date) {
  Guarded([&] {
    const std::optional<std::u16string> shown = d->Rendering(date);
    if (!shown) {
      // Outside what the field may hold: shown as it is, for the user to see.
      ShowText(date.toString(Qt::ISODate));
      return;
    }
    d->value.Show(date.isNull() ? std::nullopt : std::optional(Private::FromQDate(date)), *shown);
    const Flag showing(d->showing);
    d->control->SetText(*shown);
    d->FollowText();
  });
}

void MorlexDateWidget::ShowText(const QString& text) {
  Guarded([&] {
    // A loaded text stands for what it reads as; one that is no date the
    // field can hold has no value, and the row before it must not lend one.
    std::u16string shown = FromQString(text);
    std::optional<Date> day = ReadDateText(shown, d->Year());
    if (day && !d->control->InDateRange(*day)) day.reset();
    d->value.Show(day, shown);
    const Flag showing(d->showing);
    d->control->SetText(shown);
    d->FollowText();
  });
}

bool MorlexDateWidget::Commit() {
  d->committed = false;
  Guarded([&] { d->control->Commit(); });
  return d->committed;
}

bool MorlexDateWidget::Storable() const {
  const std::u16string text = d->control->Text();
  if (TrimBlanks(text).empty()) return true;
  const std::optional<Date> day = ReadDateText(text, d->Year());
  return day && d->control->InDateRange(*day);
}

QDate MorlexDateWidget::minimumDate() const {
  const Date& day = d->control->MinimumDate();
  return {day.year, day.month, day.day};
}
void MorlexDateWidget::setMinimumDate(const QDate& date) {
  setDateRange(date, std::max(date, maximumDate()));
}
QDate MorlexDateWidget::maximumDate() const {
  const Date& day = d->control->MaximumDate();
  return {day.year, day.month, day.day};
}
void MorlexDateWidget::setMaximumDate(const QDate& date) {
  setDateRange(std::min(date, minimumDate()), date);
}
void MorlexDateWidget::setDateRange(const QDate& minimum, const QDate& maximum) {
  Guarded([&] {
    d->control->SetDateRange(Private::FromQDate(minimum), Private::FromQDate(maximum));
    d->value.SetRange(d->control->MinimumDate(), d->control->MaximumDate());
    // A text outside the old range that the new one holds is the value now.
    d->FollowText();
  });
}

// --- Host side ---------------------------------------------------------------------------

bool MorlexDateWidget::userMode() const {
  return d->user_mode;
}
void MorlexDateWidget::setUserMode(bool user_mode) {
  d->user_mode = user_mode;
}
void MorlexDateWidget::setCanChangeHandler(std::function<bool(const QString&)> handler) {
  d->can_change = std::move(handler);
}
void MorlexDateWidget::setNotifyChangedHandler(std::function<void(const QString&)> handler) {
  d->notify_changed = std::move(handler);
}
void MorlexDateWidget::setResizeRequestHandler(
    std::function<void(Qt::Orientations, float&, float&)> handler) {
  d->resize_request = std::move(handler);
}
void MorlexDateWidget::setAmbientFont(platform::FontRef font) {
  d->ambient_font = std::move(font);
}
void MorlexDateWidget::setClock(const platform::Clock* clock) {
  d->clock = clock;
}

void MorlexDateWidget::resizeTwips(float width, float height) {
  d->Apply(width, height);
  d->Notice();
}

void MorlexDateWidget::initProperties() {
  d->control->InitProperties();
  updateGeometry();
}
void MorlexDateWidget::readProperties(platform::PropertyBag& bag) {
  d->control->ReadProperties(bag);
  updateGeometry();
}
void MorlexDateWidget::writeProperties(platform::PropertyBag& bag) {
  d->control->WriteProperties(bag);
}

MorlexDate& MorlexDateWidget::control() {
  return *d->control;
}
const MorlexDate& MorlexDateWidget::control() const {
  return *d->control;
}
platform::HostSite& MorlexDateWidget::site() {
  return *d;
}
Toolkit& MorlexDateWidget::toolkit() {
  return *d->toolkit;
}

// The size the control last asked for, never narrower than a full date
// needs, and as high as the text box's font needs: a field in a layout looks
// like the line edits beside it.
QSize MorlexDateWidget::sizeHint() const {
  const QSize needed = d->Needed();
  if (!needed.isValid()) return minimumSizeHint();
  return {std::max(needed.width(), TwipsToPixelSize(d->width_twips, d->Tpp())), needed.height()};
}

QSize MorlexDateWidget::minimumSizeHint() const {
  const QSize needed = d->Needed();
  if (needed.isValid()) return needed;
  const double tpp = d->Tpp();
  return {TwipsToPixelSize(d->width_twips, tpp), TwipsToPixelSize(d->height_twips, tpp)};
}

void MorlexDateWidget::aboutBox() {
  Guarded([this] { d->control->AboutBox(); });
}

// --- Qt events ---------------------------------------------------------------------------

bool MorlexDateWidget::event(QEvent* event) {
  switch (event->type()) {
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
