// The month and year fields as plain functions: names, letter keys, and the
// year field's text.
#include "morlex/calendar/month_fields.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "morlex/platform/date_names.h"

namespace {

using morlex::calendar::MonthName;
using morlex::calendar::MonthOfLetter;
using morlex::calendar::YearFieldValue;
using morlex::calendar::YearOfText;
using morlex::calendar::YearText;

TEST(MonthFields, EnglishNamesAndNothingOutsideTheYear) {
  EXPECT_EQ(MonthName(1), u"January");
  EXPECT_EQ(MonthName(9), u"September");
  EXPECT_EQ(MonthName(12), u"December");
  EXPECT_TRUE(MonthName(0).empty());
  EXPECT_TRUE(MonthName(13).empty());
  EXPECT_TRUE(MonthName(-5).empty());
}

// Repeated presses of one letter, starting from a shown month, visit these
// months in turn.
TEST(MonthFields, LetterCycles) {
  const struct {
    char key;
    int start;
    std::vector<int> visits;
  } cases[] = {
      {'J', 1, {6, 7, 1, 6}}, {'J', 7, {1, 6, 7}}, {'J', 12, {1, 6, 7, 1}}, {'M', 3, {5, 3, 5}},
      {'M', 5, {3, 5}},       {'M', 1, {3, 5, 3}}, {'A', 4, {8, 4, 8}},     {'A', 8, {4, 8}},
      {'A', 2, {4, 8}},       {'F', 2, {2, 2}},    {'S', 1, {9, 9}},        {'O', 1, {10}},
      {'N', 1, {11}},         {'D', 1, {12, 12}},  {'j', 1, {6, 7, 1}},     {'m', 3, {5, 3}},
      {'a', 4, {8, 4}},       {'d', 6, {12}},
  };
  for (const auto& c : cases) {
    int shown = c.start;
    for (int expected : c.visits) {
      const auto picked = MonthOfLetter(c.key, shown);
      ASSERT_TRUE(picked.has_value()) << c.key;
      EXPECT_EQ(*picked, expected) << c.key << " from " << shown;
      shown = *picked;
    }
  }
}

TEST(MonthFields, KeysOutsideTheTablePickNothing) {
  const int keys[] = {'B', 'C', 'E', 'G', 'Z', 'b', 'z', '1',
                      '0', ' ', '/', 8,   13,  0,   -1,  0xE9 /* e acute */};
  for (int key : keys) {
    EXPECT_FALSE(MonthOfLetter(static_cast<std::int16_t>(key), 1).has_value()) << key;
  }
}

// Month names of another language, as a list.
class NamedMonths final : public morlex::platform::DateNames {
 public:
  explicit NamedMonths(std::array<const char16_t*, 12> names) : names_(names) {}
  std::u16string MonthName(int month) const override {
    return month >= 1 && month <= 12 ? names_[static_cast<std::size_t>(month - 1)] : u"";
  }
  std::u16string ShortDayName(int /*weekday*/) const override { return {}; }

 private:
  std::array<const char16_t*, 12> names_;
};

// The letters follow the names of the language the calendar speaks, by the
// cycle the English names follow.
TEST(MonthFields, LetterCyclesInOtherLanguages) {
  const NamedMonths spanish({u"enero", u"febrero", u"marzo", u"abril", u"mayo", u"junio", u"julio",
                             u"agosto", u"septiembre", u"octubre", u"noviembre", u"diciembre"});
  const NamedMonths russian({u"январь", u"февраль", u"март", u"апрель", u"май", u"июнь", u"июль",
                             u"август", u"сентябрь", u"октябрь", u"ноябрь", u"декабрь"});
  const struct {
    const NamedMonths& names;
    char16_t key;
    int start;
    std::vector<int> visits;  // empty: the key picks nothing
  } cases[] = {
      {spanish, u'E', 3, {1, 1}},                              // no English month starts with E
      {spanish, u'm', 1, {3, 5, 3}},                           // lower-case key, capital-less names
      {spanish, u'J', 6, {7, 6}},                              // junio, julio; enero is no J
      {spanish, u'B', 1, {}},        {russian, u'я', 3, {1}},  // Cyrillic in either case
      {russian, u'М', 1, {3, 5, 3}}, {russian, u'M', 1, {}},   // the Latin M is another letter
  };
  for (const auto& c : cases) {
    int shown = c.start;
    EXPECT_EQ(MonthOfLetter(static_cast<std::int16_t>(c.key), shown, c.names).has_value(),
              !c.visits.empty())
        << static_cast<int>(c.key);
    for (int expected : c.visits) {
      const auto picked = MonthOfLetter(static_cast<std::int16_t>(c.key), shown, c.names);
      ASSERT_TRUE(picked.has_value()) << static_cast<int>(c.key);
      EXPECT_EQ(*picked, expected) << static_cast<int>(c.key) << " from " << shown;
      shown = *picked;
    }
  }
}

TEST(MonthFields, YearTextForms) {
  EXPECT_EQ(YearText(1999, false), u"1999");
  EXPECT_EQ(YearText(999, false), u"999");
  EXPECT_EQ(YearText(999, true), u"0999");
  EXPECT_EQ(YearText(100, true), u"0100");
  EXPECT_EQ(YearText(2000, true), u"2000");
  EXPECT_EQ(YearText(7, true), u"0007");
}

TEST(MonthFields, YearFieldNumericTest) {
  EXPECT_EQ(YearFieldValue(u"2004"), 2004);
  EXPECT_EQ(YearFieldValue(u"0999"), 999);
  EXPECT_EQ(YearFieldValue(u"5"), 5);
  for (const char16_t* text : {u"", u" ", u"20a4", u"-5", u"1 9", u"12.5", u"1234567890"}) {
    EXPECT_FALSE(YearFieldValue(text).has_value()) << std::u16string(text).size();
  }
}

// The year a typed text stands for follows the date reading rules.
TEST(MonthFields, YearOfTypedText) {
  const struct {
    const char16_t* text;
    int year;  // 0: none
  } cases[] = {
      {u"2004", 2004}, {u"99", 1999}, {u"5", 2005},  {u"0", 2000},   {u"29", 2029},   {u"30", 1930},
      {u"00", 2000},   {u"100", 100}, {u"999", 999}, {u"0999", 999}, {u"9999", 9999}, {u"050", 0},
      {u"0050", 0},    {u"000", 0},   {u"0000", 0},  {u"12345", 0},  {u"", 0},        {u"19a9", 0},
  };
  for (const auto& c : cases) {
    const auto year = YearOfText(c.text);
    if (c.year == 0) {
      EXPECT_FALSE(year.has_value()) << "typed " << std::u16string(c.text).size();
    } else {
      ASSERT_TRUE(year.has_value());
      EXPECT_EQ(*year, c.year);
    }
  }
}

}  // namespace
