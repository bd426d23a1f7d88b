// The range of dates the field stores, on every toolkit: typing is free, a
// commit outside the range fails as a store the host refused, a spin step
// that would leave it fails as a step past the calendar's years, and the
// calendar offers no day outside it.
#include "toolkits.h"

namespace morlex::testing_support {
namespace {

using Range = StageTest;

const char* const kRangeError =
    "event DateError source=\"MorlexDate.ValidateAndUpdate\" custom=\"Could not update "
    "recordset.\"";
const char* const kSpinError =
    "event DateError source=\"MorlexDate.SpinTheDate\" custom=\"Spin error encountered.\"";

TEST_P(Range, TypingIsFreeACommitOutsideFailsAndKeepsTheText) {
  NewWithText(u"");
  Control().SetDateRange({1900, 1, 1}, {2099, 12, 31});
  Stage().Type(u"12/31/1899");
  const Lines typed = Take();
  EXPECT_EQ(Count(typed, kRangeError), 0);
  EXPECT_EQ(Count(typed, "notify Text"), 20);  // before each key and after each change

  Stage().Key(13);
  EXPECT_EQ(Take(), Lines{kRangeError});  // no notice from the commit itself
  EXPECT_EQ(Text(), u"12/31/1899");

  Control().SetText(u"12/31/1900");
  Take();
  Stage().Blur(host::BlurTarget::kOutside);
  EXPECT_EQ(Take(), Lines{"notify Text"});
}

TEST_P(Range, ASpinStepThatWouldLeaveTheRangeFailsAndChangesNothing) {
  NewWithText(u"12/31/2098");
  Control().SetDateRange({1900, 1, 1}, {2099, 12, 31});
  Stage().Caret(8, 0);
  Stage().Spin(true);
  EXPECT_EQ(Text(), u"12/31/2099");
  Take();
  Stage().Spin(true);
  EXPECT_EQ(Take(), Lines{kSpinError});
  EXPECT_EQ(Text(), u"12/31/2099");
  EXPECT_EQ(Stage().State().sel_start, 10);
}

TEST_P(Range, TheCalendarConfirmsNoDayOutsideTheRange) {
  NewWithText(u"12/15/1999");
  Control().SetDateRange({1999, 12, 10}, {2099, 12, 31});
  Stage().ClickCalendar([](host::DialogUser& user) {
    user.DblClickLabel("lblDay", 11);  // December 9th, 1999: shown, disabled
    EXPECT_TRUE(user.Shown());
    user.PressUpDown("spnMonth", false);  // November 15th: outside
    user.PressButton("cmdOK");
    EXPECT_TRUE(user.Shown());
    user.PressUpDown("spnMonth", true);
    user.DblClickLabel("lblDay", 12);  // December 10th
  });
  EXPECT_EQ(Text(), u"12/10/1999");
}

INSTANTIATE_TEST_SUITE_P(Toolkits, Range, ::testing::ValuesIn(Toolkits()), ToolkitName);

}  // namespace
}  // namespace morlex::testing_support
