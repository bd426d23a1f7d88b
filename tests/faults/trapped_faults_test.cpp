// Host and widget failures inside the trapped procedures (the key handler,
// FormatTheDate, ValidateAndUpdate, SpinTheDate, the calendar button): each
// becomes DateError with the procedure's source and message and the failure's
// own number and description, nothing escapes to the user's action, the
// text is the one the failing step left, and the field works again once the
// fault is gone.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "faulty_field.h"

namespace morlex {
namespace {

using host::DialogUser;
using host::Stage;
using testing_support::FaultyField;
using testing_support::InjectedAt;

constexpr const char* kKeyPress = "MorlexDate.KeyPress";
constexpr const char* kFormat = "MorlexDate.FormatTheDate";
constexpr const char* kValidate = "MorlexDate.ValidateAndUpdate";
constexpr const char* kSpin = "MorlexDate.SpinTheDate";
constexpr const char* kCalendar = "MorlexDate.cmdCalendar_Click";
constexpr const char* kFormatMessage = "Could not format date with format property mm/dd/yyyy.";
constexpr const char* kSpinMessage = "Spin error encountered.";
constexpr const char* kCalendarMessage = "Error making calendar selection.";

struct Expected {
  const char* source;
  const char* custom;
};

struct TrappedCase {
  const char* name;
  const char16_t* text;  // the field before, caret remembered and placed at `caret`
  int caret;
  const char* site;  // the failing call
  int nth;           // which of its calls after the setup fails first
  int times;         // how many calls fail; 0: every call
  std::function<void(Stage&)> act;
  std::vector<Expected> errors;
  const char16_t* after;
};

void Key(Stage& s, char16_t k) {
  s.Key(k);
}
void Leave(Stage& s) {
  s.Blur(host::BlurTarget::kOutside);
}
void PickDay10(Stage& s) {
  s.ClickCalendar([](DialogUser& u) { u.DblClickLabel("lblDay", 10); });
}

// Failure messages name the case rather than dump its bytes.
void PrintTo(const TrappedCase& c, std::ostream* os) {
  *os << c.name;
}

const TrappedCase kCases[] = {
    // The key handler tells the host first; a failure there ends the handler
    // and the text box then types the key as it would have anyway.
    {"KeyNoticeFails",
     u"01/05/1999",
     0,
     "NotifyChanged:Text",
     1,
     1,
     [](Stage& s) { Key(s, u'1'); },
     {{kKeyPress, "KeyPress 49 caused an error."}},
     u"101/05/1999"},
    {"KeyPermissionFails",
     u"01/05/1999",
     0,
     "CanChange",
     1,
     1,
     [](Stage& s) { Key(s, u'7'); },
     {{kKeyPress, "KeyPress 55 caused an error."}},
     u"701/05/1999"},
    {"KeyReadingTheTextFails",
     u"01/05/1999",
     10,
     "txtDate.Text",
     1,
     1,
     [](Stage& s) { Key(s, u'/'); },
     {{kKeyPress, "KeyPress 47 caused an error."}},
     u"01/05/1999/"},
    // A rewrite that the text box refuses drops the key: the user sees the
    // text unchanged rather than a digit typed in the wrong place.
    {"OverwriteRefused",
     u"01/05/1999",
     0,
     "txtDate.SetText",
     1,
     1,
     [](Stage& s) { Key(s, u'1'); },
     {{kKeyPress, "KeyPress 49 caused an error."}},
     u"01/05/1999"},
    // Once the key has been dropped, the report names code 0.
    {"CaretAfterOverwriteFails",
     u"01/05/1999",
     0,
     "txtDate.SetSelStart",
     1,
     1,
     [](Stage& s) { Key(s, u'1'); },
     {{kKeyPress, "KeyPress 0 caused an error."}},
     u"11/05/1999"},
    {"SeparatorCaretFails",
     u"0512",
     1,
     "txtDate.SetSelStart",
     1,
     1,
     [](Stage& s) { Key(s, u'7'); },
     {{kKeyPress, "KeyPress 55 caused an error."}},
     u"0/"},
    {"JumpFails",
     u"01/05/1999",
     1,
     "txtDate.SetSelStart",
     1,
     1,
     [](Stage& s) { Key(s, u'/'); },
     {{kKeyPress, "KeyPress 0 caused an error."}},
     u"01/05/1999"},

    // Leaving the field: FormatTheDate and ValidateAndUpdate each trap their
    // own failures, and the second still runs after the first failed.
    {"RenderingRefused",
     u"1/5/99",
     0,
     "txtDate.SetText",
     1,
     1,
     Leave,
     {{kFormat, kFormatMessage}},
     u"1/5/99"},
    {"RenderedButNoticeFails",
     u"1/5/99",
     0,
     "NotifyChanged:Text",
     1,
     1,
     Leave,
     {{kFormat, kFormatMessage}},
     u"01/05/1999"},
    {"RenderingReadFails",
     u"1/5/99",
     0,
     "txtDate.Text",
     1,
     1,
     Leave,
     {{kFormat, kFormatMessage}},
     u"1/5/99"},
    {"ClockFails", u"1/5/99", 0, "GetClock", 1, 1, Leave, {{kFormat, kFormatMessage}}, u"1/5/99"},
    {"StoreFails",
     u"01/05/1999",
     0,
     "NotifyChanged:Text",
     1,
     1,
     Leave,
     {{kValidate, "Could not update recordset."}},
     u"01/05/1999"},
    {"PermissionForStoreFails",
     u"01/05/1999",
     0,
     "CanChange",
     1,
     1,
     Leave,
     {{kValidate, "Could not update recordset."}},
     u"01/05/1999"},
    {"EverythingFailsOnEnter",
     u"1/5/99",
     0,
     "NotifyChanged:Text",
     1,
     0,
     [](Stage& s) { Key(s, u'\r'); },
     {{kFormat, kFormatMessage}, {kValidate, "Could not update recordset."}},
     u"01/05/1999"},

    // Spinning: a failure before the text is set leaves text and caret; one
    // after it (the notice) leaves the stepped text.
    {"SpinRefused",
     u"01/05/1999",
     1,
     "txtDate.SetText",
     1,
     1,
     [](Stage& s) { s.Spin(true); },
     {{kSpin, kSpinMessage}},
     u"01/05/1999"},
    {"SpinNoticeFails",
     u"01/05/1999",
     1,
     "NotifyChanged:Text",
     1,
     1,
     [](Stage& s) { s.Spin(true); },
     {{kSpin, kSpinMessage}},
     u"02/05/1999"},
    {"SpinCaretFails",
     u"01/05/1999",
     4,
     "txtDate.SetSelStart",
     1,
     1,
     [](Stage& s) { s.Spin(false); },
     {{kSpin, kSpinMessage}},
     u"01/04/1999"},
    {"SpinClockFails",
     u"01/05/1999",
     8,
     "GetClock",
     1,
     1,
     [](Stage& s) { s.Spin(true); },
     {{kSpin, kSpinMessage}},
     u"01/05/1999"},

    // The calendar button: every failure of the dialog or of the pick is
    // reported, and the dialog is unloaded.
    {"FocusFails",
     u"3/5/1999",
     0,
     "txtDate.SetFocus",
     1,
     1,
     PickDay10,
     {{kCalendar, kCalendarMessage}},
     u"3/5/1999"},
    {"FormCannotBeLoaded",
     u"3/5/1999",
     0,
     "CreateForm",
     1,
     1,
     PickDay10,
     {{kCalendar, kCalendarMessage}},
     u"3/5/1999"},
    {"GridCannotBeLaidOut",
     u"3/5/1999",
     0,
     "lblDay.SetBordered",
     1,
     1,
     PickDay10,
     {{kCalendar, kCalendarMessage}},
     u"3/5/1999"},
    {"GridCannotBeFilled",
     u"3/5/1999",
     0,
     "lblDay.SetCaption",
     1,
     1,
     PickDay10,
     {{kCalendar, kCalendarMessage}},
     u"3/5/1999"},
    {"TitleCannotBeSet",
     u"3/5/1999",
     0,
     "frmCalendar.SetCaption",
     1,
     1,
     PickDay10,
     {{kCalendar, kCalendarMessage}},
     u"3/5/1999"},
    {"DialogCannotBeShown",
     u"3/5/1999",
     0,
     "frmCalendar.ShowModal",
     1,
     1,
     PickDay10,
     {{kCalendar, kCalendarMessage}},
     u"3/5/1999"},
    {"DialogFailsWhileShown",
     u"3/5/1999",
     0,
     "txtMonth.SetText",
     2,
     1,
     [](Stage& s) {
       s.ClickCalendar([](DialogUser& u) {
         u.TypeKey("txtMonth", u'D');
         u.PressButton("cmdOK");
       });
     },
     {{kCalendar, kCalendarMessage}},
     u"3/5/1999"},
    {"DialogCannotHide",
     u"3/5/1999",
     0,
     "frmCalendar.Hide",
     1,
     1,
     PickDay10,
     {{kCalendar, kCalendarMessage}},
     u"3/5/1999"},
    {"PickRefused",
     u"3/5/1999",
     0,
     "txtDate.SetText",
     1,
     1,
     PickDay10,
     {{kCalendar, kCalendarMessage}},
     u"3/5/1999"},
    {"PickNoticeFails",
     u"3/5/1999",
     0,
     "NotifyChanged:Text",
     1,
     1,
     PickDay10,
     {{kCalendar, kCalendarMessage}},
     u"03/10/1999"},
};

class TrappedFailures : public ::testing::TestWithParam<TrappedCase> {};

TEST_P(TrappedFailures, BecomeDateErrorAndLeaveTheFieldWhole) {
  const TrappedCase& c = GetParam();
  FaultyField field;
  field.New(c.text, c.caret);
  field.plan.Arm(c.site, c.nth, c.times);

  EXPECT_NO_THROW(c.act(field.Stage()));

  ASSERT_GE(field.plan.Injected(), 1) << "the fault never came: " << c.site;
  ASSERT_EQ(field.log->errors.size(), c.errors.size());
  for (std::size_t i = 0; i < c.errors.size(); ++i) {
    const auto& e = field.log->errors[i];
    EXPECT_EQ(e.source, c.errors[i].source);
    EXPECT_EQ(e.custom, c.errors[i].custom);
    EXPECT_EQ(e.number, errnum::kHostFailure);
    EXPECT_EQ(e.description, InjectedAt(c.site));
  }
  EXPECT_EQ(field.Text(), c.after);
  field.ExpectWhole();
  field.ExpectRecovered();
}

INSTANTIATE_TEST_SUITE_P(Sites, TrappedFailures, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A failed step leaves the remembered caret where it was, so the next press
// steps the same part again.
TEST(TrappedFailureState, FailedSpinKeepsTheRememberedCaret) {
  FaultyField field;
  field.New(u"01/05/1999", 4);
  field.plan.Arm("txtDate.SetText");
  field.Stage().Spin(true);
  EXPECT_EQ(field.Control().RememberedCaret(), 4);
  field.Stage().Spin(true);
  EXPECT_EQ(field.Text(), u"01/06/1999");
  EXPECT_EQ(field.Control().RememberedCaret(), 5);
}

}  // namespace
}  // namespace morlex
