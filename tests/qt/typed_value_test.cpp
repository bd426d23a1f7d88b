// The field's typed face: date() follows the text and keeps what the program
// set while its rendering is shown, setDate goes the way of a text write,
// editingFinished marks the commits that handed a value on, and the range
// fails a commit with a description that names it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "field_fixture.h"
#include "morlex/control/morlex_date.h"
#include "morlex/platform/clock.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/morlex_date_delegate.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"

namespace morlex::qt {
namespace {

class TypedValue : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    field_ = Field();
  }
  void TearDown() override {
    field_.reset();
    FieldTest::TearDown();
    EXPECT_TRUE(failures_.empty());
  }

  QLineEdit* Edit() { return qobject_cast<QLineEdit*>(field_->focusProxy()); }
  void Retype(const QString& text) {
    Edit()->selectAll();
    QTest::keyClicks(Edit(), text);
  }
  void Enter() { QTest::keyClick(Edit(), Qt::Key_Return); }

  std::unique_ptr<MorlexDateWidget> field_;
};

TEST_F(TypedValue, AProgramDateStaysTheValueUntilTheUserChangesItsText) {
  QSignalSpy values(field_.get(), &MorlexDateWidget::dateChanged);
  field_->setDate(QDate(1920, 1, 5));
  field_->setDateFormat(MorlexDateWidget::LeadingZerosNoCentury);
  EXPECT_EQ(field_->text(), QStringLiteral("01/05/20"));
  EXPECT_EQ(field_->date(), QDate(1920, 1, 5));
  field_->setDate(QDate(1920, 1, 6));
  EXPECT_EQ(field_->text(), QStringLiteral("01/06/20"));
  EXPECT_EQ(field_->date(), QDate(1920, 1, 6));
  ASSERT_EQ(values.count(), 2);
  EXPECT_EQ(values.at(1).at(0).toDate(), QDate(1920, 1, 6));

  // Passing through the field keeps it.
  Enter();
  EXPECT_EQ(field_->date(), QDate(1920, 1, 6));
  EXPECT_EQ(values.count(), 2);

  // Typed by the user, the same kind of text reads by the window.
  Retype(QStringLiteral("1/6/20"));
  EXPECT_EQ(field_->date(), QDate(2020, 1, 6));

  // While the text is no date, there is no value: not the "2/3" typed on
  // the way, which the field once went on reporting as 2026-02-03.
  Retype(QStringLiteral("2/30/1"));
  EXPECT_EQ(field_->date(), QDate());
  EXPECT_FALSE(field_->dateIsValid());

  field_->setDate(QDate());
  EXPECT_EQ(field_->text(), QString());
  EXPECT_TRUE(field_->date().isNull());
}

TEST_F(TypedValue, SetDateIsATextWriteAndClampsToTheRange) {
  field_->setDate(QDate(1999, 1, 5));
  field_->setDateRange(QDate(1900, 1, 1), QDate(2099, 12, 31));
  const std::pair<QDate, QString> clamped[] = {
      {QDate(1899, 12, 31), QStringLiteral("01/01/1900")},
      {QDate(2100, 1, 1), QStringLiteral("12/31/2099")},
      {QDate(50, 1, 1), QStringLiteral("01/01/1900")},  // no year the field can show
  };
  for (const auto& [date, shown] : clamped) {
    field_->setDate(date);
    EXPECT_EQ(field_->text(), shown);
    EXPECT_EQ(field_->date(), std::clamp(date, field_->minimumDate(), field_->maximumDate()));
  }
  field_->setDate(QDate(1999, 1, 5));
  bool allowed = false;
  QStringList notices;
  field_->setCanChangeHandler([&](const QString&) { return allowed; });
  field_->setNotifyChangedHandler([&](const QString& key) { notices << key; });
  field_->setDate(QDate(2001, 2, 3));
  EXPECT_EQ(field_->date(), QDate(1999, 1, 5));
  EXPECT_TRUE(notices.isEmpty());
  allowed = true;
  field_->setDate(QDate(2001, 2, 3));
  EXPECT_EQ(field_->text(), QStringLiteral("02/03/2001"));
  EXPECT_EQ(notices, QStringList({"Text", "Text"}));  // the change, then the write
}

TEST_F(TypedValue, EditingFinishedMarksOnlyCommitsThatHandedTheValueOn) {
  field_->setDateRange(QDate(1900, 1, 1), QDate(2099, 12, 31));
  bool fail_store = false;
  field_->setNotifyChangedHandler([&](const QString&) {
    if (fail_store) throw std::runtime_error("locked");
  });
  QSignalSpy finished(field_.get(), &MorlexDateWidget::editingFinished);
  QSignalSpy errors(field_.get(), &MorlexDateWidget::dateError);
  QSignalSpy invalid(field_.get(), &MorlexDateWidget::dateInvalid);

  Retype(QStringLiteral("1/5/99"));
  Enter();
  EXPECT_EQ(field_->text(), QStringLiteral("01/05/1999"));
  EXPECT_EQ(finished.count(), 1);

  field_->setText(QStringLiteral("2/30/1999"));
  Enter();
  EXPECT_EQ(invalid.count(), 1);

  // Outside the range: as a store that failed, and no value (the date
  // before it is not what the text says).
  field_->setText(QStringLiteral("12/31/1899"));
  EXPECT_EQ(field_->date(), QDate());
  Enter();
  ASSERT_EQ(errors.count(), 1);
  EXPECT_EQ(errors.at(0).at(0).toString(), QStringLiteral("MorlexDate.ValidateAndUpdate"));
  EXPECT_EQ(errors.at(0).at(1).toString(),
            QStringLiteral("The date 1899-12-31 lies outside the range 1900-01-01 to 2099-12-31."));
  EXPECT_EQ(errors.at(0).at(2).toString(), QStringLiteral("Could not update recordset."));
  EXPECT_EQ(field_->text(), QStringLiteral("12/31/1899"));
  EXPECT_EQ(field_->date(), QDate());

  field_->setText(QStringLiteral("3/3/2003"));
  fail_store = true;
  Enter();
  EXPECT_EQ(errors.count(), 3);  // the rendering's notice, then the commit's
  EXPECT_EQ(finished.count(), 1);
}

