// The end user on the Qt Quick field: keys are synthetic Qt key events sent
// to the field item, so that they take the path a real one takes (the item's
// key handling, the control's editor); presses go to the item's pointer entry
// at the part's place; the calendar is driven through the view its popup
// uses. Failures the field hands to the Qt boundary come back to the caller.
#include "morlex/host/quick_binding.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>

#include "morlex/control/morlex_date.h"
#include "morlex/core/error.h"
#include "morlex/headless/host.h"
#include "morlex/headless/toolkit.h"
#include "morlex/qtshared/application.h"
#include "morlex/qtshared/keys.h"
#include "morlex/quick/date_field.h"
#include "morlex/quick/toolkit.h"

void qml_register_types_Morlex_Controls();

namespace morlex::quick {
namespace {

int KeyOf(char16_t ch) {
  if (ch >= u'a' && ch <= u'z') return Qt::Key_A + (ch - u'a');
  switch (ch) {
    case 8:
      return Qt::Key_Backspace;
    case 13:
      return Qt::Key_Return;
    case 27:
      return Qt::Key_Escape;
    default:
      break;
  }
  // Qt's codes of the printable ASCII keys are their characters.
  if (ch >= 32 && ch < 127) return ch;
  return Qt::Key_unknown;
}

void SendKey(QObject* target, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QCoreApplication::sendEvent(target, &release);
}

headless::Surface& Headless(platform::Surface& surface) {
  return dynamic_cast<headless::Surface&>(surface);
}

// The position of widget among the widgets of its form's view; -1 for none.
int PositionIn(headless::Surface& form, const platform::Widget& widget) {
  const auto& designs = form.Design().widgets;
  for (std::size_t i = 0; i < designs.size(); ++i) {
    if (designs[i].name == widget.Name() && designs[i].index == widget.Index()) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// One DateField, made by the engine as a QML scene makes it, in a host that
// keeps the control's size and settings as the reference host does.
class QuickHosted final : public host::HostedControl {
 public:
  QuickHosted(QQmlEngine& engine, Toolkit& toolkit, headless::HostPolicy& policy) : host_(policy) {
    QQmlComponent component(&engine);
    component.setData("import Morlex.Controls\nDateField {}\n", QUrl());
    QObject* made = component.beginCreate(engine.rootContext());
    field_.reset(qobject_cast<DateFieldTemplate*>(made));
    if (!field_) {
      delete made;
      throw Error(errnum::kInvalidCall,
                  "A DateField cannot be made: " + component.errorString().toStdString());
    }
    field_->HostWith(host_, toolkit);
    component.completeCreate();
    host_.Attach(field_->Control(), &Headless(field_->Control()->ControlSurface()));
    Follow();
  }

  MorlexDate& Control() override { return *field_->Control(); }
  platform::HostSite& Site() override { return host_; }
  void HostResize(float width, float height) override {
    host_.HostResize(width, height);
    Follow();
  }
  void HostShow() override {
    field_->Control()->Show();
    field_->Refresh();
  }
  DateFieldTemplate& Field() { return *field_; }

 private:
  // The item takes the size the host keeps.
  void Follow() {
    field_->setSize(QSizeF(host_.Width() / 15.0, host_.Height() / 15.0));
    field_->Refresh();
  }

  headless::TestHost host_;
  std::unique_ptr<DateFieldTemplate> field_;
};

class QuickInput;

class QuickBinding final : public host::Binding {
 public:
  QuickBinding();
  ~QuickBinding() override { QLocale::setDefault(locale_); }
  QuickBinding(const QuickBinding&) = delete;
  QuickBinding& operator=(const QuickBinding&) = delete;
  platform::Toolkit& GetToolkit() override { return toolkit_; }
  host::UserInput& Input() override;
  std::unique_ptr<host::HostedControl> CreateHosted(headless::HostPolicy& policy) override {
    auto hosted = std::make_unique<QuickHosted>(engine_, toolkit_, policy);
    current_ = hosted.get();
    return hosted;
  }

  // The field whose surface is surface; nullptr for a form's.
  DateFieldTemplate* FieldOf(platform::Surface& surface) {
    if (current_ == nullptr) return nullptr;
    DateFieldTemplate& field = current_->Field();
    if (field.Control() == nullptr || &field.Control()->ControlSurface() != &surface) {
      return nullptr;
    }
    return &field;
  }
  Toolkit& QuickToolkit() { return toolkit_; }

 private:
  QLocale locale_;  // the default locale before the binding, given back at its end
  QQmlEngine engine_;
  Toolkit toolkit_;
  std::unique_ptr<QuickInput> input_;
  QuickHosted* current_ = nullptr;
};

class QuickInput final : public host::UserInput {
 public:
  explicit QuickInput(QuickBinding& binding) : binding_(binding) {}

  void TypeKey(platform::TextBox& box, char16_t ch) override {
    Key(box, KeyOf(ch), Qt::NoModifier, QString(QChar(ch)),
        [&] { dynamic_cast<headless::TextBox&>(box).Type(ch); });
  }

  void MoveCaret(platform::TextBox& box, int position, int length) override {
    if (!box.Visible() || !box.Enabled()) return;
    const int size = static_cast<int>(box.Text().size());
    position = std::clamp(position, 0, size);
    length = std::clamp(length, 0, size - position);
    // The keys a user presses for it: Home, Right to the position, then
    // Shift+Right over the selection.
    if (FieldOfWidget(box) == nullptr && ViewOfWidget(box) == nullptr) {
      FailureCapture capture;
      Guarded([&] { dynamic_cast<headless::TextBox&>(box).MoveCaret(position, length); });
      capture.Rethrow();
      return;
    }
    Key(box, Qt::Key_Home, Qt::NoModifier, {}, nullptr);
    for (int i = 0; i < position; ++i) Key(box, Qt::Key_Right, Qt::NoModifier, {}, nullptr);
    for (int i = 0; i < length; ++i) Key(box, Qt::Key_Right, Qt::ShiftModifier, {}, nullptr);
  }

  void ClickText(platform::TextBox& box, int position) override {
    if (!box.Visible() || !box.Enabled()) return;
    FailureCapture capture;
    if (DateFieldTemplate* field = FieldOfWidget(box)) {
      const QRectF area = field->textArea();
      field->pressAt(area.center().x(), area.center().y(), position);
    } else {
      Guarded([&] { dynamic_cast<headless::TextBox&>(box).ClickAt(position); });
      RefreshForm();
    }
    capture.Rethrow();
  }

  void DblClickText(platform::TextBox& box) override {
    if (!box.Visible() || !box.Enabled()) return;
    FailureCapture capture;
    if (DateFieldTemplate* field = FieldOfWidget(box)) {
      const QRectF area = field->textArea();
      field->doubleClickAt(area.center().x(), area.center().y());
    } else {
      Guarded([&] { dynamic_cast<headless::TextBox&>(box).DoubleClick(); });
      RefreshForm();
    }
    capture.Rethrow();
  }

  void PressKey(platform::Widget& widget, platform::KeyDownArgs key) override {
    if (!widget.Visible() || !widget.Enabled()) return;
    const qtshared::QtKeyPress press = qtshared::QtKeyPressOf(key);
    Key(widget, press.key, press.modifiers, press.text, [&] {
      if (auto* box = dynamic_cast<headless::TextBox*>(&widget)) box->PressKey(key);
      if (auto* area = dynamic_cast<headless::PictureBox*>(&widget)) area->PressKey(key);
      if (auto* b = dynamic_cast<headless::CommandButton*>(&widget)) {
        if (key.key == platform::NavKey::kSpace) b->Press();
      }
      if (auto* u = dynamic_cast<headless::UpDown*>(&widget)) {
        if (key.key == platform::NavKey::kUp || key.key == platform::NavKey::kDown) {
          u->Press(key.key == platform::NavKey::kUp);
        }
      }
    });
  }

  void PressUpDown(platform::UpDown& updown, bool up) override {
    if (!updown.Visible() || !updown.Enabled()) return;
    FailureCapture capture;
    DateFieldTemplate* field = FieldOfWidget(updown);
    const QRectF area = field != nullptr ? field->spinArea() : QRectF();
    if (field != nullptr && area.height() >= 2 && area.width() >= 1) {
      const double h = area.height();
      field->pressAt(area.center().x(), area.top() + (up ? h / 4 : h * 3 / 4));
    } else {
      // No pixel for each arrow (or an up-down of the calendar): pressed as if hit.
      Guarded([&] { dynamic_cast<headless::UpDown&>(updown).Press(up); });
      if (field != nullptr) field->Refresh();
      RefreshForm();
    }
    capture.Rethrow();
  }

  void PressButton(platform::CommandButton& button) override {
    if (!button.Visible() || !button.Enabled()) return;
    FailureCapture capture;
    DateFieldTemplate* field = FieldOfWidget(button);
    const QRectF area = field != nullptr ? field->buttonArea() : QRectF();
    if (field != nullptr && !area.isEmpty()) {
      field->pressAt(area.center().x(), area.center().y());
    } else if (FormView* view = ViewOfWidget(button); view != nullptr && field == nullptr) {
      view->click(PositionIn(*OwnerOf(button), button));
    } else {
      Guarded([&] { dynamic_cast<headless::CommandButton&>(button).Press(); });
      if (field != nullptr) field->Refresh();
    }
    capture.Rethrow();
  }

  void ClickLabel(platform::Label& label) override { ClickLabel(label, false); }
  void DblClickLabel(platform::Label& label) override { ClickLabel(label, true); }

  void MoveFocus(platform::Surface& surface, platform::Widget* to) override {
    FailureCapture capture;
    headless::Surface& s = Headless(surface);
    if (DateFieldTemplate* field = binding_.FieldOf(surface)) {
      // Into the field: its focus-in event; out of it: its focus-out event.
      if (to == nullptr) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(field, &out);
      } else {
        if (s.Focused() == nullptr) {
          QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
          QCoreApplication::sendEvent(field, &in);
        }
        Guarded([&] { s.MoveFocus(to); });
        field->Refresh();
      }
    } else {
      Guarded([&] { s.MoveFocus(to); });
      RefreshForm();
    }
    capture.Rethrow();
  }

  platform::Widget* FocusedWidget(platform::Surface& surface) override {
    return Headless(surface).Focused();
  }

  void CloseForm(platform::Form& form) override {
    FailureCapture capture;
    if (FormView* view = Toolkit::ViewOf(form)) view->close();
    capture.Rethrow();
  }

  void SetModalInteraction(std::function<void(platform::Form&)> interaction) override {
    if (!interaction) {
      binding_.QuickToolkit().SetModalHook(nullptr);
      return;
    }
    binding_.QuickToolkit().SetModalHook([this, fn = std::move(interaction)](platform::Form& form) {
      platform::Form* outer = std::exchange(form_, &form);
      try {
        fn(form);
      } catch (...) {
        form_ = outer;
        throw;
      }
      form_ = outer;
    });
  }

 private:
  // A click, or a double click (twice), on a label: through its form's view
  // where it has one, on the label itself otherwise.
  void ClickLabel(platform::Label& label, bool twice) {
    if (!label.Visible()) return;
    FailureCapture capture;
    if (FormView* view = ViewOfWidget(label)) {
      const int at = PositionIn(*OwnerOf(label), label);
      twice ? view->doubleClick(at) : view->click(at);
    } else {
      Guarded([&] {
        auto& on = dynamic_cast<headless::Label&>(label);
        twice ? on.UserDblClick() : on.UserClick();
      });
    }
    capture.Rethrow();
  }

  // A key sent to the field item that holds widget, or to its form's view;
  // a surface that neither shows takes it as the reference widgets do
  // (by fallback).
  void Key(platform::Widget& widget, int key, Qt::KeyboardModifiers modifiers, const QString& text,
           const std::function<void()>& fallback) {
    if (!widget.Visible() || !widget.Enabled()) return;
    FailureCapture capture;
    if (DateFieldTemplate* field = FieldOfWidget(widget)) {
      SendKey(field, key, modifiers, text);
    } else if (FormView* view = ViewOfWidget(widget)) {
      view->key(key, static_cast<int>(modifiers), text);
    } else if (fallback) {
      Guarded(fallback);
    }
    capture.Rethrow();
  }

  // The surface that holds widget.
  static headless::Surface* OwnerOf(const platform::Widget& widget) {
    if (auto* t = dynamic_cast<const headless::WidgetImpl<platform::TextBox>*>(&widget)) {
      return &t->Owner();
    }
    if (auto* b = dynamic_cast<const headless::WidgetImpl<platform::CommandButton>*>(&widget)) {
      return &b->Owner();
    }
    if (auto* u = dynamic_cast<const headless::WidgetImpl<platform::UpDown>*>(&widget)) {
      return &u->Owner();
    }
    if (auto* l = dynamic_cast<const headless::WidgetImpl<platform::Label>*>(&widget)) {
      return &l->Owner();
    }
    if (auto* p = dynamic_cast<const headless::WidgetImpl<platform::PictureBox>*>(&widget)) {
      return &p->Owner();
    }
    return nullptr;
  }

  // The view of the form that holds widget; nullptr outside a form.
  static FormView* ViewOfWidget(const platform::Widget& widget) {
    auto* form = dynamic_cast<platform::Form*>(OwnerOf(widget));
    return form != nullptr ? Toolkit::ViewOf(*form) : nullptr;
  }

  DateFieldTemplate* FieldOfWidget(const platform::Widget& widget) {
    headless::Surface* owner = OwnerOf(widget);
    return owner != nullptr ? binding_.FieldOf(*owner) : nullptr;
  }

  FormView* OpenView() { return form_ != nullptr ? Toolkit::ViewOf(*form_) : nullptr; }
  void RefreshForm() {
    if (FormView* view = OpenView()) view->Refresh();
  }

  QuickBinding& binding_;
  platform::Form* form_ = nullptr;  // the form the modal interaction plays on
};

host::UserInput& QuickBinding::Input() {
  return *input_;
}

QuickBinding::QuickBinding() : input_(std::make_unique<QuickInput>(*this)) {
  // The scripts and the lines they expect spell dates out in English, as the
  // headless toolkit does.
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  // The module is linked in: its types are registered here and its QML files
  // are found in the resources.
  qml_register_types_Morlex_Controls();
  engine_.addImportPath(QStringLiteral("qrc:/qt/qml"));
}

}  // namespace

std::unique_ptr<host::Binding> MakeQuickBinding() {
  qtshared::RequireApplication<QGuiApplication>("The Qt Quick toolkit needs a QGuiApplication");
  return std::make_unique<QuickBinding>();
}

}  // namespace morlex::quick
