// The field on Qt's data machinery over a real SQLite file: a
// QSqlTableModel seen through MorlexDateDelegate, on a QDataWidgetMapper and
// in a QTableView edited in place. Looking changes nothing in the file; an
// edit stores ISO text, a cleared field NULL; a text that is no date or lies
// outside the range is never stored; the model's own strategy decides when
// anything reaches the file; and a commit follows the field's own commit
// when the focus leaves it, but not when its calendar opens.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDataWidgetMapper>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "morlex/control/morlex_date.h"
#include "morlex/platform/surface.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/morlex_date_delegate.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
#include "sql_fixture.h"

namespace morlex::qt {
namespace {

constexpr int kBorn = 1;

class SqlBinding : public PeopleFileTest {
 protected:
  void SetUp() override {
    PeopleFileTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(MakeFile(QStringLiteral("TEXT")));
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
      db.setDatabaseName(path_);
      ASSERT_TRUE(db.open());
    }
    model_ = std::make_unique<QSqlTableModel>(nullptr, QSqlDatabase::database(kConnection));
    model_->setTable(QStringLiteral("people"));
    model_->setEditStrategy(QSqlTableModel::OnManualSubmit);
    ASSERT_TRUE(model_->select());
    delegate_.setDateFormat(MorlexDateWidget::LeadingZerosNoCentury);
    delegate_.setDateRange(QDate(1900, 1, 1), QDate(2099, 12, 31));
    original_ = Bytes();
  }
  void TearDown() override {
    model_.reset();
    QSqlDatabase::removeDatabase(kConnection);
    PeopleFileTest::TearDown();
    EXPECT_TRUE(failures_.empty());
  }

  // What the file holds for a row: its text, or "NULL".
  QString Stored(int id) const {
    QSqlQuery q(QSqlDatabase::database(kConnection));
    q.exec(QStringLiteral("SELECT born FROM people WHERE id = %1").arg(id));
    if (!q.next()) return QStringLiteral("missing");
    return q.value(0).isNull() ? QStringLiteral("NULL") : q.value(0).toString();
  }
  QVariant Cached(int row) const { return model_->data(model_->index(row, kBorn)); }

  static QLineEdit* Edit(MorlexDateWidget& field) {
    return qobject_cast<QLineEdit*>(field.focusProxy());
  }
  static void Retype(MorlexDateWidget& field, const QString& text) {
    Edit(field)->selectAll();
    QTest::keyClicks(Edit(field), text);
  }
  // Clicks the field's calendar button; user acts on the open calendar.
  static void OpenCalendar(MorlexDateWidget& field, std::function<void(platform::Form&)> user) {
    field.toolkit().SetModalHook(std::move(user));
    const QRect button = AreaOf(field.control().ControlSurface().GetCommandButton("cmdCalendar"));
    QTest::mouseClick(&field, Qt::LeftButton, {}, button.center());
  }
  static void PressOk(platform::Form& form) {
    qobject_cast<QAbstractButton*>(WidgetOf(form.GetCommandButton("cmdOK")))->click();
  }

  static inline const QString kConnection = QStringLiteral("sql_binding_test");
  std::unique_ptr<QSqlTableModel> model_;
  MorlexDateDelegate delegate_;
  QByteArray original_;
};

TEST_F(SqlBinding, AMapperThroughTheDelegateStoresOnlyWhatWasEdited) {
  for (auto strategy : {QSqlTableModel::OnManualSubmit, QSqlTableModel::OnRowChange}) {
    SCOPED_TRACE(strategy);
    model_->setEditStrategy(strategy);
    MorlexDateWidget field;
    field.setDateFormat(MorlexDateWidget::LeadingZerosNoCentury);
    QStringList notices;
    field.setNotifyChangedHandler([&](const QString& key) { notices << key; });
    QDataWidgetMapper mapper;
    mapper.setModel(model_.get());
    mapper.setItemDelegate(&delegate_);
    mapper.addMapping(&field, kBorn);

    // Through every record and back, submitting each: nothing changes.
    const QString shown[] = {QStringLiteral("07/04/90"), QString(), QStringLiteral("01/05/20")};
    for (int row = 0; row < 3; ++row) {
      mapper.setCurrentIndex(row);
      EXPECT_EQ(field.text(), shown[row]);
      EXPECT_TRUE(mapper.submit());
    }
    EXPECT_EQ(field.date(), QDate(1920, 1, 5));
    EXPECT_TRUE(notices.isEmpty());  // showing a value is no edit
    EXPECT_FALSE(model_->isDirty());
    ASSERT_TRUE(model_->submitAll());
    EXPECT_EQ(Bytes(), original_);

    // No date, or one outside the range: nothing is written.
    mapper.setCurrentIndex(1);
    for (const char* text : {"02/30/1990", "12/31/1899"}) {
      field.setText(QString::fromLatin1(text));
      mapper.submit();
      EXPECT_TRUE(Cached(1).isNull()) << text;
    }

    field.setDate(QDate(1991, 8, 5));
    mapper.submit();
    mapper.setCurrentIndex(2);
    field.setText(QString());
    mapper.submit();
    if (strategy == QSqlTableModel::OnManualSubmit) {
      EXPECT_EQ(Bytes(), original_);  // nothing before submitAll
      ASSERT_TRUE(model_->submitAll());
    }
    EXPECT_EQ(Stored(2), QStringLiteral("1991-08-05"));
    EXPECT_EQ(Stored(3), QStringLiteral("NULL"));
    EXPECT_EQ(Stored(1), QStringLiteral("1990-07-04"));

    // Back to the file's first state for the next strategy.
    QSqlQuery(QSqlDatabase::database(kConnection))
        .exec(QStringLiteral("UPDATE people SET born = CASE id WHEN 1 THEN '1990-07-04' "
                             "WHEN 3 THEN '1920-01-05' END"));
    model_->select();
    original_ = Bytes();
  }
}

TEST_F(SqlBinding, FocusLeavingTheFieldCommitsTheMapperItsCalendarDoesNot) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* label = new QLabel(QStringLiteral("&Born"), &window);
  auto* field = new MorlexDateWidget(&window);
  field->setDateFormat(MorlexDateWidget::LeadingZerosNoCentury);
  auto* other = new QLineEdit(&window);
  label->setBuddy(field);
  layout->addWidget(label);
  layout->addWidget(field);
  layout->addWidget(other);
  QDataWidgetMapper mapper;  // AutoSubmit
  mapper.setModel(model_.get());
  mapper.setItemDelegate(&delegate_);
  mapper.addMapping(field, kBorn);
  mapper.toFirst();
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) GTEST_SKIP() << "the platform activates no window";

  other->setFocus();
  QTest::keyClick(&window, Qt::Key_B, Qt::AltModifier);
  ASSERT_TRUE(field->hasFocus());
  Retype(*field, QStringLiteral("8/5/91"));
  EXPECT_TRUE(field->hasFocus());
  EXPECT_EQ(QApplication::focusWidget(), field->focusProxy());

  bool shown = false;
  OpenCalendar(*field, [&](platform::Form& form) {
    shown = true;
    EXPECT_EQ(Cached(0).toString(), QStringLiteral("1990-07-04"));
    PressOk(form);
  });
  EXPECT_TRUE(shown);
  window.activateWindow();  // as the window system does once the dialog has gone
  if (!QTest::qWaitForWindowActive(&window)) GTEST_SKIP() << "the window was not activated again";
  EXPECT_TRUE(field->hasFocus());
  EXPECT_EQ(field->text(), QStringLiteral("08/05/91"));
  EXPECT_EQ(Cached(0).toString(), QStringLiteral("1990-07-04"));

  for (auto key : {Qt::Key_Tab, Qt::Key_Backtab}) {
    field->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(Edit(*field), key);
    EXPECT_FALSE(field->hasFocus());
  }
  EXPECT_EQ(Cached(0).toString(), QStringLiteral("1991-08-05"));
  EXPECT_EQ(Bytes(), original_);
}

