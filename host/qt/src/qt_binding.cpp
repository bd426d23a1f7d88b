// The end user on the Qt widgets: every key and click is a synthetic Qt event
// sent to the widget, so that it takes the path a real one takes (event
// filter, key preview, line edit, signals). Failures that the widgets hand
// to the boundary while an event is delivered come back to the caller, as
// the headless toolkit gives them.
#include "morlex/host/qt_binding.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <optional>
#include <utility>

#include "morlex/core/error.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
#include "morlex/qtshared/application.h"
#include "morlex/qtshared/keys.h"

namespace morlex::qt {
namespace {

int KeyOf(char16_t ch) {
  if (ch >= u'a' && ch <= u'z') return Qt::Key_A + (ch - u'a');
  for (const ControlKey& k : kControlKeys) {
    if (k.code == ch) return k.key;
  }
  // Qt's codes of the printable ASCII keys are their characters.
  if (ch >= platform::kSpace && ch < platform::kDelete) return ch;
  return Qt::Key_unknown;
}

void Send(QWidget* widget, QEvent& event) {
  QApplication::sendEvent(widget, &event);
}

void SendKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  Send(widget, press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  Send(widget, release);
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at) {
  const QPointF local(at);
  const QPointF global(widget->mapToGlobal(at));
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, local, global, Qt::LeftButton, held, Qt::NoModifier);
  Send(widget, event);
}

// A press (or a double click) and the release after it.
void SendClick(QWidget* widget, QPoint at, QEvent::Type down = QEvent::MouseButtonPress) {
  SendMouse(widget, down, at);
  SendMouse(widget, QEvent::MouseButtonRelease, at);
}

// The point of a line edit where a click puts the caret at position, when
// one is on screen and not under a drawn part; else a point of the text
// that no part covers.
std::optional<QPoint> PointOfCaret(QLineEdit& edit, int position) {
  const int y = edit.height() / 2;
  std::optional<QPoint> uncovered;
  for (int x = 0; x < edit.width(); ++x) {
    const QPoint at(x, y);
    if (UnderDrawnPart(edit, at)) continue;
    if (edit.cursorPositionAt(at) == position) return at;
    if (!uncovered || x <= edit.width() / 2) uncovered = at;
  }
  return uncovered;
}

class QtInput final : public host::UserInput {
 public:
  explicit QtInput(Toolkit& toolkit) : toolkit_(toolkit) {}

  void TypeKey(platform::TextBox& box, char16_t ch) override {
    if (!box.Visible() || !box.Enabled()) return;
    FailureCapture capture;
    SendKey(Q(box), KeyOf(ch), Qt::NoModifier, QString(QChar(ch)));
    capture.Rethrow();
  }

  void MoveCaret(platform::TextBox& box, int position, int length) override {
    if (!box.Visible() || !box.Enabled()) return;
    auto* edit = static_cast<QLineEdit*>(Q(box));
    const int size = static_cast<int>(edit->text().size());
    position = std::clamp(position, 0, size);
    length = std::clamp(length, 0, size - position);
    FailureCapture capture;
    // The keys a user presses for it: Home, Right to the position, then
    // Shift+Right over the selection; each with its release.
    SendKey(edit, Qt::Key_Home, Qt::NoModifier, {});
    for (int i = 0; i < position; ++i) SendKey(edit, Qt::Key_Right, Qt::NoModifier, {});
    for (int i = 0; i < length; ++i) SendKey(edit, Qt::Key_Right, Qt::ShiftModifier, {});
    capture.Rethrow();
  }

  void ClickText(platform::TextBox& box, int position) override {
    if (!box.Visible() || !box.Enabled()) return;
    platform::Surface& surface = SurfaceOf(box);
    if (FocusedWidget(surface) != &box) qt::MoveFocus(surface, &box);
    auto* edit = static_cast<QLineEdit*>(Q(box));
    position = std::clamp(position, 0, static_cast<int>(edit->text().size()));
    const QPoint at = PointOfCaret(*edit, position).value_or(edit->rect().center());
    FailureCapture capture;
    SendMouse(edit, QEvent::MouseButtonPress, at);
    // Text scrolled out of a narrow box cannot be hit; the caret goes where
    // the user meant all the same.
    if (edit->cursorPosition() != position || edit->hasSelectedText()) {
      edit->setCursorPosition(position);
    }
    SendMouse(edit, QEvent::MouseButtonRelease, at);
    capture.Rethrow();
  }

