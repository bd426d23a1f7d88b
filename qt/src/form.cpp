// Forms of the Qt toolkit: modal dialogs without an owner.
#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "artwork_p.h"
#include "command_button_p.h"
#include "date_order_p.h"
#include "form_p.h"
#include "morlex/core/error.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/units.h"
#include "translation_p.h"

namespace morlex::qt::detail {

// --- FormWindow -------------------------------------------------------------------

FormWindow::FormWindow(const platform::SurfaceDesign& design) : QDialog(nullptr) {
  // A fixed frame with a title and a close box, no minimise or maximise
  // button, whatever the border style of the design asks beyond that.
  Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
  if (design.min_button) flags |= Qt::WindowMinimizeButtonHint;
  if (design.max_button) flags |= Qt::WindowMaximizeButtonHint;
  setWindowFlags(flags);
  setModal(true);
  setSizeGripEnabled(false);
  setObjectName(QString::fromStdString(design.name));
}

void FormWindow::setVisible(bool visible) {
  QDialog::setVisible(visible);
  if (!visible && form_ != nullptr) form_->WindowHidden();
}

void FormWindow::reject() {
  // Whoever rejects the dialog closes the window as its close box would.
  if (form_ == nullptr) {
    QDialog::reject();
    return;
  }
  Guarded([this] { form_->CloseCommand(); });
}

bool FormWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && form_ != nullptr) {
    if (skip_activation_) {
      skip_activation_ = false;  // the show has already run the activation
    } else {
      form_->WindowActivated();
    }
  }
  return QDialog::event(event);
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  const auto mods = event->modifiers() & ~Qt::KeypadModifier;
  const bool enter =
      (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && mods == Qt::NoModifier;
  const bool escape = event->key() == Qt::Key_Escape && mods == Qt::NoModifier;
  if (form_ != nullptr && (enter || escape)) {
    // Enter presses the button that has the focus, or else the design's
    // default button; Esc presses the design's cancel button. Without such a
    // button the key does nothing (Qt's dialog would accept or reject).
    CommandButton* target = nullptr;
    if (enter) target = dynamic_cast<CommandButton*>(form_->Focused());
    if (target == nullptr) target = form_->DialogKeyButton(escape);
    if (target != nullptr && target->Visible() && target->Enabled()) {
      target->Button()->click();
      return;
    }
    event->ignore();
    return;
  }
  QWidget::keyPressEvent(event);
}

void FormWindow::closeEvent(QCloseEvent* event) {
  if (form_ != nullptr) Guarded([this] { form_->CloseCommand(); });
  event->accept();
}

// --- Form ---------------------------------------------------------------------------

Form::Form(Toolkit& toolkit, const platform::SurfaceDesign& design, int& live_forms)
    : Surface(design, new FormWindow(design), true),
      toolkit_(toolkit),
      window_(static_cast<FormWindow*>(Body())),
      caption_(design.caption),
      width_(design.width),
      height_(design.height),
      live_forms_(live_forms) {
  ++live_forms_;
  HoldScale();
  window_->Attach(this);
  window_->setWindowTitle(ShownCaption(caption_));
  const double tpp = TwipsPerPixel();
  window_->setFixedSize(TwipsToPixelSize(design.width, tpp), TwipsToPixelSize(design.height, tpp));
  if (!design.icon.empty()) {
    const QImage icon = ArtworkPicture(design.icon);
    if (!icon.isNull()) window_->setWindowIcon(QIcon(QPixmap::fromImage(icon)));
  }
}

Form::~Form() {
  *alive_ = false;
  window_->Attach(nullptr);
  --live_forms_;
}

const platform::DateNames& Form::Names() const {
  static const LocaleDateNames names;
  return names;
}

void Form::SetCaption(std::u16string_view caption) {
  caption_ = caption;
  window_->setWindowTitle(ShownCaption(caption_));
  // The calendar spells the chosen date out in its title: a screen reader
  // is told of each change (and nothing is sent while none listens).
  if (QAccessible::isActive()) {
    QAccessibleEvent changed(window_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
  }
}

void Form::Hide() {
  shown_ = false;
  window_->hide();
}

void Form::CloseCommand() {
  if (!shown_) return;
  auto close = form_events.Close;
  if (close) close();
  Hide();
}

void Form::WindowActivated() {
  if (!shown_) return;
  Guarded([this] {
    auto activate = form_events.Activate;
    if (activate) activate();
  });
}

CommandButton* Form::DialogKeyButton(bool cancel) const {
  for (QtWidget* w : Widgets()) {
    auto* button = dynamic_cast<CommandButton*>(&w->Self());
    if (button != nullptr && (cancel ? button->IsCancel() : button->IsDefault())) return button;
  }
  return nullptr;
}

void Form::Position() {
  // No owner is named: the form is centred over the window that is active
  // when it opens, or over the screen.
  QWidget* owner = QApplication::activeWindow();
  if (owner == window_) owner = nullptr;
  QRect area;
  if (owner != nullptr) {
    area = owner->frameGeometry();
    window_->winId();
    if (QWindow* handle = window_->windowHandle(); handle != nullptr && owner->windowHandle()) {
      handle->setTransientParent(owner->windowHandle());
    }
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    area = screen->availableGeometry();
  }
  if (!area.isValid()) return;
  window_->move(area.center() - QPoint(window_->width() / 2, window_->height() / 2));
}

void Form::ShowModal() {
  if (shown_) throw Error(errnum::kAlreadyShown);
  shown_ = true;
  FitToFont();
  Position();
  if (platform::Widget* first = FirstInTabOrder()) MoveFocus(first);
  {
    auto activate = form_events.Activate;
    if (activate) activate();
  }

  // A driver's hook runs once the modal loop has started, from a zero timer
  // inside it; the timer lives on this stack so that it can never fire
  // after ShowModal has returned.
  std::exception_ptr hook_failure;
  QTimer start;
  start.setSingleShot(true);
  if (auto hook = toolkit_.TakeModalHook()) {
    QObject::connect(&start, &QTimer::timeout, window_, [this, hook, &hook_failure] {
      if (!shown_) return;
      try {
        hook(*this);
        if (shown_) CloseCommand();
      } catch (...) {
        hook_failure = std::current_exception();
        if (shown_) Hide();
      }
    });
    start.start(0);
  }

  const std::shared_ptr<bool> alive = alive_;
  if (shown_) {
    window_->SkipNextActivation();
    window_->exec();
  }
  if (!*alive) {
    // Unloaded while shown: nothing of the form may be touched any more.
    if (hook_failure) std::rethrow_exception(hook_failure);
    return;
  }
  if (window_->isVisible()) window_->hide();
  shown_ = false;
  if (hook_failure) std::rethrow_exception(hook_failure);
}

}  // namespace morlex::qt::detail

namespace morlex::qt {

void SendCloseCommand(platform::Form& form) {
  auto* f = dynamic_cast<detail::Form*>(&form);
  if (f == nullptr) detail::NotOfThisToolkit("form");
  QCloseEvent close;
  QApplication::sendEvent(f->Window(), &close);
}

}  // namespace morlex::qt
