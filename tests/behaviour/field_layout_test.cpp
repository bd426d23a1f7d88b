// Typing, spinning and the commit in each order of the date's parts, from
// one table, on every toolkit: the rules of month/day/year hold part by part
// in the other orders.
#include <string>

#include "morlex/core/date_layout.h"
#include "morlex/core/unicode.h"
#include "toolkits.h"

namespace morlex::testing_support {
namespace {

class Layouts : public StageTest {};

TEST_P(Layouts, TypingSpinningAndCommitInEveryOrder) {
  struct Case {
    DateOrder order;
    std::u16string_view separator;
    std::int32_t format;
    std::u16string_view typed;
    std::u16string_view shown;      // after typing, before the commit
    std::u16string_view committed;  // after Enter
    int caret;                      // the spin's remembered caret
    std::u16string_view spun;       // after one step up
  };
  const Case cases[] = {
      // Month/day/year as it has always been.
      {MonthDayYear, u"/", 0, u"01051999", u"01/05/1999", u"01/05/1999", 1, u"02/05/1999"},
      {MonthDayYear, u"/", 0, u"1/5/99", u"1/5/99", u"01/05/1999", 4, u"01/06/1999"},
      {MonthDayYear, u"-", 2, u"12242026", u"12-24-2026", u"12-24-2026", 3, u"12-25-2026"},
      // Day/month/year: the first part is the day.
      {DayMonthYear, u".", 0, u"24122026", u"24.12.2026", u"24.12.2026", 1, u"25.12.2026"},
      {DayMonthYear, u".", 0, u"24.12.2026", u"24.12.2026", u"24.12.2026", 4, u"24.01.2027"},
      {DayMonthYear, u".", 0, u"1.5.99", u"1.5.99", u"01.05.1999", 8, u"01.05.2000"},
      {DayMonthYear, u"/", 3, u"5/13/99", u"5/13/99", u"13/5/99", 1, u"14/5/99"},
      // Year/month/day: the first part is the year, in the format's length.
      {YearMonthDay, u"-", 0, u"20261224", u"2026-12-24", u"2026-12-24", 2, u"2027-12-24"},
      {YearMonthDay, u"-", 1, u"261224", u"26-12-24", u"26-12-24", 4, u"27-01-24"},
      {YearMonthDay, u"/", 0, u"12/24", u"12/24", u"2026/12/24", 9, u"2026/12/25"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(OrderWords(c.order)) + " " + ToUtf8(c.typed));
    NewWithText(u"");
    Control().SetDateFormat(c.format);
    Control().SetDateOrder(c.order);
    Control().SetDateSeparator(c.separator);
    Stage().Type(c.typed);
    EXPECT_EQ(ToUtf8(Text()), ToUtf8(c.shown));
    Stage().Key(13);
    EXPECT_EQ(ToUtf8(Text()), ToUtf8(c.committed));
    EXPECT_TRUE(Control().DateIsValid());
    Stage().Click(c.caret);
    Stage().Spin(true);
    EXPECT_EQ(ToUtf8(Text()), ToUtf8(c.spun));
  }
}

INSTANTIATE_TEST_SUITE_P(Toolkits, Layouts, ::testing::ValuesIn(Toolkits()), ToolkitName);

}  // namespace
}  // namespace morlex::testing_support
