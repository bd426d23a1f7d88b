// morlex-qt-fuzz: a seeded random user and program playing the field on Qt
// (offscreen), on a form beside a line edit and a table whose date column
// the delegate edits in place, with the field mapped to the same model.
// Steps: keys with and without Alt/Ctrl/Meta/Shift (characters, editing
// keys, Up/Down, Alt+Down, F4, Tab and Shift+Tab), focus moves and the
// label's mnemonic, clicks on the field's parts, the line edit and the
// table's cells, font and palette changes, range, date, text and format
// writes, the mapper moving through the rows, and the about box. A dialog
// that opens is played from a timer inside its modal loop (keys of the
// calendar and clicks), then closed.
//
// After every step:
//  - no modal dialog is open, and one opened only where the calendar or the
//    about box may open; while the calendar is open the editor it came from
//    is still open;
//  - the focus is inside the field, the line edit or the table, and where it
//    was unless the step moved it (Tab, a click, a mnemonic, a focus move);
//  - a typed key takes the text past 11 characters only by one character
//    in place of the key (the field's own separator or overwrite); paste,
//    undo and redo are the line edit's own and only counted;
//  - date() follows the text: the date an in-range date text reads as (or
//    a date the program showed as that text), else null, never a date that
//    a text on the way stood for;
//  - the table is never told to commit or close an editor it does not have;
//  - every date cell of the model keeps its kind: a QDate stays a QDate, ISO
//    text stays ISO text, a cleared cell is NULL, and no date outside the
//    delegate's range is written.
//
//   morlex-qt-fuzz [--seed N] [--steps N] [--verbose]
// exits 0 when every invariant held; otherwise prints the last steps and the
// broken invariant and exits 1.
#include <QAbstractButton>
#include <QApplication>
#include <QDataWidgetMapper>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "date_text_rule.h"
#include "fuzz_player.h"
#include "morlex/control/morlex_date.h"
#include "morlex/core/date_format.h"
#include "morlex/platform/clock.h"
#include "morlex/platform/surface.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/morlex_date_delegate.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"

namespace {

using morlex::qt::MorlexDateDelegate;
using morlex::qt::MorlexDateWidget;

// Qt's warning when an item view is told to commit or close an editor it
// does not have (a text box taken for an editor, a commit heard twice):
// counted, and a broken invariant at the end of the step.
int stale_editor_warnings = 0;

void Messages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("an editor that does not belong to this view"))) {
    ++stale_editor_warnings;
  }
  // A cell asked to edit while its editor is open already.
  if (message == QLatin1String("edit: editing failed")) return;
  (void)type;
  (void)context;
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

constexpr int kRows = 6;
constexpr int kDateColumn = 1;
const QDate kDelegateMinimum(1900, 1, 1);
const QDate kDelegateMaximum(2099, 12, 31);

MorlexDateWidget* FieldAround(QWidget* widget) {
  for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    if (auto* field = qobject_cast<MorlexDateWidget*>(w)) return field;
  }
  return nullptr;
}

// What one field showed during a step, to judge its value afterwards.
struct Track {
  QPointer<MorlexDateWidget> field;
  QDate before;
};

// What a step may do.
struct Expect {
  bool calendar = false;  // may open the calendar
  bool about = false;     // opens the about box
  enum class Focus { kStays, kMoves, kToField } focus = Focus::kStays;
  QPointer<MorlexDateWidget> typed_into;  // a key went to this field's text box
  int length_before = 0;
  bool may_fail = false;  // a write of a value the field refuses with an error
  bool pastes = false;    // the key is paste, undo or redo
};

