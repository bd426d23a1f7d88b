// What the control relies on of any widget toolkit, checked on each: text
// writes, typed keys and their order, up-downs, labels, and modal forms. The
// surfaces come from the component's own designs.
#include "morlex/designs/form_designs.h"
#include "toolkits.h"

namespace morlex::testing_support {
namespace {

class Contract : public ::testing::TestWithParam<ToolkitParam> {
 protected:
  void SetUp() override { binding_ = GetParam().make(); }
  void TearDown() override {
    control_surface_.reset();
    binding_.reset();
  }

  platform::Toolkit& Toolkit() { return binding_->GetToolkit(); }
  host::UserInput& Input() { return binding_->Input(); }

  platform::Surface& ControlSurface() {
    if (!control_surface_)
      control_surface_ = Toolkit().CreateControlSurface(designs::ControlSurface());
    return *control_surface_;
  }
  platform::TextBox& TxtDate() { return ControlSurface().GetTextBox("txtDate"); }

  // Types into a text box that has the focus, as the user would.
  void Type(platform::Surface& surface, platform::TextBox& box, std::u16string_view text) {
    if (Input().FocusedWidget(surface) != &box) Input().MoveFocus(surface, &box);
    for (char16_t ch : text) Input().TypeKey(box, ch);
  }

  Lines log_;

