// The keystroke editor of the field, driven as the end user drives it.
#include <gtest/gtest.h>

#include "field_fixture.h"
#include "morlex/core/error.h"

namespace morlex {
namespace {

using testing_support::Field;
using testing_support::U8;
using Lines = std::vector<std::string>;

struct TypingCase {
  int format;
  std::u16string_view given;
  int caret;
  int length;
  std::u16string_view keys;
  std::u16string_view want_text;
  int want_caret;
};

void RunTyping(const TypingCase& c) {
  Field f(c.format);
  f.Given(c.given, c.caret, c.length);
  f.Stage().Type(c.keys);
  const std::string what = "format " + std::to_string(c.format) + ", " + U8(c.given) + " caret " +
                           std::to_string(c.caret) + ", typing " + U8(c.keys);
  EXPECT_EQ(U8(f.Text()), U8(c.want_text)) << what;
  EXPECT_EQ(f.Caret(), c.want_caret) << what;
  EXPECT_EQ(f.Control().SelLength(), 0) << what;
  // Every key ends with its release, which remembers the caret.
  EXPECT_EQ(f.Control().RememberedCaret(), c.want_caret) << what;
}

TEST(KeystrokeEditor, TypingAtTheEnd) {
  const TypingCase cases[] = {
      {0, u"", 0, 0, u"01051999", u"01/05/1999", 10},
      {0, u"", 0, 0, u"010", u"01/0", 4},
      {0, u"", 0, 0, u"01051", u"01/05/1", 7},
      {0, u"01/05/1999", 10, 0, u"9", u"01/05/1999", 10},  // a ninth digit is dropped
      {0, u"", 0, 0, u"1/5/99", u"1/5/99", 6},
      {0, u"1/5/99", 6, 0, u"/", u"1/5/99", 4},
      {1, u"", 0, 0, u"01059", u"01/05/9", 7},
      {1, u"", 0, 0, u"010599", u"01/05/99", 8},
      {1, u"", 0, 0, u"0105999", u"01/05/99", 8},
      {2, u"", 0, 0, u"1/5/19999", u"1/5/1999", 8},
      {3, u"", 0, 0, u"1/5/999", u"1/5/99", 6},
      // The empty pattern reads as format 0: four year digits.
      {7, u"", 0, 0, u"010519999", u"01/05/1999", 10},
  };
  for (const auto& c : cases) RunTyping(c);
}

TEST(KeystrokeEditor, OverwritingJumpingAndSeparators) {
  const TypingCase cases[] = {
      {0, u"01/05/1999", 0, 0, u"1", u"11/05/1999", 1},
      {0, u"01/05/1999", 0, 0, u"12", u"12/05/1999", 2},
      {0, u"01/05/1999", 0, 0, u"123", u"12/35/1999", 4},
      {0, u"01/05/1999", 7, 0, u"0", u"01/05/1099", 8},
      {0, u"01/05/1999", 5, 0, u"2", u"01/05/2999", 7},
      {0, u"01/05/1999", 10, 0, u"5", u"01/05/1999", 10},
      {0, u"01/05/1999", 1, 0, u"/", u"01/05/1999", 3},
      {0, u"01/05/1999", 4, 0, u"/", u"01/05/1999", 6},
      {0, u"01/05/1999", 8, 0, u"/", u"01/05/1999", 6},
      {1, u"01/05/99", 8, 0, u"5", u"01/05/99", 8},
      {1, u"01/05/99", 6, 0, u"5", u"01/05/59", 7},
      {0, u"0512", 1, 0, u"7", u"0/7", 3},
      // A selection: 05 selected, the day part of the working text is empty.
      {0, u"01/05/1999", 3, 2, u"7", u"01/7/1999", 4},
      // A selection that an overwrite removes along with the character.
      {0, u"01/05/1999", 0, 3, u"1", u"15/1999", 1},
      // "/" first clears the selection, then jumps.
      {0, u"01/05/1999", 0, 2, u"/", u"01/05/1999", 3},
      {0, u"1/5", 1, 2, u"/", u"1//5", 2},
  };
  for (const auto& c : cases) RunTyping(c);
}

TEST(KeystrokeEditor, KeyPreview) {
  const TypingCase cases[] = {
      {0, u"1", 1, 0, u"a", u"1", 1},
      {0, u"1", 1, 0, u" ", u"1", 1},
      {0, u"1", 1, 0, u"-", u"1", 1},
      {0, u"1", 1, 0, u"\u00e9", u"1", 1},
      {0, u"1", 1, 0, u".", u"1.", 2},
      {0, u"1", 1, 0, u"\t", u"1", 1},
      {0, u"01/05/1999", 10, 0, u"\b", u"01/05/199", 9},
      {0, u"01/05/1999", 3, 2, u"\b", u"01//1999", 3},
      // The box refuses typed characters past its maximum of 11.
      {0, u"01/05/1999", 10, 0, u"..", u"01/05/1999.", 11},
  };
  for (const auto& c : cases) RunTyping(c);
}

TEST(KeystrokeEditor, OnlyTheTypedKeyIsHeldToElevenCharacters) {
  // The handler's own rewrites may lengthen the text past the box's maximum;
  // the box then refuses the digit it would insert on top.
  const TypingCase cases[] = {
      {0, u"12345678901", 11, 0, u"5", u"12345678901/", 12},  // "/" goes in, digit not
      {0, u"0123456789", 10, 0, u"5", u"0123456789/", 11},
      {0, u"0123456789/", 10, 0, u"5", u"0123456789/5", 12},  // overwrite past the end
      {0, u"01/34567890", 11, 0, u"5", u"01/34567890/", 12},
      {0, u"01/3456789/", 10, 0, u"5", u"01/3456789/5", 12},
      {0, u"01/05/1999    ", 0, 0, u"1", u"11/05/1999    ", 1},
  };
  for (const auto& c : cases) RunTyping(c);
}

TEST(KeystrokeEditor, SurrogatePairsAreOverwrittenWhole) {
  const TypingCase cases[] = {
      {0, u"\U0001F600/05/1999", 0, 0, u"7", u"7/05/1999", 1},
      {0, u"\U0001F600/05/1999", 1, 0, u"7", u"7/05/1999", 1},
      {0, u"01/05/\U0001F600999", 5, 0, u"2", u"01/05/2999", 7},
  };
  for (const auto& c : cases) RunTyping(c);
}

struct EventCase {
  std::u16string_view given;
  int caret;
  char16_t key;
  bool can_change;
  Lines want;
};

TEST(KeystrokeEditor, NoticesAndEventsOfAKey) {
  const EventCase cases[] = {
      // Let through: the handler's notice, then the change by the box.
      {u"", 0, u'1', true, {"notify Text", "notify Text", "event DateChanged"}},
      // Dropped by the preview: nothing at all.
      {u"1", 1, u'a', true, {}},
      // Dropped by the handler: its notice, but no change.
      {u"01/05/1999", 10, u'1', true, {"notify Text"}},
      {u"01/05/1999", 1, u'/', true, {"notify Text"}},
      // Overwritten: one change.
      {u"01/05/1999", 0, u'2', true, {"notify Text", "notify Text", "event DateChanged"}},
      // Separator inserted, then the digit typed: two changes.
      {u"01",
       2,
       u'0',
       true,
       {"notify Text", "notify Text", "event DateChanged", "notify Text", "event DateChanged"}},
      // A host that refuses the edit hears nothing; DateChanged still comes.
      {u"01/05/1999", 0, u'2', false, {"event DateChanged"}},
      {u"01/05/1999", 10, u'2', false, {}},
      // Enter renders and commits, and is not typed.
      {u"1/5/99", 6, u'\r', true, {"notify Text", "event DateChanged", "notify Text"}},
      {u"2/30/1999", 9, u'\r', true, {"event DateInvalid"}},
      {u"1/5/99", 6, u'\0', true, {"notify Text", "event DateChanged", "notify Text"}},
  };
  for (const auto& c : cases) {
    Field f;
    f.Given(c.given, c.caret);
    f.Policy().can_change = c.can_change;
    f.Stage().Key(c.key);
    EXPECT_EQ(f.lines, c.want) << U8(c.given) << " key " << static_cast<int>(c.key);
  }
}

TEST(KeystrokeEditor, EnterRendersInThePattern) {
  Field f;
  f.Given(u"1/5/99", 6);
  f.Stage().Key(u'\r');
  EXPECT_EQ(U8(f.Text()), "01/05/1999");
}

TEST(KeystrokeEditor, HostFailureIsReportedWithTheKeyCode) {
  Field f;
  f.Given(u"01/05/1999", 0);
  f.Policy().fail_notify = true;
  // The handler's own notice fails: DateError; the key is then the box's,
  // whose change notice fails again and goes to the caller.
  EXPECT_THROW(f.Stage().Key(u'5'), Error);
  ASSERT_EQ(f.recorder->errors.size(), 1U);
  EXPECT_EQ(f.recorder->errors[0].source, "MorlexDate.KeyPress");
  EXPECT_EQ(f.recorder->errors[0].number, errnum::kHostFailure);
  EXPECT_EQ(f.recorder->customs[0], "KeyPress 53 caused an error.");
  EXPECT_EQ(f.lines.front(), "notify Text failed");
  EXPECT_EQ(f.lines[1],
            "event DateError source=\"MorlexDate.KeyPress\" custom=\"KeyPress 53 caused an "
            "error.\"");
}

// A sink that fails inside DateChanged while armed.
class FailingChange final : public MorlexDateEvents {
 public:
  void DateChanged() override {
    if (armed) throw Error(errnum::kHostFailure, "sink failed");
  }
  bool armed = false;
};

TEST(KeystrokeEditor, FailureAfterARewriteDropsTheKey) {
  struct Case {
    std::u16string_view given;
    int caret;
    char16_t key;
    std::u16string_view want_text;
  };
  const Case cases[] = {
      // Overwrite: the rewritten text stays, the digit is not typed again.
      {u"01/05/1999", 0, u'1', u"11/05/1999"},
      // Separator: the cut text with its "/" stays, the digit is not added.
      {u"0512", 1, u'7', u"0/"},
  };
  for (const auto& c : cases) {
    Field f;
    auto sink = std::make_shared<FailingChange>();
    f.Control().Advise(sink);
    f.Given(c.given, c.caret);
    sink->armed = true;
    EXPECT_NO_THROW(f.Stage().Key(c.key));
    EXPECT_EQ(U8(f.Text()), U8(c.want_text)) << U8(c.given);
    ASSERT_EQ(f.recorder->customs.size(), 1U);
    EXPECT_EQ(f.recorder->customs[0],
              "KeyPress " + std::to_string(static_cast<int>(c.key)) + " caused an error.");
  }
}

TEST(KeystrokeEditor, PositionsBeyondSixteenBitsOverflow) {
  // A caret past 32767: a trapped Overflow in the key handler, then the key
  // release fails to the caller with the same error; nothing is remembered.
  {
    Field f;
    const std::u16string long_text(40000, u'1');
    f.Given(long_text, 40000);
    try {
      f.Stage().Key(u'5');
      ADD_FAILURE() << "the key release did not fail";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), errnum::kOverflow);
    }
    ASSERT_EQ(f.recorder->errors.size(), 1U);
    EXPECT_EQ(f.recorder->errors[0].number, errnum::kOverflow);
    EXPECT_EQ(f.recorder->errors[0].description, "Overflow");
    EXPECT_EQ(f.recorder->customs[0], "KeyPress 53 caused an error.");
    EXPECT_EQ(f.Text().size(), 40000U);
    EXPECT_EQ(f.Control().RememberedCaret(), 0);
  }
  // A separator position past 32767, the caret at the start.
  {
    Field f;
    std::u16string text(33000, u'1');
    text += u"/5";
    f.Given(text, 0);
    EXPECT_NO_THROW(f.Stage().Key(u'/'));
    ASSERT_EQ(f.recorder->customs.size(), 1U);
    EXPECT_EQ(f.recorder->customs[0], "KeyPress 47 caused an error.");
    EXPECT_EQ(f.Text(), text);  // the box refuses the "/" past its maximum length
  }
  // A click past 32767 fails to the caller before Click is raised.
  {
    Field f;
    f.Given(std::u16string(40000, u'1'));
    f.ClickAt(3);
    EXPECT_THROW(f.Stage().Click(39000), Error);
    EXPECT_EQ(f.lines, Lines{});
    EXPECT_EQ(f.Control().RememberedCaret(), 3);
  }
  // A double-click on a text whose separators lie past 32767.
  {
    Field f;
    std::u16string text(33000, u'1');
    text += u"/5/1999";
    f.Given(text);
    f.ClickAt(2);
    EXPECT_THROW(f.Stage().DblClick(), Error);
    EXPECT_EQ(f.lines, Lines{});
  }
}

