#include "morlex/core/date.h"

namespace morlex {

// Civil-from-days and days-from-civil in the proleptic Gregorian calendar,
// computed in 400-year eras so that no step depends on a table.
std::int32_t ToSerial(const Date& date) {
  const int y = date.year - (date.month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;                          // [0, 399]
  const int mp = (date.month + 9) % 12;                   // [0, 11]
  const int doy = (153 * mp + 2) / 5 + date.day - 1;      // [0, 365]
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;  // [0, 146096]
  return era * 146097 + doe - 719468;
}

Date FromSerial(std::int32_t serial) {
  const std::int32_t z = serial + 719468;
  const std::int32_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = static_cast<int>(z - era * 146097);                     // [0, 146096]
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
  const int mp = (5 * doy + 2) / 153;                                     // [0, 11]
  Date d;
  d.day = doy - (153 * mp + 2) / 5 + 1;
  d.month = mp < 10 ? mp + 3 : mp - 9;
  d.year = static_cast<int>(yoe + era * 400) + (d.month <= 2 ? 1 : 0);
  return d;
}

int Weekday(const Date& date) {
  // 1 January 1970 was a Thursday (5).
  const std::int32_t s = ToSerial(date);
  const int w = static_cast<int>(((s % 7) + 7 + 4) % 7);  // 0 = Sunday
  return w + 1;
}

std::optional<Date> AddToDate(DateUnit unit, std::int64_t n, const Date& date) {
  if (!date.ok()) return std::nullopt;
  // Anything that moves further than the whole range is out of range; the
  // bound keeps the arithmetic below far from overflow.
  constexpr std::int64_t kSpanDays = 3'700'000;
  switch (unit) {
    case DateUnit::kDays: {
      if (n > kSpanDays || n < -kSpanDays) return std::nullopt;
      const Date r = FromSerial(static_cast<std::int32_t>(ToSerial(date) + n));
      if (!r.ok()) return std::nullopt;
      return r;
    }
    case DateUnit::kMonths:
    case DateUnit::kYears: {
      if (n > 200'000 || n < -200'000) return std::nullopt;
      const std::int64_t months = unit == DateUnit::kYears ? n * 12 : n;
      const std::int64_t index = std::int64_t{date.year} * 12 + (date.month - 1) + months;
      if (index < std::int64_t{kMinYear} * 12 || index > std::int64_t{kMaxYear} * 12 + 11) {
        return std::nullopt;
      }
      Date r;
      r.year = static_cast<int>(index / 12);
      r.month = static_cast<int>(index % 12) + 1;
      const int last = DaysInMonth(r.year, r.month);
      r.day = date.day > last ? last : date.day;
      return r;
    }
  }
  return std::nullopt;
}

}  // namespace morlex