TEST_F(TypedValue, ARowThatHoldsNoDateLendsNoValueAndPassingThroughItIsNoMistake) {
  // Rows as a mapper walks them: a date, then texts that are no date the
  // field can hold, then one that is.
  QStandardItemModel rows;
  for (const char* value : {"1999-01-05", "n/a", "1850-02-03", "2001-02-03"}) {
    rows.appendRow(new QStandardItem(QString::fromLatin1(value)));
  }
  field_->setDateRange(QDate(1900, 1, 1), QDate(2099, 12, 31));
  MorlexDateDelegate dates;
  QSignalSpy invalid(field_.get(), &MorlexDateWidget::dateInvalid);
  const QDate want[] = {QDate(1999, 1, 5), QDate(), QDate(), QDate(2001, 2, 3)};
  for (int row = 0; row < rows.rowCount(); ++row) {
    dates.setEditorData(field_.get(), rows.index(row, 0));
    EXPECT_EQ(field_->date(), want[row]) << row;
    Enter();  // a commit of the loaded text, unedited
  }
  EXPECT_EQ(invalid.count(), 0);
  // The same text typed by the user is the user's mistake.
  dates.setEditorData(field_.get(), rows.index(1, 0));
  Retype(QStringLiteral("n/a"));
  Enter();
  EXPECT_EQ(invalid.count(), 1);
}

TEST_F(TypedValue, TheValueFollowsTheTextWhenTheRangeComesToHoldIt) {
  field_->setDate(QDate(1999, 1, 5));
  field_->setDateRange(QDate(1900, 1, 1), QDate(2000, 12, 31));
  field_->setText(QStringLiteral("3/3/2003"));
  EXPECT_EQ(field_->date(), QDate());  // outside: no value (once the date before)
  QSignalSpy values(field_.get(), &MorlexDateWidget::valueChanged);  // the old name
  field_->setMaximumDate(QDate(2099, 12, 31));
  EXPECT_EQ(field_->date(), QDate(2003, 3, 3));
  EXPECT_EQ(values.count(), 1);
  field_->setMaximumDate(QDate(2000, 12, 31));  // a narrower range leaves it outside
  EXPECT_EQ(field_->date(), QDate());
}

// The control's DateChanged event, counted where it is raised.
class TextChanges final : public EventRelay {
 public:
  void OnEvent(Event event) override { count += event == Event::kDateChanged ? 1 : 0; }
  int count = 0;
};

TEST_F(TypedValue, DateChangedFollowsTheValueAndWaitsForTheCommitWithoutKeyboardTracking) {
  auto changes = std::make_shared<TextChanges>();
  field_->control().Advise(changes);
  const auto up = [this] { QTest::keyClick(Edit(), Qt::Key_Up); };
  const auto leave = [this] {
    QFocusEvent out(QEvent::FocusOut);  // what the field hears when the focus leaves it
    QApplication::sendEvent(field_.get(), &out);
  };
  // Each step, then the dates that dateChanged told (in order), tracking on
  // and off.
  const struct {
    const char* what;
    std::function<void()> act;
    std::vector<QDate> on;
    std::vector<QDate> off;
  } steps[] = {
      {"typed",
       [this] { Retype(QStringLiteral("3/4/2001")); },
       {QDate(), QDate(2026, 3, 4), QDate(), QDate(2002, 3, 4), QDate(2020, 3, 4), QDate(200, 3, 4),
        QDate(2001, 3, 4)},
       {}},
      {"Enter", [this] { Enter(); }, {}, {QDate(2001, 3, 4)}},
      {"spun", up, {QDate(2001, 4, 4)}, {QDate(2001, 4, 4)}},
      {"set",
       [this] { field_->setDate(QDate(1999, 1, 5)); },
       {QDate(1999, 1, 5)},
       {QDate(1999, 1, 5)}},
      {"typed, no date",
       [this] { Retype(QStringLiteral("2/30")); },
       {QDate(), QDate(2026, 2, 3), QDate()},
       {}},
      {"left", leave, {}, {QDate()}},
  };
  for (const bool tracking : {true, false}) {
    field_->setDate(QDate(1999, 1, 5));
    field_->setKeyboardTracking(tracking);
    QSignalSpy dates(field_.get(), &MorlexDateWidget::dateChanged);
    QSignalSpy texts(field_.get(), &MorlexDateWidget::textChanged);
    changes->count = 0;
    for (const auto& step : steps) {
      SCOPED_TRACE(std::string(step.what) + (tracking ? ", tracking" : ", not tracking"));
      dates.clear();
      step.act();
      std::vector<QDate> told;
      for (const auto& args : dates) told.push_back(args.at(0).toDate());
      EXPECT_EQ(told, tracking ? step.on : step.off);
      EXPECT_EQ(texts.count(), changes->count);  // textChanged is the text event
    }
  }
}

}  // namespace
}  // namespace morlex::qt
