#include "main_window.h"

#include <sqlite3.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include "form_design.h"
#include "morlex/control/morlex_date.h"
#include "morlex/qt/morlex_date_delegate.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
#include "morlex/storage/property_bag_file.h"
#include "people_table.h"

namespace morlex::demo {
namespace {

QString Q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString Q(std::u16string_view utf16) {
  return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

// The pattern each field starts with, so that the form shows the formats side
// by side.
int StartFormat(DateColumn column) {
  switch (column) {
    case DateColumn::kBorn:
      return 0;  // mm/dd/yyyy
    case DateColumn::kHired:
      return 2;  // m/d/yyyy
    case DateColumn::kReviewed:
      break;
  }
  return 1;  // mm/dd/yy
}

// The field's label with its access key: Alt and the letter moves to the
// field, and the label names it for screen readers. The letters stay clear
// of the menus' (File, Record, View, Help).
QString LabelWithAccessKey(DateColumn column) {
  switch (column) {
    case DateColumn::kBorn:
      return QStringLiteral("&Born");
    case DateColumn::kHired:
      return QStringLiteral("H&ired");
    case DateColumn::kReviewed:
      break;
  }
  return QStringLiteral("R&eviewed");
}

std::uint32_t ToColorRef(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
         (static_cast<std::uint32_t>(c.blue()) << 16);
}

QColor FromColorRef(std::uint32_t ref) {
  return QColor(static_cast<int>(ref & 0xff), static_cast<int>((ref >> 8) & 0xff),
                static_cast<int>((ref >> 16) & 0xff));
}

constexpr std::uint32_t kWindowBackground = platform::kColorWindow;
constexpr std::uint32_t kWindowText = platform::kColorWindowText;

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

// ---------------------------------------------------------------------------
// Building

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

  // Every record, its dates edited in place by the field itself and saved
  // at once through the same store and rules as the form.
  auto* table_box =
      new QGroupBox(QStringLiteral("All records (double-click a date to edit it)"), central);
  auto* table_layout = new QVBoxLayout(table_box);
  table_model_ = new PeopleTable(store_, this);
  table_ = new QTableView(table_box);
  table_->setObjectName(QStringLiteral("records"));
  table_->setModel(table_model_);
  table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  for (DateColumn c : kDateColumns) {
    auto* dates = new qt::MorlexDateDelegate(table_);
    dates->setDateFormat(StartFormat(c));
    const DateColumnInfo& info = Info(c);
    dates->setDateRange(QDate(info.low.year, info.low.month, info.low.day),
                        QDate(info.high.year, info.high.month, info.high.day));
    table_->setItemDelegateForColumn(PeopleTable::kDateOffset + static_cast<int>(c), dates);
  }
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->verticalHeader()->setDefaultSectionSize(26);
  table_layout->addWidget(table_);
  // Edits whose save failed wait in the table (their rows marked "*").
  auto* table_buttons = new QHBoxLayout;
  save_table_ = new QPushButton(QStringLiteral("Save table edits"), table_box);
  discard_table_ = new QPushButton(QStringLiteral("Discard table edits"), table_box);
  table_buttons->addWidget(save_table_);
  table_buttons->addWidget(discard_table_);
  table_buttons->addStretch(1);
  table_layout->addLayout(table_buttons);
  connect(save_table_, &QPushButton::clicked, this, [this] { SaveTableEdits(); });
  connect(discard_table_, &QPushButton::clicked, this, [this] {
    table_model_->DiscardPending();
    Tell(QStringLiteral("The table's unsaved edits were discarded."), false);
    RefreshNow();
  });
  outer->addWidget(table_box, 1);
  connect(table_model_, &PeopleTable::saved, this, [this](qint64 id, const QString& message) {
    Tell(message, false);
    // The form shows the saved value too, unless it holds edits of its own.
    if (editor_.HasRecord() && editor_.Buffer().id == id && !editor_.Dirty()) {
      Guard(QStringLiteral("Could not read the record again"), [&] { editor_.GoTo(id, true); });
    }
    ScheduleRefresh();
  });
  connect(table_model_, &PeopleTable::failed, this, [this](const QString& message) {
    Tell(message, true);
    ScheduleRefresh();
  });

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

QWidget* MainWindow::BuildPanel() {
  auto* box = new QGroupBox(QStringLiteral("Field properties (run time)"));
  auto* form = new QFormLayout(box);

  panel_field_ = new QComboBox(box);
  for (DateColumn c : kDateColumns) panel_field_->addItem(Q(Info(c).label));
  form->addRow(QStringLiteral("Field"), panel_field_);
  connect(panel_field_, &QComboBox::currentIndexChanged, this, [this] { SyncPanel(); });

  panel_format_ = new QComboBox(box);
  panel_format_->addItems({QStringLiteral("0  mm/dd/yyyy"), QStringLiteral("1  mm/dd/yy"),
                           QStringLiteral("2  m/d/yyyy"), QStringLiteral("3  m/d/yy")});
  form->addRow(QStringLiteral("DateFormat"), panel_format_);
  connect(panel_format_, &QComboBox::activated, this,
          [this](int index) { SetFieldFormat(PanelColumn(), index); });

  panel_calendar_ = new QCheckBox(QStringLiteral("Calendar button"), box);
  panel_spin_ = new QCheckBox(QStringLiteral("Spin indicator"), box);
  panel_enabled_ = new QCheckBox(QStringLiteral("Enabled"), box);
  form->addRow(QString(), panel_calendar_);
  form->addRow(QString(), panel_spin_);
  form->addRow(QString(), panel_enabled_);
  connect(panel_calendar_, &QCheckBox::toggled, this, [this](bool on) {
    if (!syncing_panel_) SetFieldCalendar(PanelColumn(), on);
  });
  connect(panel_spin_, &QCheckBox::toggled, this, [this](bool on) {
    if (!syncing_panel_) SetFieldSpin(PanelColumn(), on);
  });
  connect(panel_enabled_, &QCheckBox::toggled, this, [this](bool on) {
    if (!syncing_panel_) SetFieldEnabled(PanelColumn(), on);
  });

  auto* colours = new QHBoxLayout;
  auto* back = new QPushButton(QStringLiteral("Back…"), box);
  auto* fore = new QPushButton(QStringLiteral("Text…"), box);
  auto* plain = new QPushButton(QStringLiteral("System"), box);
  for (QPushButton* b : {back, fore, plain}) {
    b->setAutoDefault(false);
    colours->addWidget(b);
  }
  form->addRow(QStringLiteral("Colours"), colours);
  auto pick = [this](bool background) {
    qt::MorlexDateWidget* w = Field(PanelColumn());
    if (w == nullptr) return;
    const std::uint32_t current = background ? w->backColor() : w->foreColor();
    const QColor start =
        (current & 0x80000000u) != 0 ? (background ? Qt::white : Qt::black) : FromColorRef(current);
    const QColor chosen = QColorDialog::getColor(start, this);
    if (!chosen.isValid()) return;
    SetFieldColors(PanelColumn(), background ? ToColorRef(chosen) : w->backColor(),
                   background ? w->foreColor() : ToColorRef(chosen));
  };
  connect(back, &QPushButton::clicked, this, [pick] { pick(true); });
  connect(fore, &QPushButton::clicked, this, [pick] { pick(false); });
  connect(plain, &QPushButton::clicked, this,
          [this] { SetFieldColors(PanelColumn(), kWindowBackground, kWindowText); });

  auto* font = new QPushButton(QStringLiteral("Font…"), box);
  font->setAutoDefault(false);
  form->addRow(QStringLiteral("Font"), font);
  connect(font, &QPushButton::clicked, this, [this] {
    qt::MorlexDateWidget* w = Field(PanelColumn());
    if (w == nullptr) return;
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, w->textFont(), this);
    if (ok) SetFieldFont(PanelColumn(), chosen);
  });

  auto* design = new QHBoxLayout;
  auto* save_design = new QPushButton(QStringLiteral("Save design"), box);
  auto* reload_design = new QPushButton(QStringLiteral("Reload"), box);
  for (QPushButton* b : {save_design, reload_design}) {
    b->setAutoDefault(false);
    design->addWidget(b);
  }
  form->addRow(QStringLiteral("Design"), design);
  connect(save_design, &QPushButton::clicked, this, [this] { SaveDesign(); });
  connect(reload_design, &QPushButton::clicked, this, [this] { ReloadDesign(); });
  design_mode_ = new QCheckBox(QStringLiteral("Design mode (UserMode False)"), box);
  form->addRow(QString(), design_mode_);
  connect(design_mode_, &QCheckBox::toggled, this, [this](bool on) {
    if (syncing_panel_) return;
    if (!SetDesignMode(on)) {
      syncing_panel_ = true;
      design_mode_->setChecked(designing_);
      syncing_panel_ = false;
    }
  });
  hold_lock_ = new QCheckBox(QStringLiteral("Lock the file from another connection"), box);
  form->addRow(QStringLiteral("Trouble"), hold_lock_);
  connect(hold_lock_, &QCheckBox::toggled, this, [this](bool on) {
    if (syncing_panel_) return;
    HoldLock(on);
    ScheduleRefresh();
  });
  return box;
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

// ---------------------------------------------------------------------------
// Fields

void MainWindow::CreateField(FieldRow& row, platform::PropertyBag* bag) {
  FieldBinding& binding = editor_.Bind(row.column);
  const QString name = Q(Info(row.column).name);
  auto* w = new qt::MorlexDateWidget(*toolkit_, qt::MorlexDateWidget::Startup::kHostInitialises,
                                     record_box_);
  w->setObjectName(QStringLiteral("field_%1").arg(name));
  w->setClock(options_.clock);
  w->setUserMode(!designing_);
  if (bag != nullptr) {
    w->readProperties(*bag);
  } else {
    w->initProperties();
    // The host's first size for a new field; the layout pass follows.
    w->resizeTwips(MorlexDate::kDefaultWidth, MorlexDate::kDefaultHeight);
    w->setDateFormat(StartFormat(row.column));
    w->setDataField(name);
    w->setToolTipText(QStringLiteral("%1: month/day/year").arg(Q(Info(row.column).label)));
  }
  w->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

  // The data binding: the field asks and tells; the binding decides.
  w->setCanChangeHandler([this, &binding](const QString& key) {
    const bool can = binding.CanChange(key.toStdString());
    if (!can) {
      Log(QStringLiteral("[%1] CanChange(%2) -> False: %3")
              .arg(Q(Info(binding.Column()).name), key, Q(editor_.WhyNotEditable())));
    }
    return can;
  });
  w->setNotifyChangedHandler(
      [&binding](const QString& key) { binding.NotifyChanged(key.toStdString()); });
  binding.on_notice = [this](const Notice& n) {
    Log(QStringLiteral("[%1] %2").arg(Q(Info(n.column).name),
                                      Q(Describe(n).substr(Info(n.column).name.size() + 2))));
    ScheduleRefresh();
  };
  binding.SetDesignMode(designing_);
  binding.Attach(&w->control());

  const QString tag = QStringLiteral("[%1] ").arg(name);
  const QString label = Q(Info(row.column).label);
  connect(w, &qt::MorlexDateWidget::dateChanged, this, [this, w, tag] {
    Log(tag + QStringLiteral("DateChanged \"%1\"").arg(w->text()));
    ScheduleRefresh();
  });
  connect(w, &qt::MorlexDateWidget::dateInvalid, this, [this, w, tag, label] {
    Log(tag + QStringLiteral("DateInvalid \"%1\"").arg(w->text()));
    Tell(QStringLiteral("%1: \"%2\" is not a date; it is kept in the field but not stored.")
             .arg(label, w->text()),
         true);
    ScheduleRefresh();
  });
  connect(
      w, &qt::MorlexDateWidget::dateError, this,
      [this, tag, label](const QString& source, const QString& description, const QString& custom) {
        Log(tag + QStringLiteral("DateError source=%1 custom=\"%2\" error=\"%3\"")
                      .arg(source, custom, description));
        Tell(QStringLiteral("%1: %2 %3").arg(label, custom, description), true);
        ScheduleRefresh();
      });
  connect(w, &qt::MorlexDateWidget::clicked, this, [this, tag] { Log(tag + "Click"); });
  connect(w, &qt::MorlexDateWidget::doubleClicked, this, [this, tag] { Log(tag + "DblClick"); });

  auto* grid = static_cast<QGridLayout*>(record_box_->layout());
  grid->addWidget(w, static_cast<int>(row.column) + 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
  row.label->setBuddy(w);
  row.widget = w;
  w->show();
}

void MainWindow::DestroyField(FieldRow& row) {
  qt::MorlexDateWidget* w = row.widget;
  if (w == nullptr) return;
  w->setCanChangeHandler({});
  w->setNotifyChangedHandler({});
  if (FieldBinding* binding = editor_.Binding(row.column)) {
    binding->Attach(nullptr);
    binding->on_notice = nullptr;
  }
  row.widget = nullptr;
  delete w;
}

void MainWindow::RecreateFields(bool designing) {
  std::array<storage::FilePropertyBag, 3> bags;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].widget) rows_[i].widget->writeProperties(bags[i]);
  }
  designing_ = designing;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    DestroyField(rows_[i]);
    CreateField(rows_[i], &bags[i]);
  }
  // Back at run time, the fields show the record again.
  if (!designing_) {
    for (const FieldRow& row : rows_) editor_.Binding(row.column)->Show();
  }
}

