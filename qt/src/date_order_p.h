#pragma once
// What a locale says of dates: the layout it writes its short dates in, and
// the names a calendar speaking it shows.

#include <QLocale>
#include <optional>
#include <string>

#include "morlex/core/date_layout.h"
#include "morlex/platform/date_names.h"

namespace morlex::qt::detail {

// The order in which day, month and year first appear in the locale's short
// date format, and the first of "/", "." and "-" between them ("/" when none
// is); month/day/year for any other order, or when the format lacks one of
// the three.
DateLayout LayoutOfLocale(const QLocale& locale);
DateLayout LayoutOfDateFormat(const QString& format);

// The month and weekday names of a locale, in their standalone forms (a
// month field and headings stand alone). Made without a locale, it reads the
// application's default locale at each call, so that a QLocale::setDefault
// made while the application runs holds for the next text a form spells
// out, and leaves the week and the title to the calendar. Made with one, it
// speaks that locale throughout: its first day of the week and its long date
// too.
class LocaleDateNames final : public platform::DateNames {
 public:
  LocaleDateNames() = default;
  explicit LocaleDateNames(const QLocale& locale) : locale_(locale) {}

  std::u16string MonthName(int month) const override;
  std::u16string ShortDayName(int weekday) const override;
  int FirstWeekday() const override;
  std::optional<std::u16string> LongDate(const Date& date) const override;

 private:
  QLocale Locale() const { return locale_ ? *locale_ : QLocale(); }

  std::optional<QLocale> locale_;
};

}  // namespace morlex::qt::detail
