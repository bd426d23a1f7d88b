// The order of the date on the Qt face: the three properties, the locale's
// short format, locale changes, the screen reader's description and the
// delegate's editors.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QTest>

#include "date_order_p.h"  // the locale's short format read as an order, tested without a widget
#include "field_fixture.h"
#include "morlex/control/morlex_date.h"
#include "morlex/platform/clock.h"
#include "morlex/qt/failure.h"
#include "morlex/qt/morlex_date_delegate.h"
#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/toolkit.h"

namespace morlex::qt {
namespace {

class DateOrderTest : public FieldTest {
 protected:
  static void Type(MorlexDateWidget& field, const QString& keys) {
    field.setText(QString());
    auto* edit = qobject_cast<QLineEdit*>(field.focusProxy());
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, keys);
  }
};

TEST_F(DateOrderTest, ShortFormatsOfLocalesGiveTheirLayouts) {
  struct Case {
    const char* locale;
    DateOrder order;
    char16_t separator;
  } const cases[] = {
      {"de_DE", DayMonthYear, u'.'}, {"en_GB", DayMonthYear, u'/'}, {"en_US", MonthDayYear, u'/'},
      {"ja_JP", YearMonthDay, u'/'}, {"sv_SE", YearMonthDay, u'-'},
  };
  for (const Case& c : cases) {
    const DateLayout layout = detail::LayoutOfLocale(QLocale(QString::fromLatin1(c.locale)));
    EXPECT_EQ(layout.order, c.order) << c.locale;
    EXPECT_EQ(layout.separator, c.separator) << c.locale;
  }
  // Formats of none of the known shapes take the nearest.
  EXPECT_EQ(detail::LayoutOfDateFormat(QStringLiteral("d MMM yyyy")),
            (DateLayout{DayMonthYear, u'/'}));
  EXPECT_EQ(detail::LayoutOfDateFormat(QStringLiteral("yy. M. d.")),
            (DateLayout{YearMonthDay, u'.'}));
  EXPECT_EQ(detail::LayoutOfDateFormat(QStringLiteral("yyyy'-nen' d/M")), kDefaultLayout);
  EXPECT_EQ(detail::LayoutOfDateFormat(QStringLiteral("MMMM")), kDefaultLayout);
}

TEST_F(DateOrderTest, AGermanFieldTypesAndDescribesItsOrder) {
  auto field = Field();
  field->setLocale(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(field->dateOrder(), MorlexDateWidget::MonthDayYear);  // off by default
  field->setLocaleOrder(true);
  EXPECT_EQ(field->dateOrder(), MorlexDateWidget::DayMonthYear);
  EXPECT_EQ(field->dateSeparator(), QStringLiteral("."));
  Type(*field, QStringLiteral("24.12.2026"));
  EXPECT_EQ(field->text(), QStringLiteral("24.12.2026"));
  EXPECT_EQ(field->date(), QDate(2026, 12, 24));

  // A locale change is followed while localeOrder is on.
  field->setLocale(QLocale(QLocale::Swedish, QLocale::Sweden));
  EXPECT_EQ(field->text(), QStringLiteral("2026-12-24"));
  field->setLocaleOrder(false);
  field->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(field->text(), QStringLiteral("2026-12-24"));

  field->setDateOrder(MorlexDateWidget::DayMonthYear);
  QEvent focus_in(QEvent::FocusIn);
  QApplication::sendEvent(field.get(), &focus_in);
  EXPECT_EQ(field->focusProxy()->accessibleDescription(), QStringLiteral("Date, day/month/year"));
}

TEST_F(DateOrderTest, RefusedValuesReachTheFailureHandlerAndChangeNothing) {
  auto field = Field();
  field->setText(QStringLiteral("12/24/2026"));
  field->setDateOrder(3);
  field->setDateSeparator(QStringLiteral(","));
  EXPECT_EQ(failures_.size(), 2U);
  EXPECT_EQ(field->dateOrder(), MorlexDateWidget::MonthDayYear);
  EXPECT_EQ(field->dateSeparator(), QStringLiteral("/"));
  EXPECT_EQ(field->text(), QStringLiteral("12/24/2026"));
}

TEST_F(DateOrderTest, TheDelegateShowsAndEditsInItsOrder) {
  MorlexDateDelegate dates;
  dates.setDateOrder(MorlexDateWidget::YearMonthDay);
  dates.setDateSeparator(QStringLiteral("-"));
  EXPECT_EQ(dates.displayText(QDate(2026, 12, 24), QLocale()), QStringLiteral("2026-12-24"));
  QWidget parent;
  std::unique_ptr<QWidget> editor(dates.createEditor(&parent, {}, {}));
  auto* field = qobject_cast<MorlexDateWidget*>(editor.get());
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->dateOrder(), MorlexDateWidget::YearMonthDay);
  EXPECT_EQ(field->dateSeparator(), QStringLiteral("-"));
  dates.setLocaleOrder(true);
  EXPECT_EQ(dates.displayText(QDate(2026, 12, 24), QLocale(QLocale::German, QLocale::Germany)),
            QStringLiteral("24.12.2026"));
}

}  // namespace
}  // namespace morlex::qt
