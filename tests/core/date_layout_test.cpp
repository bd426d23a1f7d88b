#include "morlex/core/date_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "morlex/core/date_text.h"
#include "morlex/core/keystroke_editor.h"
#include "morlex/core/spinning.h"
#include "morlex/core/unicode.h"

namespace morlex {
namespace {

constexpr int kThisYear = 2026;

std::string U8(std::u16string_view s) {
  return ToUtf8(s);
}

// Every layout the tables describe.
std::vector<DateLayout> AllLayouts() {
  std::vector<DateLayout> all;
  for (const auto& order : kDateOrders) {
    for (char16_t separator : kDateSeparators) all.push_back({order.order, separator});
  }
  return all;
}

std::string Name(const DateLayout& layout) {
  return U8(OrderWords(layout.order)) + " " + U8(std::u16string(1, layout.separator));
}

// Writing in any format of any layout and reading back in that layout gives
// the date again (for two-digit years, within the window); the pattern has
// the parts in the layout's order.
TEST(DateLayout, EveryPatternOfEveryLayoutReadsBack) {
  for (const DateLayout& layout : AllLayouts()) {
    SCOPED_TRACE(Name(layout));
    for (const auto& format : kDateFormats) {
      const auto pattern = PatternInLayout(PatternOfFormat(format.format), layout);
      ASSERT_EQ(pattern.size(),
                static_cast<std::size_t>(format.month + format.day + format.year + 2));
      EXPECT_EQ(pattern[pattern.find_first_not_of(pattern[0])], layout.separator);
      for (int y : {100, 999, 1930, 1999, 2000, 2029, 9999}) {
        for (const Date date : {Date{y, 1, 5}, Date{y, 12, 31}, Date{y, 5, 13}}) {
          const auto text = FormatDate(date, pattern);
          if (format.year == 2 && (y < 1930 || y > 2029)) continue;
          ASSERT_EQ(ReadDateText(text, kThisYear, layout), date) << U8(text);
        }
      }
    }
  }
  // Patterns that are none of the four stay as they are.
  EXPECT_EQ(PatternInLayout(u"yyyy mm", {DayMonthYear, u'.'}), u"yyyy mm");
  EXPECT_EQ(PatternInLayout(u"", {DayMonthYear, u'.'}), u"");
}

// The default layout reads exactly as the plain reading, whatever the text.
TEST(DateLayout, DefaultReadsAsBefore) {
  for (std::u16string_view text : {u"1/5/99", u"13/5/1999", u"1/5", u"1.5.1999", u"1-5-1999",
                                   u"2026/12/24", u" 2/29/2000 ", u"2/30/1999", u"", u"1/2/3/4"}) {
    EXPECT_EQ(ReadDateText(text, kThisYear, kDefaultLayout), ReadDateText(text, kThisYear))
        << U8(text);
  }
}

TEST(DateLayout, ReadingInOtherOrders) {
  const DateLayout dmy{DayMonthYear, u'.'};
  const DateLayout ymd{YearMonthDay, u'-'};
  const DateLayout mdy_dash{MonthDayYear, u'-'};
  struct Case {
    DateLayout layout;
    std::u16string_view text;
    std::optional<Date> date;
  } const cases[] = {
      {dmy, u"24.12.2026", Date{2026, 12, 24}},
      {dmy, u"1.5.99", Date{1999, 5, 1}},
      {dmy, u"1.5.29", Date{2029, 5, 1}},
      {dmy, u"5.13.1999", Date{1999, 5, 13}},  // the mirror of 13/5/1999
      {dmy, u"24.12", Date{kThisYear, 12, 24}},
      {dmy, u"24/12/2026", Date{2026, 12, 24}},  // pasted with another separator
      {dmy, u"24-12-2026", Date{2026, 12, 24}},
      {dmy, u"2026-12-24", Date{2026, 12, 24}},  // ISO in every order
      {dmy, u" 24.12.2026 ", Date{2026, 12, 24}},
      {dmy, u"24.12/2026", std::nullopt},  // mixed separators
      {dmy, u"30.2.1999", std::nullopt},
      {dmy, u"13.13.1999", std::nullopt},
      {dmy, u"24.12.10000", std::nullopt},
      {dmy, u"24..2026", std::nullopt},
      {dmy, u"24 12 2026", std::nullopt},
      {dmy, u"1.2.3.4", std::nullopt},
      {ymd, u"2026-12-24", Date{2026, 12, 24}},
      {ymd, u"99-5-1", Date{1999, 5, 1}},
      {ymd, u"999-5-1", Date{999, 5, 1}},
      {ymd, u"2026-24-12", Date{2026, 12, 24}},
      {ymd, u"12-24", Date{kThisYear, 12, 24}},
      {ymd, u"24-12", Date{kThisYear, 12, 24}},
      {ymd, u"12/24/2026", std::nullopt},  // the year 2012 has no month 24
      {mdy_dash, u"12-24-2026", Date{2026, 12, 24}},
      {mdy_dash, u"2026-12-24", Date{2026, 12, 24}},
      {mdy_dash, u"12/24/2026", Date{2026, 12, 24}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadDateText(c.text, kThisYear, c.layout), c.date)
        << Name(c.layout) << " '" << U8(c.text) << "'";
  }
}

TEST(DateLayout, RefusesUnknownValues) {
  EXPECT_EQ(DateOrderOf(2), YearMonthDay);
  EXPECT_FALSE(DateOrderOf(3));
  EXPECT_FALSE(DateOrderOf(-1));
  EXPECT_EQ(DateSeparatorOf(u"-"), u'-');
  for (std::u16string_view bad : {u"", u",", u"//", u" ", u"\u00b7"}) {
    EXPECT_FALSE(DateSeparatorOf(bad)) << U8(bad);
  }
}

// Typing only digits builds the date in the layout's order: the editor
// inserts the separators where the part lengths say.
TEST(DateLayout, DigitsTypedAloneGetTheSeparators) {
  struct Case {
    DateLayout layout;
    int year_length;
    std::u16string_view keys;
    std::u16string_view text;
  } const cases[] = {
      {{DayMonthYear, u'.'}, 4, u"24122026", u"24.12.2026"},
      {{DayMonthYear, u'.'}, 4, u"241220269", u"24.12.2026"},  // a ninth digit is dropped
      {{DayMonthYear, u'.'}, 4, u"1.5.99", u"1.5.99"},
      {{DayMonthYear, u'.'}, 4, u"1/5-99", u"1.5.99"},  // every separator key types "."
      {{YearMonthDay, u'-'}, 4, u"20261224", u"2026-12-24"},
      {{YearMonthDay, u'-'}, 2, u"261224", u"26-12-24"},
      {{YearMonthDay, u'-'}, 4, u"2026-1224", u"2026-12-24"},
      {{MonthDayYear, u'-'}, 4, u"12242026", u"12-24-2026"},
  };
  for (const auto& c : cases) {
    std::u16string text;
    for (char16_t key : c.keys) {
      const std::int32_t k = SeparatorKey(key, c.layout);
      const int caret = static_cast<int>(text.size());
      const KeyDecision d =
          DecideKey(k, text, caret, FindSlashes(text, c.layout), c.year_length, c.layout);
      int after = 0;
      switch (d.action) {
        case KeyAction::kLetThrough:
          text.push_back(static_cast<char16_t>(k));
          break;
        case KeyAction::kInsertSeparator:
          text = CutWithSeparator(text, d.position, c.layout.separator);
          text.push_back(static_cast<char16_t>(k));
          break;
        case KeyAction::kOverwrite:
          text = OverwriteAt(text, d.position, static_cast<char16_t>(k), after);
          break;
        case KeyAction::kDrop:
        case KeyAction::kJump:
          break;
      }
    }
    EXPECT_EQ(U8(text), U8(c.text)) << Name(c.layout) << " keys " << U8(c.keys);
  }
}

TEST(DateLayout, SpinStepsThePartTheLayoutPutsThere) {
  struct Case {
    DateLayout layout;
    std::u16string_view text;
    int caret;
    std::u16string_view pattern;
    std::u16string_view stepped;
    int caret_after;
  } const cases[] = {
      {{DayMonthYear, u'.'}, u"31.01.1999", 1, u"dd.mm.yyyy", u"01.02.1999", 2},
      {{DayMonthYear, u'.'}, u"31.01.1999", 4, u"dd.mm.yyyy", u"28.02.1999", 5},
      {{DayMonthYear, u'.'}, u"31.01.1999", 8, u"dd.mm.yyyy", u"31.01.2000", 10},
      {{DayMonthYear, u'.'}, u"30.9.1999", 1, u"d.m.yyyy", u"1.10.1999", 1},
      {{DayMonthYear, u'.'}, u"1999-01-31", 1, u"dd.mm.yyyy", u"31.01.2000", 10},  // ISO
      {{DayMonthYear, u'.'}, u"31.01.1999", 1, u"", u"1.2.1999", 1},               // empty pattern
      {{YearMonthDay, u'-'}, u"2029-06-15", 2, u"yy-mm-dd", u"30-06-15", 2},
      {{YearMonthDay, u'-'}, u"1999-01-31", 8, u"yyyy-mm-dd", u"1999-02-01", 10},
  };
  for (const auto& c : cases) {
    const SpinResult r = SpinDateText(c.text, c.caret, 1, c.pattern, kThisYear, c.layout);
    ASSERT_EQ(r.status, SpinStatus::kStepped) << U8(c.text);
    EXPECT_EQ(U8(r.text), U8(c.stepped)) << Name(c.layout) << " " << U8(c.text);
    EXPECT_EQ(r.caret, c.caret_after) << U8(c.text);
  }
  EXPECT_EQ(SpinDateText(u"24.12", 1, 1, u"dd.mm.yyyy", kThisYear, {DayMonthYear, u'.'}).status,
            SpinStatus::kNotThreeParts);
}

}  // namespace
}  // namespace morlex