 private:
  std::unique_ptr<host::Binding> binding_;
  std::unique_ptr<platform::Surface> control_surface_;
};

std::string U8(std::u16string_view text) {
  return std::string(text.begin(), text.end());
}

TEST_P(Contract, TextWritesNotifySynchronouslyAndOnlyOnChange) {
  platform::TextBox& box = TxtDate();
  box.events.Change = [&] { log_.push_back("change " + U8(box.Text())); };
  box.SetText(u"abc");
  box.SetSelStart(2);
  box.SetText(u"abc");
  EXPECT_EQ(box.SelStart(), 0);
  box.SetText(u"");
  EXPECT_EQ(log_, (Lines{"change abc", "change "}));

  // Texts longer than the typed limit are taken whole.
  const std::u16string long_text(40000, u'9');
  box.SetText(long_text);
  EXPECT_EQ(box.Text(), long_text);
  box.SetText(std::u16string(u"a\0b", 3));
  EXPECT_EQ(box.Text(), std::u16string(u"a\0b", 3));
}

TEST_P(Contract, AFailingChangeHandlerFailsTheWriteThatSetItOff) {
  platform::TextBox& box = TxtDate();
  box.events.Change = [] { throw Error(440, "store failed"); };
  try {
    box.SetText(u"xyz");
    ADD_FAILURE() << "SetText should fail";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 440);
    EXPECT_EQ(e.description(), "store failed");
  }
  EXPECT_EQ(box.Text(), u"xyz");
  box.SetSelStart(3);
  EXPECT_THROW(box.SetSelText(u"!"), Error);
  EXPECT_EQ(box.Text(), u"xyz!");
}

TEST_P(Contract, SelectionWrites) {
  platform::TextBox& box = TxtDate();
  int changes = 0;
  box.events.Change = [&] { ++changes; };
  box.SetText(u"01/05/1999");
  box.SetSelStart(3);
  box.SetSelLength(2);
  EXPECT_EQ(box.SelText(), u"05");
  box.SetSelText(u"7");
  EXPECT_EQ(box.Text(), u"01/7/1999");
  EXPECT_EQ(box.SelStart(), 4);
  EXPECT_EQ(box.SelLength(), 0);
  box.SetSelText(u"");  // nothing selected, nothing inserted
  EXPECT_EQ(changes, 2);
  box.SetSelStart(99);
  EXPECT_EQ(box.SelStart(), 9);
  EXPECT_THROW(box.SetSelStart(-1), Error);
  EXPECT_THROW(box.SetMaxLength(-1), Error);
  EXPECT_THROW(box.SetFont(nullptr), Error);
}

// Every typed key: the surface's key preview, the box's key handler, the
// box's own insertion, then the key release.
TEST_P(Contract, TypedKeysGoPreviewHandlerInsertionRelease) {
  struct Case {
    const char* name;
    std::function<void(std::int16_t&)> preview;
    std::function<void(platform::TextBox&, std::int16_t&)> press;
    std::u16string text;
    Lines log;
  };
  const Case cases[] = {
      {"let through", nullptr, nullptr, u"5", {"preview ", "press ", "change 5", "up 5"}},
      {"dropped by the preview", [](std::int16_t& k) { k = 0; }, nullptr, u"", {"preview ", "up "}},
      {"dropped by the handler",
       nullptr,
       [](platform::TextBox&, std::int16_t& k) { k = 0; },
       u"",
       {"preview ", "press ", "up "}},
      {"code changed by the handler",
       nullptr,
       [](platform::TextBox&, std::int16_t& k) { k = u'6'; },
       u"6",
       {"preview ", "press ", "change 6", "up 6"}},
      {"handler writes and drops",
       nullptr,
       [](platform::TextBox& box, std::int16_t& k) {
         box.SetText(u"X");
         k = 0;
       },
       u"X",
       {"preview ", "press ", "change X", "up X"}},
      // The handler inserts a separator and moves the caret; the box then
      // inserts the key at the new caret.
      {"handler writes and lets through",
       nullptr,
       [](platform::TextBox& box, std::int16_t&) {
         box.SetText(u"1/");
         box.SetSelStart(2);
       },
       u"1/5",
       {"preview ", "press ", "change 1/", "change 1/5", "up 1/5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::Surface& surface = ControlSurface();
    platform::TextBox& box = TxtDate();
    box.events = {};
    box.SetText(u"");
    log_.clear();
    surface.KeyPreview = [&](std::int16_t& k) {
      log_.push_back("preview " + U8(box.Text()));
      if (c.preview) c.preview(k);
    };
    box.events.KeyPress = [&](std::int16_t& k) {
      log_.push_back("press " + U8(box.Text()));
      if (c.press) c.press(box, k);
    };
    box.events.Change = [&] { log_.push_back("change " + U8(box.Text())); };
    box.events.KeyUp = [&] { log_.push_back("up " + U8(box.Text())); };
    Type(surface, box, u"5");
    EXPECT_EQ(box.Text(), c.text);
    EXPECT_EQ(log_, c.log);
  }
}

TEST_P(Contract, AFailingKeyHandlerFailsTheKeyAfterItsRelease) {
  platform::TextBox& box = TxtDate();
  bool released = false;
  box.events.KeyPress = [](std::int16_t&) { throw Error(5, "key failed"); };
  box.events.KeyUp = [&] { released = true; };
  try {
    Type(ControlSurface(), box, u"5");
    ADD_FAILURE() << "the key should fail";
  } catch (const Error& e) {
    EXPECT_EQ(e.description(), "key failed");
  }
  EXPECT_TRUE(released);
  EXPECT_EQ(box.Text(), u"");
}

TEST_P(Contract, MaximumLengthHoldsTypedKeysOnly) {
  auto form = Toolkit().CreateForm(designs::CalendarForm());
  platform::TextBox& year = form->GetTextBox("txtYear");
  EXPECT_EQ(year.MaxLength(), 4);
  Type(*form, year, u"20261");
  EXPECT_EQ(year.Text(), u"2026");
  year.SetText(u"123456");
  EXPECT_EQ(year.Text(), u"123456");
  platform::TextBox& month = form->GetTextBox("txtMonth");
  Type(*form, month, u"September and more");
  EXPECT_EQ(month.Text(), u"September and more");
}

TEST_P(Contract, UpDownStepsOnceAndResetsWithoutStepping) {
  platform::UpDown& spin = ControlSurface().GetUpDown("spinCTL");
  std::vector<int> seen;
  spin.events.Change = [&] {
    seen.push_back(spin.Value());
    if (spin.Value() != 0) spin.SetValue(0);
  };
  Input().PressUpDown(spin, true);
  Input().PressUpDown(spin, false);
  EXPECT_EQ(seen, (std::vector<int>{1, 0, -1, 0}));
  EXPECT_EQ(spin.Value(), 0);
  EXPECT_THROW(spin.SetValue(2), Error);

  seen.clear();
  spin.events.Change = [&] { seen.push_back(spin.Value()); };
  Input().PressUpDown(spin, true);
  Input().PressUpDown(spin, true);  // already at the top of the range
  EXPECT_EQ(seen, std::vector<int>{1});
  spin.SetVisible(false);
  Input().PressUpDown(spin, false);  // a hidden indicator cannot be pressed
  EXPECT_EQ(spin.Value(), 1);
}

TEST_P(Contract, CalendarFormHasEveryArrayMemberAndNoOther) {
  auto form = Toolkit().CreateForm(designs::CalendarForm());
  for (int i = 0; i < 42; ++i) EXPECT_EQ(form->GetLabel("lblDay", i).Index(), i);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(form->GetLabel("lblDayName", i).Top(), 600);
  struct Missing {
    const char* name;
    int index;
  };
  for (const Missing& m : {Missing{"lblDay", 42}, Missing{"lblDay", -1}, Missing{"lblDayName", 7},
                           Missing{"lblNothing", 0}}) {
    SCOPED_TRACE(std::string(m.name) + " " + std::to_string(m.index));
    try {
      form->GetLabel(m.name, m.index);
      ADD_FAILURE() << "no such widget";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), 340);
    }
  }
  EXPECT_EQ(form->GetPictureBox("picDays").ScaleWidth(), 3015);
}

TEST_P(Contract, LabelsReportTheirIndexAndNothingWhileDisabled) {
  auto form = Toolkit().CreateForm(designs::CalendarForm());
  platform::Label& cell = form->GetLabel("lblDay", 9);
  cell.SetLeft(100);
  cell.SetTop(100);
  cell.SetWidth(400);
  cell.SetHeight(300);
  cell.events.Click = [&](int index) { log_.push_back("click " + std::to_string(index)); };
  cell.events.DblClick = [&](int index) { log_.push_back("dblclick " + std::to_string(index)); };
  Input().ClickLabel(cell);
  Input().DblClickLabel(cell);
  cell.SetEnabled(false);
  Input().ClickLabel(cell);
  Input().DblClickLabel(cell);
  EXPECT_EQ(log_, (Lines{"click 9", "dblclick 9"}));
}

TEST_P(Contract, AutoSizedHeadingsRefitToTheirCaption) {
  auto form = Toolkit().CreateForm(designs::CalendarForm());
  platform::Label& heading = form->GetLabel("lblDayName", 3);
  heading.SetLeft(1200);
  heading.SetCaption(u"W");
  const float narrow = heading.Width();
  heading.SetCaption(u"Wednesday");
  EXPECT_GT(heading.Width(), narrow);
  EXPECT_GT(heading.Height(), 0);
  EXPECT_EQ(heading.Left(), 1200);
  EXPECT_EQ(heading.Top(), 600);
  heading.SetWidth(5000);
  heading.SetCaption(u"Wednesday");
  EXPECT_LT(heading.Width(), 5000);  // exactly as wide as the caption again
}

TEST_P(Contract, ModalShowFocusActivateInteractionThenCloseCommand) {
  auto form = Toolkit().CreateForm(designs::CalendarForm());
  platform::TextBox& month = form->GetTextBox("txtMonth");
  month.events.GotFocus = [&] { log_.push_back("focus txtMonth"); };
  form->form_events.Activate = [&] { log_.push_back("activate"); };
  form->form_events.Close = [&] { log_.push_back("close"); };
  Input().SetModalInteraction([&](platform::Form& shown) {
    log_.push_back(shown.IsShown() ? "interaction shown" : "interaction hidden");
    log_.push_back(Input().FocusedWidget(shown) == &month ? "focus on txtMonth"
                                                          : "focus elsewhere");
  });
  form->ShowModal();
  EXPECT_FALSE(form->IsShown());
  EXPECT_EQ(log_, (Lines{"focus txtMonth", "activate", "interaction shown", "focus on txtMonth",
                         "close"}));
}

TEST_P(Contract, HidingEndsTheModalShowWithoutCloseCommand) {
  auto form = Toolkit().CreateForm(designs::CalendarForm());
  platform::CommandButton& ok = form->GetCommandButton("cmdOK");
  platform::TextBox& year = form->GetTextBox("txtYear");
  form->form_events.Close = [&] { log_.push_back("close"); };
  year.events.LostFocus = [&] {
    log_.push_back(Input().FocusedWidget(*form) == &ok ? "year left for OK" : "year left");
  };
  ok.events.Click = [&] {
    log_.push_back("ok");
    form->Hide();
  };
  Input().SetModalInteraction([&](platform::Form& shown) {
    Input().MoveFocus(shown, &year);
    Input().PressButton(ok);
    log_.push_back(shown.IsShown() ? "still shown" : "hidden");
  });
  form->ShowModal();
  EXPECT_EQ(log_, (Lines{"year left for OK", "ok", "hidden"}));
}

TEST_P(Contract, TheWindowCloseCommandRunsCloseOnce) {
  auto form = Toolkit().CreateForm(designs::AboutForm());
  int closes = 0;
  form->form_events.Close = [&] { ++closes; };
  Input().SetModalInteraction([&](platform::Form& shown) {
    Input().CloseForm(shown);
    EXPECT_FALSE(shown.IsShown());
    Input().CloseForm(shown);
  });
  form->ShowModal();
  EXPECT_EQ(closes, 1);

  // The next show is a show like the first.
  Input().SetModalInteraction([&](platform::Form& shown) { EXPECT_TRUE(shown.IsShown()); });
  form->ShowModal();
  EXPECT_EQ(closes, 2);
}

TEST_P(Contract, FailuresInsideTheModalShowComeBackFromIt) {
  auto form = Toolkit().CreateForm(designs::AboutForm());
  Input().SetModalInteraction([&](platform::Form& shown) {
    try {
      shown.ShowModal();
      ADD_FAILURE() << "a shown form cannot be shown again";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), 400);
    }
    throw Error(5, "the user fell over");
  });
  try {
    form->ShowModal();
    ADD_FAILURE() << "ShowModal should fail";
  } catch (const Error& e) {
    EXPECT_EQ(e.description(), "the user fell over");
  }
  EXPECT_FALSE(form->IsShown());

  // A button whose handler fails: the failure reaches the user's press.
  platform::CommandButton& close = form->GetCommandButton("cmdClose");
  close.events.Click = [] { throw Error(440, "close failed"); };
  Input().SetModalInteraction(
      [&](platform::Form&) { EXPECT_THROW(Input().PressButton(close), Error); });
  EXPECT_NO_THROW(form->ShowModal());
}

