// The order of the date on the Qt face: the three properties, the locale's
// short format, locale changes, the screen reader's description and the
// delegate's editors.
#include <gtest/gtest.h>

#include <QAccessible>
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
#include "morlex/qt/units.h"

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

// With the locale order on, the calendar speaks the field's locale: its
// week, title, month field and letter keys; with it off, the calendar of
// every field (English month field, weeks from Sunday) whatever the field's
// locale.
TEST_F(DateOrderTest, TheCalendarSpeaksTheFieldsLocaleWhenTheFieldFollowsIt) {
  auto field = Field();
  field->setLocale(QLocale(QLocale::German, QLocale::Germany));
  struct Seen {
    QString title, month, first_heading, spoken_heading, after_m;
    int first_day_cell = -1;
  };
  const auto open = [&] {
    Seen seen;
    toolkit_.SetModalHook([&](platform::Form& form) {
      seen.title = WidgetOf(form)->windowTitle();
      platform::TextBox& month = form.GetTextBox("txtMonth");
      seen.month = ToQString(month.Text());
      seen.first_heading = ToQString(form.GetLabel("lblDayName", 0).Caption());
      // A screen reader names the column's weekday in full.
      if (QAccessibleInterface* heading =
              QAccessible::queryAccessibleInterface(WidgetOf(form.GetLabel("lblDayName", 0)))) {
        seen.spoken_heading = heading->text(QAccessible::Name);
      }
      for (int i = 0; i < 7 && seen.first_day_cell < 0; ++i) {
        if (form.GetLabel("lblDay", i).Caption() == u"1") seen.first_day_cell = i;
      }
      QTest::keyClick(WidgetOf(month), Qt::Key_M);
      seen.after_m = ToQString(month.Text());
    });
    ClickAsIfHit(field->control().ControlSurface().GetCommandButton("cmdCalendar"));
    return seen;
  };

  field->setText(QStringLiteral("12/24/2026"));  // a Thursday in a month from a Tuesday
  const Seen off = open();
  EXPECT_EQ(off.title, QLocale().standaloneMonthName(12) + QStringLiteral(" 24, 2026"));
  EXPECT_EQ(off.month, QStringLiteral("December"));
  EXPECT_EQ(off.after_m, QStringLiteral("March"));
  EXPECT_EQ(off.first_day_cell, 2);
  EXPECT_EQ(off.spoken_heading, QLocale().dayName(Qt::Sunday));

  field->setLocaleOrder(true);
  const Seen on = open();
  EXPECT_EQ(on.title, QStringLiteral("Donnerstag, 24. Dezember 2026"));
  EXPECT_EQ(on.month, QStringLiteral("Dezember"));
  EXPECT_EQ(on.first_heading, QStringLiteral("Mo"));
  EXPECT_EQ(on.first_day_cell, 1);
  EXPECT_EQ(on.spoken_heading, QLocale().dayName(Qt::Monday));
  EXPECT_EQ(on.after_m, QStringLiteral("März"));

  field->setLocaleOrder(false);
  const Seen off_again = open();
  EXPECT_EQ(off_again.month, off.month);
  EXPECT_EQ(off_again.first_heading, off.first_heading);
  EXPECT_EQ(off_again.first_day_cell, off.first_day_cell);
  EXPECT_TRUE(failures_.empty());
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