class Driver : public QObject, private morlex::test::FuzzPlayer {
 public:
  Driver(std::uint32_t seed, bool verbose) : FuzzPlayer("morlex-qt-fuzz", seed, verbose) {
    morlex::qt::SetFailureHandler([this](std::exception_ptr failure) {
      failures_.push_back(morlex::qt::DescribeFailure(failure));
    });
    auto* layout = new QVBoxLayout(&window_);
    label_ = new QLabel(QStringLiteral("&Born"), &window_);
    field_ = new MorlexDateWidget(toolkit_, MorlexDateWidget::Startup::kHostInitialises, &window_);
    field_->setClock(&clock_);
    field_->initProperties();
    label_->setBuddy(field_);
    other_ = new QLineEdit(&window_);
    view_ = new QTableView(&window_);
    layout->addWidget(label_);
    layout->addWidget(field_);
    layout->addWidget(other_);
    layout->addWidget(view_);

    model_.setRowCount(kRows);
    model_.setColumnCount(2);
    const QVariant dates[kRows] = {QDate(1990, 7, 4),  QStringLiteral("1920-01-05"),
                                   QVariant(),         QStringLiteral("soon"),
                                   QDate(2024, 2, 29), QStringLiteral("2099-12-31")};
    for (int row = 0; row < kRows; ++row) {
      model_.setData(model_.index(row, 0), QStringLiteral("row %1").arg(row));
      model_.setData(model_.index(row, kDateColumn), dates[row]);
      original_.push_back(dates[row]);
    }
    // One delegate each: a view hears every commit of a delegate it shares
    // with a mapper, and warns about the editors that are not its.
    for (MorlexDateDelegate* delegate : {&delegate_, &mapped_}) {
      delegate->setDateFormat(MorlexDateWidget::LeadingZerosNoCentury);
      delegate->setDateRange(kDelegateMinimum, kDelegateMaximum);
    }
    view_->setModel(&model_);
    view_->setItemDelegateForColumn(kDateColumn, &delegate_);
    mapper_.setModel(&model_);
    mapper_.setItemDelegate(&mapped_);
    mapper_.addMapping(field_, kDateColumn);
    mapper_.toFirst();

    window_.resize(420, 360);
    window_.show();
    window_.activateWindow();
    if (!QTest::qWaitForWindowActive(&window_)) Fail("the platform activates no window");
    field_->setFocus(Qt::OtherFocusReason);

    // Plays any modal dialog from inside its loop, then closes it.
    watchdog_.setInterval(2);
    QObject::connect(&watchdog_, &QTimer::timeout, this, [this] { PlayDialog(); });
    watchdog_.start();
  }

  ~Driver() override { morlex::qt::SetFailureHandler(nullptr); }

  void Run(int steps) {
    QElapsedTimer clock;
    clock.start();
    for (step_ = 0; step_ < steps; ++step_) Step();
    int changed = 0;
    for (int row = 0; row < kRows; ++row) {
      if (model_.index(row, kDateColumn).data(Qt::EditRole) !=
          original_[static_cast<std::size_t>(row)]) {
        ++changed;
      }
    }
    std::printf(
        "morlex-qt-fuzz: seed %u, %d steps in %.1f s: %d keys, %d clicks, %d writes, "
        "%d calendars and %d about boxes played, %d editors opened, %d of %d cells changed; %d "
        "pastes or undos past 11 characters\n",
        seed_, steps, static_cast<double>(clock.elapsed()) / 1000.0, keys_, clicks_, writes_,
        calendars_, abouts_, editors_, changed, kRows, long_pastes_);
    std::printf("  fields alive %d, top-level widgets %d\n",
                static_cast<int>(window_.findChildren<MorlexDateWidget*>().size()),
                static_cast<int>(QApplication::topLevelWidgets().size()));
  }

 private:
  // --- The focus --------------------------------------------------------------
  enum class Owner { kNone, kField, kOther, kView, kElsewhere };
  Owner OwnerOf(QWidget* w) const {
    if (w == nullptr) return Owner::kNone;
    if (w == field_ || field_->isAncestorOf(w)) return Owner::kField;
    if (w == other_) return Owner::kOther;
    if (w == view_ || view_->isAncestorOf(w)) return Owner::kView;
    return Owner::kElsewhere;
  }
  static const char* Name(Owner owner) {
    static const char* const kNames[] = {"nothing", "the field", "the line edit", "the table",
                                         "elsewhere"};
    return kNames[static_cast<int>(owner)];
  }

