// The end user typing into the field and leaving it, on every toolkit: which
// keys reach the text, the length limit of typed keys, the commit on Enter
// and on leaving, and what the host is told meanwhile.
#include "toolkits.h"

namespace morlex::testing_support {
namespace {

using Entry = StageTest;

const char* const kDateChanged = "event DateChanged";
const char* const kDateInvalid = "event DateInvalid";
const char* const kNotifyText = "notify Text";

TEST_P(Entry, PreviewDropsEveryKeyButDigitsAndEditingCharacters) {
  struct Case {
    char16_t key;
    std::u16string text;  // after the key, from an empty field
  };
  const Case cases[] = {
      {u'a', u""}, {u'Z', u""}, {u' ', u""},  {u'-', u""},  {u'+', u""},  {u',', u""},
      {u'"', u""}, {27, u""},   {u'7', u"7"}, {u'0', u"0"}, {u'.', u"."}, {u'/', u"/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.key));
    NewWithText(u"");
    Stage().Key(c.key);
    EXPECT_EQ(Text(), c.text);
    const Lines lines = Take();
    // A dropped key never reaches the text box: nothing at all is said.
    if (c.text.empty()) {
      EXPECT_TRUE(lines.empty());
    } else {
      EXPECT_EQ(Count(lines, kDateChanged), 1);
    }
  }
}

TEST_P(Entry, BackspaceAndTabPassTheKeyPreview) {
  NewWithText(u"12.3");
  Stage().Caret(4, 0);
  Stage().Key(8);
  EXPECT_EQ(Text(), u"12.");
  EXPECT_EQ(Count(Take(), kDateChanged), 1);

  Stage().Key(9);  // inserts nothing and changes nothing
  EXPECT_EQ(Text(), u"12.");
  EXPECT_EQ(Count(Take(), kDateChanged), 0);
}

TEST_P(Entry, TypedKeysStopAtElevenCharactersSetTextsDoNot) {
  NewWithText(u"");
  Stage().Type(u"............");  // twelve
  EXPECT_EQ(Text(), u"...........");

  const std::u16string long_text = u"...............";  // fifteen
  Control().SetText(long_text);
  EXPECT_EQ(Text(), long_text);
  Stage().Caret(15, 0);
  Take();
  Stage().Key(u'.');
  EXPECT_EQ(Text(), long_text);
  EXPECT_EQ(Count(Take(), kDateChanged), 0);

  // A typed key replaces a selection: 15 - 5 + 1 leaves 11, which fits.
  Stage().Caret(0, 5);
  Stage().Key(u'.');
  EXPECT_EQ(Text().size(), 11U);
  Stage().Key(u'.');
  EXPECT_EQ(Text().size(), 11U);
}

TEST_P(Entry, EnterRendersAndCommitsAndIsDropped) {
  struct Case {
    std::u16string typed;
    std::int32_t format;
    std::u16string text;
    Lines lines;
  };
  const Case cases[] = {
      {u"1/5/99", 0, u"01/05/1999", {kNotifyText, kDateChanged, kNotifyText}},
      {u"1/5/1920", 1, u"01/05/20", {kNotifyText, kDateChanged, kNotifyText}},
      {u"1/5", 0, u"01/05/2026", {kNotifyText, kDateChanged, kNotifyText}},
      {u"2/30/1999", 0, u"2/30/1999", {kDateInvalid}},
      {u"", 0, u"", {kNotifyText}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed.begin(), c.typed.end()));
    NewWithText(u"");
    Control().SetDateFormat(c.format);
    Control().SetText(c.typed);
    Take();
    Stage().Key(13);
    EXPECT_EQ(Text(), c.text);
    EXPECT_EQ(Take(), c.lines);
  }
}

TEST_P(Entry, KeyCodeZeroCommitsLikeEnter) {
  NewWithText(u"2/30/1999");
  Stage().Key(0);
  EXPECT_EQ(Text(), u"2/30/1999");
  EXPECT_EQ(Take(), Lines{kDateInvalid});
}

TEST_P(Entry, LeavingTheControlCommitsMovingInsideItDoesNot) {
  struct Case {
    std::u16string text;
    host::BlurTarget target;
    std::u16string after;
    Lines lines;
  };
  const Case cases[] = {
      {u"1/5/99",
       host::BlurTarget::kOutside,
       u"01/05/1999",
       {kNotifyText, kDateChanged, kNotifyText}},
      {u"01/05/1999", host::BlurTarget::kOutside, u"01/05/1999", {kNotifyText}},
      {u"2/30/1999", host::BlurTarget::kOutside, u"2/30/1999", {kDateInvalid}},
      {u"", host::BlurTarget::kOutside, u"", {kNotifyText}},
      {u"   ", host::BlurTarget::kOutside, u"   ", {kNotifyText}},
      {u"1/5/99", host::BlurTarget::kSpin, u"1/5/99", {}},
      {u"1/5/99", host::BlurTarget::kCalendar, u"1/5/99", {}},
      {u"2/30/1999", host::BlurTarget::kCalendar, u"2/30/1999", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()) + " to " +
                 std::to_string(static_cast<int>(c.target)));
    NewWithText(c.text);
    Stage().Blur(c.target);
    EXPECT_EQ(Text(), c.after);
    EXPECT_EQ(Take(), c.lines);
  }
}

TEST_P(Entry, AHostThatRefusesTheEditHearsNothingButDateChangedStillComes) {
  NewWithText(u"1/5/99");
  Stage().Policy().can_change = false;
  Stage().Blur(host::BlurTarget::kOutside);
  EXPECT_EQ(Text(), u"01/05/1999");
  EXPECT_EQ(Take(), Lines{kDateChanged});

  Control().SetText(u"3/3/2003");  // refused: the text stays
  EXPECT_EQ(Text(), u"01/05/1999");
  EXPECT_TRUE(Take().empty());
}

// The store failure is raised by the Change handler inside the text write of
// FormatTheDate: it must come back from that write, synchronously, on every
// toolkit, for the procedure's own trap to report it.
TEST_P(Entry, AStoreFailureBecomesDateErrorOfTheProcedureThatWrote) {
  NewWithText(u"1/5/99");
  Stage().Policy().fail_notify = true;
  Stage().Blur(host::BlurTarget::kOutside);
  EXPECT_EQ(Text(), u"01/05/1999");
  EXPECT_EQ(Take(),
            (Lines{"notify Text failed",
                   "event DateError source=\"MorlexDate.FormatTheDate\" custom=\"Could not format "
                   "date with format property mm/dd/yyyy.\"",
                   "notify Text failed",
                   "event DateError source=\"MorlexDate.ValidateAndUpdate\" custom=\"Could not "
                   "update recordset.\""}));

  // The field stays usable and the next commit goes through.
  Stage().Policy().fail_notify = false;
  Stage().Key(13);
  EXPECT_EQ(Take(), Lines{kNotifyText});
}

TEST_P(Entry, AFailingTextWriteOfTheHostComesBackToTheHost) {
  NewWithText(u"");
  Stage().Policy().fail_notify = true;
  try {
    Control().SetText(u"1/5/99");
    ADD_FAILURE() << "the write should fail";
  } catch (const Error& e) {
    EXPECT_EQ(e.description(), headless::kStoreFailure);
  }
  // The text was written before its Change handler failed.
  EXPECT_EQ(Text(), u"1/5/99");
}

TEST_P(Entry, DisabledControlTakesNoInput) {
  NewWithText(u"12");
  Control().SetEnabled(false);
  Take();
  Stage().Type(u"3");
  Stage().Key(13);
  EXPECT_EQ(Text(), u"12");
  EXPECT_TRUE(Take().empty());
}

INSTANTIATE_TEST_SUITE_P(Toolkits, Entry, ::testing::ValuesIn(Toolkits()), ToolkitName);

}  // namespace
}  // namespace morlex::testing_support
