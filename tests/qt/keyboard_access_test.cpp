// The field and its forms for a user without a mouse and for a screen
// reader, through real key events and Qt's accessibility interfaces: the
// keyboard-only path through the field and its calendar, keys with Alt that
// must not type, and the roles, names, states and tables a screen reader
// reads.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <functional>
#include <vector>

#include "field_fixture.h"
#include "morlex/control/morlex_date.h"
#include "morlex/platform/clock.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"

namespace morlex::qt {
namespace {

// A form of three fields in tab order: a line edit, the date field under a
// label whose buddy it is, and another line edit.
class KeyboardAccess : public FieldTest {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    FieldTest::SetUp();
    auto* layout = new QVBoxLayout(&window_);
    before_ = new QLineEdit(&window_);
    label_ = new QLabel(QStringLiteral("&Due:"), &window_);
    field_ = new MorlexDateWidget(toolkit_, MorlexDateWidget::Startup::kNew, &window_);
    field_->setClock(&clock_);
    label_->setBuddy(field_);
    after_ = new QLineEdit(&window_);
    layout->addWidget(before_);
    layout->addWidget(label_);
    layout->addWidget(field_);
    layout->addWidget(after_);
  }
  void TearDown() override {
    FieldTest::TearDown();
    QLocale::setDefault(QLocale::c());
  }

  bool ShowActive() {
    window_.show();
    window_.activateWindow();
    return QTest::qWaitForWindowActive(&window_);
  }
  QWidget* Editor() { return field_->focusProxy(); }
  static QWidget* Focused() { return QApplication::focusWidget(); }
  static QString FocusedName() {
    return Focused() != nullptr ? Focused()->objectName() : QString();
  }

  QWidget window_;
  QLineEdit* before_ = nullptr;
  QLabel* label_ = nullptr;
  MorlexDateWidget* field_ = nullptr;
  QLineEdit* after_ = nullptr;
};

TEST_F(KeyboardAccess, TabInTypeAltDownTabToTheGridArrowsSpaceTabOut) {
  if (!ShowActive()) GTEST_SKIP() << "the platform activates no window";
  field_->setText(QString());
  QSignalSpy committed(field_, &MorlexDateWidget::editingFinished);
  before_->setFocus();

  QTest::keyClick(Focused(), Qt::Key_Tab);
  ASSERT_EQ(Focused(), Editor());
  QTest::keyClicks(Focused(), QStringLiteral("3/15/1999"));

  QStringList visited;
  bool grid_reached = false;
  bool active = true;
  toolkit_.SetModalHook([&](platform::Form& form) {
    QWidget* dialog = WidgetOf(form)->window();
    dialog->activateWindow();
    active = QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; });
    if (!active) return;
    // The focus starts in the month box; Tab must leave it and every box
    // after it until the grid.
    for (int i = 0; i < 8 && FocusedName() != QLatin1String("picDays"); ++i) {
      visited << FocusedName();
      QTest::keyClick(Focused(), Qt::Key_Tab);
    }
    grid_reached = FocusedName() == QLatin1String("picDays");
    if (!grid_reached) return;
    QTest::keyClick(Focused(), Qt::Key_Right);
    QTest::keyClick(Focused(), Qt::Key_Down);
    QTest::keyClick(Focused(), Qt::Key_PageDown);
    QTest::keyClick(Focused(), Qt::Key_Return);  // never confirms
    QTest::keyClick(Focused(), Qt::Key_Space);
  });
  QTest::keyClick(Focused(), Qt::Key_Down, Qt::AltModifier);
  if (!active) GTEST_SKIP() << "the platform activates no dialog";
  ASSERT_TRUE(grid_reached) << visited.join(QLatin1Char(' ')).toStdString();
  EXPECT_EQ(visited.value(0), QStringLiteral("txtMonth"));
  EXPECT_EQ(field_->text(), QStringLiteral("04/23/1999"));
  // The form becomes active again (a window manager does this at once),
  // with the focus where it was.
  window_.activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window_; }));
  ASSERT_EQ(Focused(), Editor());

  QTest::keyClick(Focused(), Qt::Key_Tab);
  EXPECT_EQ(Focused(), after_);
  EXPECT_EQ(committed.count(), 1);
  EXPECT_EQ(field_->date(), QDate(1999, 4, 23));
  EXPECT_TRUE(failures_.empty());
}

