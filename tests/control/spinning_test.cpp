// The spin indicator of the field, pressed as the end user presses it.
#include <gtest/gtest.h>

#include "field_fixture.h"
#include "morlex/core/error.h"

namespace morlex {
namespace {

using testing_support::Field;
using testing_support::U8;
using Lines = std::vector<std::string>;

struct SpinCase {
  int format;
  std::u16string_view given;
  int remembered;
  bool up;
  std::u16string_view want_text;
  int want_caret;
};

int SpinValue(Field& f) {
  return f.Control().ControlSurface().GetUpDown("spinCTL").Value();
}

TEST(Spinning, StepsThePartOfTheRememberedCaret) {
  const SpinCase cases[] = {
      {0, u"01/31/1999", 1, true, u"02/28/1999", 2},
      {0, u"02/29/2000", 8, true, u"02/28/2001", 10},
      {0, u"01/01/1999", 3, false, u"12/31/1998", 5},
      {0, u"1/5/99", 6, true, u"01/05/2000", 10},
      {1, u"06/15/29", 7, true, u"06/15/30", 8},
      {2, u"9/30/1999", 3, true, u"10/1/1999", 4},
      // The empty pattern shows the stepped date as plain date text.
      {7, u"01/31/1999", 0, true, u"2/28/1999", 1},
  };
  for (const auto& c : cases) {
    Field f(c.format);
    f.Given(c.given);
    f.ClickAt(c.remembered);
    f.Stage().Spin(c.up);
    const std::string what = U8(c.given) + " at " + std::to_string(c.remembered);
    EXPECT_EQ(U8(f.Text()), U8(c.want_text)) << what;
    EXPECT_EQ(f.Caret(), c.want_caret) << what;
    EXPECT_EQ(f.Control().SelLength(), 0) << what;
    EXPECT_EQ(f.Control().RememberedCaret(), c.want_caret) << what;
    EXPECT_EQ(SpinValue(f), 0) << what;
    EXPECT_EQ(f.lines, (Lines{"notify Text", "event DateChanged"})) << what;
  }
}

TEST(Spinning, FurtherPressesStepTheSamePart) {
  struct Case {
    int format;
    std::u16string_view given;
    int remembered;
    std::vector<bool> presses;
    std::u16string_view want_text;
  };
  const Case cases[] = {
      {1, u"06/15/29", 7, {true, true}, u"06/15/31"},  // 2030 shows as 30, read back as 1930
      {2, u"9/30/1999", 3, {true, true}, u"10/2/1999"},
      {0, u"01/31/1999", 1, {true, true}, u"03/28/1999"},  // clamped once, then kept
  };
  for (const auto& c : cases) {
    Field f(c.format);
    f.Given(c.given);
    f.ClickAt(c.remembered);
    for (bool up : c.presses) f.Stage().Spin(up);
    EXPECT_EQ(U8(f.Text()), U8(c.want_text)) << U8(c.given);
  }
}

TEST(Spinning, ArrowsDoNothingWithoutAFullDate) {
  for (std::u16string_view text : {u"1/5", u"2/30/1999", u"", u"abc", u"1/2/3/4"}) {
    Field f;
    f.Given(text);
    f.ClickAt(1);
    const int remembered = f.Control().RememberedCaret();
    f.Stage().Spin(true);
    EXPECT_EQ(U8(f.Text()), U8(text));
    EXPECT_EQ(f.lines, Lines{}) << U8(text);
    EXPECT_EQ(f.Control().RememberedCaret(), remembered);
    EXPECT_EQ(SpinValue(f), 0);
  }
}

TEST(Spinning, StepOutOfTheYearRangeIsAnError) {
  struct Case {
    std::u16string_view given;
    int remembered;
    bool up;
  };
  const Case cases[] = {
      {u"12/31/9999", 8, true},  {u"12/31/9999", 4, true},  {u"12/31/9999", 0, true},
      {u"01/01/0100", 8, false}, {u"01/01/0100", 4, false},
  };
  for (const auto& c : cases) {
    Field f;
    f.Given(c.given);
    f.ClickAt(c.remembered);
    f.Stage().Spin(c.up);
    EXPECT_EQ(U8(f.Text()), U8(c.given));
    EXPECT_EQ(f.Control().RememberedCaret(), c.remembered);
    EXPECT_EQ(SpinValue(f), 0);
    EXPECT_EQ(f.lines, Lines{"event DateError source=\"MorlexDate.SpinTheDate\" "
                             "custom=\"Spin error encountered.\""})
        << U8(c.given);
    ASSERT_EQ(f.recorder->errors.size(), 1U);
    EXPECT_NE(f.recorder->errors[0].number, 0);
  }
}

TEST(Spinning, FocusOnTheIndicatorKeepsThePart) {
  Field f;
  f.Given(u"01/05/1999");
  f.ClickAt(1);
  f.Stage().Blur(host::BlurTarget::kSpin);
  f.Stage().Spin(true);
  EXPECT_EQ(U8(f.Text()), "02/05/1999");
}

// A host whose DateError handler fails.
class FailingErrorSink final : public MorlexDateEvents {
 public:
  void DateError(ErrObject&, std::u16string&) override {
    throw Error(errnum::kHostFailure, "sink failed");
  }
};

TEST(Spinning, IndicatorIsResetEvenWhenTheHostFails) {
  Field f;
  f.Control().Advise(std::make_shared<FailingErrorSink>());
  f.Given(u"12/31/9999");
  f.ClickAt(8);
  EXPECT_THROW(f.Stage().Spin(true), Error);
  EXPECT_EQ(SpinValue(f), 0);
  // The arrow still works afterwards.
  f.Given(u"12/30/9999");
  EXPECT_THROW(f.Stage().Spin(true), Error);
  EXPECT_EQ(U8(f.Text()), "12/30/9999");  // the year part: out of range again
  f.ClickAt(4);
  f.Stage().Spin(true);
  EXPECT_EQ(U8(f.Text()), "12/31/9999");
}

TEST(Spinning, HostRefusingTheEditStillGetsDateChanged) {
  Field f;
  f.Given(u"01/05/1999");
  f.ClickAt(4);
  f.Policy().can_change = false;
  f.Stage().Spin(false);
  EXPECT_EQ(U8(f.Text()), "01/04/1999");
  EXPECT_EQ(f.lines, Lines{"event DateChanged"});
}

}  // namespace
}  // namespace morlex