TEST_F(SqlBinding, AViewEditedInPlaceStoresOnlyWhatWasEdited) {
  QTableView view;
  view.setModel(model_.get());
  view.setItemDelegateForColumn(kBorn, &delegate_);
  view.hideColumn(0);
  view.resize(400, 200);
  view.show();
  view.activateWindow();
  if (!QTest::qWaitForWindowActive(&view)) GTEST_SKIP() << "the platform activates no window";
  EXPECT_EQ(view.model()->index(1, kBorn).data(Qt::DisplayRole).toString(), QString());
  EXPECT_EQ(delegate_.displayText(Cached(2), QLocale()), QStringLiteral("01/05/20"));
  auto editor = [&]() -> MorlexDateWidget* {
    for (auto* field : view.viewport()->findChildren<MorlexDateWidget*>()) {
      if (field->isVisible()) return field;
    }
    return nullptr;
  };

  // Tab from cell to cell through every row commits nothing new.
  view.setCurrentIndex(model_->index(0, kBorn));
  view.edit(model_->index(0, kBorn));
  for (int row = 0; row < 3; ++row) {
    ASSERT_NE(editor(), nullptr) << row;
    QTest::keyClick(Edit(*editor()), Qt::Key_Tab);
    QApplication::processEvents();
  }
  EXPECT_FALSE(model_->isDirty());

  // Enter on a text that is no date keeps the editor open; Esc leaves it.
  view.setCurrentIndex(model_->index(1, kBorn));
  view.edit(model_->index(1, kBorn));
  ASSERT_NE(editor(), nullptr);
  Retype(*editor(), QStringLiteral("2/30/1990"));
  QTest::keyClick(Edit(*editor()), Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_NE(editor(), nullptr);
  QTest::keyClick(Edit(*editor()), Qt::Key_Tab);
  EXPECT_NE(editor(), nullptr);
  QTest::keyClick(Edit(*editor()), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(Cached(1).isNull());

  // A day picked in the calendar: the editor stays open meanwhile.
  view.edit(model_->index(1, kBorn));
  ASSERT_NE(editor(), nullptr);
  Retype(*editor(), QStringLiteral("3/4/05"));
  OpenCalendar(*editor(), [&](platform::Form& form) {
    EXPECT_NE(editor(), nullptr);
    PressOk(form);
  });
  ASSERT_NE(editor(), nullptr);
  QTest::keyClick(Edit(*editor()), Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(Cached(1).toString(), QStringLiteral("2005-03-04"));

  // Cleared: NULL.
  view.edit(model_->index(0, kBorn));
  ASSERT_NE(editor(), nullptr);
  Retype(*editor(), QString());
  QTest::keyClick(Edit(*editor()), Qt::Key_Delete);
  QTest::keyClick(Edit(*editor()), Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(Bytes(), original_);
  ASSERT_TRUE(model_->submitAll());
  EXPECT_EQ(Stored(1), QStringLiteral("NULL"));
  EXPECT_EQ(Stored(2), QStringLiteral("2005-03-04"));
  EXPECT_EQ(Stored(3), QStringLiteral("1920-01-05"));
}

}  // namespace
}  // namespace morlex::qt
