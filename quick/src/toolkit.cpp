#include "morlex/quick/toolkit.h"

#include <QDate>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QRectF>
#include <cstdio>
#include <string_view>
#include <utility>

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
  // The field's popup, open until the form hides; input goes to it
  // meanwhile (a nested loop, as a modal dialog runs). The popup stays with
  // the field afterwards: the next form only updates the parts that differ.
  void RunPopup() {
    QPointer<DateFieldTemplate> field = toolkit_.Field();
    if (field == nullptr) return;
    const auto [made, parts] = field->KeptPopup();
    if (made == nullptr) return;
    QPointer<QObject> popup = made;
    view_.ShowIn(parts);
    popup->setProperty("form", QVariant::fromValue<QObject*>(&view_));
    QObject::connect(popup, SIGNAL(closed()), &view_, SLOT(close()));
    QEventLoop loop;
    loop_ = &loop;
    // A field that goes away while its popup runs ends the loop (and with it
    // the popup, which goes with the field).
    QObject::connect(field, &QObject::destroyed, &loop, &QEventLoop::quit);
    field->SetPopupObject(popup);
    QMetaObject::invokeMethod(popup, "open");
    if (shown_ && field != nullptr) loop.exec();
    loop_ = nullptr;
    view_.ShowIn(nullptr);
    if (popup != nullptr) {
      QObject::disconnect(popup, nullptr, &view_, nullptr);
      QMetaObject::invokeMethod(popup, "close");
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
  return surface.WidgetOfLine(static_cast<std::size_t>(i));
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

void FormView::ShowIn(FormParts* parts) {
  parts_ = parts;
  Refresh();
}

void FormView::Refresh() {
  // A form that has closed shows nothing more: its popup is closing too.
  if (parts_ != nullptr && form_.IsShown()) Guarded([&] { parts_->Read(form_); });
}

// --- FormParts -----------------------------------------------------------------

struct FormParts::Part {
  const char* kind = "";
  QString name;
  QString caption;
  QRectF area;
  QDate day;
  int number = 0;
  int alignment = 0;
  bool visible = false;
  bool enabled = false;
  bool focused = false;
  bool bold = false;
  bool bordered = false;
  bool cell = false;
  bool is_default = false;
};

namespace {

enum Role : int {
  kKind = Qt::UserRole + 1,
  kName,
  kNumber,
  kX,
  kY,
  kWidth,
  kHeight,
  kCaption,
  kVisible,
  kEnabled,
  kBold,
  kBordered,
  kAlignment,
  kFocused,
  kCell,
  kIsDefault,
  kDay,
};

}  // namespace

FormParts::FormParts(QObject* parent) : QAbstractListModel(parent) {}
FormParts::~FormParts() = default;

int FormParts::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(parts_.size());
}

QHash<int, QByteArray> FormParts::roleNames() const {
  static const QHash<int, QByteArray> names = {
      {kKind, "kind"},
      {kName, "name"},
      {kNumber, "number"},
      {kX, "x"},
      {kY, "y"},
      {kWidth, "width"},
      {kHeight, "height"},
      {kCaption, "caption"},
      {kVisible, "visible"},
      {kEnabled, "enabled"},
      {kBold, "bold"},
      {kBordered, "bordered"},
      {kFocused, "focused"},
      {kAlignment, "alignment"},
      {kCell, "cell"},
      {kIsDefault, "isDefault"},
      {kDay, "day"},
  };
  return names;
}

QVariant FormParts::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const Part& p = parts_[static_cast<std::size_t>(index.row())];
  // The roles by the kind of their value.
  static constexpr std::pair<int, bool Part::*> kFlags[] = {
      {kVisible, &Part::visible},     {kEnabled, &Part::enabled}, {kBold, &Part::bold},
      {kBordered, &Part::bordered},   {kFocused, &Part::focused}, {kCell, &Part::cell},
      {kIsDefault, &Part::is_default}};
  static constexpr std::pair<int, qreal (QRectF::*)() const> kPlace[] = {
      {kX, &QRectF::x}, {kY, &QRectF::y}, {kWidth, &QRectF::width}, {kHeight, &QRectF::height}};
  for (const auto& [r, flag] : kFlags) {
    if (r == role) return p.*flag;
  }
  for (const auto& [r, of] : kPlace) {
    if (r == role) return (p.area.*of)();
  }
  switch (role) {
    case kKind:
      return QString::fromLatin1(p.kind);
    case kName:
      return p.name;
    case kCaption:
      return p.caption;
    case kNumber:
      return p.number;
    case kAlignment:
      return p.alignment;
    case kDay:
      // Undefined in QML for a widget that stands for no day.
      return p.day.isValid() ? QVariant(p.day) : QVariant();
    default:
      return {};
  }
}

