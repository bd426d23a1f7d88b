#pragma once
// The names of months and weekdays in the user's language, for the texts
// that spell a date out (the calendar's title, weekday headings and month
// field), with the day the language's week starts on. Date text itself stays
// numeric in every language.
//
//   // A form answers with the names of the user's locale:
//   form.Names().MonthName(3);                                    // "März" for a German user
//   // The headless toolkit, tests and any form that knows no locale:
//   morlex::platform::EnglishDateNames::Instance().MonthName(3);  // "March"

#include <optional>
#include <string>

#include "morlex/core/date.h"

namespace morlex::platform {

class DateNames {
 public:
  virtual ~DateNames() = default;
  // The full name of month 1..12; empty for any other number.
  virtual std::u16string MonthName(int month) const = 0;
  // The abbreviated name of weekday 1..7, Sunday being 1; empty for any other
  // number.
  virtual std::u16string ShortDayName(int weekday) const = 0;
  // The weekday a week starts on, Sunday being 1: the calendar's first
  // column. Sunday unless the language says otherwise.
  virtual int FirstWeekday() const { return 1; }
  // The date written out in full as the language writes it ("Donnerstag,
  // 24. Dezember 2026"), or nullopt where the calendar writes its own title
  // with these month names.
  virtual std::optional<std::u16string> LongDate(const Date& /*date*/) const {
    return std::nullopt;
  }
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
