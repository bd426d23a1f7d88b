// The public properties: what a write changes and which notice it gives.
#include <gtest/gtest.h>

#include "morlex/component/dispatch.h"
#include "morlex/core/error.h"
#include "stage_fixture.h"

namespace morlex {
namespace {

using platform::Variant;
using Lines = std::vector<std::string>;

class PropertiesTest : public testing::StageTest {};

TEST_F(PropertiesTest, CreationValues) {
  MorlexDate& c = stage_.New();
  EXPECT_EQ(c.DateFormat(), LeadingZerosCentury);
  EXPECT_EQ(c.DatePattern(), u"mm/dd/yyyy");
  EXPECT_TRUE(c.Calendar());
  EXPECT_TRUE(c.Spin());
  EXPECT_EQ(c.Text(), u"12/08/2026");  // today by the host's clock
  EXPECT_EQ(c.BackColor(), 0x80000005U);
  EXPECT_EQ(c.ForeColor(), 0x80000008U);
}

TEST_F(PropertiesTest, DateFormatWriteRendersTheText) {
  struct Case {
    std::int32_t value;
    std::u16string_view text;
    std::u16string_view pattern;
    std::u16string_view rendered;
    enmDateFormat read_back;
  } const cases[] = {
      {1, u"12/25/1999", u"mm/dd/yy", u"12/25/99", LeadingZerosNoCentury},
      {2, u"12/05/1999", u"m/d/yyyy", u"12/5/1999", NoLeadingZerosCentury},
      {3, u"01/05/1999", u"m/d/yy", u"1/5/99", NoLeadingZerosNoCentury},
      {0, u"1/5/99", u"mm/dd/yyyy", u"01/05/1999", LeadingZerosCentury},
      // Outside 0..3: the empty pattern, which leaves the text alone and
      // reads back as 0.
      {7, u"12/25/1999", u"", u"12/25/1999", LeadingZerosCentury},
      {-1, u"1/5/99", u"", u"1/5/99", LeadingZerosCentury},
      // Not a date: left as it is.
      {1, u"2/30/1999", u"mm/dd/yy", u"2/30/1999", LeadingZerosNoCentury},
      {1, u"", u"mm/dd/yy", u"", LeadingZerosNoCentury},
  };
  for (const auto& k : cases) {
    MorlexDate& c = NewWithText(k.text);
    c.SetDateFormat(k.value);
    EXPECT_EQ(c.DatePattern(), k.pattern) << k.value;
    EXPECT_EQ(c.Text(), k.rendered) << k.value;
    EXPECT_EQ(c.DateFormat(), k.read_back) << k.value;
    const Lines lines = Take();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "notify DateFormat");
    // A re-rendered text is a text change: notice and DateChanged first.
    if (k.rendered != k.text) {
      EXPECT_EQ(lines, (Lines{"notify Text", "event DateChanged", "notify DateFormat"}));
    } else {
      EXPECT_EQ(lines, (Lines{"notify DateFormat"}));
    }
  }
}

TEST_F(PropertiesTest, TextWriteAsksTheHostFirst) {
  MorlexDate& c = NewWithText(u"01/01/2000");
  stage_.Policy().can_change = false;
  c.SetText(u"1/2/99");
  EXPECT_EQ(c.Text(), u"01/01/2000");
  EXPECT_TRUE(Take().empty());  // no change, no notice, no error
  stage_.Policy().can_change = true;
  c.SetText(u"1/2/99");
  EXPECT_EQ(Take(), (Lines{"notify Text", "event DateChanged", "notify Text"}));
}

TEST_F(PropertiesTest, WidthValuesThatDoNotConvertChangeNothing) {
  MorlexDate& c = stage_.New();
  Take();
  for (const Variant& bad : {Variant(std::u16string(u"abc")), Variant(platform::Empty{}),
                             Variant(std::u16string(u"nan")), Variant(1e300)}) {
    EXPECT_THROW(c.SetWidth(bad), Error);
    EXPECT_THROW(c.SetHeight(bad), Error);
  }
  EXPECT_EQ(std::get<float>(c.Width()), 1635.0F);
  EXPECT_EQ(std::get<float>(c.Height()), 315.0F);
  EXPECT_TRUE(Take().empty());
  c.SetWidth(std::u16string(u"2000"));
  EXPECT_EQ(std::get<float>(c.Width()), 2000.0F);
  EXPECT_EQ(Take(), (Lines{"notify UserCtlWidth"}));
}

TEST_F(PropertiesTest, DateIsValid) {
  struct Case {
    std::u16string_view text;
    bool valid;
  } const cases[] = {
      {u"", false}, {u"2/28/1999", true}, {u"2/30/1999", false}, {u"1/5", true}, {u"abc", false},
  };
  for (const auto& k : cases) {
    MorlexDate& c = NewWithText(k.text);
    EXPECT_EQ(c.DateIsValid(), k.valid) << std::string(k.text.begin(), k.text.end());
    EXPECT_EQ(c.Text(), k.text);
  }
}

TEST_F(PropertiesTest, EveryWriteGivesItsNotice) {
  MorlexDate& c = stage_.New();
  Take();
  c.SetDataField(u"Born");
  c.SetBackColor(0x00FF0000);
  c.SetForeColor(0x80000008);
  c.SetToolTipText(u"Birthday");
  c.SetWhatsThisHelpID(42);
  c.SetEnabled(false);
  c.SetSpin(false);
  c.SetCalendar(false);
  auto font = std::make_shared<platform::Font>();
  font->name = u"Arial";
  c.SetFont(font);
  c.SetSelStart(3);
  c.SetSelLength(2);
  EXPECT_EQ(c.SelText(), u"08");
  c.SetSelText(u"09");
  EXPECT_EQ(Take(),
            (Lines{"notify DataField", "notify BackColor", "notify ForeColor", "notify ToolTipText",
                   "notify WhatsThisHelpID", "notify Enabled", "notify Spin", "notify Calendar",
                   "notify Font", "notify SelStart", "notify SelLength", "notify Text",
                   "event DateChanged", "notify SelText"}));
  EXPECT_EQ(c.Text(), u"12/09/2026");
  EXPECT_EQ(c.Font(), font);  // the caller's object itself
  EXPECT_EQ(c.DataField(), u"Born");
  EXPECT_FALSE(c.Enabled());
  EXPECT_THROW(c.SetFont(nullptr), Error);
  EXPECT_THROW(c.SetSelStart(-1), Error);
}

TEST_F(PropertiesTest, NonAsciiTextIsKeptIntact) {
  MorlexDate& c = stage_.New();
  const std::u16string texts[] = {u"\u00e9t\u00e9 1/5/99", u"\U0001F4C5 2026", u"\u65e5\u4ed8",
                                  std::u16string(1, u'\xD800')};
  for (const auto& t : texts) {
    c.SetText(t);
    EXPECT_EQ(c.Text(), t);
    EXPECT_FALSE(c.DateIsValid());
    c.SetDateFormat(2);
    EXPECT_EQ(c.Text(), t);
  }
}

TEST_F(PropertiesTest, PublishedInterfaceByNameAndIdentifier) {
  MorlexDate& c = NewWithText(u"1/5/99");
  EXPECT_EQ(component::GetProperty(c, -517), Variant(std::u16string(u"1/5/99")));
  EXPECT_EQ(component::GetProperty(c, "text"), Variant(std::u16string(u"1/5/99")));
  component::PutProperty(c, 1745027090, std::int32_t{3});
  EXPECT_EQ(component::GetProperty(c, "DateFormat"), Variant(std::int32_t{3}));
  EXPECT_EQ(component::GetProperty(c, -501), Variant(std::int32_t{-2147483643}));
  try {
    component::PutProperty(c, "DateIsValid", true);
    FAIL() << "a write to DateIsValid must be refused";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errnum::kReadOnly);
  }
  EXPECT_THROW(component::GetProperty(c, "Nonsense"), Error);
  EXPECT_THROW(component::GetProperty(c, 0), Error);
}

}  // namespace
}  // namespace morlex
