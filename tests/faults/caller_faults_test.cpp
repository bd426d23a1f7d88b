// Host and widget failures where nothing traps them (property procedures,
// the layout pass, first-time initialisation, the text-change handling, the
// loss of focus): the failure reaches the caller unchanged, the steps before
// it stay done, the ones after it (the change notice above all) do not
// happen, and the field works again once the fault is gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "faulty_field.h"

namespace morlex {
namespace {

using testing_support::FaultyField;
using testing_support::InjectedAt;

struct CallerCase {
  const char* name;
  const char16_t* before;  // the field's text before
  const char* site;
  int nth;
  int times;  // 0: every call from the nth on
  std::function<void(FaultyField&)> act;
  const char16_t* after;                   // the text afterwards
  const char* absent;                      // a line the host must not have seen ("" for none)
  std::size_t date_errors;                 // DateError events on the way
  std::function<void(FaultyField&)> also;  // further checks, may be empty
};

void SetText(FaultyField& f) {
  f.Control().SetText(u"2/2/2002");
}

float Width(FaultyField& f) {
  return platform::ToSingle(f.Control().Width());
}

// Failure messages name the case rather than dump its bytes.
void PrintTo(const CallerCase& c, std::ostream* os) {
  *os << c.name;
}

const CallerCase kCases[] = {
    {"TextPermissionFails",
     u"01/05/1999",
     "CanChange",
     1,
     1,
     SetText,
     u"01/05/1999",
     "event DateChanged",
     0,
     {}},
    {"TextRefused",
     u"01/05/1999",
     "txtDate.SetText",
     1,
     1,
     SetText,
     u"01/05/1999",
     "notify Text",
     0,
     {}},
    // The change handling fails before it raises DateChanged.
    {"TextChangeNoticeFails",
     u"01/05/1999",
     "NotifyChanged:Text",
     1,
     1,
     SetText,
     u"2/2/2002",
     "event DateChanged",
     0,
     {}},
    {"TextFinalNoticeFails",
     u"01/05/1999",
     "NotifyChanged:Text",
     2,
     1,
     SetText,
     u"2/2/2002",
     "",
     0,
     {}},
    // The pattern is taken before the text is rendered, and stays taken.
    {"DateFormatRenderingRefused", u"01/05/1999", "txtDate.SetText", 1, 1,
     [](FaultyField& f) { f.Control().SetDateFormat(1); }, u"01/05/1999", "notify DateFormat", 0,
     [](FaultyField& f) { EXPECT_EQ(f.Control().DatePattern(), u"mm/dd/yy"); }},
    {"DateFormatNoticeFails",
     u"01/05/1999",
     "NotifyChanged:DateFormat",
     1,
     1,
     [](FaultyField& f) { f.Control().SetDateFormat(1); },
     u"01/05/99",
     "",
     0,
     {}},
    {"CalendarCannotHide", u"01/05/1999", "cmdCalendar.SetVisible", 1, 1,
     [](FaultyField& f) { f.Control().SetCalendar(false); }, u"01/05/1999", "notify Calendar", 0,
     [](FaultyField& f) {
       EXPECT_TRUE(f.Control().Calendar());
       EXPECT_EQ(f.Control().ControlSurface().GetTextBox("txtDate").Width(), 1335);
     }},
    {"CalendarLayoutFails", u"01/05/1999", "txtDate.SetWidth", 1, 1,
     [](FaultyField& f) { f.Control().SetCalendar(false); }, u"01/05/1999", "notify Calendar", 0,
     [](FaultyField& f) { EXPECT_FALSE(f.Control().Calendar()); }},
    {"WidthRefusedByHost", u"01/05/1999", "SetWidth", 1, 1,
     [](FaultyField& f) { f.Control().SetWidth(2000.0F); }, u"01/05/1999", "notify UserCtlWidth", 0,
     [](FaultyField& f) { EXPECT_EQ(Width(f), 1635); }},
    {"WidthNoticeFails", u"01/05/1999", "NotifyChanged:UserCtlWidth", 1, 1,
     [](FaultyField& f) { f.Control().SetWidth(2000.0F); }, u"01/05/1999", "", 0,
     [](FaultyField& f) { EXPECT_EQ(Width(f), 2000); }},
    {"HeightRefusedByHost",
     u"01/05/1999",
     "SetHeight",
     1,
     1,
     [](FaultyField& f) { f.Control().SetHeight(400.0F); },
     u"01/05/1999",
     "notify UserCtlHeight",
     0,
     {}},
    {"EnabledRefusedByHost", u"01/05/1999", "SetEnabled", 1, 1,
     [](FaultyField& f) { f.Control().SetEnabled(false); }, u"01/05/1999", "notify Enabled", 0,
     [](FaultyField& f) { EXPECT_TRUE(f.Control().Enabled()); }},
    {"SelStartRefused",
     u"01/05/1999",
     "txtDate.SetSelStart",
     1,
     1,
     [](FaultyField& f) { f.Control().SetSelStart(3); },
     u"01/05/1999",
     "notify SelStart",
     0,
     {}},
    {"SelTextRefused",
     u"01/05/1999",
     "txtDate.SetSelText",
     1,
     1,
     [](FaultyField& f) { f.Control().SetSelText(u"1"); },
     u"01/05/1999",
     "notify SelText",
     0,
     {}},
    // The text box's own insertion runs the change handling with no trap
    // around it: the store failure goes to whoever typed.
    {"TypedKeyNotStored", u"", "NotifyChanged:Text", 2, 1,
     [](FaultyField& f) { f.Stage().Key(u'1'); }, u"1", "event DateChanged", 0,
     [](FaultyField& f) { EXPECT_EQ(f.Control().RememberedCaret(), 1); }},
    {"TypedKeyNeverStored",
     u"01/05/1999",
     "NotifyChanged:Text",
     1,
     0,
     [](FaultyField& f) { f.Stage().Key(u'1'); },
     u"101/05/1999",
     "event DateChanged",
     1,
     {}},
    {"LeavingCannotTellTheActiveWidget",
     u"1/5/99",
     "ActiveConstituent",
     1,
     1,
     [](FaultyField& f) { f.Stage().Blur(host::BlurTarget::kOutside); },
     u"1/5/99",
     "notify Text",
     0,
     {}},
    // The layout pass: its guard must come down even when a size change
    // inside it fails, or no later pass would place anything.
    {"MinimumHeightRefused",
     u"01/05/1999",
     "SetHeight",
     1,
     1,
     [](FaultyField& f) { f.Stage().HostResize(3000, 20); },
     u"01/05/1999",
     "",
     0,
     {}},
    {"DefaultWidthRefused",
     u"01/05/1999",
     "SetWidth",
     1,
     1,
     [](FaultyField& f) { f.Stage().HostResize(100, 400); },
     u"01/05/1999",
     "",
     0,
     {}},
    {"LayoutReadFails",
     u"01/05/1999",
     "Height",
     1,
     1,
     [](FaultyField& f) { f.Stage().HostResize(3000, 400); },
     u"01/05/1999",
     "",
     0,
     {}},
    {"LayoutPlacementFails",
     u"01/05/1999",
     "spinCTL.SetLeft",
     1,
     1,
     [](FaultyField& f) { f.Stage().HostResize(3000, 400); },
     u"01/05/1999",
     "",
     0,
     {}},
    // First-time initialisation: a new control whose first steps fail.
    {"NewControlSizeRefused",
     u"01/05/1999",
     "SetWidth",
     1,
     1,
     [](FaultyField& f) { f.Renew(); },
     u"",
     "",
     0,
     {}},
    {"NewControlTextRefused",
     u"01/05/1999",
     "txtDate.SetText",
     1,
     1,
     [](FaultyField& f) { f.Renew(); },
     u"",
     "",
     0,
     {}},
};

class CallerFailures : public ::testing::TestWithParam<CallerCase> {};

TEST_P(CallerFailures, ReachTheCallerAndLeaveTheFieldWhole) {
  const CallerCase& c = GetParam();
  FaultyField field;
  field.New(c.before);
  field.plan.Arm(c.site, c.nth, c.times);

  try {
    c.act(field);
    ADD_FAILURE() << "nothing reached the caller";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errnum::kHostFailure);
    EXPECT_EQ(e.description(), InjectedAt(c.site));
  }

