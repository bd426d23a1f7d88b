#pragma once
// The names of months and weekdays in the user's language, for the texts
// that spell a date out (the calendar's title and weekday headings). Date
// text itself stays numeric in every language.
//
//   // A toolkit answers with the names of the user's locale:
//   const morlex::platform::DateNames& names = form.Names();
//   names.MonthName(3);      // "March", "März", ...
//   // Tests, the headless toolkit and any form that knows no locale:
//   morlex::platform::EnglishDateNames() ...

#include <string>

namespace morlex::platform {

class DateNames {
 public:
  virtual ~DateNames() = default;
  // The full name of month 1..12; empty for any other number.
  virtual std::u16string MonthName(int month) const = 0;
  // The abbreviated name of weekday 1..7, Sunday being 1; empty for any other
  // number.
  virtual std::u16string ShortDayName(int weekday) const = 0;
};

// The English names ("March", "Sun"), whatever the system's locale.
class EnglishDateNames final : public DateNames {
 public:
  std::u16string MonthName(int month) const override;
  std::u16string ShortDayName(int weekday) const override;

  // One shared instance, for forms that know no locale.
  static const EnglishDateNames& Instance();
};

}  // namespace morlex::platform
