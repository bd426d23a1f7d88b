// Commit on leaving the field and on Enter, and the events it raises.
#include <gtest/gtest.h>

#include "stage_fixture.h"

namespace morlex {
namespace {

using Lines = std::vector<std::string>;
using host::BlurTarget;

class ValidationTest : public testing::StageTest {};

TEST_F(ValidationTest, LeavingTheField) {
  struct Case {
    const char* what;
    std::int32_t format;
    std::u16string_view text;
    BlurTarget target;
    std::u16string_view after;
    Lines lines;
  } const cases[] = {
      {"a date is rendered, then committed",
       0,
       u"1/5/99",
       BlurTarget::kOutside,
       u"01/05/1999",
       {"notify Text", "event DateChanged", "notify Text"}},
      {"not a date: stays, DateInvalid, no commit",
       0,
       u"2/30/1999",
       BlurTarget::kOutside,
       u"2/30/1999",
       {"event DateInvalid"}},
      {"empty: committed, no rendering", 0, u"", BlurTarget::kOutside, u"", {"notify Text"}},
      {"blank: committed like empty", 0, u"   ", BlurTarget::kOutside, u"   ", {"notify Text"}},
      {"already in the pattern: no change",
       0,
       u"01/05/1999",
       BlurTarget::kOutside,
       u"01/05/1999",
       {"notify Text"}},
      {"to the calendar button: nothing", 0, u"1/5/99", BlurTarget::kCalendar, u"1/5/99", {}},
      {"to the spin indicator: nothing", 0, u"2/30/1999", BlurTarget::kSpin, u"2/30/1999", {}},
      {"two-digit pattern keeps 1930..2029 only",
       1,
       u"1/5/1920",
       BlurTarget::kOutside,
       u"01/05/20",
       {"notify Text", "event DateChanged", "notify Text"}},
      {"month and day only: the current year",
       0,
       u"1/5",
       BlurTarget::kOutside,
       u"01/05/2026",
       {"notify Text", "event DateChanged", "notify Text"}},
  };
  for (const auto& c : cases) {
    MorlexDate& control = NewWithText(c.text);
    control.SetDateFormat(c.format);
    control.SetText(c.text);
    Take();
    stage_.Blur(c.target);
    EXPECT_EQ(control.Text(), c.after) << c.what;
    EXPECT_EQ(Take(), c.lines) << c.what;
  }
}

TEST_F(ValidationTest, EnterCommitsAndIsDropped) {
  struct Case {
    std::u16string_view text;
    std::u16string_view after;
    Lines lines;
  } const cases[] = {
      {u"", u"", {"notify Text"}},
      {u"2/30/1999", u"2/30/1999", {"event DateInvalid"}},
      {u"1/5", u"01/05/2026", {"notify Text", "event DateChanged", "notify Text"}},
      {u"13/5/1999", u"05/13/1999", {"notify Text", "event DateChanged", "notify Text"}},
  };
  for (const auto& c : cases) {
    NewWithText(c.text);
    stage_.Key(13);
    EXPECT_EQ(Text(), c.after);
    EXPECT_EQ(Take(), c.lines);
    // Code 0 commits the same way.
    stage_.Key(0);
    Take();
    EXPECT_EQ(Text(), c.after);
  }
}

TEST_F(ValidationTest, KeyPreviewDropsAllButDigitsAndEditingKeys) {
  NewWithText(u"");
  stage_.Type(u"a -x+,");
  EXPECT_EQ(Text(), u"");
  EXPECT_TRUE(Take().empty());
  stage_.Type(u".");
  EXPECT_EQ(Text(), u".");
}

TEST_F(ValidationTest, HostThatRefusesTheEdit) {
  NewWithText(u"1/5/99");
  stage_.Policy().can_change = false;
  stage_.Blur(BlurTarget::kOutside);
  // Rendering still changes the text and raises DateChanged; the host is
  // neither notified there nor by the commit.
  EXPECT_EQ(Text(), u"01/05/1999");
  EXPECT_EQ(Take(), (Lines{"event DateChanged"}));
  stage_.Key(13);
  EXPECT_TRUE(Take().empty());
}

TEST_F(ValidationTest, StorageFailureBecomesDateErrorAndTheTextStays) {
  NewWithText(u"01/05/1999");
  stage_.Policy().fail_notify = true;
  stage_.Blur(BlurTarget::kOutside);
  EXPECT_EQ(Text(), u"01/05/1999");
  EXPECT_EQ(Take(), (Lines{"notify Text failed",
                           "event DateError source=\"MorlexDate.ValidateAndUpdate\" "
                           "custom=\"Could not update recordset.\""}));
}

TEST_F(ValidationTest, FailureWhileRenderingIsReportedWithThePattern) {
  MorlexDate& c = NewWithText(u"1/5/99");
  c.SetDateFormat(1);
  c.SetText(u"1/5/1999");
  Take();
  stage_.Policy().fail_notify = true;
  stage_.Key(13);
  // The text was set before the host failed to take it.
  EXPECT_EQ(Text(), u"01/05/99");
  EXPECT_EQ(Take(), (Lines{"notify Text failed",
                           "event DateError source=\"MorlexDate.FormatTheDate\" custom=\"Could not "
                           "format date with format property mm/dd/yy.\"",
                           "notify Text failed",
                           "event DateError source=\"MorlexDate.ValidateAndUpdate\" "
                           "custom=\"Could not update recordset.\""}));
}

// A sink that changes the DateError arguments changes nothing in the control.
TEST_F(ValidationTest, DateErrorArgumentsAreTheHostsToChange) {
  class Meddler : public MorlexDateEvents {
   public:
    void DateError(ErrObject& e, std::u16string& custom) override {
      e.source = "meddled";
      custom = u"meddled";
    }
  };
  MorlexDate& c = NewWithText(u"01/05/1999");
  c.Advise(std::make_shared<Meddler>());
  stage_.Policy().fail_notify = true;
  stage_.Blur(BlurTarget::kOutside);
  stage_.Blur(BlurTarget::kOutside);
  const Lines lines = Take();
  ASSERT_EQ(lines.size(), 4U);
  EXPECT_EQ(lines[1], lines[3]);
  EXPECT_NE(lines[1].find("MorlexDate.ValidateAndUpdate"), std::string::npos);
}

}  // namespace
}  // namespace morlex