// ---------------------------------------------------------------------------
// Commands

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

bool MainWindow::AskToLeave() {
  if (!editor_.Dirty()) return true;
  if (!options_.interactive) {
    Tell(QStringLiteral("The record has unsaved changes: save or revert them first."), true);
    return false;
  }
  const auto answer = QMessageBox::question(
      this, QStringLiteral("Unsaved changes"),
      QStringLiteral("The record has changes that are not saved."),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Save) return SaveRecord();
  if (answer == QMessageBox::Discard) return RevertRecord();
  return false;
}

bool MainWindow::GoTo(Move move) {
  if (designing_ || !AskToLeave()) return false;
  bool moved = false;
  const bool ok = Guard(QStringLiteral("Could not move to the record"),
                        [&] { moved = editor_.Go(move, /*discard_edits=*/true); });
  if (ok) {
    Tell(moved ? QString::fromStdString(editor_.PositionText())
               : QStringLiteral("There is no record in that direction."),
         false);
  }
  RefreshNow();
  return ok && moved;
}

bool MainWindow::NewRecord() {
  if (designing_ || !AskToLeave()) return false;
  const bool ok = Guard(QStringLiteral("Could not add a record"), [&] { editor_.New(true); });
  if (ok) {
    Tell(QStringLiteral("New record: fill it in, then Save."), false);
    name_->setFocus(Qt::OtherFocusReason);
  }
  RefreshNow();
  return ok;
}

