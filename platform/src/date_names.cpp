#include "morlex/platform/date_names.h"

#include "morlex/core/date.h"
#include "morlex/core/date_text.h"

namespace morlex::platform {

std::u16string EnglishDateNames::MonthName(int month) const {
  return std::u16string(morlex::MonthName(month));
}

std::u16string EnglishDateNames::ShortDayName(int weekday) const {
  if (weekday < 1 || weekday > 7) return {};
  // 1 to 7 January 2023 run from Sunday to Saturday.
  return FormatDate(Date{2023, 1, weekday}, u"ddd");
}

const EnglishDateNames& EnglishDateNames::Instance() {
  static const EnglishDateNames names;
  return names;
}

}  // namespace morlex::platform