namespace {

// Each sets a field of a part to a value, true when that changed it; the
// texts are compared where they lie, so that an unchanged part costs no copy.
template <typename T>
bool Set(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

bool SetText(QString& field, std::u16string_view text) {
  if (QStringView(field) == QStringView(text.data(), static_cast<qsizetype>(text.size()))) {
    return false;
  }
  field = ToQ(text);
  return true;
}

bool SetText(QString& field, const std::string& text) {
  if (field == QLatin1String(text.data(), static_cast<qsizetype>(text.size()))) return false;
  field = QString::fromStdString(text);
  return true;
}

// Reads the widget of design d on surface into p; true when p changed. A
// design line without a widget is an invisible part of no kind.
bool ReadPart(FormParts::Part& p, headless::Surface& surface, std::size_t line) {
  const platform::WidgetDesign& d = surface.Design().widgets[line];
  platform::Widget* w = surface.WidgetOfLine(line);
  if (w == nullptr) return Set(p.visible, false) | Set<const char*>(p.kind, "");
  // A widget inside a picture box is placed within it.
  float left = w->Left();
  float top = w->Top();
  if (!d.container.empty()) {
    const platform::Widget& box = surface.GetPictureBox(d.container);
    left += box.Left() + 30;
    top += box.Top() + 30;
  }
  bool changed = SetText(p.name, w->Name());
  changed |= Set(p.number, w->Index());
  changed |= Set(p.area, QRectF(detail::ToPixels(left), detail::ToPixels(top),
                                detail::ToPixels(w->Width()), detail::ToPixels(w->Height())));
  changed |= Set(p.visible, w->Visible());
  changed |= Set(p.enabled, w->Enabled());
  changed |= Set(p.focused, surface.Focused() == w);
  const char* kind = "image";
  switch (d.kind) {
    case platform::WidgetKind::kTextBox:
      kind = "text";
      if (auto* t = As<platform::TextBox>(w)) changed |= SetText(p.caption, t->Text());
      break;
    case platform::WidgetKind::kCommandButton:
      kind = "button";
      if (auto* b = As<platform::CommandButton>(w)) changed |= SetText(p.caption, b->Caption());
      changed |= Set(p.is_default, d.is_default);
      break;
    case platform::WidgetKind::kLabel: {
      kind = "label";
      auto* l = As<headless::Label>(w);
      if (l == nullptr) break;
      changed |= SetText(p.caption, l->Caption());
      changed |= Set(p.bold, l->Bold());
      changed |= Set(p.bordered, l->Bordered());
      changed |= Set(p.alignment, l->Alignment());
      changed |= Set(p.cell, !d.container.empty());
      const auto& day = l->Day();
      changed |= Set(p.day, day ? QDate(day->year, day->month, day->day) : QDate());
      break;
    }
    case platform::WidgetKind::kPictureBox:
      kind = "area";
      break;
    case platform::WidgetKind::kUpDown:
      kind = "updown";
      break;
    case platform::WidgetKind::kImage:
      break;
  }
  changed |= Set(p.kind, kind);
  return changed;
}

}  // namespace

void FormParts::Read(platform::Form& form) {
  auto& surface = dynamic_cast<headless::Surface&>(form);
  const auto& designs = surface.Design().widgets;
  if (designs.size() != parts_.size()) {
    // Another form: its parts anew.
    beginResetModel();
    parts_.assign(designs.size(), Part{});
    for (std::size_t i = 0; i < designs.size(); ++i) ReadPart(parts_[i], surface, i);
    endResetModel();
  } else {
    // Runs of changed rows, each told once.
    std::size_t first = 0;
    bool in_run = false;
    for (std::size_t i = 0; i <= designs.size(); ++i) {
      const bool changed = i < designs.size() && ReadPart(parts_[i], surface, i);
      if (changed && !in_run) first = i;
      if (!changed && in_run) {
        Q_EMIT dataChanged(index(static_cast<int>(first)), index(static_cast<int>(i - 1)));
      }
      in_run = changed;
    }
  }
  int marked = -1;
  for (std::size_t i = 0; i < parts_.size() && marked < 0; ++i) {
    if (parts_[i].bordered) marked = static_cast<int>(i);
  }
  if (marked != marked_) {
    marked_ = marked;
    Q_EMIT markedChanged();
  }
  const QString caption = ToQ(form.Caption());
  if (caption != caption_) {
    caption_ = caption;
    Q_EMIT captionChanged();
  }
  const QSizeF size(detail::ToPixels(surface.Design().width),
                    detail::ToPixels(surface.Design().height));
  if (size != size_) {
    size_ = size;
    Q_EMIT sizeChanged();
  }
}

std::vector<FormParts::Caption> FormParts::Captions() const {
  std::vector<Caption> captions;
  for (const Part& p : parts_) {
    if (!p.visible || std::string_view(p.kind) != "label" || p.caption.isEmpty()) continue;
    captions.push_back({p.area, p.caption, p.alignment, p.bold, p.cell});
  }
  return captions;
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