bool MainWindow::DeleteRecord() {
  if (designing_) return false;
  if (options_.interactive && editor_.HasRecord() && !editor_.IsNew() &&
      QMessageBox::question(
          this, QStringLiteral("Delete"),
          QStringLiteral("Delete %1 from the file?").arg(Q(editor_.Stored().name))) !=
          QMessageBox::Yes) {
    return false;
  }
  const bool ok = Guard(QStringLiteral("Could not delete the record"), [&] { editor_.Delete(); });
  if (ok) Tell(QStringLiteral("Deleted. ") + Q(editor_.PositionText()), false);
  if (ok) table_model_->Reload();
  RefreshNow();
  return ok;
}

bool MainWindow::SaveRecord() {
  if (designing_) return false;
  const bool ok = Guard(QStringLiteral("Could not save the record"), [&] { editor_.Save(); });
  if (ok) table_model_->Reload();
  if (ok) {
    Tell(QStringLiteral("Saved %1 (id %2) in one transaction.")
             .arg(Q(editor_.Buffer().name))
             .arg(editor_.Buffer().id),
         false);
  }
  RefreshNow();
  return ok;
}

bool MainWindow::SaveTableEdits() {
  const bool ok = table_model_->SavePending();
  if (ok) Tell(QStringLiteral("Every edit of the table is in the file."), false);
  RefreshNow();
  return ok;
}