  EXPECT_EQ(field.Text(), c.after);
  if (*c.absent != '\0') {
    EXPECT_EQ(std::count(field.lines.begin(), field.lines.end(), c.absent), 0) << c.absent;
  }
  EXPECT_EQ(field.log->errors.size(), c.date_errors);
  if (c.also) c.also(field);
  field.ExpectWhole();
  field.ExpectRecovered();
}

INSTANTIATE_TEST_SUITE_P(Sites, CallerFailures, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Positions past the 16-bit range the control keeps its caret in: the
// trapped key handler reports the overflow; the untrapped key release and
// click hand it to the caller and keep the caret they remembered.
TEST(LongText, PositionsPastSixteenBitsOverflow) {
  FaultyField field;
  MorlexDate& c = field.New();
  c.SetText(std::u16string(40000, u'1'));
  c.SetSelStart(35000);
  field.log->errors.clear();

  EXPECT_THROW(field.Stage().Key(u'/'), Error);  // the key release
  ASSERT_EQ(field.log->errors.size(), 1U);
  EXPECT_EQ(field.log->errors[0].source, "MorlexDate.KeyPress");
  EXPECT_EQ(field.log->errors[0].number, errnum::kOverflow);
  EXPECT_EQ(c.RememberedCaret(), 0);

  try {
    field.Stage().Click(36000);
    ADD_FAILURE() << "the click did not overflow";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errnum::kOverflow);
  }
  EXPECT_EQ(c.RememberedCaret(), 0);
  field.ExpectRecovered();
}

}  // namespace
}  // namespace morlex
