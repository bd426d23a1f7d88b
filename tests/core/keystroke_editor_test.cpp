#include "morlex/core/keystroke_editor.h"

#include <gtest/gtest.h>

#include <string>

#include "morlex/core/integer.h"
#include "morlex/core/unicode.h"

namespace morlex {
namespace {

std::string U8(std::u16string_view s) {
  return ToUtf8(s);
}

TEST(FindSlashes, PositionsAndCount) {
  struct Case {
    std::u16string_view text;
    Slashes want;
  };
  const Case cases[] = {
      {u"", {0, 0, 0}},
      {u"0105", {0, 0, 0}},
      {u"1/5", {2, 0, 1}},
      {u"01/05/1999", {3, 6, 2}},
      {u"1/2/3/4", {2, 4, 3}},  // a third "/" only counts
      {u"///", {1, 2, 3}},
      {u"1/5/ ", {2, 4, 2}},
      {u"1/5   /", {2, 7, 2}},
      // The scan covers the trimmed length of the untrimmed text: leading
      // blanks push the last characters out of reach.
      {u"  1/5/99", {4, 6, 2}},
      {u"   1/5", {0, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindSlashes(c.text), c.want) << U8(c.text);
  }
}

TEST(CountSlashes, AmongFirstCharacters) {
  struct Case {
    int n;
    int want;
  };
  const Case cases[] = {{-1, 0}, {0, 0}, {2, 0}, {3, 1}, {5, 1}, {6, 2}, {10, 2}, {99, 2}};
  for (const auto& c : cases) EXPECT_EQ(CountSlashes(u"01/05/1999", c.n), c.want) << c.n;
}

TEST(WorkingText, LeavesOutTheSelection) {
  struct Case {
    int start, length;
    std::u16string_view want;
  };
  const Case cases[] = {
      {3, 2, u"01//1999"},    {0, 10, u""},         {0, 0, u"01/05/1999"},  {8, 50, u"01/05/19"},
      {20, 3, u"01/05/1999"}, {-4, 2, u"/05/1999"}, {4, -1, u"01/05/1999"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(U8(WorkingText(u"01/05/1999", c.start, c.length)), U8(c.want))
        << c.start << "+" << c.length;
  }
}

struct KeyCase {
  std::u16string_view working;
  int caret;
  char16_t key;
  int year_length;
  KeyDecision want;
};

void ExpectDecisions(const KeyCase* begin, const KeyCase* end) {
  for (const KeyCase* c = begin; c != end; ++c) {
    const KeyDecision got =
        DecideKey(c->key, c->working, c->caret, FindSlashes(c->working), c->year_length);
    EXPECT_EQ(got.action, c->want.action)
        << U8(c->working) << " caret " << c->caret << " key " << static_cast<int>(c->key);
    if (c->want.action != KeyAction::kLetThrough && c->want.action != KeyAction::kDrop) {
      EXPECT_EQ(got.position, c->want.position) << U8(c->working) << " caret " << c->caret;
    }
  }
}

constexpr KeyDecision kLet{KeyAction::kLetThrough, 0};
constexpr KeyDecision kDrop{KeyAction::kDrop, 0};
constexpr KeyDecision Over(int q) {
  return {KeyAction::kOverwrite, q};
}
constexpr KeyDecision Sep(int p) {
  return {KeyAction::kInsertSeparator, p};
}
constexpr KeyDecision Jump(int to) {
  return {KeyAction::kJump, to};
}

// One row for every branch of the digit rule and of the "/" jump; the
// typing sequences of the field itself are tested on the control.
TEST(DecideKey, EveryBranch) {
  const KeyCase cases[] = {
      // year part
      {u"01/05/199", 9, u'9', 4, kLet},
      {u"01/05/19  ", 8, u'9', 4, kLet},  // blanks do not count as digits
      {u"01/05/1999", 10, u'7', 4, kDrop},
      {u"01/05/99", 8, u'5', 2, kDrop},
      {u"01/05/1999", 9, u'0', 4, Over(9)},
      {u"01/05/99", 6, u'5', 2, Over(6)},
      // day part, second "/" present
      {u"01/5/1999", 3, u'2', 4, kLet},
      {u"01/05/1999", 5, u'2', 4, Over(6)},  // end of the day: on into the year
      {u"01/05/1999", 3, u'3', 4, Over(3)},
      // day part, no second "/"
      {u"01/0", 3, u'7', 4, kLet},
      {u"01/05", 5, u'1', 4, Sep(5)},
      {u"01/0512", 4, u'7', 4, Sep(4)},
      {u"01//1999", 3, u'7', 4, kLet},  // 01/05/1999 with 05 selected
      // month part, first "/" present
      {u"1/05/1999", 0, u'2', 4, kLet},
      {u"12/05/1999", 2, u'3', 4, Over(3)},  // end of the month: on into the day
      {u"01/05/1999", 1, u'2', 4, Over(1)},
      // month part, no "/"
      {u" 1", 2, u'2', 4, kLet},
      {u"01", 2, u'0', 4, Sep(2)},
      {u"0512", 1, u'7', 4, Sep(1)},
      // Full boxes decide as any other text: the box's maximum length is not
      // the rules' business.
      {u"12345678901", 11, u'5', 4, Sep(11)},
      {u"0123456789/", 10, u'5', 4, Over(11)},
      // "/" with both separators present jumps; with fewer it is typed
      {u"01/05/1999", 0, u'/', 4, Jump(3)},
      {u"01/05/1999", 3, u'/', 4, Jump(6)},
      {u"01/05/1999", 10, u'/', 4, Jump(6)},
      {u"1/5", 3, u'/', 4, kLet},
  };
  ExpectDecisions(std::begin(cases), std::end(cases));
}

TEST(DecideKey, EditingKeysGoThroughUnchanged) {
  for (char16_t key : {u'\b', u'\t', u'.', u'a', u'\0'}) {
    for (std::u16string_view text : {u"", u"01/05/1999", u"0512"}) {
      const int end = static_cast<int>(text.size());
      EXPECT_EQ(DecideKey(key, text, end, FindSlashes(text), 4).action, KeyAction::kLetThrough)
          << static_cast<int>(key) << " on " << U8(text);
    }
  }
}

TEST(OverwriteAt, ReplacesTheCharacterAfterThePosition) {
  struct Case {
    std::u16string_view working;
    int q;
    std::u16string_view want;
    int caret;
  };
  const Case cases[] = {
      {u"01/05/1999", 0, u"71/05/1999", 1},
      {u"01/05/1999", 3, u"01/75/1999", 4},
      {u"01/05/1999", 9, u"01/05/1997", 10},
      {u"01/", 3, u"01/7", 4},  // after the last character: appended
      {u"", 0, u"7", 1},
      // A surrogate pair goes as a whole, also when q stands inside it.
      {u"\U0001F600/05/1999", 0, u"7/05/1999", 1},
      {u"\U0001F600/05/1999", 1, u"7/05/1999", 1},
      {u"01/05/\U0001F600999", 6, u"01/05/7999", 7},
      // An unpaired surrogate is one character like any other.
      {u"\xD83D/05", 0, u"7/05", 1},
      {u"\xDE00/05", 0, u"7/05", 1},
  };
  for (const auto& c : cases) {
    int caret = -1;
    EXPECT_EQ(OverwriteAt(c.working, c.q, u'7', caret), c.want) << U8(c.working) << " q " << c.q;
    EXPECT_EQ(caret, c.caret) << U8(c.working) << " q " << c.q;
  }
}

TEST(CutWithSeparator, DiscardsEverythingAfterTheCaret) {
  EXPECT_EQ(CutWithSeparator(u"0512", 1), u"0/");
  EXPECT_EQ(CutWithSeparator(u"01", 2), u"01/");
  EXPECT_EQ(CutWithSeparator(u"01", 9), u"01/");
  EXPECT_EQ(CutWithSeparator(u"", 0), u"/");
}

TEST(SelectPart, PartOfTheRememberedCaret) {
  struct Case {
    std::u16string_view text;
    int caret;
    PartSelection want;
  };
  const Case cases[] = {
      {u"01/05/1999", 1, {0, 2}}, {u"01/05/1999", 2, {0, 2}},      {u"01/05/1999", 3, {3, 2}},
      {u"01/05/1999", 4, {3, 2}}, {u"01/05/1999", 6, {6, kToEnd}}, {u"01/05/1999", 9, {6, kToEnd}},
      {u"1/5", 3, {2, kToEnd}},   {u"1/5/99", 2, {2, 1}},          {u"0105", 2, {0, kToEnd}},
      {u"1/5/99", 1, {0, 1}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(SelectsPart(c.caret));
    const Slashes s = FindSlashes(c.text);
    EXPECT_EQ(SelectPart(s, CountSlashes(c.text, c.caret)), c.want)
        << U8(c.text) << " caret " << c.caret;
  }
  for (int caret : {-1, 0, 10, 32767}) EXPECT_FALSE(SelectsPart(caret)) << caret;
}

TEST(ToInteger16, OverflowIsAnError) {
  EXPECT_EQ(ToInteger16(32767), 32767);
  EXPECT_EQ(ToInteger16(-32768), -32768);
  for (std::int64_t v : {32768LL, -32769LL, 1LL << 40}) {
    try {
      (void)ToInteger16(v);
      ADD_FAILURE() << v << " fitted";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), errnum::kOverflow);
      EXPECT_EQ(e.description(), "Overflow");
    }
  }
}

}  // namespace
}  // namespace morlex