TEST_F(KeyboardAccess, KeysWithAltCtrlOrMetaNeverTypeButEditShortcutsWork) {
  if (!ShowActive()) GTEST_SKIP() << "the platform activates no window";
  field_->setText(QStringLiteral("12/08/2026"));
  Editor()->setFocus();
  for (const Qt::KeyboardModifiers held :
       {Qt::KeyboardModifiers(Qt::AltModifier), Qt::KeyboardModifiers(Qt::MetaModifier),
        Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier)}) {
    QTest::keyClick(Editor(), Qt::Key_C, held);
    QTest::keyClick(Editor(), Qt::Key_5, held);
  }
  EXPECT_EQ(field_->text(), QStringLiteral("12/08/2026"));
  QTest::keyClick(Editor(), Qt::Key_A, Qt::ControlModifier);  // select all
  EXPECT_EQ(static_cast<QLineEdit*>(Editor())->selectedText(), field_->text());

  // Undo takes back typing, but not past a text the control wrote itself:
  // the third digit makes the control insert a "/" before it.
  field_->setText(QString());
  // Each typed key is the line edit's own edit, as its signal tells.
  QSignalSpy edited(static_cast<QLineEdit*>(Editor()), &QLineEdit::textEdited);
  QTest::keyClicks(Editor(), QStringLiteral("123"));
  ASSERT_EQ(field_->text(), QStringLiteral("12/3"));
  EXPECT_EQ(edited.count(), 3);
  QTest::keyClick(Editor(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(field_->text(), QStringLiteral("12/"));
  QTest::keyClick(Editor(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(field_->text(), QStringLiteral("12/"));
  // Shift+Tab leaves the field backwards.
  QTest::keyClick(Editor(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Focused(), before_);
}

TEST_F(KeyboardAccess, TheFieldIsANamedDateWithNamedButtons) {
  window_.show();
  // A screen reader finds the editor under the field (or by its focus).
  QAccessibleInterface* field = QAccessible::queryAccessibleInterface(field_);
  ASSERT_NE(field, nullptr);
  ASSERT_GE(field->childCount(), 1);
  QAccessibleInterface* editor = field->child(0);
  ASSERT_EQ(editor, QAccessible::queryAccessibleInterface(Editor()));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->role(), QAccessible::EditableText);
  EXPECT_EQ(editor->text(QAccessible::Name), QStringLiteral("Due:"));  // the buddy's text
  EXPECT_EQ(editor->text(QAccessible::Description), QStringLiteral("Date, month/day/year"));
  EXPECT_EQ(editor->text(QAccessible::Value), field_->text());

  field_->setAccessibleName(QStringLiteral("Due date"));
  EXPECT_EQ(field->text(QAccessible::Name), QStringLiteral("Due date"));
  EXPECT_EQ(editor->text(QAccessible::Name), QStringLiteral("Due date"));

  struct Part {
    QString name;
    bool shown;
  };
  const auto parts = [&] {
    std::vector<Part> found;
    for (int i = 0; i < field->childCount(); ++i) {
      QAccessibleInterface* child = field->child(i);
      if (child == nullptr || child->role() != QAccessible::Button) continue;
      found.push_back({child->text(QAccessible::Name), !child->state().invisible});
    }
    return found;
  };
  const std::vector<Part> all = parts();
  ASSERT_EQ(all.size(), 3U);
  EXPECT_EQ(all[0].name, QStringLiteral("Step up"));
  EXPECT_EQ(all[1].name, QStringLiteral("Step down"));
  EXPECT_EQ(all[2].name, QStringLiteral("Open calendar"));

  // The press of a named arrow steps as the arrow does.
  field_->setText(QStringLiteral("01/31/1999"));
  // A click at the start remembers the caret in the month.
  QTest::mouseClick(Editor(), Qt::LeftButton, {}, QPoint(1, Editor()->height() / 2));
  for (int i = 0; i < field->childCount(); ++i) {
    QAccessibleInterface* child = field->child(i);
    if (child->text(QAccessible::Name) != QStringLiteral("Step up")) continue;
    child->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  }
  EXPECT_EQ(field_->text(), QStringLiteral("02/28/1999"));

  field_->setSpin(false);
  EXPECT_EQ(parts().size(), 1U);
}

TEST_F(KeyboardAccess, TheCalendarIsATableOfDatedCellsWithTheChosenDaySelected) {
  field_->setText(QStringLiteral("3/15/1999"));
  window_.show();
  bool checked = false;
  toolkit_.SetModalHook([&](platform::Form& form) {
    QWidget* dialog = WidgetOf(form);
    auto* grid = dialog->findChild<QWidget*>(QStringLiteral("picDays"));
    ASSERT_NE(grid, nullptr);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->text(QAccessible::Name), QStringLiteral("Days"));
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 6);
    EXPECT_EQ(cells->columnCount(), 7);
    EXPECT_EQ(table->childCount(), 42);
    EXPECT_EQ(cells->columnDescription(0), QStringLiteral("Sunday"));

    // March 1999 begins on a Monday: the 15th is row 2, column 1.
    QAccessibleInterface* chosen = cells->cellAt(2, 1);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->role(), QAccessible::Cell);
    EXPECT_EQ(chosen->text(QAccessible::Name), QStringLiteral("Monday, March 15, 1999"));
    EXPECT_TRUE(chosen->state().selected);
    EXPECT_TRUE(chosen->state().focusable);
    ASSERT_EQ(cells->selectedCellCount(), 1);
    EXPECT_EQ(cells->selectedCells().value(0), chosen);
    EXPECT_EQ(chosen->tableCellInterface()->rowIndex(), 2);
    EXPECT_EQ(chosen->tableCellInterface()->columnIndex(), 1);

    QAccessibleInterface* blank = cells->cellAt(0, 0);
    EXPECT_TRUE(blank->text(QAccessible::Name).isEmpty());
    EXPECT_TRUE(blank->state().disabled);
    EXPECT_FALSE(blank->state().focusable);

    // Picking a day by its action selects it, as a click does.
    QAccessibleInterface* sixteenth = cells->cellAt(2, 2);
    sixteenth->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(sixteenth->state().selected);
    EXPECT_FALSE(chosen->state().selected);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("March 16, 1999"));

    for (const auto& [name, role, accessible] :
         {std::tuple{"txtMonth", QAccessible::EditableText, "Month"},
          std::tuple{"txtYear", QAccessible::EditableText, "Year"},
          std::tuple{"spnMonth", QAccessible::SpinBox, "Change month"},
          std::tuple{"spnYear", QAccessible::SpinBox, "Change year"}}) {
      auto* widget = dialog->findChild<QWidget*>(QString::fromLatin1(name));
      ASSERT_NE(widget, nullptr) << name;
      QAccessibleInterface* box = QAccessible::queryAccessibleInterface(widget);
      EXPECT_EQ(box->role(), role) << name;
      EXPECT_EQ(box->text(QAccessible::Name), QString::fromLatin1(accessible)) << name;
    }

    // Each column's header is its weekday heading, named in full.
    const char* const weekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                    "Thursday", "Friday", "Saturday"};
    for (int column = 0; column < 7; ++column) {
      const auto headers = cells->cellAt(3, column)->tableCellInterface()->columnHeaderCells();
      ASSERT_EQ(headers.size(), 1) << column;
      EXPECT_EQ(headers[0]->role(), QAccessible::ColumnHeader);
      EXPECT_EQ(headers[0]->text(QAccessible::Name), QString::fromLatin1(weekdays[column]));
    }
    // The dialog is named by the month it shows, and follows a page to the
    // next month although the title keeps the chosen date.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(dialog);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("March 1999"));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_PageDown);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("April 1999"));
    checked = true;
  });
  QTest::keyClick(Editor(), Qt::Key_F4);
  EXPECT_TRUE(checked);
}

