// Where the grid's keys move the chosen day: across month and year ends, at
// the short months, and at the first and last days the calendar has.
#include "morlex/calendar/grid_keys.h"

#include <gtest/gtest.h>

namespace {

using morlex::Date;
using morlex::calendar::MoveChosenDay;
using morlex::platform::NavKey;

TEST(GridKeys, MoveTheChosenDay) {
  const struct {
    Date from;
    NavKey key;
    bool ctrl;
    std::optional<Date> to;
  } cases[] = {
      {{1999, 3, 1}, NavKey::kLeft, false, Date{1999, 2, 28}},
      {{1999, 12, 31}, NavKey::kRight, false, Date{2000, 1, 1}},
      {{2000, 2, 26}, NavKey::kDown, false, Date{2000, 3, 4}},
      {{2000, 1, 3}, NavKey::kUp, false, Date{1999, 12, 27}},
      {{1999, 1, 31}, NavKey::kPageDown, false, Date{1999, 2, 28}},
      {{2000, 3, 31}, NavKey::kPageUp, false, Date{2000, 2, 29}},
      {{2000, 2, 29}, NavKey::kPageDown, true, Date{2001, 2, 28}},
      {{1999, 12, 15}, NavKey::kPageUp, true, Date{1998, 12, 15}},
      {{2000, 2, 10}, NavKey::kEnd, false, Date{2000, 2, 29}},
      {{1999, 4, 30}, NavKey::kHome, false, Date{1999, 4, 1}},
      // The calendar's first and last days go no further.
      {{100, 1, 1}, NavKey::kLeft, false, std::nullopt},
      {{100, 1, 5}, NavKey::kUp, false, std::nullopt},
      {{9999, 12, 31}, NavKey::kRight, false, std::nullopt},
      {{9999, 6, 30}, NavKey::kPageDown, true, std::nullopt},
      // Keys that move nothing.
      {{1999, 3, 15}, NavKey::kSpace, false, std::nullopt},
      {{1999, 3, 15}, NavKey::kTab, false, std::nullopt},
      {{1999, 3, 15}, NavKey::kF4, false, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from.month << "/" << c.from.day << "/" << c.from.year
                                    << " key " << static_cast<int>(c.key));
    EXPECT_EQ(MoveChosenDay(c.from, c.key, c.ctrl, false), c.to);
  }
  // Alt with any key belongs to the form.
  EXPECT_EQ(MoveChosenDay({1999, 3, 15}, NavKey::kRight, false, true), std::nullopt);
}

}  // namespace