  void DblClickText(platform::TextBox& box) override {
    if (!box.Visible() || !box.Enabled()) return;
    QWidget* edit = Q(box);
    const QPoint at = edit->rect().center();
    FailureCapture capture;
    SendClick(edit, at, QEvent::MouseButtonDblClick);
    capture.Rethrow();
  }

  void PressKey(platform::Widget& widget, platform::KeyDownArgs key) override {
    if (!widget.Visible() || !widget.Enabled()) return;
    QWidget* q = WidgetOf(widget);
    if (q == nullptr) return;  // a drawn part takes no keys
    const qtshared::QtKeyPress press = qtshared::QtKeyPressOf(key);
    FailureCapture capture;
    SendKey(q, press.key, press.modifiers, press.text);
    capture.Rethrow();
  }

  void PressUpDown(platform::UpDown& updown, bool up) override {
    if (!updown.Visible() || !updown.Enabled()) return;
    FailureCapture capture;
    if (IsDrawnPart(updown)) {
      const QRect area = AreaOf(updown);
      if (area.height() < 2 || area.width() < 1) {
        Guarded([&] { PressAsIfHit(updown, up); });  // no pixel for each arrow
      } else {
        const int h = area.height();
        ClickPart(SurfaceOf(updown),
                  area.topLeft() + QPoint(area.width() / 2, up ? h / 4 : h / 2 + (h - h / 2) / 2));
      }
      capture.Rethrow();
      return;
    }
    QWidget* arrows = Q(updown);
    if (arrows->height() < 2 || arrows->width() < 1) {
      // Too small to hold two arrows on screen: pressed as if hit.
      Guarded([&] { PressAsIfHit(updown, up); });
    } else {
      const int h = arrows->height();
      const QPoint at(arrows->width() / 2, up ? h / 4 : h / 2 + (h - h / 2) / 2);
      SendClick(arrows, at);
    }
    capture.Rethrow();
  }

  void PressButton(platform::CommandButton& button) override {
    if (!button.Visible() || !button.Enabled()) return;
    platform::Surface& surface = SurfaceOf(button);
    qt::MoveFocus(surface, &button);
    FailureCapture capture;
    if (IsDrawnPart(button)) {
      const QRect area = AreaOf(button);
      if (area.isEmpty()) {
        ClickAsIfHit(button);  // no pixel to hit
      } else {
        ClickPart(surface, area.center());
      }
      capture.Rethrow();
      return;
    }
    auto* push = static_cast<QPushButton*>(Q(button));
    if (push->rect().isEmpty()) {
      push->click();  // no pixel to hit
    } else {
      SendClick(push, push->rect().center());
    }
    capture.Rethrow();
  }

  void ClickLabel(platform::Label& label) override { ClickOn(label, QEvent::MouseButtonPress); }
  void DblClickLabel(platform::Label& label) override {
    ClickOn(label, QEvent::MouseButtonDblClick);
  }

  void MoveFocus(platform::Surface& surface, platform::Widget* to) override {
    qt::MoveFocus(surface, to);
  }

  platform::Widget* FocusedWidget(platform::Surface& surface) override {
    return qt::FocusedWidget(surface);
  }

  void CloseForm(platform::Form& form) override {
    FailureCapture capture;
    SendCloseCommand(form);
    capture.Rethrow();
  }

  void SetModalInteraction(std::function<void(platform::Form&)> interaction) override {
    toolkit_.SetModalHook(std::move(interaction));
  }

