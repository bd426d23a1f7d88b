#include "morlex/quick/toolkit.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QVariantMap>
#include <cstdio>

#include "morlex/core/error.h"
#include "morlex/headless/toolkit.h"
#include "morlex/quick/date_field.h"
#include "quick_p.h"

namespace morlex::quick {
namespace {

std::string Describe(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const Error& e) {
    return e.description();
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown failure";
  }
}

// A form: the reference toolkit's widgets, shown as a popup over the field.
class Form final : public headless::Surface, public platform::Form {
 public:
  Form(Toolkit& toolkit, const platform::SurfaceDesign& design)
      : headless::Surface(design), toolkit_(toolkit), view_(*this) {
    caption_ = design.caption;
  }

  std::u16string Caption() const override { return caption_; }
  void SetCaption(std::u16string_view caption) override {
    caption_ = caption;
    view_.Refresh();
  }

  void ShowModal() override {
    if (shown_) throw Error(errnum::kAlreadyShown);
    shown_ = true;
    if (platform::Widget* first = FirstInTabOrder()) MoveFocus(first);
    if (form_events.Activate) form_events.Activate();
    if (auto hook = toolkit_.TakeModalHook()) {
      try {
        if (shown_) hook(*this);
      } catch (...) {
        shown_ = false;
        throw;
      }
      if (shown_) CloseCommand();
      return;
    }
    if (shown_) RunPopup();
    if (shown_) CloseCommand();
  }

  void Hide() override {
    shown_ = false;
    if (loop_ != nullptr) loop_->quit();
  }
  bool IsShown() const override { return shown_; }

  void CloseCommand() {
    if (!shown_) return;
    if (form_events.Close) form_events.Close();
    Hide();
  }

  FormView& View() { return view_; }

 private:
  // The popup of the field's `popup` component, open until the form hides;
  // input goes to it meanwhile (a nested loop, as a modal dialog runs).
  void RunPopup() {
    QPointer<DateFieldTemplate> field = toolkit_.Field();
    if (field == nullptr || field->popup() == nullptr) return;
    QQmlComponent* component = field->popup();
    QQmlContext* context = QQmlEngine::contextForObject(field);
    if (context == nullptr) context = component->creationContext();
    QObject* made = component->beginCreate(context);
    if (made == nullptr) {
      throw Error(errnum::kInvalidCall,
                  "The calendar popup cannot be made: " + component->errorString().toStdString());
    }
    QPointer<QObject> popup = made;
    popup->setProperty("parent", QVariant::fromValue(static_cast<QQuickItem*>(field.data())));
    popup->setProperty("form", QVariant::fromValue<QObject*>(&view_));
    component->completeCreate();
    QObject::connect(popup, SIGNAL(closed()), &view_, SLOT(close()));
    QEventLoop loop;
    loop_ = &loop;
    field->SetPopupObject(popup);
    QMetaObject::invokeMethod(popup, "open");
    if (shown_) loop.exec();
    loop_ = nullptr;
    if (popup != nullptr) {
      QObject::disconnect(popup, nullptr, &view_, nullptr);
      QMetaObject::invokeMethod(popup, "close");
      popup->deleteLater();
    }
    if (field != nullptr) field->SetPopupObject(nullptr);
  }