// The calendar button's road: its click opens a form modally, the user works
// the form from inside the nested loop, and the click handler goes on with
// the form's result once the show has ended.
TEST_P(Contract, AButtonOpensAModalFormThatTheUserWorksThrough) {
  platform::CommandButton& opener = ControlSurface().GetCommandButton("cmdCalendar");
  std::unique_ptr<platform::Form> form;
  opener.events.Click = [&] {
    form = Toolkit().CreateForm(designs::CalendarForm());
    platform::CommandButton& ok = form->GetCommandButton("cmdOK");
    ok.events.Click = [&] {
      log_.push_back("ok with year " + U8(form->GetTextBox("txtYear").Text()));
      form->Hide();
    };
    form->ShowModal();
    log_.push_back(form->IsShown() ? "back, still shown" : "back");
    form.reset();
  };
  Input().SetModalInteraction([&](platform::Form& shown) {
    platform::TextBox& year = shown.GetTextBox("txtYear");
    Type(shown, year, u"1999");
    Input().PressButton(shown.GetCommandButton("cmdOK"));
    log_.push_back(shown.IsShown() ? "still shown" : "hidden");
  });
  Input().PressButton(opener);
  Input().SetModalInteraction(nullptr);
  EXPECT_EQ(log_, (Lines{"ok with year 1999", "hidden", "back"}));
  EXPECT_EQ(form, nullptr);
}

TEST_P(Contract, FocusMovesBeforeLostFocusRuns) {
  platform::Surface& surface = ControlSurface();
  platform::TextBox& box = TxtDate();
  platform::CommandButton& button = surface.GetCommandButton("cmdCalendar");
  box.events.LostFocus = [&] {
    log_.push_back(Input().FocusedWidget(surface) == &button ? "lost to button" : "lost");
  };
  box.events.GotFocus = [&] { log_.push_back("got"); };
  Input().MoveFocus(surface, &box);
  Input().MoveFocus(surface, &button);
  box.SetFocus();
  Input().MoveFocus(surface, nullptr);
  EXPECT_EQ(Input().FocusedWidget(surface), nullptr);
  EXPECT_EQ(log_, (Lines{"got", "lost to button", "got", "lost"}));
}

INSTANTIATE_TEST_SUITE_P(Toolkits, Contract, ::testing::ValuesIn(Toolkits()), ToolkitName);

}  // namespace
}  // namespace morlex::testing_support