  // --- A step -----------------------------------------------------------------
  void Step() {
    BeginTracks();
    const Owner owner_before = OwnerOf(QApplication::focusWidget());
    opened_.clear();
    dialog_from_.reset();
    const std::size_t failures_before = failures_.size();
    Expect expect;
    const int kind = Pick(100);
    if (kind < 45) {
      Key(expect);
    } else if (kind < 60) {
      Click(expect);
    } else if (kind < 66) {
      FocusMove(expect);
    } else if (kind < 72) {
      Look();
    } else if (kind < 88) {
      Write(expect);
    } else if (kind < 95) {
      EditInView(expect);
    } else if (kind < 99) {
      Navigate();
    } else {
      Note("about box");
      expect.about = true;
      field_->aboutBox();
    }
    QApplication::processEvents();
    if (!opened_.empty()) {
      // As the window system does once a dialog has gone.
      window_.activateWindow();
      QApplication::processEvents();
    }
    Check(expect, owner_before);
    if (failures_.size() > failures_before && !expect.may_fail) {
      Fail("a failure reached the boundary: " + failures_.back());
    }
  }

  void Check(const Expect& expect, Owner owner_before) {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      Fail("a dialog is still open: " + modal->objectName().toStdString());
    }
    for (const QString& name : opened_) {
      const bool calendar = name == QStringLiteral("frmCalendar") && expect.calendar;
      const bool about = name == QStringLiteral("frmAbout") && expect.about;
      if (!calendar && !about)
        Fail("a dialog opened that the step does not open: " + name.toStdString());
    }
    const Owner owner = OwnerOf(QApplication::focusWidget());
    if (owner == Owner::kElsewhere || owner == Owner::kNone) {
      Fail(std::string("the focus is ") + Name(owner));
    }
    if (expect.focus == Expect::Focus::kStays && owner != owner_before) {
      Fail(std::string("the focus moved from ") + Name(owner_before) + " to " + Name(owner));
    }
    if (expect.focus == Expect::Focus::kToField && owner != Owner::kField) {
      Fail(std::string("the mnemonic left the focus in ") + Name(owner));
    }
    if (expect.typed_into) {
      const int length = static_cast<int>(expect.typed_into->text().size());
      if (length > std::max(expect.length_before + 1, 11)) {
        if (!expect.pastes)
          Fail("a typed key made the text " + expect.typed_into->text().toStdString());
        ++long_pastes_;
      }
    }
    if (stale_editor_warnings > 0) Fail("the table was told of an editor it does not have");
    EndTracks();
    CheckModel();
  }

  // --- Keys -------------------------------------------------------------------
  using KeyChoice = morlex::test::KeyChoice;
  static constexpr auto kKeys = morlex::test::PlayerKeys({Qt::Key_T, 't'});

  void Key(Expect& expect) {
    const KeyChoice choice = kKeys[Pick(static_cast<int>(std::size(kKeys)))];
    Qt::KeyboardModifiers mods = Modifiers();
    if (Chance(8)) {  // the down arrow with Alt, the calendar's key
      Send(Qt::Key_Down, 0, Qt::AltModifier, expect);
      return;
    }
    Send(choice.key, choice.text, mods, expect);
  }

  void Send(Qt::Key key, char text, Qt::KeyboardModifiers mods, Expect& expect) {
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr) target = &window_;
    Note("key " + Describe(key, mods) + " to " + Name(OwnerOf(target)));
    ++keys_;
    MorlexDateWidget* field = FieldAround(target);
    if (field != nullptr) dialog_from_ = QPointer<MorlexDateWidget>(field);
    // Paste, undo and redo put text in that no key typed: the line edit's
    // own editing, outside the rule for typed keys (counted below).
    QKeyEvent event(QEvent::KeyPress, key, mods);
    expect.pastes = event.matches(QKeySequence::Paste) || event.matches(QKeySequence::Undo) ||
                    event.matches(QKeySequence::Redo);
    if (field != nullptr && qobject_cast<QLineEdit*>(target) != nullptr) {
      expect.typed_into = field;
      expect.length_before = static_cast<int>(field->text().size());
    }
    // The calendar opens from the field by Alt+Down or F4, and by its
    // button when that has the focus.
    const bool arrow = key == Qt::Key_Down || key == Qt::Key_Up;
    expect.calendar =
        field != nullptr && (key == Qt::Key_F4 || (arrow && (mods & Qt::AltModifier)) ||
                             qobject_cast<QAbstractButton*>(target) != nullptr);
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
      expect.focus = Expect::Focus::kMoves;
    } else if (key == Qt::Key_B && mods == Qt::AltModifier) {
      expect.focus = Expect::Focus::kToField;
    } else if (OwnerOf(target) == Owner::kView && field == nullptr) {
      // The table starts an editor for a key, and the editor takes the focus
      // inside the table; F4 or Alt+Down may reach its calendar at once.
      expect.calendar = true;
    }
    if (text != 0) {
      const char shown = (mods & Qt::ShiftModifier) ? static_cast<char>(std::toupper(text)) : text;
      QTest::keyClick(target, shown, mods);
    } else {
      QTest::keyClick(target, key, mods);
    }
  }

  // --- Clicks -----------------------------------------------------------------
  void Click(Expect& expect) {
    ++clicks_;
    expect.focus = Expect::Focus::kMoves;
    morlex::platform::Surface& surface = field_->control().ControlSurface();
    switch (Pick(6)) {
      case 0: {
        const QRect box = morlex::qt::AreaOf(surface.GetTextBox("txtDate"));
        Note("click the text box");
        if (!box.isEmpty()) {
          QWidget* edit = field_->focusProxy();
          const QPoint at(Pick(std::max(1, box.width())), box.height() / 2);
          QTest::mouseClick(edit != nullptr ? edit : field_, Qt::LeftButton, {}, at);
        }
        break;
      }
      case 1: {
        const QRect spin = morlex::qt::AreaOf(surface.GetUpDown("spinCTL"));
        const bool up = Chance(50);
        Note(up ? "click the spin's upper arrow" : "click the spin's lower arrow");
        if (!spin.isEmpty()) {
          const QPoint at(spin.center().x(),
                          up ? spin.top() + spin.height() / 4 : spin.bottom() - spin.height() / 4);
          QTest::mouseClick(field_, Qt::LeftButton, {}, at);
        }
        break;
      }
      case 2: {
        const QRect button = morlex::qt::AreaOf(surface.GetCommandButton("cmdCalendar"));
        Note("click the calendar button");
        expect.calendar = true;
        if (!button.isEmpty()) QTest::mouseClick(field_, Qt::LeftButton, {}, button.center());
        break;
      }
      case 3:
        Note("click the line edit");
        QTest::mouseClick(other_, Qt::LeftButton);
        break;
      case 4: {
        const QModelIndex index = model_.index(Pick(kRows), Pick(2));
        const QRect cell = view_->visualRect(index);
        const bool twice = Chance(40);
        Note(std::string(twice ? "double-click" : "click") + " the cell " +
             std::to_string(index.row()) + "," + std::to_string(index.column()));
        if (cell.isValid()) {
          if (twice) {
            QTest::mouseDClick(view_->viewport(), Qt::LeftButton, {}, cell.center());
          } else {
            QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, cell.center());
          }
        }
        break;
      }
      default:
        Note("click the label");
        expect.focus = Expect::Focus::kStays;
        QTest::mouseClick(label_, Qt::LeftButton);
        break;
    }
  }

  void FocusMove(Expect& expect) {
    expect.focus = Expect::Focus::kMoves;
    switch (Pick(4)) {
      case 0:
        Note("focus to the field");
        field_->setFocus(Qt::OtherFocusReason);
        break;
      case 1:
        Note("focus to the line edit");
        other_->setFocus(Qt::OtherFocusReason);
        break;
      case 2:
        Note("focus to the table");
        view_->setFocus(Qt::OtherFocusReason);
        break;
      default: {
        QWidget* target = QApplication::focusWidget();
        Note("the label's mnemonic Alt+B");
        QTest::keyClick(target != nullptr ? target : &window_, Qt::Key_B, Qt::AltModifier);
        expect.focus = Expect::Focus::kToField;
        break;
      }
    }
  }

  // --- Font and palette -------------------------------------------------------
  void Look() {
    static const char* const kFamilies[] = {"DejaVu Sans", "DejaVu Serif", "Liberation Mono",
                                            "no such face"};
    QFont font(QString::fromLatin1(kFamilies[Pick(4)]), 5 + Pick(20));
    font.setBold(Chance(30));
    font.setItalic(Chance(20));
    switch (Pick(5)) {
      case 0:
        Note("textFont " + font.toString().toStdString());
        field_->setTextFont(font);
        break;
      case 1:
        Note("the field's Qt font " + font.toString().toStdString());
        field_->setFont(font);
        break;
      case 2:
        Note("the window's font " + font.toString().toStdString());
        window_.setFont(font);
        break;
      case 3: {
        QPalette palette = window_.palette();
        const QColor colour = QColor::fromRgb(static_cast<QRgb>(random_()));
        palette.setColor(Chance(50) ? QPalette::Base : QPalette::Text, colour);
        palette.setColor(QPalette::Window, colour.darker());
        Note("the window's palette " + colour.name().toStdString());
        window_.setPalette(palette);
        break;
      }
      default: {
        const uint colour = Chance(30) ? 0x80000000U + static_cast<uint>(Pick(25))
                                       : static_cast<uint>(random_() & 0xFFFFFF);
        Note("a colour " + std::to_string(colour));
        if (Chance(50)) {
          field_->setBackColorValue(colour);
        } else {
          field_->setForeColorValue(colour);
        }
        break;
      }
    }
  }

  // --- Program writes ---------------------------------------------------------
  QDate SomeDate() {
    switch (Pick(6)) {
      case 0:
        return {};
      case 1:
        return QDate(1920 + Pick(3), 1, 5);
      case 2:
        return QDate(Pick(2) == 0 ? 100 : 9999, Pick(2) == 0 ? 1 : 12, Pick(2) == 0 ? 1 : 31);
      case 3:
        return QDate(99, 12, 31);  // before the years the field holds
      default:
        return QDate(1890 + Pick(220), 1 + Pick(12), 1 + Pick(31));  // may be invalid
    }
  }

  // A range write is refused (with an error) only for a date that is no
  // date of the years 100 to 9999, or a minimum after the maximum.
  static bool Holdable(const QDate& date) {
    return date.isValid() && date.year() >= 100 && date.year() <= 9999;
  }

  void Write(Expect& expect) {
    ++writes_;
    switch (Pick(8)) {
      case 0:
      case 1: {
        const QDate date = SomeDate();
        Note("setDate " + date.toString(Qt::ISODate).toStdString());
        field_->setDate(date);
        break;
      }
      case 2: {
        const QDate a = SomeDate();
        const QDate b = SomeDate();
        Note("setDateRange " + a.toString(Qt::ISODate).toStdString() + " " +
             b.toString(Qt::ISODate).toStdString());
        expect.may_fail = !Holdable(a) || !Holdable(b) || b < a;
        field_->setDateRange(a, b);
        break;
      }
      case 3: {
        const QDate date = SomeDate();
        const bool minimum = Chance(50);
        Note(std::string(minimum ? "setMinimumDate " : "setMaximumDate ") +
             date.toString(Qt::ISODate).toStdString());
        expect.may_fail = !Holdable(date);
        if (minimum) {
          field_->setMinimumDate(date);
        } else {
          field_->setMaximumDate(date);
        }
        break;
      }
      case 4: {
        static const char* const kTexts[] = {"",         "1/5/20",     "02/29/2000", "2/30/1999",
                                             "12/31/99", "7/4/0100",   "13/1/2000",  "  ",
                                             "3/3/3",    "10/10/2010", "1/1/10000"};
        const QString text = QString::fromLatin1(kTexts[Pick(11)]);
        Note("setText " + text.toStdString());
        field_->setText(text);
        break;
      }
      case 5: {
        const int format = Chance(90) ? Pick(4) : 7;
        Note("setDateFormat " + std::to_string(format));
        field_->setDateFormat(format);
        break;
      }
      case 6: {
        const bool on = Chance(70);
        const bool calendar = Chance(50);
        Note(std::string(calendar ? "setCalendar " : "setSpin ") + (on ? "on" : "off"));
        if (calendar) {
          field_->setCalendar(on);
        } else {
          field_->setSpin(on);
        }
        break;
      }
      default: {
        const bool allowed = Chance(80);
        Note(std::string("the host ") + (allowed ? "allows" : "refuses") + " changes");
        field_->setCanChangeHandler([allowed](const QString&) { return allowed; });
        break;
      }
    }
  }

  // --- The table and the mapper ------------------------------------------------
  void EditInView(Expect& expect) {
    expect.focus = Expect::Focus::kMoves;
    const QModelIndex index = model_.index(Pick(kRows), kDateColumn);
    Note("edit the cell " + std::to_string(index.row()));
    ++editors_;
    view_->setCurrentIndex(index);
    view_->edit(index);
  }

  void Navigate() {
    const int row = Pick(kRows);
    Note("mapper to row " + std::to_string(row));
    mapper_.setCurrentIndex(row);
  }

  // Every date cell keeps its kind, and holds no date outside the range
  // unless it held that value from the start.
  void CheckModel() {
    for (int row = 0; row < kRows; ++row) {
      const QVariant value = model_.index(row, kDateColumn).data(Qt::EditRole);
      const QVariant& was = original_[static_cast<std::size_t>(row)];
      const std::string where = "row " + std::to_string(row) + " holds " +
                                value.toString().toStdString() + " (" +
                                (value.typeName() != nullptr ? value.typeName() : "NULL") + ")";
      if (value.isNull() || value == was) continue;
      QDate date;
      if (was.metaType().id() == QMetaType::QString) {
        if (value.metaType().id() != QMetaType::QString) Fail(where + ": no longer text");
        date = QDate::fromString(value.toString(), Qt::ISODate);
        if (value.toString().size() != 10) date = QDate();
      } else {
        if (value.metaType().id() != QMetaType::QDate) Fail(where + ": no longer a QDate");
        date = value.toDate();
      }
      if (!date.isValid()) Fail(where + ": not a date");
      if (date < kDelegateMinimum || date > kDelegateMaximum) Fail(where + ": outside the range");
    }
  }

  // --- Dialogs ----------------------------------------------------------------
  // Runs inside the modal loop of whatever dialog opened: plays a few keys
  // and clicks on it, and closes it if it is still open.
  void PlayDialog() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || playing_) return;
    playing_ = true;
    const QString name = modal->objectName();
    opened_.push_back(name);
    if (name == QStringLiteral("frmCalendar")) {
      ++calendars_;
    } else if (name == QStringLiteral("frmAbout")) {
      ++abouts_;
    }
    Note("  dialog " + name.toStdString());
    // The editor the calendar came from stays open while it is shown.
    if (dialog_from_.has_value() && dialog_from_->isNull()) {
      Fail("the editor went while its calendar was open");
    }
    QPointer<QWidget> dialog(modal);
    static constexpr Qt::Key kCalendarKeys[] = {
        Qt::Key_Left,     Qt::Key_Right, Qt::Key_Up,   Qt::Key_Down,  Qt::Key_PageUp,
        Qt::Key_PageDown, Qt::Key_Home,  Qt::Key_End,  Qt::Key_Tab,   Qt::Key_Backtab,
        Qt::Key_Space,    Qt::Key_1,     Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Return,
        Qt::Key_Escape,   Qt::Key_F4};
    const int steps = Pick(7);
    for (int i = 0; i < steps && dialog && dialog->isVisible(); ++i) {
      if (Chance(75)) {
        const Qt::Key key = kCalendarKeys[Pick(static_cast<int>(std::size(kCalendarKeys)))];
        const Qt::KeyboardModifiers mods = Chance(70) ? Qt::KeyboardModifiers() : Modifiers();
        QWidget* target = QApplication::focusWidget();
        if (target == nullptr || target->window() != dialog) target = dialog;
        Note("  dialog key " + Describe(key, mods));
        QTest::keyClick(target, key, mods);
      } else {
        const QPoint at(Pick(std::max(1, dialog->width())), Pick(std::max(1, dialog->height())));
        QWidget* target = dialog->childAt(at);
        if (target == nullptr) target = dialog;
        Note("  dialog click " + std::to_string(at.x()) + "," + std::to_string(at.y()));
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(dialog, at));
      }
      if (QWidget* now = QApplication::activeModalWidget(); now != nullptr && now != dialog) {
        Fail("a second dialog opened over " + name.toStdString() + ": " +
             now->objectName().toStdString());
      }
    }
    if (dialog && dialog->isVisible()) {
      Note("  close the dialog");
      if (auto* d = qobject_cast<QDialog*>(dialog.data())) {
        d->reject();
      } else {
        dialog->close();
      }
    }
    playing_ = false;
  }

  // --- The value rule ---------------------------------------------------------
  void BeginTracks() {
    for (auto it = tracks_.begin(); it != tracks_.end();) {
      it = it->second.field ? std::next(it) : tracks_.erase(it);
    }
    for (MorlexDateWidget* field : window_.findChildren<MorlexDateWidget*>()) {
      auto [it, added] = tracks_.try_emplace(field);
      Track& track = it->second;
      if (added || !track.field) {
        track = Track{};
        track.field = field;
      }
      track.before = field->date();
    }
  }

  void EndTracks() {
    for (auto& [pointer, track] : tracks_) {
      if (track.field) CheckValue(track);
    }
  }

  void CheckValue(const Track& track) {
    const MorlexDateWidget& field = *track.field;
    const int year = &field == field_ ? clock_.Today().year : QDate::currentDate().year();
    const QString text = field.text();
    const QDate value = field.date();
    const std::string where = "text \"" + text.toStdString() + "\", date() " +
                              value.toString(Qt::ISODate).toStdString() + " (was " +
                              track.before.toString(Qt::ISODate).toStdString() + ")";
    // The rule the Qt Quick driver judges its field by too.
    const std::string broken =
        morlex::test::DateRuleBroken(text, value, year, field.minimumDate(), field.maximumDate(),
                                     morlex::PatternOfFormat(field.dateFormat()));
    if (!broken.empty()) Fail(where + ": " + broken);
  }

  morlex::qt::Toolkit toolkit_;
  morlex::platform::FixedClock clock_{{2026, 12, 8}};
  QWidget window_;
  QLabel* label_ = nullptr;
  MorlexDateWidget* field_ = nullptr;
  QLineEdit* other_ = nullptr;
  QTableView* view_ = nullptr;
  QStandardItemModel model_;
  std::vector<QVariant> original_;
  MorlexDateDelegate delegate_;
  MorlexDateDelegate mapped_;
  QDataWidgetMapper mapper_;
  QTimer watchdog_;
  bool playing_ = false;
  std::vector<QString> opened_;
  // The field whose keys may open a dialog in this step.
  std::optional<QPointer<MorlexDateWidget>> dialog_from_;
  std::map<MorlexDateWidget*, Track> tracks_;
  std::vector<std::string> failures_;
  int long_pastes_ = 0;
  int keys_ = 0, clicks_ = 0, writes_ = 0, calendars_ = 0, abouts_ = 0, editors_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(Messages);
  QApplication application(argc, argv);
  const auto args = morlex::test::ReadFuzzArgs(argc, argv, "morlex-qt-fuzz");
  if (!args) return 2;
  Driver driver(args->seed, args->verbose);
  driver.Run(args->steps);
  return 0;
}
