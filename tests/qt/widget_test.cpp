// MorlexDateWidget as a Qt application sees it: properties, signals, the host
// hooks, sizes given by Qt, real focus changes in a shown window, and the
// failure boundary.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <stdexcept>

#include "field_fixture.h"
#include "morlex/control/morlex_date.h"
#include "morlex/core/error.h"
#include "morlex/platform/clock.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"
#include "morlex/qt/units.h"

namespace morlex::qt {
namespace {

class Widget : public FieldTest {
 protected:
  // A field initialised by the host, at the size the control asks for.
  std::unique_ptr<MorlexDateWidget> Field(QWidget* parent = nullptr) {
    auto field = FieldTest::Field(parent);
    field->resizeTwips(field->site().Width(), field->site().Height());
    return field;
  }

  static QLineEdit* Edit(MorlexDateWidget& field) {
    return qobject_cast<QLineEdit*>(
        WidgetOf(field.control().ControlSurface().GetTextBox("txtDate")));
  }
};

TEST_F(Widget, ANewFieldShowsTodayAtTheDefaultSize) {
  MorlexDateWidget field;
  EXPECT_EQ(field.text(), QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy")));
  const double tpp = TwipsPerPixel(&field);
  const QSize size(TwipsToPixelSize(1635, tpp), TwipsToPixelSize(315, tpp));
  EXPECT_EQ(field.size(), size);
  // Never narrower than a full date needs in the shown font.
  EXPECT_EQ(field.sizeHint().width(), std::max(size.width(), field.minimumSizeHint().width()));
  EXPECT_EQ(field.site().Width(), 1635);

  auto pinned = Field();
  EXPECT_EQ(pinned->text(), QStringLiteral("12/08/2026"));
}

TEST_F(Widget, PropertiesWorkThroughTheMetaObject) {
  auto field = Field();
  EXPECT_STREQ(field->metaObject()->userProperty().name(), "text");
  ASSERT_TRUE(field->setProperty("text", QStringLiteral("12/25/1999")));
  ASSERT_TRUE(field->setProperty("dateFormat", 1));
  EXPECT_EQ(field->property("text").toString(), QStringLiteral("12/25/99"));
  EXPECT_EQ(field->property("dateFormat").toInt(), 1);
  EXPECT_TRUE(field->property("dateIsValid").toBool());

  ASSERT_TRUE(field->setProperty("calendar", false));
  EXPECT_FALSE(field->control().ControlSurface().GetCommandButton("cmdCalendar").Visible());
  EXPECT_EQ(Edit(*field)->width(), TwipsToPixelSize(1635, TwipsPerPixel(field.get())));

  field->setBackColorValue(0x000000FF);
  EXPECT_EQ(Edit(*field)->palette().color(QPalette::Base), QColor(255, 0, 0));
  EXPECT_EQ(field->backColorValue(), 0x000000FFU);
}

TEST_F(Widget, ColoursAreQColorsOverTheControlsValues) {
  auto field = Field();
  EXPECT_EQ(
      field->metaObject()->property(field->metaObject()->indexOfProperty("backColor")).metaType(),
      QMetaType::fromType<QColor>());  // Designer offers its colour picker
  const QPalette theme = Edit(*field)->palette();
  const struct {
    QColor set;
    uint value;
    QColor shown;
  } backs[] = {
      {QColor(255, 0, 0), 0x000000FF, QColor(255, 0, 0)},
      {QColor(0x12, 0x34, 0x56, 0x80), 0x00563412, QColor(0x12, 0x34, 0x56)},  // opaque
      {QColor(), 0x80000005, theme.color(QPalette::Base)},                     // the system's again
  };
  for (const auto& c : backs) {
    ASSERT_TRUE(field->setProperty("backColor", c.set));
    EXPECT_EQ(field->backColorValue(), c.value) << c.set.name().toStdString();
    EXPECT_EQ(field->backColor(), c.shown) << c.set.name().toStdString();
    EXPECT_EQ(Edit(*field)->palette().color(QPalette::Base), c.shown);
  }
  // A system colour value reads as its palette role.
  field->setForeColorValue(0x80000012);  // button text
  EXPECT_EQ(field->foreColor(), theme.color(QPalette::ButtonText));
  field->setForeColor(QColor());
  EXPECT_EQ(field->foreColorValue(), 0x80000008U);
  EXPECT_TRUE(failures_.empty());
}

TEST_F(Widget, TheToolTipSetOnTheFieldIsTheOneItsTextBoxShows) {
  auto field = Field();
  const struct {
    bool on_widget;  // QWidget::setToolTip, else toolTipText
    const char* tip;
  } sets[] = {{true, "Due date"}, {false, "Pay by"}, {true, ""}};
  for (const auto& s : sets) {
    const QString tip = QString::fromLatin1(s.tip);
    if (s.on_widget) {
      field->setToolTip(tip);
    } else {
      field->setToolTipText(tip);
    }
    EXPECT_EQ(field->toolTip(), tip);
    EXPECT_EQ(field->toolTipText(), tip);
    EXPECT_EQ(Edit(*field)->toolTip(), tip);
  }
  EXPECT_TRUE(failures_.empty());
}

TEST_F(Widget, SignalsFollowTheControlsEvents) {
  auto field = Field();
  QSignalSpy changed(field.get(), &MorlexDateWidget::dateChanged);
  QSignalSpy text(field.get(), &MorlexDateWidget::textChanged);
  QSignalSpy invalid(field.get(), &MorlexDateWidget::dateInvalid);
  QSignalSpy error(field.get(), &MorlexDateWidget::dateError);
  QSignalSpy clicked(field.get(), &MorlexDateWidget::clicked);

  field->setText(QStringLiteral("2/30/1999"));
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).toDate(), QDate());  // no date, so no value
  EXPECT_EQ(text.takeFirst().at(0).toString(), QStringLiteral("2/30/1999"));
  QTest::keyClick(Edit(*field), Qt::Key_Return);
  EXPECT_EQ(invalid.count(), 1);