TEST_F(KeyboardAccess, RightToLeftTheGridsLeftAndRightKeysStepTheWayTheyPoint) {
  field_->setText(QStringLiteral("3/15/1999"));
  window_.show();
  const struct {
    Qt::LayoutDirection direction;
    Qt::Key key;
    const char* title;
  } rows[] = {
      {Qt::LeftToRight, Qt::Key_Left, "March 14, 1999"},
      {Qt::LeftToRight, Qt::Key_Right, "March 16, 1999"},
      {Qt::RightToLeft, Qt::Key_Left, "March 16, 1999"},
      {Qt::RightToLeft, Qt::Key_Right, "March 14, 1999"},
      {Qt::RightToLeft, Qt::Key_Down, "March 22, 1999"},
  };
  for (const auto& row : rows) {
    QString title;
    toolkit_.SetModalHook([&](platform::Form& form) {
      QWidget* dialog = WidgetOf(form);
      dialog->setLayoutDirection(row.direction);
      auto* grid = dialog->findChild<QWidget*>(QStringLiteral("picDays"));
      ASSERT_NE(grid, nullptr);
      grid->setFocus();
      QTest::keyClick(grid, row.key);
      title = dialog->windowTitle();
    });
    QTest::keyClick(Editor(), Qt::Key_F4);
    EXPECT_EQ(title, QString::fromLatin1(row.title)) << row.direction << " " << row.key;
  }
  EXPECT_TRUE(failures_.empty());
}

