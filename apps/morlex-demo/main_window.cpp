#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "form_design.h"
#include "main_window_helpers.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
#include "morlex/storage/property_bag_file.h"

namespace morlex::demo {
namespace {

const char* const kNavNames[8] = {"First", "Previous", "Next", "Last",
                                  "New",   "Delete",   "Save", "Revert"};

}  // namespace

MainWindow::MainWindow(RecordStore& store, WindowOptions options, QWidget* parent)
    : QMainWindow(parent),
      store_(store),
      options_(std::move(options)),
      editor_(store),
      toolkit_(std::make_unique<qt::Toolkit>()) {
  for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i].column = kDateColumns[i];
  refresh_.setSingleShot(true);
  refresh_.setInterval(0);
  connect(&refresh_, &QTimer::timeout, this, &MainWindow::RefreshNow);

  BuildUi();
  BuildMenus();

  // The design kept from an earlier session, when every field has one.
  const bool stored_design = !options_.design_dir.empty() && HasFormDesign(options_.design_dir);
  for (FieldRow& row : rows_) {
    std::optional<storage::FilePropertyBag> bag;
    if (stored_design) {
      std::vector<std::string> problems;
      try {
        bag = LoadFieldDesign(options_.design_dir, row.column, problems);
      } catch (const std::exception& e) {
        Log(QStringLiteral("Design of %1 not read: %2").arg(Q(Info(row.column).name), Q(e.what())));
      }
      for (const std::string& p : problems) Log(QStringLiteral("Design file %1").arg(Q(p)));
    }
    CreateField(row, bag ? &*bag : nullptr);
  }
  if (stored_design) {
    Log(QStringLiteral("Design loaded from %1").arg(Q(options_.design_dir.string())));
  }

  editor_.on_record_changed = [this] {
    name_->blockSignals(true);
    name_->setText(Q(editor_.Buffer().name));
    name_->blockSignals(false);
    ScheduleRefresh();
  };
  Guard(QStringLiteral("Could not read the first record"), [this] { editor_.Go(Move::kFirst); });
  qApp->installEventFilter(this);
  SyncPanel();
  RefreshNow();
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  // The fields go first, while the bindings they call still exist.
  for (FieldRow& row : rows_) DestroyField(row);
  HoldLock(false);
}

qt::MorlexDateWidget* MainWindow::Field(DateColumn column) const {
  return rows_[static_cast<std::size_t>(column)].widget;
}