TEST(CaretMemory, KeyReleasesAndClicksRememberTheCaret) {
  Field f;
  f.Given(u"01/05/1999", 0);
  f.Stage().Caret(4, 2);
  EXPECT_EQ(f.Control().RememberedCaret(), 4);
  EXPECT_EQ(f.lines, Lines{});
  f.Stage().Click(7);
  EXPECT_EQ(f.Control().RememberedCaret(), 7);
  EXPECT_EQ(f.lines, Lines{"event Click"});
  // Moving the caret through the property is no key release.
  f.Control().SetSelStart(2);
  EXPECT_EQ(f.Control().RememberedCaret(), 7);
  // A dropped key still has its release.
  f.Stage().Caret(9, 0);
  f.Stage().Type(u"x");
  EXPECT_EQ(f.Control().RememberedCaret(), 9);
}

TEST(PartSelection, DoubleClickSelectsThePartOfTheRememberedCaret) {
  struct Case {
    std::u16string_view text;
    int clicked;
    int want_start;  // -1: nothing happens
    int want_length;
  };
  const Case cases[] = {
      {u"01/05/1999", 1, 0, 2},  {u"01/05/1999", 4, 3, 2},    {u"01/05/1999", 7, 6, 4},
      {u"01/05/1999", 3, 3, 2},  {u"01/05/1999", 0, -1, 0},   {u"01/05/1999", 10, -1, 0},
      {u"1/5", 3, 2, 1},         {u"0105", 2, 0, 4},          {u"1/5/99", 1, 0, 1},
      {u"01/05/19999", 9, 6, 5}, {u"01/05/19999", 10, -1, 0},
  };
  for (const auto& c : cases) {
    Field f;
    f.Given(c.text);
    f.ClickAt(c.clicked);
    f.Stage().DblClick();
    const std::string what = U8(c.text) + " clicked at " + std::to_string(c.clicked);
    if (c.want_start < 0) {
      EXPECT_EQ(f.lines, Lines{}) << what;
      EXPECT_EQ(f.Caret(), c.clicked) << what;
      EXPECT_EQ(f.Control().SelLength(), 0) << what;
    } else {
      EXPECT_EQ(f.lines, Lines{"event DblClick"}) << what;
      EXPECT_EQ(f.Caret(), c.want_start) << what;
      EXPECT_EQ(f.Control().SelLength(), c.want_length) << what;
    }
  }
}

TEST(PartSelection, UsesTheCaretRememberedBeforeTheDoubleClick) {
  Field f;
  f.Given(u"01/05/1999");
  f.Stage().Caret(7, 0);  // the year, by keyboard
  f.Control().SetSelStart(1);
  f.Stage().DblClick();
  EXPECT_EQ(f.Caret(), 6);
  EXPECT_EQ(U8(f.Control().SelText()), "1999");
}

}  // namespace
}  // namespace morlex