TEST_F(KeyboardAccess, AReadOnlyFieldSelectsAndCopiesButNeverChanges) {
  if (!ShowActive()) GTEST_SKIP() << "the platform activates no window";
  const QString shown = QStringLiteral("03/15/1999");
  field_->setText(shown);
  field_->setReadOnly(true);
  auto* edit = qobject_cast<QLineEdit*>(Editor());
  edit->setFocus();
  bool opened = false;
  toolkit_.SetModalHook([&](platform::Form&) { opened = true; });
  const QRect arrows = AreaOf(field_->control().ControlSurface().GetUpDown("spinCTL"));
  const QPoint upper = arrows.topLeft() + QPoint(arrows.width() / 2, arrows.height() / 4);
  const struct {
    const char* what;
    std::function<void()> act;
  } tries[] = {
      {"typed", [&] { QTest::keyClicks(edit, QStringLiteral("4")); }},
      {"Backspace", [&] { QTest::keyClick(edit, Qt::Key_Backspace); }},
      {"Delete", [&] { QTest::keyClick(edit, Qt::Key_Delete); }},
      {"Up", [&] { QTest::keyClick(edit, Qt::Key_Up); }},
      {"Alt+Down", [&] { QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier); }},
      {"F4", [&] { QTest::keyClick(edit, Qt::Key_F4); }},
      {"pasted",
       [&] {
         QApplication::clipboard()->setText(QStringLiteral("1/1/2001"));
         QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
       }},
      {"arrow clicked",
       [&] {
         QWidget* hit = field_->childAt(upper);
         QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(field_, upper));
       }},
  };
  for (const auto& t : tries) {
    edit->setCursorPosition(0);
    t.act();
    EXPECT_EQ(field_->text(), shown) << t.what;
  }
  EXPECT_FALSE(opened);
  QTest::keyClick(edit, Qt::Key_End, Qt::ShiftModifier);
  QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), shown);
  // A screen reader hears the field and its editor as read-only, and finds
  // the arrows and the button disabled.
  QAccessibleInterface* whole = QAccessible::queryAccessibleInterface(field_);
  EXPECT_TRUE(whole->state().readOnly);
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(edit)->state().readOnly);
  for (int i = 0; i < whole->childCount(); ++i) {
    if (whole->child(i)->role() == QAccessible::Button) {
      EXPECT_TRUE(whole->child(i)->state().disabled) << i;
    }
  }
  field_->setReadOnly(false);
  edit->setCursorPosition(0);
  QTest::keyClick(edit, Qt::Key_Up);
  EXPECT_EQ(field_->text(), QStringLiteral("04/15/1999"));
  EXPECT_TRUE(failures_.empty());
}