  field->setNotifyChangedHandler([](const QString& key) {
    if (key == QLatin1String("Text")) throw std::runtime_error("the record is locked");
  });
  field->setText(QStringLiteral("1/5/99"));  // the store fails: the write reports it
  ASSERT_EQ(failures_.size(), 1U);
  EXPECT_EQ(failures_[0], "the record is locked");
  QTest::keyClick(Edit(*field), Qt::Key_Return);
  ASSERT_EQ(error.count(), 2);
  EXPECT_EQ(error.at(0).at(0).toString(), QStringLiteral("MorlexDate.FormatTheDate"));
  EXPECT_EQ(error.at(0).at(1).toString(), QStringLiteral("the record is locked"));
  EXPECT_EQ(error.at(1).at(2).toString(), QStringLiteral("Could not update recordset."));

  QTest::mouseClick(Edit(*field), Qt::LeftButton, {}, Edit(*field)->rect().center());
  EXPECT_EQ(clicked.count(), 1);
}

TEST_F(Widget, TheHostDecidesAboutTextChanges) {
  auto field = Field();
  QStringList asked;
  QStringList told;
  bool allow = false;
  field->setCanChangeHandler([&](const QString& key) {
    asked << key;
    return allow;
  });
  field->setNotifyChangedHandler([&](const QString& key) { told << key; });
  field->setText(QStringLiteral("1/1/2001"));
  EXPECT_EQ(field->text(), QStringLiteral("12/08/2026"));
  EXPECT_EQ(asked, QStringList{QStringLiteral("Text")});
  EXPECT_TRUE(told.isEmpty());
  allow = true;
  field->setText(QStringLiteral("1/1/2001"));
  EXPECT_EQ(told, (QStringList{QStringLiteral("Text"), QStringLiteral("Text")}));
  field->setSpin(false);
  EXPECT_EQ(told.last(), QStringLiteral("Spin"));
}

TEST_F(Widget, TheQtFaceNeverThrowsAndTheFieldStaysUsable) {
  auto field = Field();
  EXPECT_NO_THROW(field->setSelStart(-1));
  EXPECT_NO_THROW(field->setSelLength(-5));
  ASSERT_EQ(failures_.size(), 2U);
  EXPECT_EQ(failures_[0], "Invalid property value");
  field->setText(QStringLiteral("3/3/2003"));
  EXPECT_EQ(field->text(), QStringLiteral("3/3/2003"));
  // The control's own interface keeps its contract and throws.
  EXPECT_THROW(field->control().SetSelStart(-1), Error);
}

TEST_F(Widget, AFailingHandlerOfARealKeyGoesToTheHandler) {
  auto field = Field();
  field->setText(QString());
  field->setNotifyChangedHandler([](const QString&) { throw std::runtime_error("locked"); });
  QTest::keyClicks(Edit(*field), QStringLiteral("1/"));
  EXPECT_EQ(field->text(), QStringLiteral("1/"));
  EXPECT_FALSE(failures_.empty());
  field->setNotifyChangedHandler(nullptr);
  failures_.clear();
  QTest::keyClick(Edit(*field), Qt::Key_2);
  EXPECT_EQ(field->text(), QStringLiteral("1/2"));
  EXPECT_TRUE(failures_.empty());
}

TEST_F(Widget, SizesFromQtLayTheControlOut) {
  QWidget window;
  auto field = Field(&window);
  window.resize(400, 100);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const double tpp = TwipsPerPixel(field.get());

  field->resize(200, 30);
  EXPECT_FLOAT_EQ(field->site().Width(), static_cast<float>(200 * tpp));
  EXPECT_FLOAT_EQ(field->control().ControlSurface().GetTextBox("txtDate").Width(),
                  static_cast<float>(200 * tpp - 300));

  // Lower than the control allows: the layout asks for the default height.
  field->resize(200, 2);
  EXPECT_EQ(field->site().Height(), 315);
  EXPECT_EQ(field->height(), TwipsToPixelSize(315, tpp));

  // In a layout the container's size wins and the control reads it back.
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(field.get());
  window.resize(500, 100);
  QApplication::processEvents();
  EXPECT_GT(field->width(), 200);
  EXPECT_FLOAT_EQ(field->site().Width(), static_cast<float>(field->width() * tpp));
  layout->removeWidget(field.get());
}

TEST_F(Widget, ShowingTheFieldIsTheShowNotice) {
  QWidget window;
  auto field = Field(&window);
  platform::CommandButton& button =
      field->control().ControlSurface().GetCommandButton("cmdCalendar");
  button.SetVisible(false);  // as after loading in a designer: the flag still wants it
  window.show();
  EXPECT_TRUE(button.Visible());
  EXPECT_TRUE(IsDrawnPart(button));  // the field draws it, at its place
  EXPECT_FALSE(AreaOf(button).isEmpty());
}

// Focus moved by Qt itself, in an active window: leaving the field commits,
// moving within it or deactivating the window does not.
TEST_F(Widget, RealFocusChangesCommitOnlyWhenTheFocusLeavesTheField) {
  QWidget window;
  auto field = Field(&window);
  auto* other = new QLineEdit(&window);
  other->move(0, 40);
  window.resize(300, 100);
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) GTEST_SKIP() << "the platform activates no window";
  QSignalSpy invalid(field.get(), &MorlexDateWidget::dateInvalid);

