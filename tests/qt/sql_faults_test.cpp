// Dates edited through the delegate, on a QDataWidgetMapper and in a
// QTableView over QSqlTableModel (OnManualSubmit), when the database fails
// at submit: another connection holds a write lock, the database refuses
// writes as a read-only file does, or a CHECK refuses the second of two edited rows after the
// first was written. Nothing is lost: the file keeps its last good state,
// the model every edit, the error reaches the caller, and submitting again
// once the cause is gone stores every change, the first row too although
// the failed submit had already counted it as stored.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDataWidgetMapper>
#include <QFile>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "morlex/qt/failure.h"
#include "morlex/qt/morlex_date_delegate.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/sql_submit.h"
#include "sql_fixture.h"

namespace morlex::qt {
namespace {

constexpr int kBorn = 1;

enum class Fault { kLocked, kReadOnly, kCheck };
enum class Binding { kMapper, kView };

struct Case {
  Fault fault;
  Binding binding;
  const char* error;  // in the error's text
};

class SqlFaults : public PeopleFileTest {
 protected:
  void SetUp() override {
    PeopleFileTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(
        MakeFile(QStringLiteral("TEXT CHECK (born IS NULL OR born <= '2010-12-31')")));
    Open();
    model_ = std::make_unique<QSqlTableModel>(nullptr, QSqlDatabase::database(kConnection));
    model_->setTable(QStringLiteral("people"));
    model_->setEditStrategy(QSqlTableModel::OnManualSubmit);
    ASSERT_TRUE(model_->select());
    original_ = Bytes();
  }
  void TearDown() override {
    view_.reset();
    mapper_.reset();
    field_.reset();
    model_.reset();
    QSqlDatabase::removeDatabase(kConnection);
    QSqlDatabase::removeDatabase(kLocker);
    PeopleFileTest::TearDown();
    EXPECT_TRUE(failures_.empty());
  }

  // The model's connection; a short busy timeout keeps a locked submit quick.
  void Open() {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=20"));
    ASSERT_TRUE(db.open());
  }
  // The connection refuses every write as it does for a read-only file (a
  // file's mode cannot be relied on here: the tests may run as root, and a
  // connection keeps writing through what it opened).
  static void ReadOnly(bool on) {
    ASSERT_TRUE(QSqlQuery(QSqlDatabase::database(kConnection))
                    .exec(QStringLiteral("PRAGMA query_only = %1").arg(on ? 1 : 0)));
  }

  std::string Stored(int id) const {
    QSqlQuery q(QSqlDatabase::database(kConnection));
    q.exec(QStringLiteral("SELECT born FROM people WHERE id = %1").arg(id));
    if (!q.next()) return "missing";
    return q.value(0).isNull() ? "NULL" : q.value(0).toString().toStdString();
  }
  std::string Cached(int row) const {
    return model_->data(model_->index(row, kBorn)).toString().toStdString();
  }

  // The user types text into row's date, through the binding under test.
  void Edit(int row, const QString& text) {
    MorlexDateWidget* field = nullptr;
    if (binding_ == Binding::kMapper) {
      if (!mapper_) {
        field_ = std::make_unique<MorlexDateWidget>();
        mapper_ = std::make_unique<QDataWidgetMapper>();
        mapper_->setModel(model_.get());
        mapper_->setItemDelegate(&delegate_);
        mapper_->addMapping(field_.get(), kBorn);
      }
      mapper_->setCurrentIndex(row);  // the table was read again since
      field = field_.get();
    } else {
      if (!view_) {
        view_ = std::make_unique<QTableView>();
        view_->setModel(model_.get());
        view_->setItemDelegateForColumn(kBorn, &delegate_);
        view_->show();
      }
      view_->setCurrentIndex(model_->index(row, kBorn));
      view_->edit(model_->index(row, kBorn));
      for (auto* editor : view_->viewport()->findChildren<MorlexDateWidget*>()) {
        if (editor->isVisible()) field = editor;
      }
    }
    ASSERT_NE(field, nullptr);
    auto* edit = qobject_cast<QLineEdit*>(field->focusProxy());
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    if (mapper_) mapper_->submit();
    QApplication::processEvents();
  }