bool MainWindow::RevertRecord() {
  if (designing_) return false;
  const bool ok = Guard(QStringLiteral("Could not revert"), [&] { editor_.Revert(); });
  if (ok) Tell(QStringLiteral("Edits discarded: the form shows the file's values."), false);
  RefreshNow();
  return ok;
}

bool MainWindow::SaveDesign() {
  const bool ok = Guard(QStringLiteral("Could not save the design"), [&] {
    if (options_.design_dir.empty()) throw Error(errnum::kFileFailure, "No design folder is set.");
    for (const FieldRow& row : rows_) {
      SaveFieldDesign(options_.design_dir, row.column, row.widget->control());
    }
    for (const FieldRow& row : rows_) editor_.Binding(row.column)->ClearDesignChanged();
  });
  if (ok) {
    Tell(QStringLiteral("Saved the fields' design (WriteProperties) to %1")
             .arg(Q(options_.design_dir.string())),
         false);
  }
  RefreshNow();
  return ok;
}

bool MainWindow::ReloadDesign() {
  if (!designing_ && !AskToLeave()) return false;
  const bool ok = Guard(QStringLiteral("Could not load the design"), [&] {
    if (!HasFormDesign(options_.design_dir)) {
      throw Error(errnum::kFileFailure,
                  "There is no saved design in " + options_.design_dir.string() + ".");
    }
    std::array<std::optional<storage::FilePropertyBag>, 3> bags;
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      bags[i] = LoadFieldDesign(options_.design_dir, rows_[i].column, problems);
    }
    for (const std::string& p : problems) Log(QStringLiteral("Design file %1").arg(Q(p)));
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      DestroyField(rows_[i]);
      CreateField(rows_[i], bags[i] ? &*bags[i] : nullptr);
    }
    if (!designing_) {
      for (const FieldRow& row : rows_) editor_.Binding(row.column)->Show();
    }
  });
  if (ok) {
    Tell(QStringLiteral("Loaded the fields' design (ReadProperties) from %1")
             .arg(Q(options_.design_dir.string())),
         false);
  }
  SyncPanel();
  RefreshNow();
  return ok;
}

