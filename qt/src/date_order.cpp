#include "date_order_p.h"

#include <QDate>

#include "morlex/qt/morlex_date_widget.h"
#include "morlex/qt/units.h"

namespace morlex::qt {

// The Qt enumerations are the core's tables, value for value.
constexpr int Int(int value) {
  return value;
}
static_assert(Int(MorlexDateWidget::MonthDayYear) == kDateOrders[0].order &&
              Int(MorlexDateWidget::DayMonthYear) == kDateOrders[1].order &&
              Int(MorlexDateWidget::YearMonthDay) == kDateOrders[2].order &&
              kDateOrders.size() == 3);
static_assert(Int(MorlexDateWidget::LeadingZerosCentury) == kDateFormats[0].format &&
              Int(MorlexDateWidget::LeadingZerosNoCentury) == kDateFormats[1].format &&
              Int(MorlexDateWidget::NoLeadingZerosCentury) == kDateFormats[2].format &&
              Int(MorlexDateWidget::NoLeadingZerosNoCentury) == kDateFormats[3].format &&
              kDateFormats.size() == 4);

namespace detail {

DateLayout LayoutOfDateFormat(const QString& format) {
  // Quoted text in a format ("d 'de' MMMM") is no part of the date.
  QString fields;
  bool quoted = false;
  for (const QChar ch : format) {
    if (ch == u'\'') {
      quoted = !quoted;
    } else if (!quoted) {
      fields.append(ch);
    }
  }
  const qsizetype day = fields.indexOf(u'd');
  const qsizetype month = fields.indexOf(u'M');
  const qsizetype year = fields.indexOf(u'y');
  DateLayout layout;
  if (day < 0 || month < 0 || year < 0) return layout;
  if (year < month && month < day) {
    layout.order = YearMonthDay;
  } else if (day < month && month < year) {
    layout.order = DayMonthYear;
  } else {
    layout.order = MonthDayYear;
  }
  const qsizetype first = std::min({day, month, year});
  const qsizetype last = std::max({day, month, year});
  for (qsizetype i = first; i < last; ++i) {
    const char16_t ch = fields.at(i).unicode();
    if (ch == u'/' || ch == u'.' || ch == u'-') {
      layout.separator = ch;
      break;
    }
  }
  return layout;
}

DateLayout LayoutOfLocale(const QLocale& locale) {
  return LayoutOfDateFormat(locale.dateFormat(QLocale::ShortFormat));
}

std::u16string LocaleDateNames::MonthName(int month) const {
  if (month < 1 || month > 12) return {};
  return FromQString(Locale().standaloneMonthName(month, QLocale::LongFormat));
}

std::u16string LocaleDateNames::ShortDayName(int weekday) const {
  if (weekday < 1 || weekday > 7) return {};
  // Qt counts the days from Monday = 1 to Sunday = 7.
  const int qt_day = weekday == 1 ? 7 : weekday - 1;
  return FromQString(Locale().standaloneDayName(qt_day, QLocale::ShortFormat));
}

int LocaleDateNames::FirstWeekday() const {
  if (!locale_) return DateNames::FirstWeekday();
  const int qt_day = locale_->firstDayOfWeek();
  return qt_day == Qt::Sunday ? 1 : qt_day + 1;
}

std::optional<std::u16string> LocaleDateNames::LongDate(const Date& date) const {
  const QDate day(date.year, date.month, date.day);
  if (!locale_ || !day.isValid()) return DateNames::LongDate(date);
  return FromQString(locale_->toString(day, QLocale::LongFormat));
}

}  // namespace detail
}  // namespace morlex::qt