void MainWindow::BuildUi() {
  setWindowTitle(QStringLiteral("MorlexDate demo"));
  auto* central = new QWidget(this);
  auto* outer = new QVBoxLayout(central);

  banner_ = new QLabel(central);
  banner_->setWordWrap(true);
  banner_->setMargin(6);
  outer->addWidget(banner_);

  auto* top = new QHBoxLayout;
  outer->addLayout(top, 0);

  // The record.
  record_box_ = new QGroupBox(QStringLiteral("Person"), central);
  auto* grid = new QGridLayout(record_box_);
  grid->setHorizontalSpacing(10);
  const QString headings[] = {QString(), QStringLiteral("Value"), QStringLiteral("Pattern"),
                              QStringLiteral("In the file"), QStringLiteral("State")};
  for (int c = 0; c < 5; ++c) {
    auto* h = new QLabel(QStringLiteral("<b>%1</b>").arg(headings[c]), record_box_);
    grid->addWidget(h, 0, c);
  }
  auto* name_label = new QLabel(QStringLiteral("&Name"), record_box_);
  grid->addWidget(name_label, 1, 0);
  name_ = new QLineEdit(record_box_);
  name_label->setBuddy(name_);
  name_->setObjectName(QStringLiteral("name"));
  name_->setMinimumWidth(170);
  grid->addWidget(name_, 1, 1);
  name_stored_ = new QLabel(record_box_);
  grid->addWidget(name_stored_, 1, 3);
  name_state_ = new QLabel(record_box_);
  grid->addWidget(name_state_, 1, 4);
  connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
    Guard(QStringLiteral("Could not change the name"),
          [&] { editor_.SetName(text.toStdString()); });
    ScheduleRefresh();
  });
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    FieldRow& row = rows_[i];
    const int r = static_cast<int>(i) + 2;
    row.label = new QLabel(LabelWithAccessKey(row.column), record_box_);
    grid->addWidget(row.label, r, 0);
    auto* pattern = new QLabel(record_box_);
    pattern->setObjectName(QStringLiteral("pattern_%1").arg(Q(Info(row.column).name)));
    grid->addWidget(pattern, r, 2);
    row.stored = new QLabel(record_box_);
    grid->addWidget(row.stored, r, 3);
    row.state = new QLabel(record_box_);
    row.state->setMinimumWidth(190);
    grid->addWidget(row.state, r, 4);
  }
  grid->setColumnStretch(4, 1);

  auto* nav = new QHBoxLayout;
  for (std::size_t i = 0; i < nav_.size(); ++i) {
    nav_[i] = new QPushButton(QString::fromLatin1(kNavNames[i]), record_box_);
    nav_[i]->setObjectName(QString::fromLatin1(kNavNames[i]).toLower());
    nav_[i]->setAutoDefault(false);
    nav->addWidget(nav_[i]);
    if (i == 3) nav->addSpacing(12);
  }
  connect(nav_[0], &QPushButton::clicked, this, [this] { GoTo(Move::kFirst); });
  connect(nav_[1], &QPushButton::clicked, this, [this] { GoTo(Move::kPrevious); });
  connect(nav_[2], &QPushButton::clicked, this, [this] { GoTo(Move::kNext); });
  connect(nav_[3], &QPushButton::clicked, this, [this] { GoTo(Move::kLast); });
  connect(nav_[4], &QPushButton::clicked, this, [this] { NewRecord(); });
  connect(nav_[5], &QPushButton::clicked, this, [this] { DeleteRecord(); });
  connect(nav_[6], &QPushButton::clicked, this, [this] { SaveRecord(); });
  connect(nav_[7], &QPushButton::clicked, this, [this] { RevertRecord(); });
  position_ = new QLabel(record_box_);
  position_->setMinimumWidth(110);
  position_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  nav->addStretch(1);
  nav->addWidget(position_);
  grid->addLayout(nav, 6, 0, 1, 5);

  top->addWidget(record_box_, 1);
  top->addWidget(BuildPanel(), 0);

  outer->addWidget(BuildTable(central), 1);
  // The event log.
  auto* log_box = new QGroupBox(QStringLiteral("Events and change notices"), central);
  auto* log_layout = new QVBoxLayout(log_box);
  log_ = new QPlainTextEdit(log_box);
  log_->setReadOnly(true);
  log_->setMaximumBlockCount(5000);
  log_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  log_->setLineWrapMode(QPlainTextEdit::NoWrap);
  log_layout->addWidget(log_);
  outer->addWidget(log_box, 1);

  setCentralWidget(central);
  statusBar()->setSizeGripEnabled(false);
  resize(960, 820);
}

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("Save &design"), this, [this] { SaveDesign(); });
  file->addAction(QStringLiteral("&Reload design"), this, [this] { ReloadDesign(); });
  file->addSeparator();
  file->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, &QWidget::close);

  QMenu* record = menuBar()->addMenu(QStringLiteral("&Record"));
  record->addAction(QStringLiteral("&First"), QKeySequence(Qt::CTRL | Qt::Key_Home), this,
                    [this] { GoTo(Move::kFirst); });
  record->addAction(QStringLiteral("&Previous"), QKeySequence(Qt::CTRL | Qt::Key_PageUp), this,
                    [this] { GoTo(Move::kPrevious); });
  record->addAction(QStringLiteral("&Next"), QKeySequence(Qt::CTRL | Qt::Key_PageDown), this,
                    [this] { GoTo(Move::kNext); });
  record->addAction(QStringLiteral("&Last"), QKeySequence(Qt::CTRL | Qt::Key_End), this,
                    [this] { GoTo(Move::kLast); });
  record->addSeparator();
  record->addAction(QStringLiteral("Ne&w"), QKeySequence::New, this, [this] { NewRecord(); });
  record->addAction(QStringLiteral("&Delete"), this, [this] { DeleteRecord(); });
  record->addAction(QStringLiteral("&Save"), QKeySequence::Save, this, [this] { SaveRecord(); });
  record->addAction(QStringLiteral("Re&vert"), this, [this] { RevertRecord(); });

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  design_action_ = view->addAction(QStringLiteral("&Design mode"));
  design_action_->setCheckable(true);
  connect(design_action_, &QAction::triggered, this,
          [this](bool on) { design_mode_->setChecked(on); });
  lock_action_ = view->addAction(QStringLiteral("&Lock the file from another connection"));
  lock_action_->setCheckable(true);
  connect(lock_action_, &QAction::triggered, this, [this](bool on) { hold_lock_->setChecked(on); });

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->addAction(QStringLiteral("&About MorlexDate…"), this, [this] { ShowAbout(); });
}

bool MainWindow::Guard(const QString& doing, const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const Error& e) {
    const QString what = Q(e.description());
    Tell(what.startsWith(QStringLiteral("Could not")) ? what : doing + QStringLiteral(": ") + what,
         true);
  } catch (const std::exception& e) {
    Tell(doing + QStringLiteral(": ") + QString::fromLocal8Bit(e.what()), true);
  }
  ScheduleRefresh();
  return false;
}

void MainWindow::Log(const QString& line) {
  if (log_ != nullptr) log_->appendPlainText(line);
  if (on_log) on_log(line);
}

void MainWindow::Tell(const QString& message, bool failure) {
  last_message_ = message;
  statusBar()->showMessage(message);
  Log((failure ? QStringLiteral("!! ") : QStringLiteral("-- ")) + message);
  if (failure && options_.interactive && isVisible()) {
    // Later, from the event loop: a message box opened inside a field's
    // notification would run a modal loop in the middle of its handler.
    QTimer::singleShot(0, this, [this, message] {
      QMessageBox::warning(this, QStringLiteral("MorlexDate demo"), message);
    });
  }
}

void MainWindow::ScheduleRefresh() {
  refresh_.start();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* target = qobject_cast<QWidget*>(watched);
    for (const FieldRow& row : rows_) {
      qt::MorlexDateWidget* w = row.widget;
      if (w == nullptr || target == nullptr || (target != w && !w->isAncestorOf(target))) {
        continue;
      }
      const auto* key = static_cast<QKeyEvent*>(event);
      int code = -1;
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        code = platform::kEnter;
      } else if (!key->text().isEmpty()) {
        code = key->text().at(0).unicode();
      }
      editor_.Binding(row.column)->NoteKeyPress(code);
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!designing_ && editor_.Dirty() && options_.interactive && !AskToLeave()) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace morlex::demo