bool MainWindow::SetDesignMode(bool designing) {
  if (designing == designing_) return true;
  if (designing && !AskToLeave()) return false;
  const bool ok =
      Guard(QStringLiteral("Could not switch the mode"), [&] { RecreateFields(designing); });
  if (ok) {
    Tell(designing ? QStringLiteral("Design mode: UserMode is False, the fields are not bound "
                                    "to data; their settings are the design.")
                   : QStringLiteral("Run mode: UserMode is True, the fields are bound again."),
         false);
  }
  syncing_panel_ = true;
  design_mode_->setChecked(designing_);
  design_action_->setChecked(designing_);
  syncing_panel_ = false;
  SyncPanel();
  RefreshNow();
  return ok;
}

void MainWindow::ShowAbout() {
  if (qt::MorlexDateWidget* w = Field(PanelColumn())) w->aboutBox();
}

bool MainWindow::HoldLock(bool hold) {
  if (hold == (lock_ != nullptr)) return true;
  if (!hold) {
    sqlite3_exec(lock_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(lock_);
    lock_ = nullptr;
    Log(QStringLiteral("The other connection let go of its lock."));
    return true;
  }
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(store_.Path().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    Tell(QStringLiteral("Could not lock the file from another connection: %1")
             .arg(QString::fromUtf8(sqlite3_errmsg(db))),
         true);
    sqlite3_close(db);
    return false;
  }
  lock_ = db;
  Log(QStringLiteral("Another connection now holds a write transaction on the file."));
  return true;
}

// ---------------------------------------------------------------------------
// The properties panel

DateColumn MainWindow::PanelColumn() const {
  return kDateColumns[static_cast<std::size_t>(std::max(0, panel_field_->currentIndex()))];
}

void MainWindow::SelectPanelField(DateColumn column) {
  panel_field_->setCurrentIndex(static_cast<int>(column));
  SyncPanel();
}

bool MainWindow::SetFieldFormat(DateColumn column, int format) {
  const bool ok = Guard(QStringLiteral("Could not change DateFormat"),
                        [&] { editor_.Binding(column)->ApplyDateFormat(format); });
  SyncPanel();
  ScheduleRefresh();
  return ok;
}

bool MainWindow::SetFieldCalendar(DateColumn column, bool on) {
  if (Field(column) == nullptr) return false;
  Field(column)->setCalendar(on);
  SyncPanel();
  return Field(column)->calendar() == on;
}

bool MainWindow::SetFieldSpin(DateColumn column, bool on) {
  if (Field(column) == nullptr) return false;
  Field(column)->setSpin(on);
  SyncPanel();
  return Field(column)->spin() == on;
}

bool MainWindow::SetFieldEnabled(DateColumn column, bool on) {
  if (Field(column) == nullptr) return false;
  const bool ok = Guard(QStringLiteral("Could not change Enabled"),
                        [&] { Field(column)->control().SetEnabled(on); });
  SyncPanel();
  return ok;
}

bool MainWindow::SetFieldColors(DateColumn column, std::uint32_t back, std::uint32_t fore) {
  qt::MorlexDateWidget* w = Field(column);
  if (w == nullptr) return false;
  w->setBackColor(back);
  w->setForeColor(fore);
  return w->backColor() == back && w->foreColor() == fore;
}

bool MainWindow::SetFieldFont(DateColumn column, const QFont& font) {
  qt::MorlexDateWidget* w = Field(column);
  if (w == nullptr) return false;
  w->setTextFont(font);
  return true;
}

void MainWindow::SyncPanel() {
  qt::MorlexDateWidget* w = Field(PanelColumn());
  if (w == nullptr) return;
  syncing_panel_ = true;
  panel_format_->setCurrentIndex(static_cast<int>(w->dateFormat()));
  panel_calendar_->setChecked(w->calendar());
  panel_spin_->setChecked(w->spin());
  panel_enabled_->setChecked(w->control().Enabled());
  syncing_panel_ = false;
}

// ---------------------------------------------------------------------------
// Messages and refreshing

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

void MainWindow::RefreshNow() {
  refresh_.stop();
  const bool has_record = editor_.HasRecord();
  const bool read_only = store_.ReadOnly();
  const bool dirty = editor_.Dirty();

  QStringList notes;
  QString colour = QStringLiteral("#e8f0fe");
  if (designing_) {
    notes << QStringLiteral(
        "Design mode (UserMode False): the fields are not bound to the "
        "file; what you change is their design, kept by Save design.");
    colour = QStringLiteral("#fff4d6");
  }
  if (read_only) {
    notes << QStringLiteral(
                 "Read-only: %1. CanChange(\"Text\") answers False; nothing can be "
                 "saved.")
                 .arg(Q(store_.Path()));
    colour = QStringLiteral("#fde2e1");
  } else if (!designing_) {
    notes << QStringLiteral("Database: %1").arg(Q(store_.Path()));
  }
  if (!has_record && !designing_) notes << QStringLiteral("No current record: use New.");
  if (lock_ != nullptr) {
    notes << QStringLiteral("Another connection holds a write lock on the file.");
    colour = QStringLiteral("#fde2e1");
  }
  const bool table_waits = table_model_->HasPending();
  if (table_waits) notes << QStringLiteral("The table holds edits that are not in the file yet.");
  save_table_->setEnabled(table_waits);
  discard_table_->setEnabled(table_waits);
  banner_->setText(notes.join(QStringLiteral("  ")));
  banner_->setStyleSheet(QStringLiteral("background:%1; border:1px solid #b0b8c8;").arg(colour));

  setWindowTitle(QStringLiteral("%1MorlexDate demo - people").arg(dirty ? "* " : ""));
  position_->setText(Q(editor_.PositionText()));
  record_box_->setTitle(designing_ ? QStringLiteral("Person (design)") : QStringLiteral("Person"));
  // A form designer's dotted grid behind the fields while designing.
  QPalette palette = record_box_->palette();
  palette.setBrush(QPalette::Window, designing_
                                         ? QBrush(QColor(0x9a, 0xa4, 0xb4), Qt::Dense7Pattern)
                                         : QPalette().brush(QPalette::Window));
  record_box_->setPalette(palette);
  record_box_->setAutoFillBackground(designing_);

  const bool editable = editor_.Editable() && !designing_;
  name_->setReadOnly(!editable);
  name_->setEnabled(!designing_);
  const bool new_record = editor_.IsNew();
  name_stored_->setText(has_record && !new_record ? Q(editor_.Stored().name) : QStringLiteral("-"));
  const bool name_changed = editor_.Buffer().name != editor_.Stored().name;
  name_state_->setText(name_changed ? QStringLiteral("changed, saved on Save") : QString());
  name_state_->setStyleSheet(QStringLiteral("color:#1a4fa0;"));

  for (const FieldRow& row : rows_) {
    const FieldBinding* binding = editor_.Binding(row.column);
    auto* pattern =
        record_box_->findChild<QLabel*>(QStringLiteral("pattern_%1").arg(Q(Info(row.column).name)));
    if (row.widget && pattern) {
      const std::u16string& p = row.widget->control().DatePattern();
      pattern->setText(p.empty() ? QStringLiteral("(none)") : Q(p));
    }
    const std::optional<std::string>& stored = editor_.Stored().DateText(row.column);
    row.stored->setText(!has_record || new_record ? QStringLiteral("-")
                                                  : (stored ? Q(*stored) : QStringLiteral("NULL")));
    QString text;
    QString style = QStringLiteral("color:#555;");
    if (designing_) {
      text = binding->DesignChanged() ? QStringLiteral("design changed") : QStringLiteral("design");
    } else if (has_record && !editor_.Editable() && binding->State() != FieldState::kShowsValue) {
      // CanChange said no: the field keeps what was typed, nothing more.
      text = QStringLiteral("kept in the field only: read-only");
      style = QStringLiteral("color:#b00020;");
    } else if (has_record) {
      switch (binding->State()) {
        case FieldState::kShowsValue:
          if (editor_.Buffer().DateText(row.column) != stored) {
            text = QStringLiteral("changed, saved on Save");
            style = QStringLiteral("color:#1a4fa0;");
          } else {
            text = QStringLiteral("as in the file");
          }
          break;
        case FieldState::kEditing:
          text = QStringLiteral("typing, not committed");
          style = QStringLiteral("color:#8a6d00;");
          break;
        case FieldState::kInvalid:
          text = QStringLiteral("not a date, not stored");
          style = QStringLiteral("color:#b00020; font-weight:bold;");
          break;
        case FieldState::kRefused:
          text = QStringLiteral("refused, not stored");
          style = QStringLiteral("color:#b00020; font-weight:bold;");
          break;
      }
    }
    row.state->setText(text);
    row.state->setStyleSheet(style);
  }

  const bool run = !designing_;
  for (int i = 0; i < 4; ++i) nav_[static_cast<std::size_t>(i)]->setEnabled(run);
  nav_[4]->setEnabled(run && !read_only);
  nav_[5]->setEnabled(run && has_record && !read_only);
  nav_[6]->setEnabled(run && has_record && !read_only);
  nav_[7]->setEnabled(run && dirty);

  syncing_panel_ = true;
  hold_lock_->setChecked(lock_ != nullptr);
  lock_action_->setChecked(lock_ != nullptr);
  syncing_panel_ = false;
}

// ---------------------------------------------------------------------------
// Events

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
        code = 13;
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
