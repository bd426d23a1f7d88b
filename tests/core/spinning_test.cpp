#include "morlex/core/spinning.h"

#include <gtest/gtest.h>

#include <string>

#include "morlex/core/date_text.h"
#include "morlex/core/unicode.h"

namespace morlex {
namespace {

constexpr int kThisYear = 2026;

struct StepCase {
  std::u16string_view pattern;
  std::u16string_view text;
  int caret;
  int step;
  std::u16string_view want_text;
  int want_caret;
};

TEST(SpinDateText, StepsThePartUnderTheCaret) {
  const StepCase cases[] = {
      {u"mm/dd/yyyy", u"01/31/1999", 1, 1, u"02/28/1999", 2},
      {u"mm/dd/yyyy", u"01/31/2000", 0, 1, u"02/29/2000", 2},
      {u"mm/dd/yyyy", u"02/29/2000", 8, 1, u"02/28/2001", 10},
      {u"mm/dd/yyyy", u"12/31/1999", 4, 1, u"01/01/2000", 5},
      {u"mm/dd/yyyy", u"01/01/1999", 3, -1, u"12/31/1998", 5},
      {u"mm/dd/yyyy", u"01/05/1999", 2, 1, u"02/05/1999", 2},  // right before the first "/"
      {u"mm/dd/yyyy", u"01/05/1999", 5, 1, u"01/06/1999", 5},  // right before the second
      {u"mm/dd/yyyy", u"01/05/1999", 6, 1, u"01/05/2000", 10},
      {u"mm/dd/yyyy", u"12/15/1999", 0, 1, u"01/15/2000", 2},
      {u"mm/dd/yyyy", u"03/31/2001", 0, -1, u"02/28/2001", 2},
      // Typed, not yet rendered: read in the window, stepped, rendered.
      {u"mm/dd/yyyy", u"1/5/99", 6, 1, u"01/05/2000", 10},
      {u"mm/dd/yyyy", u" 1/5/99 ", 1, 1, u"02/05/1999", 2},
      {u"mm/dd/yy", u"06/15/29", 7, 1, u"06/15/30", 8},
      {u"mm/dd/yy", u"06/15/30", 8, 1, u"06/15/31", 8},  // 1930 by the window
      {u"mm/dd/yy", u"01/01/30", 7, -1, u"01/01/29", 8},
      {u"m/d/yyyy", u"9/30/1999", 3, 1, u"10/1/1999", 4},
      {u"m/d/yyyy", u"10/1/1999", 4, -1, u"9/30/1999", 4},
      {u"m/d/yy", u"3/7/99", 0, 1, u"4/7/99", 1},
      // The empty pattern writes the stepped date as plain date text.
      {u"", u"01/31/1999", 0, 1, u"2/28/1999", 1},
      // A pattern without the separators puts the caret at the end.
      {u"yyyy-mm-dd", u"1/31/1999", 0, 1, u"1999-02-28", 10},
  };
  for (const auto& c : cases) {
    const SpinResult r = SpinDateText(c.text, c.caret, c.step, c.pattern, kThisYear);
    const std::string what =
        ToUtf8(c.text) + " caret " + std::to_string(c.caret) + " in " + ToUtf8(c.pattern);
    ASSERT_EQ(r.status, SpinStatus::kStepped) << what;
    EXPECT_EQ(ToUtf8(r.text), ToUtf8(c.want_text)) << what;
    EXPECT_EQ(r.caret, c.want_caret) << what;
  }
}

TEST(SpinDateText, TextsThatCannotBeStepped) {
  struct Case {
    std::u16string_view text;
    int caret;
    int step;
    SpinStatus want;
  };
  const Case cases[] = {
      {u"", 0, 1, SpinStatus::kNotADate},
      {u"2/30/1999", 0, 1, SpinStatus::kNotADate},
      {u"01/05/1999x", 0, 1, SpinStatus::kNotADate},
      {u"1/5", 0, 1, SpinStatus::kNotThreeParts},  // a date of this year, no year part
      {u"12/31/9999", 8, 1, SpinStatus::kOutOfRange},
      {u"12/31/9999", 4, 1, SpinStatus::kOutOfRange},
      {u"12/31/9999", 0, 1, SpinStatus::kOutOfRange},
      {u"01/01/0100", 8, -1, SpinStatus::kOutOfRange},
      {u"01/01/100", 4, -1, SpinStatus::kOutOfRange},
      {u"01/31/100", 0, -1, SpinStatus::kOutOfRange},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SpinDateText(c.text, c.caret, c.step, u"mm/dd/yyyy", kThisYear).status, c.want)
        << ToUtf8(c.text);
  }
}

TEST(SpinDateText, UpThenDownComesBackForEveryDay) {
  // Stepping a day up and down again must give back the same text in every
  // four-digit pattern, and the caret must stay on the day for the next press.
  for (std::u16string_view pattern : {u"mm/dd/yyyy", u"m/d/yyyy"}) {
    Date d{1999, 1, 1};
    for (int i = 0; i < 800; ++i) {
      const std::u16string text = FormatDate(d, pattern);
      const Slashes s = FindSlashes(text);
      const SpinResult up = SpinDateText(text, s.first, 1, pattern, kThisYear);
      ASSERT_EQ(up.status, SpinStatus::kStepped) << ToUtf8(text);
      EXPECT_EQ(ChooseSpinPart(up.caret, FindSlashes(up.text)), SpinPart::kDay) << ToUtf8(text);
      const SpinResult down = SpinDateText(up.text, up.caret, -1, pattern, kThisYear);
      ASSERT_EQ(down.status, SpinStatus::kStepped);
      EXPECT_EQ(down.text, text);
      d = *AddToDate(DateUnit::kDays, 1, d);
    }
  }
}

TEST(ChooseSpinPart, BoundariesAreTheSeparators) {
  const Slashes s{3, 6, 2};  // 01/05/1999
  const SpinPart want[] = {SpinPart::kMonth, SpinPart::kMonth, SpinPart::kMonth, SpinPart::kDay,
                           SpinPart::kDay,   SpinPart::kDay,   SpinPart::kYear,  SpinPart::kYear,
                           SpinPart::kYear,  SpinPart::kYear,  SpinPart::kYear};
  for (int caret = 0; caret <= 10; ++caret) EXPECT_EQ(ChooseSpinPart(caret, s), want[caret]);
}

}  // namespace
}  // namespace morlex
