#pragma once
// The widget's private side: the host site it gives its control (the
// container's answers, the size in twips) and the value the typed text
// stands for. Shared by the files that make up MorlexDateWidget.

#include <QDate>
#include <QSize>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "focus_relay_p.h"
#include "morlex/control/morlex_date.h"
#include "morlex/core/date_text.h"
#include "morlex/core/date_value.h"
#include "morlex/core/spinning.h"
#include "morlex/designs/form_designs.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
#include "morlex/qt/units.h"
#include "surface_p.h"

class QKeyEvent;
class QWheelEvent;

namespace morlex::qt {

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
    if (key == "ToolTipText") FollowToolTip();
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
  // The pixels a full date needs (morlex_date_widget_size.cpp).
  QSize Needed() const;
  // How much lower than the field the layout makes its text box, in twips.
  static constexpr float kTextHeightInset = 30;

  // --- The typed value ---
  int Year() const { return GetClock().Today().year; }
  // The text may have changed: the value follows it.
  void FollowText() {
    if (!control) return;
    value.Follow(control->Text(), Year(), control->Layout());
    SignalDate(false);
  }
  // Emits dateChanged when date() is not the date last signalled; with
  // keyboard tracking off, a typed change waits for the commit.
  void SignalDate(bool commit) {
    if (!keyboard_tracking && typing && !commit) return;
    const QDate now = q.date();
    if (now == signalled) return;
    signalled = now;
    Q_EMIT q.dateChanged(now);
    Q_EMIT q.valueChanged(now);
  }
  // The field's own tooltip is the control's ToolTipText, which its text
  // box shows (morlex_date_widget_input.cpp).
  void FollowToolTip();
  // The text box's key press: true when a read-only field refuses it.
  bool FilterKey(QKeyEvent& event);
  // A turn of the mouse wheel over the field: true when it stepped.
  bool Wheel(QWheelEvent& event);
  void SetReadOnly(bool on);
  // The palette the text box shows its colours in.
  QPalette ShownPalette() const {
    const QWidget* box = q.focusProxy();
    return box != nullptr ? box->palette() : q.palette();
  }
  // What setDate and ShowDate put into the field for date: its rendering in
  // the pattern in force, or nothing when it cannot be shown.
  std::optional<std::u16string> Rendering(const QDate& date) const {
    if (date.isNull()) return std::u16string();
    const Date day = FromQDate(date);
    if (!day.ok() || !control->InDateRange(day)) return std::nullopt;
    return WriteDate(day, control->RenderPattern(), control->Layout());
  }
  static Date FromQDate(const QDate& date) {
    return date.isValid() ? Date{date.year(), date.month(), date.day()} : Date{};
  }

  MorlexDateWidget& q;
  std::unique_ptr<Toolkit> own_toolkit;
  Toolkit* toolkit = nullptr;
  bool user_mode = true;
  bool locale_order = false;
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
  QDate signalled;  // what dateChanged last told
  bool read_only = false;
  bool keyboard_tracking = true;
  bool typing = false;   // between the press and the release of a typed key
  int wheel_turned = 0;  // the wheel's angle short of a whole step
  bool showing = false;
  bool committed = false;  // set by the commit hook
  std::unique_ptr<detail::FocusRelay> relay;
};

namespace detail {

// Turns the control's events into the widget's signals: follow runs when the
// text changed (false) and when a commit found no date (true),
// text_watched says whether textChanged has a receiver.
std::shared_ptr<MorlexDateEvents> MakeSignalSink(MorlexDateWidget& widget,
                                                 std::function<void(bool)> follow,
                                                 std::function<bool()> text_watched,
                                                 std::function<bool()> unedited);

}  // namespace detail
}  // namespace morlex::qt
