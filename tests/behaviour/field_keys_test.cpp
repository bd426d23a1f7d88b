// The field by keyboard, on every toolkit: Up and Down step as the spin's
// arrows do, Alt+Down and F4 open the calendar as its button does, and a
// part the host hides takes its keys with it.
#include "toolkits.h"

namespace morlex::testing_support {
namespace {

using Keys = StageTest;
using platform::KeyDownArgs;
using platform::NavKey;

TEST_P(Keys, UpAndDownStepThePartUnderTheCaretAsTheArrowsDo) {
  const struct {
    int caret;
    bool up;
    std::u16string text;
    int caret_after;
  } cases[] = {
      {1, true, u"02/28/1999", 2},  // month, cut back to February's last day
      {4, false, u"01/30/1999", 5},
      {8, true, u"01/31/2000", 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caret);
    // By the arrows, the caret remembered where the user put it.
    NewWithText(u"01/31/1999");
    Stage().Caret(c.caret, 0);
    Take();
    Stage().Spin(c.up);
    const Lines by_arrows = Take();

    // By the key, with the caret put there by the program: the key takes it
    // where it stands, not where the last click or key left it.
    NewWithText(u"01/31/1999");
    Stage().Caret(0, 0);
    Control().SetSelStart(c.caret);
    Take();
    Stage().PressKey({c.up ? NavKey::kUp : NavKey::kDown});
    EXPECT_EQ(Text(), c.text);
    EXPECT_EQ(Stage().State().sel_start, c.caret_after);
    EXPECT_EQ(Control().RememberedCaret(), c.caret_after);
    EXPECT_EQ(Take(), by_arrows);
  }
}

TEST_P(Keys, AltDownAndF4OpenTheCalendarLikeItsButton) {
  for (const KeyDownArgs key :
       {KeyDownArgs{NavKey::kDown, false, false, true}, KeyDownArgs{NavKey::kF4}}) {
    NewWithText(u"3/15/1999");
    bool shown = false;
    Stage().PressKey(key, [&](host::DialogUser& user) {
      shown = true;
      user.Focus("picDays");
      user.PressKey("picDays", {NavKey::kRight});
      user.PressKey("picDays", {NavKey::kSpace});
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(Text(), u"03/16/1999");
  }
}

TEST_P(Keys, AHiddenPartTakesItsKeysWithIt) {
  NewWithText(u"01/31/1999");
  Control().SetSpin(false);
  Control().SetCalendar(false);
  Stage().Caret(4, 0);
  Take();
  bool shown = false;
  for (const KeyDownArgs key :
       {KeyDownArgs{NavKey::kUp}, KeyDownArgs{NavKey::kDown}, KeyDownArgs{NavKey::kF4},
        KeyDownArgs{NavKey::kDown, false, false, true}}) {
    Stage().PressKey(key, [&](host::DialogUser&) { shown = true; });
  }
  EXPECT_FALSE(shown);
  EXPECT_EQ(Text(), u"01/31/1999");
  EXPECT_EQ(Count(Take(), "event DateChanged"), 0);
}

INSTANTIATE_TEST_SUITE_P(Toolkits, Keys, ::testing::ValuesIn(Toolkits()), ToolkitName);

}  // namespace
}  // namespace morlex::testing_support
