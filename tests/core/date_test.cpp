#include "morlex/core/date.h"

#include <gtest/gtest.h>

namespace morlex {
namespace {

TEST(DateSerial, RoundTripsEveryDayOfTheRange) {
  const std::int32_t first = ToSerial({100, 1, 1});
  const std::int32_t last = ToSerial({9999, 12, 31});
  Date expected{100, 1, 1};
  int weekday = Weekday(expected);
  for (std::int32_t s = first; s <= last; ++s) {
    const Date d = FromSerial(s);
    ASSERT_EQ(d, expected) << "serial " << s;
    ASSERT_TRUE(d.ok());
    ASSERT_EQ(ToSerial(d), s);
    ASSERT_EQ(Weekday(d), weekday);
    weekday = weekday % 7 + 1;
    // Step the expected date by hand, independently of the serial arithmetic.
    if (++expected.day > DaysInMonth(expected.year, expected.month)) {
      expected.day = 1;
      if (++expected.month > 12) expected.month = 1, ++expected.year;
    }
  }
}

TEST(DateSerial, KnownWeekdays) {
  struct Case {
    Date date;
    int weekday;  // Sunday = 1
  } const cases[] = {
      {{1970, 1, 1}, 5}, {{1999, 8, 1}, 1},   {{1998, 2, 1}, 1},   {{2000, 1, 1}, 7},
      {{1999, 3, 1}, 2}, {{2000, 2, 1}, 3},   {{1899, 12, 31}, 1}, {{2026, 12, 8}, 3},
      {{100, 1, 1}, 6},  {{9999, 12, 31}, 6},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Weekday(c.date), c.weekday) << c.date.year << "-" << c.date.month;
  }
}

TEST(LeapYears, CenturyRule) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(1996));
  EXPECT_TRUE(IsLeapYear(400));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(1999));
  EXPECT_FALSE(IsLeapYear(100));
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(1999, 13), 0);
}

TEST(DateValidity, Limits) {
  EXPECT_TRUE((Date{100, 1, 1}).ok());
  EXPECT_TRUE((Date{9999, 12, 31}).ok());
  EXPECT_FALSE((Date{99, 12, 31}).ok());
  EXPECT_FALSE((Date{10000, 1, 1}).ok());
  EXPECT_FALSE((Date{1999, 2, 29}).ok());
  EXPECT_FALSE((Date{1999, 4, 31}).ok());
  EXPECT_FALSE((Date{1999, 0, 1}).ok());
}

TEST(AddToDate, ArithmeticAndClamping) {
  struct Case {
    DateUnit unit;
    std::int64_t n;
    Date from;
    std::optional<Date> to;
  } const cases[] = {
      {DateUnit::kMonths, 1, {1999, 1, 31}, Date{1999, 2, 28}},
      {DateUnit::kMonths, 1, {2000, 1, 31}, Date{2000, 2, 29}},
      {DateUnit::kMonths, 1, {1999, 12, 15}, Date{2000, 1, 15}},
      {DateUnit::kMonths, -1, {2000, 1, 15}, Date{1999, 12, 15}},
      {DateUnit::kMonths, 2, {1999, 1, 31}, Date{1999, 3, 31}},
      {DateUnit::kMonths, -13, {2000, 3, 31}, Date{1999, 2, 28}},
      {DateUnit::kYears, 1, {2000, 2, 29}, Date{2001, 2, 28}},
      {DateUnit::kYears, 4, {2000, 2, 29}, Date{2004, 2, 29}},
      {DateUnit::kYears, -1, {1930, 1, 1}, Date{1929, 1, 1}},
      {DateUnit::kDays, 1, {1999, 12, 31}, Date{2000, 1, 1}},
      {DateUnit::kDays, -1, {1999, 1, 1}, Date{1998, 12, 31}},
      {DateUnit::kDays, 1, {2000, 2, 28}, Date{2000, 2, 29}},
      {DateUnit::kDays, 366, {2000, 1, 1}, Date{2001, 1, 1}},
      // The range ends at the years 100 and 9999.
      {DateUnit::kDays, 1, {9999, 12, 31}, std::nullopt},
      {DateUnit::kDays, -1, {100, 1, 1}, std::nullopt},
      {DateUnit::kMonths, 1, {9999, 12, 1}, std::nullopt},
      {DateUnit::kMonths, -1, {100, 1, 31}, std::nullopt},
      {DateUnit::kYears, 1, {9999, 1, 1}, std::nullopt},
      {DateUnit::kYears, -1, {100, 6, 1}, std::nullopt},
      {DateUnit::kMonths, 0, {9999, 12, 31}, Date{9999, 12, 31}},
      // Absurd steps fail instead of overflowing.
      {DateUnit::kDays, INT64_MAX, {2000, 1, 1}, std::nullopt},
      {DateUnit::kYears, INT64_MIN, {2000, 1, 1}, std::nullopt},
      {DateUnit::kMonths, INT64_MAX / 12, {2000, 1, 1}, std::nullopt},
      // An invalid start is refused.
      {DateUnit::kDays, 1, {1999, 2, 30}, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AddToDate(c.unit, c.n, c.from), c.to)
        << c.from.year << "-" << c.from.month << "-" << c.from.day << " + " << c.n;
  }
}

}  // namespace
}  // namespace morlex