  Toolkit& toolkit_;
  std::u16string caption_;
  bool shown_ = false;
  QEventLoop* loop_ = nullptr;
  FormView view_;
};

QString ToQ(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename T>
T* As(platform::Widget* w) {
  return dynamic_cast<T*>(w);
}

// The widget at position i of a form's widgets; nullptr for none.
platform::Widget* WidgetAt(platform::Form& form, int i) {
  auto& surface = dynamic_cast<headless::Surface&>(form);
  const auto& widgets = surface.Design().widgets;
  if (i < 0 || i >= static_cast<int>(widgets.size())) return nullptr;
  return detail::WidgetOf(surface, widgets[static_cast<std::size_t>(i)]);
}

}  // namespace

// --- Failures ---------------------------------------------------------------

void ReportFailure(std::exception_ptr failure) noexcept {
  if (!failure || FailureCapture::Keep(failure)) return;
  try {
    std::fprintf(stderr, "morlex: %s\n", Describe(failure).c_str());
  } catch (...) {
  }
}

// --- FormView -----------------------------------------------------------------

FormView::FormView(platform::Form& form) : form_(form) {}

QString FormView::caption() const {
  return ToQ(form_.Caption());
}

qreal FormView::contentWidth() const {
  return detail::ToPixels(dynamic_cast<headless::Surface&>(form_).Design().width);
}

qreal FormView::contentHeight() const {
  return detail::ToPixels(dynamic_cast<headless::Surface&>(form_).Design().height);
}

QVariantList FormView::widgets() const {
  if (!stale_) return widgets_;
  auto& surface = dynamic_cast<headless::Surface&>(form_);
  QVariantList list;
  for (const auto& d : surface.Design().widgets) {
    platform::Widget* w = detail::WidgetOf(surface, d);
    if (w == nullptr) continue;
    // A widget inside a picture box is placed within it.
    float left = w->Left();
    float top = w->Top();
    if (!d.container.empty()) {
      const platform::Widget& box = surface.GetPictureBox(d.container);
      left += box.Left() + 30;
      top += box.Top() + 30;
    }
    QVariantMap m;
    m[QStringLiteral("name")] = QString::fromStdString(w->Name());
    m[QStringLiteral("index")] = w->Index();
    m[QStringLiteral("x")] = detail::ToPixels(left);
    m[QStringLiteral("y")] = detail::ToPixels(top);
    m[QStringLiteral("width")] = detail::ToPixels(w->Width());
    m[QStringLiteral("height")] = detail::ToPixels(w->Height());
    m[QStringLiteral("visible")] = w->Visible();
    m[QStringLiteral("enabled")] = w->Enabled();
    m[QStringLiteral("focused")] = surface.Focused() == w;
    QString kind;
    if (auto* t = As<platform::TextBox>(w)) {
      kind = QStringLiteral("text");
      m[QStringLiteral("caption")] = ToQ(t->Text());
    } else if (auto* b = As<platform::CommandButton>(w)) {
      kind = QStringLiteral("button");
      m[QStringLiteral("caption")] = ToQ(b->Caption());
      m[QStringLiteral("isDefault")] = d.is_default;
    } else if (auto* l = As<headless::Label>(w)) {
      kind = QStringLiteral("label");
      m[QStringLiteral("caption")] = ToQ(l->Caption());
      m[QStringLiteral("bold")] = l->Bold();
      m[QStringLiteral("bordered")] = l->Bordered();
      m[QStringLiteral("alignment")] = l->Alignment();
      m[QStringLiteral("cell")] = d.container.empty() ? false : true;
      if (const auto& day = l->Day()) {
        m[QStringLiteral("day")] = QDate(day->year, day->month, day->day);
      }
    } else if (As<platform::PictureBox>(w) != nullptr) {
      kind = QStringLiteral("area");
    } else if (As<platform::UpDown>(w) != nullptr) {
      kind = QStringLiteral("updown");
    } else {
      kind = QStringLiteral("image");
    }
    m[QStringLiteral("kind")] = kind;
    list.push_back(m);
  }
  widgets_ = list;
  stale_ = false;
  return widgets_;
}

bool FormView::key(int key, int modifiers, const QString& text) {
  bool taken = false;
  Guarded([&] {
    taken = detail::FormKey(dynamic_cast<headless::Surface&>(form_), key,
                            static_cast<Qt::KeyboardModifiers>(modifiers), text);
    // Esc that no button takes is the window's close, as in a dialog.
    if (!taken && key == Qt::Key_Escape && form_.IsShown()) {
      static_cast<Form&>(form_).CloseCommand();
      taken = true;
    }
  });
  Refresh();
  return taken;
}

void FormView::click(int i) {
  Guarded([&] {
    platform::Widget* w = WidgetAt(form_, i);
    if (auto* b = As<headless::CommandButton>(w)) b->Press();
    if (auto* l = As<headless::Label>(w)) l->UserClick();
    if (auto* t = As<headless::TextBox>(w)) t->ClickAt(static_cast<int>(t->Text().size()));
    if (auto* p = As<headless::PictureBox>(w)) dynamic_cast<headless::Surface&>(form_).MoveFocus(p);
  });
  Refresh();
}

void FormView::spin(int i, bool up) {
  Guarded([&] {
    if (auto* u = As<headless::UpDown>(WidgetAt(form_, i))) u->Press(up);
  });
  Refresh();
}

void FormView::doubleClick(int i) {
  Guarded([&] {
    platform::Widget* w = WidgetAt(form_, i);
    if (auto* l = As<headless::Label>(w)) l->UserDblClick();
    if (auto* t = As<headless::TextBox>(w)) t->DoubleClick();
  });
  Refresh();
}

void FormView::close() {
  Guarded([&] { static_cast<Form&>(form_).CloseCommand(); });
}

// --- Toolkit --------------------------------------------------------------------

std::unique_ptr<platform::Surface> Toolkit::CreateControlSurface(
    const platform::SurfaceDesign& design) {
  return std::make_unique<headless::Surface>(design);
}

std::unique_ptr<platform::Form> Toolkit::CreateForm(const platform::SurfaceDesign& design) {
  return std::make_unique<Form>(*this, design);
}

FormView* Toolkit::ViewOf(platform::Form& form) {
  auto* f = dynamic_cast<Form*>(&form);
  return f != nullptr ? &f->View() : nullptr;
}

}  // namespace morlex::quick
