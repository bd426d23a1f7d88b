#pragma once
// A day of the Gregorian calendar in the years 100 to 9999, and the calendar
// arithmetic the control needs. Values are checked with ok(), never by a
// throwing constructor.

#include <cstdint>
#include <optional>

namespace morlex {

inline constexpr int kMinYear = 100;
inline constexpr int kMaxYear = 9999;

constexpr bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days in month (1..12) of year; 0 for a month outside 1..12.
constexpr int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

struct Date {
  int year = 0;   // [100, 9999] when ok()
  int month = 0;  // [1, 12]
  int day = 0;    // [1, DaysInMonth]

  constexpr bool ok() const {
    return year >= kMinYear && year <= kMaxYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
  }
  friend constexpr bool operator==(const Date&, const Date&) = default;
};

// Days since 1 January 1970 (negative before); valid for any ok() date.
std::int32_t ToSerial(const Date& date);
// Inverse of ToSerial.
Date FromSerial(std::int32_t serial);

// Weekday with Sunday = 1 up to Saturday = 7.
int Weekday(const Date& date);

enum class DateUnit { kDays, kMonths, kYears };

// The date n days, months or years from date. A month or year step keeps the
// day where the target month has it and falls back to that month's last day
// otherwise (31 January + 1 month = 28 or 29 February). Gives nullopt when
// the result lies outside the years 100 to 9999.
std::optional<Date> AddToDate(DateUnit unit, std::int64_t n, const Date& date);

}  // namespace morlex