  QTest::mouseClick(Edit(*field), Qt::LeftButton, {}, Edit(*field)->rect().center());
  ASSERT_TRUE(Edit(*field)->hasFocus());
  Edit(*field)->selectAll();
  QTest::keyClicks(Edit(*field), QStringLiteral("2/30/1999"));
  EXPECT_EQ(field->text(), QStringLiteral("2/30/1999"));

  // A click on the field's arrows (drawn over the text box) keeps the focus
  // where it is; on a text that is no date they do nothing.
  const QRect arrows = AreaOf(field->control().ControlSurface().GetUpDown("spinCTL"));
  QTest::mouseClick(Edit(*field), Qt::LeftButton, {},
                    Edit(*field)->mapFrom(field.get(), arrows.center()));
  EXPECT_TRUE(Edit(*field)->hasFocus());
  EXPECT_EQ(field->text(), QStringLiteral("2/30/1999"));
  EXPECT_EQ(invalid.count(), 0);

  QWidget popup;
  popup.show();
  popup.activateWindow();
  if (QTest::qWaitForWindowActive(&popup)) {
    EXPECT_EQ(invalid.count(), 0);
  }
  popup.hide();
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) GTEST_SKIP() << "the window was not activated again";

  // The selection outlives the focus, as the control reads it afterwards.
  Edit(*field)->setSelection(2, 3);
  other->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(invalid.count(), 1);
  EXPECT_EQ(field->selStart(), 2);
  EXPECT_EQ(field->selLength(), 3);
}

// A field focused while its window was inactive gets the focus when the
// window is activated; leaving it afterwards commits.
TEST_F(Widget, FocusRestoredByActivationIsFocus) {
  QWidget window;
  auto field = Field(&window);
  auto* other = new QLineEdit(&window);
  other->move(0, 40);
  field->setText(QStringLiteral("2/30/1999"));
  QSignalSpy invalid(field.get(), &MorlexDateWidget::dateInvalid);
  Edit(*field)->setFocus();  // recorded by Qt only: the window is not shown
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) GTEST_SKIP() << "the platform activates no window";
  if (!Edit(*field)->hasFocus()) GTEST_SKIP() << "the platform restored no focus";
  EXPECT_EQ(FocusedWidget(field->control().ControlSurface()),
            &field->control().ControlSurface().GetTextBox("txtDate"));
  other->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(invalid.count(), 1);
}

// Enter commits the date and then still reaches the host dialog's default
// button; Esc its cancel handling.
TEST_F(Widget, EnterAndEscReachTheHostsDialogAfterTheField) {
  QDialog dialog;
  auto field = Field(&dialog);
  auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  ok->move(0, 40);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QStringList told;
  field->setNotifyChangedHandler([&](const QString& key) { told << key; });
  dialog.show();
  field->setText(QStringLiteral("1/5/99"));
  told.clear();
  QTest::keyClick(Edit(*field), Qt::Key_Return);
  EXPECT_EQ(field->text(), QStringLiteral("01/05/1999"));
  EXPECT_EQ(told, (QStringList{QStringLiteral("Text"), QStringLiteral("Text")}));
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());

  dialog.setResult(QDialog::Accepted);
  dialog.show();
  QTest::keyClick(Edit(*field), Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(field->text(), QStringLiteral("01/05/1999"));
}

}  // namespace
}  // namespace morlex::qt