 private:
  static void ClickOn(platform::Label& label, QEvent::Type down) {
    if (!label.Visible()) return;
    QWidget* q = Q(label);
    FailureCapture capture;
    SendClick(q, q->rect().center(), down);
    capture.Rethrow();
  }

  static QWidget* Q(platform::Widget& widget) {
    QWidget* q = WidgetOf(widget);
    if (q == nullptr) throw Error(errnum::kInvalidCall, "Not a widget of the Qt toolkit");
    return q;
  }

  // A click where the user would click on a part the body draws: on the
  // body's widget there when one lies over it (the text box under the
  // arrows), otherwise on the body.
  static void ClickPart(platform::Surface& surface, QPoint at) {
    QWidget* body = WidgetOf(surface);
    if (body == nullptr) throw Error(errnum::kInvalidCall, "Not a surface of the Qt toolkit");
    QWidget* target = body->childAt(at);
    if (target == nullptr) target = body;
    const QPoint local = target->mapFrom(body, at);
    SendClick(target, local);
  }

  Toolkit& toolkit_;
};

// One control on a host form that is never put on screen: input arrives as
// synthetic events, so nothing depends on window activation, and the show
// notice is given when the host shows the control.
class QtHosted final : public host::HostedControl {
 public:
  QtHosted(Toolkit& toolkit, headless::HostPolicy& policy)
      : policy_(policy), clock_(policy), form_(std::make_unique<QWidget>()) {
    form_->setObjectName(QStringLiteral("HostForm"));
    widget_ =
        new MorlexDateWidget(toolkit, MorlexDateWidget::Startup::kHostInitialises, form_.get());
    widget_->setUserMode(policy.user_mode);
    widget_->setAmbientFont(policy.ambient_font);
    widget_->setClock(&clock_);
    widget_->setCanChangeHandler([this](const QString&) { return policy_.can_change; });
    widget_->setNotifyChangedHandler([this](const QString& key) {
      const std::string k = key.toStdString();
      if (policy_.fail_notify && k == "Text") {
        if (policy_.on_notify_failed) policy_.on_notify_failed(k);
        throw Error(errnum::kHostFailure, headless::kStoreFailure);
      }
      if (policy_.on_notify) policy_.on_notify(k);
    });
    widget_->setResizeRequestHandler([this](Qt::Orientations changing, float&, float& height) {
      if ((changing & Qt::Vertical) && policy_.lock_height) height = *policy_.lock_height;
    });
  }

  MorlexDate& Control() override { return widget_->control(); }
  platform::HostSite& Site() override { return widget_->site(); }
  void HostResize(float width, float height) override {
    widget_->resizeTwips(width, policy_.lock_height.value_or(height));
  }
  void HostShow() override { widget_->control().Show(); }

 private:
  headless::HostPolicy& policy_;
  host::PolicyClock clock_;
  std::unique_ptr<QWidget> form_;
  MorlexDateWidget* widget_ = nullptr;  // owned by form_
};

class QtBinding final : public host::Binding {
 public:
  // The scripts and the lines they expect spell dates out in English, as the
  // headless toolkit does: while the binding lives, the forms it shows name
  // months and weekdays in English whatever the user's locale.
  QtBinding() : input_(toolkit_) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }
  ~QtBinding() override { QLocale::setDefault(locale_); }
  QtBinding(const QtBinding&) = delete;
  QtBinding& operator=(const QtBinding&) = delete;
  platform::Toolkit& GetToolkit() override { return toolkit_; }
  host::UserInput& Input() override { return input_; }
  std::unique_ptr<host::HostedControl> CreateHosted(headless::HostPolicy& policy) override {
    return std::make_unique<QtHosted>(toolkit_, policy);
  }

 private:
  QLocale locale_;  // the default locale before the binding, given back at its end
  Toolkit toolkit_;
  QtInput input_;
};

}  // namespace

std::unique_ptr<host::Binding> MakeQtBinding() {
  qtshared::RequireApplication<QApplication>("The Qt toolkit needs a QApplication");
  return std::make_unique<QtBinding>();
}

}  // namespace morlex::qt