TEST_F(KeyboardAccess, TheWheelStepsThePartUnderTheCaretWhileTheSpinIsShown) {
  if (!ShowActive()) GTEST_SKIP() << "the platform activates no window";
  const auto turn = [&](int angle) {
    QWheelEvent wheel(QPointF(5, 5), field_->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, angle),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    wheel.ignore();  // taken only where the field takes it
    QApplication::sendEvent(field_, &wheel);
    return wheel.isAccepted();
  };
  const struct {
    const char* what;
    std::function<void()> before;
    int caret;
    std::vector<int> angles;
    const char* text;
  } rows[] = {
      {"a notch up steps the month", [] {}, 0, {120}, "04/15/1999"},
      {"two notches down step the day twice", [] {}, 3, {-240}, "03/13/1999"},
      {"half notches add up", [] {}, 6, {60, 60}, "03/15/2000"},
      {"no spin", [&] { field_->setSpin(false); }, 0, {120}, "03/15/1999"},
      {"read-only", [&] { field_->setReadOnly(true); }, 0, {120}, "03/15/1999"},
      {"disabled", [&] { field_->setEnabled(false); }, 0, {120}, "03/15/1999"},
      {"the focus elsewhere", [&] { after_->setFocus(); }, 0, {120}, "03/15/1999"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    field_->setSpin(true);
    field_->setReadOnly(false);
    field_->setEnabled(true);
    field_->setText(QStringLiteral("03/15/1999"));
    Editor()->setFocus();
    row.before();
    qobject_cast<QLineEdit*>(Editor())->setCursorPosition(row.caret);
    const bool steps = QString::fromLatin1(row.text) != QStringLiteral("03/15/1999");
    for (const int angle : row.angles) EXPECT_EQ(turn(angle), steps);  // else the form scrolls
    EXPECT_EQ(field_->text(), QString::fromLatin1(row.text));
  }
  EXPECT_TRUE(failures_.empty());
}

TEST_F(KeyboardAccess, TheAboutBoxReadsItsTextsAndNamesItsButton) {
  bool checked = false;
  toolkit_.SetModalHook([&](platform::Form& form) {
    QWidget* dialog = WidgetOf(form);
    const bool active = QTest::qWaitForWindowActive(dialog);
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(dialog);
    ASSERT_NE(box, nullptr);
    QStringList texts;
    int buttons = 0;
    for (int i = 0; i < box->childCount(); ++i) {
      QAccessibleInterface* child = box->child(i);
      if (child->role() == QAccessible::StaticText) texts << child->text(QAccessible::Name);
      if (child->role() == QAccessible::Button) {
        ++buttons;
        EXPECT_EQ(child->text(QAccessible::Name), QStringLiteral("Close"));
        if (active) {
          EXPECT_TRUE(child->state().focused);
        }
      }
    }
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(texts.contains(QStringLiteral("1.2.13"))) << texts.join(u'|').toStdString();
    checked = true;
  });
  field_->aboutBox();
  EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace morlex::qt
