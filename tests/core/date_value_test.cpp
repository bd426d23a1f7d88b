#include "morlex/core/date_value.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

namespace morlex {
namespace {

constexpr int kThisYear = 2026;

struct Step {
  std::optional<Date> shown;  // the program shows this date as `text` first
  bool program = false;
  std::u16string_view text;
  std::optional<Date> want;
  bool changed;
};

void Play(const std::vector<Step>& steps) {
  DateValue value;
  int n = 0;
  for (const Step& s : steps) {
    if (s.program) value.Show(s.shown, std::u16string(s.text));
    EXPECT_EQ(value.Follow(s.text, kThisYear), s.changed) << "step " << n;
    EXPECT_EQ(value.value(), s.want) << "step " << n;
    ++n;
  }
}

constexpr Date k1999{1999, 1, 5};
constexpr Date k1920{1920, 1, 5};
constexpr Date k2020{2020, 1, 5};

// A text that is no date has no value: the date last typed on the way to it
// was once kept, and a program read 02/30/1999 as 01/05/2019.
TEST(DateValue, FollowsTheTextAndHasNoDateWhileTheTextIsNone) {
  Play({
      {{}, false, u"01/05/1999", k1999, true},
      {{}, false, u"01/05/199", Date{199, 1, 5}, true},  // three digits are a year
      {{}, false, u"01/05/19", Date{2019, 1, 5}, true},
      {{}, false, u"01/05/", std::nullopt, true},  // no date: no value
      {{}, false, u"02/30/1999", std::nullopt, false},
      {{}, false, u"1/5", Date{kThisYear, 1, 5}, true},
      {{}, false, u"  ", std::nullopt, true},  // blank is no date at all
      {{}, false, u"abc", std::nullopt, false},
  });
}

TEST(DateValue, ADateOutsideTheRangeIsNoValue) {
  DateValue value;
  value.SetRange({1900, 1, 1}, {2099, 12, 31});
  EXPECT_TRUE(value.Follow(u"12/31/1900", kThisYear));
  // Outside the range, the date before it is no longer the value either.
  EXPECT_TRUE(value.Follow(u"12/31/1899", kThisYear));
  EXPECT_FALSE(value.Follow(u"1/1/2100", kThisYear));
  EXPECT_EQ(value.value(), std::nullopt);
}

TEST(DateValue, AProgramDateStaysWhileItsRenderingIsShown) {
  Play({
      {k1920, true, u"01/05/20", k1920, true},
      {{}, false, u"01/05/20", k1920, false},  // the same text again
      {{}, false, u"01/05/2", Date{2002, 1, 5}, true},
      // Typed back: the user's text reads by the window now.
      {{}, false, u"01/05/20", k2020, true},
      {std::nullopt, true, u"", std::nullopt, true},
      {k1999, true, u"01/05/99", k1999, true},
  });
}

}  // namespace
}  // namespace morlex
