// The range of dates that the field stores: checked where a value is handed
// on (the commit, a spin step, the calendar), never while the user types.
#include <string>

#include "morlex/control/morlex_date.h"
#include "morlex/core/date_text.h"
#include "morlex/core/error.h"
#include "morlex/core/unicode.h"

namespace morlex {
void MorlexDate::SetDateRange(const Date& minimum, const Date& maximum) {
  if (!minimum.ok() || !maximum.ok() || ToSerial(minimum) > ToSerial(maximum)) {
    throw Error(errnum::kInvalidCall);
  }
  minimum_ = minimum;
  maximum_ = maximum;
}

bool MorlexDate::InDateRange(const Date& date) const {
  const auto at = ToSerial(date);
  return at >= ToSerial(minimum_) && at <= ToSerial(maximum_);
}

void MorlexDate::CheckDateRange(const Date& date) const {
  if (InDateRange(date)) return;
  throw Error(errnum::kInvalidValue,
              ToUtf8(u"The date " + FormatDate(date, u"yyyy-mm-dd") + u" lies outside the range " +
                     FormatDate(minimum_, u"yyyy-mm-dd") + u" to " +
                     FormatDate(maximum_, u"yyyy-mm-dd") + u"."));
}

}  // namespace morlex
