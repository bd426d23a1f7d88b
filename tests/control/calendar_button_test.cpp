// The field's calendar button: a fresh dialog per click on the field's text,
// the picked day rendered in the field's pattern, nothing committed, and any
// failure reported as DateError with the dialog unloaded.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "morlex/headless/toolkit.h"
#include "morlex/host/binding.h"
#include "morlex/host/stage.h"

namespace {

using morlex::host::DialogUser;
using Lines = std::vector<std::string>;

class CalendarButton : public testing::Test {
 protected:
  CalendarButton()
      : binding_(morlex::host::MakeHeadlessBinding()),
        stage_(*binding_, [this](const std::string& line) { lines_.push_back(line); }) {
    stage_.SetToday({2026, 12, 8});
    stage_.New();
  }

  // Puts text into the field, then clears the record of notices.
  void Field(std::u16string_view text) {
    stage_.Control()->SetText(text);
    lines_.clear();
  }

  std::u16string Text() { return stage_.State().text; }
  morlex::headless::Toolkit& Toolkit() {
    return dynamic_cast<morlex::headless::Toolkit&>(binding_->GetToolkit());
  }

  static void Ok(DialogUser& user) { user.PressButton("cmdOK"); }

  std::unique_ptr<morlex::host::Binding> binding_;
  Lines lines_;
  morlex::host::Stage stage_;
};

TEST_F(CalendarButton, PickedDayIsRenderedInThePatternWithoutCommit) {
  const struct {
    int format;
    const char16_t* field;
    std::function<void(DialogUser&)> user;
    const char16_t* result;
  } cases[] = {
      {0, u"3/5/1999", [](DialogUser& u) { u.DblClickLabel("lblDay", 17); }, u"03/17/1999"},
      {3, u"3/5/1999", [](DialogUser& u) { u.DblClickLabel("lblDay", 7); }, u"3/7/99"},
      {0, u"1/5/99", Ok, u"01/05/1999"},
      {0, u"", Ok, u"12/08/2026"},
      {0, u"2/30/1999", Ok, u"12/08/2026"},
      {2, u"abc", Ok, u"12/8/2026"},
      {1, u"6/15/1999",
       [](DialogUser& u) {
         u.PressUpDown("spnYear", true);
         Ok(u);
       },
       u"06/15/00"},
  };
  for (const auto& c : cases) {
    stage_.Control()->SetDateFormat(c.format);
    Field(c.field);
    stage_.ClickCalendar(c.user);
    EXPECT_EQ(Text(), c.result);
    // The change is reported, but nothing is validated or committed.
    EXPECT_EQ(lines_, (Lines{"notify Text", "event DateChanged"}));
    EXPECT_EQ(Toolkit().LiveForms(), 0);
  }
}

TEST_F(CalendarButton, CancelAndCloseLeaveTheFieldAlone) {
  const std::function<void(DialogUser&)> endings[] = {
      [](DialogUser& u) {
        u.TypeKey("txtMonth", u'J');
        u.PressButton("cmdCancel");
      },
      [](DialogUser& u) {
        u.ClickLabel("lblDay", 20);
        u.Close();
      },
      [](DialogUser&) {},
  };
  for (const auto& end : endings) {
    Field(u"2/30/1999");
    stage_.ClickCalendar(end);
    EXPECT_EQ(Text(), u"2/30/1999");
    EXPECT_TRUE(lines_.empty());
    EXPECT_EQ(Toolkit().LiveForms(), 0);
  }
}

TEST_F(CalendarButton, EveryClickOpensAFreshDialogOnTheCurrentText) {
  Field(u"3/5/1999");
  std::vector<std::u16string> titles;
  auto look_then = [&](std::function<void(DialogUser&)> then) {
    return [&titles, then](DialogUser& u) {
      titles.push_back(u.Form().Caption());
      then(u);
    };
  };
  stage_.ClickCalendar(look_then([](DialogUser& u) { u.DblClickLabel("lblDay", 10); }));
  stage_.ClickCalendar(look_then([](DialogUser& u) { u.PressButton("cmdCancel"); }));
  EXPECT_EQ(titles, (std::vector<std::u16string>{u"March 05, 1999", u"March 10, 1999"}));
  // The second dialog started unconfirmed: its Cancel changed nothing.
  EXPECT_EQ(Text(), u"03/10/1999");
  EXPECT_EQ(Toolkit().LiveForms(), 0);
}

TEST_F(CalendarButton, FocusGoesToTheTextBox) {
  Field(u"3/5/1999");
  std::string focused_in_field;
  stage_.ClickCalendar([&](DialogUser&) {
    auto& surface = dynamic_cast<morlex::headless::Surface&>(stage_.Control()->ControlSurface());
    focused_in_field = surface.Focused() != nullptr ? surface.Focused()->Name() : "";
  });
  EXPECT_EQ(focused_in_field, "txtDate");
}

TEST_F(CalendarButton, FailuresBecomeDateErrorAndTheDialogIsUnloaded) {
  // The host cannot store the picked text: the text was already replaced.
  Field(u"3/5/1999");
  stage_.Policy().fail_notify = true;
  stage_.ClickCalendar([](DialogUser& u) { u.DblClickLabel("lblDay", 10); });
  stage_.Policy().fail_notify = false;
  EXPECT_EQ(Text(), u"03/10/1999");
  ASSERT_EQ(lines_.size(), 2u);
  EXPECT_EQ(lines_[0], "notify Text failed");
  EXPECT_EQ(lines_[1],
            "event DateError source=\"MorlexDate.cmdCalendar_Click\" "
            "custom=\"Error making calendar selection.\"");
  EXPECT_EQ(Toolkit().LiveForms(), 0);

  // A failure inside the modal display (any exception type) is trapped too.
  Field(u"3/5/1999");
  stage_.ClickCalendar([](DialogUser&) { throw std::runtime_error("window system gone"); });
  EXPECT_EQ(Text(), u"3/5/1999");
  EXPECT_EQ(lines_, (Lines{"event DateError source=\"MorlexDate.cmdCalendar_Click\" "
                           "custom=\"Error making calendar selection.\""}));
  EXPECT_EQ(Toolkit().LiveForms(), 0);
}

TEST_F(CalendarButton, EmptyPatternHandsTheDialogTextOverUnchanged) {
  stage_.Control()->SetDateFormat(9);  // out of range: the empty pattern
  Field(u"3/5/1999");
  stage_.ClickCalendar([](DialogUser& u) { u.DblClickLabel("lblDay", 10); });
  EXPECT_EQ(Text(), u"3/10/1999");
}

}  // namespace
