#include "morlex/core/date_text.h"

#include <gtest/gtest.h>

#include "morlex/core/date_format.h"
#include "morlex/core/unicode.h"

namespace morlex {
namespace {

constexpr int kThisYear = 2026;

std::string U8(std::u16string_view s) {
  return ToUtf8(s);
}

TEST(ReadDateText, Table) {
  struct Case {
    std::u16string_view text;
    std::optional<Date> date;
  } const cases[] = {
      {u"1/5/99", Date{1999, 1, 5}},
      {u"01/05/1999", Date{1999, 1, 5}},
      {u"  1/5/99  ", Date{1999, 1, 5}},
      // The two-digit window 1930..2029.
      {u"1/5/29", Date{2029, 1, 5}},
      {u"1/5/30", Date{1930, 1, 5}},
      {u"1/5/00", Date{2000, 1, 5}},
      {u"1/5/0", Date{2000, 1, 5}},
      {u"1/5/9", Date{2009, 1, 5}},
      // Three and four digits as written, 100..9999.
      {u"1/5/100", Date{100, 1, 5}},
      {u"1/5/999", Date{999, 1, 5}},
      {u"1/5/0999", Date{999, 1, 5}},
      {u"12/31/9999", Date{9999, 12, 31}},
      {u"1/5/099", std::nullopt},
      {u"1/5/0099", std::nullopt},
      {u"1/5/10000", std::nullopt},
      {u"1/5/01999", std::nullopt},  // only the year's digit count matters
      // Month and day are their numbers however many digits write them.
      {u"007/04/1976", Date{1976, 7, 4}},
      {u"1/005/1999", Date{1999, 1, 5}},
      {u"013/5/1999", Date{1999, 5, 13}},
      {u"0000000000007/4/1976", Date{1976, 7, 4}},
      {u"1/00000000000000000000000000000031/1999", Date{1999, 1, 31}},
      // Leap days.
      {u"2/29/2000", Date{2000, 2, 29}},
      {u"2/29/1900", std::nullopt},
      {u"2/29/1999", std::nullopt},
      {u"2/30/1999", std::nullopt},
      {u"4/31/1999", std::nullopt},
      // Day and month swap when only that reading is a date.
      {u"13/5/1999", Date{1999, 5, 13}},
      {u"31/12/1999", Date{1999, 12, 31}},
      {u"13/13/1999", std::nullopt},
      {u"5/13/1999", Date{1999, 5, 13}},
      // Two numbers: a day of the current year.
      {u"1/5", Date{kThisYear, 1, 5}},
      {u"13/5", Date{kThisYear, 5, 13}},
      {u"2/29", std::nullopt},  // 2026 is a common year
      {u"1/1999", std::nullopt},
      // Not dates.
      {u"", std::nullopt},
      {u"   ", std::nullopt},
      {u"5", std::nullopt},
      {u"1/2/3/4", std::nullopt},
      {u"1//1999", std::nullopt},
      {u"1/5/", std::nullopt},
      {u"/1/5", std::nullopt},
      {u"1.5.1999", std::nullopt},
      {u"1-5-1999", std::nullopt},
      {u"1 /5/1999", std::nullopt},
      {u"a/5/1999", std::nullopt},
      {u"0/5/1999", std::nullopt},
      {u"1/0/1999", std::nullopt},
      {u"\u0661/5/1999", std::nullopt},  // digits of other scripts are not digits here
      {u"99999999999999999999/1/1", std::nullopt},
      {u"1/99999999999999999999/1999", std::nullopt},
      {u"1/1/99999999999999999999", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadDateText(c.text, kThisYear), c.date) << "'" << U8(c.text) << "'";
    EXPECT_EQ(IsDateText(c.text, kThisYear), c.date.has_value()) << "'" << U8(c.text) << "'";
  }
}

TEST(RenderDate, Table) {
  struct Case {
    std::u16string_view text;
    std::u16string_view pattern;
    std::u16string_view rendered;
  } const cases[] = {
      {u"1/5/99", u"mm/dd/yyyy", u"01/05/1999"},
      {u"1/5/99", u"m/d/yy", u"1/5/99"},
      {u"1/5/99", u"mm/dd/yy", u"01/05/99"},
      {u"1/5/99", u"m/d/yyyy", u"1/5/1999"},
      {u"1/5/29", u"mm/dd/yyyy", u"01/05/2029"},
      {u"1/5/30", u"mm/dd/yyyy", u"01/05/1930"},
      {u"12/31/1999", u"mm/dd/yy", u"12/31/99"},
      {u"1/1/2000", u"mm/dd/yy", u"01/01/00"},
      {u"1/5/1920", u"mm/dd/yy", u"01/05/20"},
      {u"13/5/1999", u"mm/dd/yyyy", u"05/13/1999"},
      {u"1/5", u"mm/dd/yyyy", u"01/05/2026"},
      {u"01/05/1999", u"mm/dd/yyyy", u"01/05/1999"},
      {u" 1/5/99 ", u"mm/dd/yyyy", u"01/05/1999"},
      {u"1/5/999", u"mm/dd/yyyy", u"01/05/0999"},
      {u"1/5/999", u"m/d/yy", u"1/5/99"},
      {u"007/04/1976", u"mm/dd/yyyy", u"07/04/1976"},
      // Never destroys the user's text: non-dates and the empty pattern
      // give the text back.
      {u"2/30/1999", u"mm/dd/yyyy", u"2/30/1999"},
      {u"abc", u"mm/dd/yyyy", u"abc"},
      {u"", u"mm/dd/yyyy", u""},
      {u"1/5/99", u"", u"1/5/99"},
      // Other patterns are written letter by letter.
      {u"3/5/1999", u"mmmm dd, yyyy", u"March 05, 1999"},
      {u"3/5/1999", u"ddd mmm d", u"Fri Mar 5"},
      {u"3/5/1999", u"dd.mm.yyyy", u"05.03.1999"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(U8(RenderDate(c.text, c.pattern, kThisYear)), U8(c.rendered))
        << "'" << U8(c.text) << "' in '" << U8(c.pattern) << "'";
  }
}

// Every four-digit rendering reads back as the same date, and the two-digit
// ones do for the years of the window.
TEST(RenderDate, RoundTripsInEveryPattern) {
  for (int y = 100; y <= 9999; y += (y < 1900 || y > 2100) ? 7 : 1) {
    for (int m = 1; m <= 12; ++m) {
      for (int d : {1, 13, 28, DaysInMonth(y, m)}) {
        const Date date{y, m, d};
        for (int f = 0; f <= 3; ++f) {
          const auto text = FormatDate(date, PatternOfFormat(f));
          const auto back = ReadDateText(text, kThisYear);
          const bool window = y >= 1930 && y <= 2029;
          if (YearLength(static_cast<enmDateFormat>(f)) == 4 || window) {
            ASSERT_EQ(back, date) << U8(text);
          }
        }
      }
    }
  }
}

TEST(DateFormats, PatternMapping) {
  EXPECT_EQ(PatternOfFormat(0), u"mm/dd/yyyy");
  EXPECT_EQ(PatternOfFormat(1), u"mm/dd/yy");
  EXPECT_EQ(PatternOfFormat(2), u"m/d/yyyy");
  EXPECT_EQ(PatternOfFormat(3), u"m/d/yy");
  EXPECT_EQ(PatternOfFormat(4), u"");
  EXPECT_EQ(PatternOfFormat(-1), u"");
  EXPECT_EQ(FormatOfPattern(u"m/d/yy"), NoLeadingZerosNoCentury);
  EXPECT_EQ(FormatOfPattern(u""), LeadingZerosCentury);
  EXPECT_EQ(FormatOfPattern(u"MM/DD/YYYY"), LeadingZerosCentury);
  EXPECT_EQ(FormatOfPattern(u"dd.mm.yyyy"), LeadingZerosCentury);
  EXPECT_EQ(YearLength(LeadingZerosCentury), 4);
  EXPECT_EQ(YearLength(LeadingZerosNoCentury), 2);
  EXPECT_EQ(YearLength(NoLeadingZerosCentury), 4);
  EXPECT_EQ(YearLength(NoLeadingZerosNoCentury), 2);
}

TEST(Unicode, MalformedInputNeverFails) {
  EXPECT_EQ(FromUtf8("a\xff"
                     "b"),
            u"a\uFFFDb");
  EXPECT_EQ(FromUtf8("\xe2\x82"), u"\uFFFD\uFFFD");
  EXPECT_EQ(FromUtf8("\xed\xa0\x80"), u"\uFFFD\uFFFD\uFFFD");  // an encoded surrogate
  EXPECT_EQ(FromUtf8("\xc0\xaf"), u"\uFFFD\uFFFD");            // overlong "/"
  EXPECT_EQ(ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
  const std::string text = "Datum \xE2\x80\x94 \xF0\x9F\x93\x85 12/31/1999";
  EXPECT_EQ(ToUtf8(FromUtf8(text)), text);
  EXPECT_EQ(TrimBlanks(u"  a b  "), u"a b");
  EXPECT_EQ(TrimBlanks(u"\t1/5\t"), u"\t1/5\t");  // only blanks are trimmed
}

TEST(Unicode, OneSequenceAtAPlace) {
  struct Case {
    std::string_view text;
    std::size_t at;
    std::size_t length;  // 0: no well-formed sequence there
    char32_t code_point;
  };
  const Case cases[] = {
      {"a", 0, 1, U'a'},
      {"a", 1, 0, 0},  // past the end
      {"x\xC3\xA9", 1, 2, U'\u00E9'},
      {"\xC3\xA9", 1, 0, 0},  // a stray continuation byte
      {"\xF4\x8F\xBF\xBF", 0, 4, 0x10FFFF},
      {"\xF4\x90\x80\x80", 0, 0, 0},   // past U+10FFFF
      {"\xF0\x9F\x93", 0, 0, 0},       // cut short at the end
      {"\xE0\x80\xAF", 0, 0, 0},       // overlong
      {"\xED\x9F\xBF", 0, 3, 0xD7FF},  // just below the surrogates
  };
  for (const Case& c : cases) {
    char32_t cp = 0;
    EXPECT_EQ(DecodeUtf8At(c.text, c.at, cp), c.length) << c.text << " at " << c.at;
    if (c.length != 0) {
      EXPECT_EQ(cp, c.code_point) << c.text;
    }
  }
}

}  // namespace
}  // namespace morlex