  static inline const QString kConnection = QStringLiteral("sql_faults");
  static inline const QString kLocker = QStringLiteral("sql_faults_locker");
  std::unique_ptr<QSqlTableModel> model_;
  MorlexDateDelegate delegate_;
  std::unique_ptr<MorlexDateWidget> field_;
  std::unique_ptr<QDataWidgetMapper> mapper_;
  std::unique_ptr<QTableView> view_;
  Binding binding_ = Binding::kMapper;
  QByteArray original_;
};

class SqlFaultCases : public SqlFaults, public ::testing::WithParamInterface<Case> {
 protected:
  void SetUp() override {
    binding_ = GetParam().binding;
    SqlFaults::SetUp();
  }
};

TEST_P(SqlFaultCases, AFailedSubmitLosesNoEditAndTheRetryStoresThemAll) {
  const Case& c = GetParam();
  Edit(0, QStringLiteral("08/05/1991"));
  // The CHECK admits no date after 2010: the first row is written, the
  // second refused.
  Edit(2, c.fault == Fault::kCheck ? QStringLiteral("12/31/2050") : QStringLiteral("02/03/2004"));
  ASSERT_EQ(Cached(0), "1991-08-05");

  QSqlDatabase locker;
  if (c.fault == Fault::kReadOnly) ReadOnly(true);
  if (c.fault == Fault::kLocked) {
    locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kLocker);
    locker.setDatabaseName(path_);
    ASSERT_TRUE(locker.open());
    ASSERT_TRUE(QSqlQuery(locker).exec(QStringLiteral("BEGIN IMMEDIATE")));
  }
  QSqlError error;
  EXPECT_FALSE(SubmitAllOrNothing(*model_, &error));
  EXPECT_TRUE(error.text().contains(QLatin1String(c.error), Qt::CaseInsensitive))
      << error.text().toStdString();
  EXPECT_EQ(Bytes(), original_);
  EXPECT_EQ(Cached(0), "1991-08-05");
  EXPECT_EQ(Cached(2), c.fault == Fault::kCheck ? "2050-12-31" : "2004-02-03");
  EXPECT_TRUE(model_->isDirty(model_->index(0, kBorn)));
  EXPECT_FALSE(model_->isDirty(model_->index(1, kBorn)));

  // The cause goes.
  switch (c.fault) {
    case Fault::kLocked:
      ASSERT_TRUE(locker.rollback());
      break;
    case Fault::kReadOnly:
      ReadOnly(false);
      break;
    case Fault::kCheck:
      Edit(2, QStringLiteral("02/03/2004"));
      break;
  }
  ASSERT_TRUE(SubmitAllOrNothing(*model_, &error)) << error.text().toStdString();
  EXPECT_EQ(Stored(1), "1991-08-05");
  EXPECT_EQ(Stored(2), "NULL");
  EXPECT_EQ(Stored(3), "2004-02-03");
  EXPECT_FALSE(model_->isDirty());
}

// Rows added and removed wait in the model as edited ones do, and come back
// as they were after a failed submit: added where they were, removed ones
// marked again.
TEST_F(SqlFaults, AddedAndRemovedRowsComeBackAfterAFailedSubmit) {
  ASSERT_TRUE(model_->removeRow(0));
  ASSERT_TRUE(model_->insertRow(1));
  model_->setData(model_->index(1, 0), 7);
  model_->setData(model_->index(1, kBorn), QStringLiteral("2050-01-01"));  // refused
  model_->setData(model_->index(3, kBorn), QStringLiteral("1999-09-09"));
  EXPECT_FALSE(SubmitAllOrNothing(*model_));
  EXPECT_EQ(Bytes(), original_);
  ASSERT_EQ(model_->rowCount(), 4);
  EXPECT_EQ(model_->headerData(0, Qt::Vertical).toString(), QStringLiteral("!"));
  EXPECT_EQ(model_->headerData(1, Qt::Vertical).toString(), QStringLiteral("*"));
  EXPECT_EQ(Cached(1), "2050-01-01");
  EXPECT_EQ(Cached(3), "1999-09-09");

  model_->setData(model_->index(1, kBorn), QStringLiteral("2005-05-05"));
  ASSERT_TRUE(SubmitAllOrNothing(*model_));
  EXPECT_EQ(Stored(1), "missing");
  EXPECT_EQ(Stored(7), "2005-05-05");
  EXPECT_EQ(Stored(3), "1999-09-09");
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  static const char* const kFaults[] = {"Locked", "ReadOnly", "Check"};
  return std::string(kFaults[static_cast<int>(info.param.fault)]) +
         (info.param.binding == Binding::kMapper ? "OnAMapper" : "InAView");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SqlFaultCases,
    ::testing::Values(Case{Fault::kLocked, Binding::kMapper, "locked"},
                      Case{Fault::kReadOnly, Binding::kMapper, "readonly"},
                      Case{Fault::kCheck, Binding::kMapper, "CHECK constraint failed"},
                      Case{Fault::kLocked, Binding::kView, "locked"},
                      Case{Fault::kReadOnly, Binding::kView, "readonly"},
                      Case{Fault::kCheck, Binding::kView, "CHECK constraint failed"}),
    CaseName);

}  // namespace
}  // namespace morlex::qt
