// frmCalendar on the headless toolkit: the grid layout on the labels, the
// opening, the month and year fields, and the ways out of the dialog. After
// every step the dialog must still agree with itself: one valid date, its
// month and year in the fields and the grid, its day the one bordered cell.
#include "morlex/calendar/frm_calendar.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "morlex/calendar/month_fields.h"
#include "morlex/calendar/month_grid.h"
#include "morlex/core/date_text.h"
#include "morlex/core/error.h"
#include "morlex/designs/form_designs.h"
#include "morlex/headless/toolkit.h"

namespace morlex {
// Dates in failure messages as m/d/yyyy.
void PrintTo(const Date& date, std::ostream* os) {
  *os << date.month << "/" << date.day << "/" << date.year;
}
}  // namespace morlex

namespace {

using morlex::Date;
using morlex::frmCalendar;
using morlex::headless::Form;

constexpr Date kToday{2026, 12, 8};

class CalendarDialog : public testing::Test {
 protected:
  // Loads a fresh dialog and opens it on text; user acts while it is shown
  // (the headless form closes by its close command when user leaves it up).
  void Open(std::u16string_view text, std::function<void(Form&)> user = {}) {
    dialog_ =
        std::make_unique<frmCalendar>(toolkit_.CreateForm(morlex::designs::CalendarForm()), clock_);
    toolkit_.SetModalInteraction([user = std::move(user)](Form& form) {
      if (user) user(form);
    });
    dialog_->ShowCalendar(text);
  }

  frmCalendar& Dialog() { return *dialog_; }
  Form& DialogForm() { return dynamic_cast<Form&>(dialog_->GetForm()); }

  static void Type(Form& form, std::string_view box, std::u16string_view keys) {
    auto& text = form.Text(box);
    if (form.Focused() != &text) form.MoveFocus(&text);
    for (char16_t ch : keys) text.Type(ch);
  }

  // One valid date, mirrored everywhere. The year field is checked by value
  // (it shows 0999 after some month steps and 999 otherwise).
  void ExpectConsistent(Form& form) {
    const frmCalendar& d = *dialog_;
    const auto date = morlex::ReadDateText(d.DateText(), kToday.year);
    ASSERT_TRUE(date.has_value()) << "not a date: "
                                  << std::string(d.DateText().begin(), d.DateText().end());
    EXPECT_EQ(*date, d.ChosenDate());
    EXPECT_EQ(d.Month(), date->month);
    EXPECT_EQ(d.Year(), date->year);
    EXPECT_EQ(form.Text("txtMonth").Text(), morlex::calendar::MonthName(date->month));
    EXPECT_EQ(morlex::calendar::YearFieldValue(form.Text("txtYear").Text()), date->year);
    EXPECT_EQ(form.Caption(), morlex::FormatDate(*date, u"mmmm dd, yyyy"));
    const auto expected = morlex::calendar::FillMonthCells(date->month, date->year, date->day);
    int borders = 0;
    for (int i = 0; i < 42; ++i) {
      const auto& cell = form.Lbl("lblDay", i);
      EXPECT_EQ(cell.Caption(), expected[i].caption) << "cell " << i;
      EXPECT_EQ(cell.Enabled(), expected[i].enabled) << "cell " << i;
      EXPECT_EQ(cell.Bordered(), expected[i].bordered) << "cell " << i;
      borders += cell.Bordered() ? 1 : 0;
    }
    EXPECT_EQ(borders, 1);
  }

  morlex::headless::Toolkit toolkit_;
  morlex::platform::FixedClock clock_{kToday};
  std::unique_ptr<frmCalendar> dialog_;
};

// --- Load and layout -------------------------------------------------------------

TEST_F(CalendarDialog, LoadLaysOutCellsAndHeadingsFromTheDayArea) {
  dialog_ =
      std::make_unique<frmCalendar>(toolkit_.CreateForm(morlex::designs::CalendarForm()), clock_);
  Form& form = DialogForm();
  EXPECT_FALSE(Dialog().ReturnDate());
  const int tops[] = {15, 313, 611, 909, 1207, 1505};
  const int lefts[] = {15, 441, 867, 1293, 1719, 2145, 2571};
  for (int r = 0; r < 6; ++r) {
    for (int c = 0; c < 7; ++c) {
      const auto& cell = form.Lbl("lblDay", r * 7 + c);
      EXPECT_EQ(cell.Left(), lefts[c]);
      EXPECT_EQ(cell.Top(), tops[r]);
      EXPECT_EQ(cell.Width(), 396);
      EXPECT_EQ(cell.Height(), 268);
      EXPECT_EQ(cell.Alignment(), 2);
      EXPECT_EQ(cell.BackColor(), 0x00FFFFFFu);
      EXPECT_FALSE(cell.Bordered());
    }
  }
  const char16_t* names[] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  for (int i = 0; i < 7; ++i) {
    const auto& heading = form.Lbl("lblDayName", i);
    EXPECT_EQ(heading.Caption(), names[i]);
    EXPECT_EQ(heading.Left(), lefts[i]);
    EXPECT_EQ(heading.Top(), 600);  // as designed
    // Auto-size: the caption came after the width, so the text decides it.
    EXPECT_EQ(heading.Width(), morlex::headless::HeadlessTextWidth(names[i], 8.0F));
  }
}

TEST_F(CalendarDialog, FormWithoutItsWidgetsFailsToLoad) {
  morlex::platform::SurfaceDesign bare;
  bare.name = "frmCalendar";
  EXPECT_THROW(frmCalendar(toolkit_.CreateForm(bare), clock_), morlex::Error);
  EXPECT_THROW(frmCalendar(nullptr, clock_), morlex::Error);
  EXPECT_EQ(toolkit_.LiveForms(), 0);
}

// --- Opening ---------------------------------------------------------------------

TEST_F(CalendarDialog, OpensOnTheTextOrOnToday) {
  const struct {
    const char16_t* text;
    Date date;
    const char16_t* title;
    int marked;
  } cases[] = {
      {u"12/31/1999", {1999, 12, 31}, u"December 31, 1999", 33},
      {u"", kToday, u"December 08, 2026", 9},
      {u"2/30/1999", kToday, u"December 08, 2026", 9},
      {u"1/5/99", {1999, 1, 5}, u"January 05, 1999", 9},
      {u"13/5/1999", {1999, 5, 13}, u"May 13, 1999", 18},
      {u"1/5", {2026, 1, 5}, u"January 05, 2026", 8},
      {u"3/5/999", {999, 3, 5}, u"March 05, 0999", 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.title, c.title + std::char_traits<char16_t>::length(c.title)));
    bool checked = false;
    Open(c.text, [&](Form& form) {
      ExpectConsistent(form);
      EXPECT_EQ(Dialog().ChosenDate(), c.date);
      EXPECT_EQ(form.Caption(), c.title);
      EXPECT_EQ(Dialog().Cells()[c.marked].bordered, true);
      EXPECT_EQ(form.Text("txtYear").Text(), morlex::calendar::YearText(c.date.year, false));
      EXPECT_EQ(Dialog().OpeningDay(), c.date.day);
      // The focus starts in the month field with the whole name selected.
      EXPECT_EQ(form.Focused(), &form.Text("txtMonth"));
      EXPECT_EQ(form.Text("txtMonth").SelStart(), 0);
      EXPECT_EQ(form.Text("txtMonth").SelLength(),
                static_cast<int>(form.Text("txtMonth").Text().size()));
      checked = true;
    });
    EXPECT_TRUE(checked);
    EXPECT_FALSE(Dialog().ReturnDate());
  }
}

// --- Ways out ----------------------------------------------------------------------

TEST_F(CalendarDialog, OkUntouchedHandsBackTheTextPassedIn) {
  Open(u"1/5/99", [](Form& form) { form.Button("cmdOK").Press(); });
  EXPECT_TRUE(Dialog().ReturnDate());
  EXPECT_EQ(Dialog().DateText(), u"1/5/99");

  Open(u"", [](Form& form) { form.Button("cmdOK").Press(); });
  EXPECT_TRUE(Dialog().ReturnDate());
  EXPECT_EQ(morlex::ReadDateText(Dialog().DateText(), 2026), kToday);
}

TEST_F(CalendarDialog, CancelAndCloseLeaveTheFlagFalse) {
  const std::function<void(Form&)> endings[] = {
      [](Form& form) { form.Button("cmdCancel").Press(); }, [](Form& form) { form.CloseCommand(); },
      [](Form&) {},  // left up: the toolkit closes it
  };
  for (const auto& end : endings) {
    Open(u"3/15/1999", [&](Form& form) {
      Type(form, "txtMonth", u"D");
      form.Spin("spnYear").Press(true);
      form.Lbl("lblDay", 20).UserClick();
      end(form);
    });
    EXPECT_FALSE(Dialog().ReturnDate());
    EXPECT_FALSE(Dialog().GetForm().IsShown());
  }
}

TEST_F(CalendarDialog, DoubleClickPicksAndConfirms) {
  Open(u"12/31/1999", [](Form& form) {
    form.Lbl("lblDay", 9).UserDblClick();  // the 7th: December 1999 starts at cell 3
  });
  EXPECT_TRUE(Dialog().ReturnDate());
  EXPECT_EQ(Dialog().DateText(), u"12/7/1999");
  EXPECT_EQ(Dialog().GetForm().Caption(), u"December 07, 1999");
}

TEST_F(CalendarDialog, BlankCellsIgnoreClicksAndDoubleClicks) {
  Open(u"8/15/1999", [&](Form& form) {
    for (int blank : {0, 6, 38, 41}) {
      form.Lbl("lblDay", blank).UserClick();
      form.Lbl("lblDay", blank).UserDblClick();
    }
    EXPECT_TRUE(form.IsShown());
    EXPECT_EQ(Dialog().DateText(), u"8/15/1999");
    ExpectConsistent(form);
    // A toolkit that lets a click through to a blank cell all the same must
    // not make its empty caption a day.
    form.Lbl("lblDay", 0).SetEnabled(true);
    form.Lbl("lblDay", 0).UserClick();
    EXPECT_EQ(Dialog().DateText(), u"8/15/1999");
    form.Lbl("lblDay", 0).UserDblClick();
    EXPECT_TRUE(form.IsShown());
    EXPECT_EQ(Dialog().DateText(), u"8/15/1999");
    form.Button("cmdCancel").Press();
  });
}

TEST_F(CalendarDialog, ClickingADayChangesOnlyBordersDateAndTitle) {
  Open(u"3/5/1999", [&](Form& form) {
    const auto before = Dialog().Cells();
    form.Lbl("lblDay", 20).UserClick();  // the 20th (March 1999 starts at cell 1)
    EXPECT_EQ(Dialog().DateText(), u"3/20/1999");
    EXPECT_EQ(form.Caption(), u"March 20, 1999");
    for (int i = 0; i < 42; ++i) {
      EXPECT_EQ(Dialog().Cells()[i].caption, before[i].caption);
      EXPECT_EQ(Dialog().Cells()[i].enabled, before[i].enabled);
    }
    EXPECT_EQ(Dialog().OpeningDay(), 5);
    ExpectConsistent(form);
  });
}

TEST_F(CalendarDialog, ReopeningTheSameObjectStartsUnconfirmed) {
  Open(u"3/5/1999", [](Form& form) { form.Button("cmdOK").Press(); });
  ASSERT_TRUE(Dialog().ReturnDate());
  toolkit_.SetModalInteraction([](Form& form) { form.Button("cmdCancel").Press(); });
  Dialog().ShowCalendar(u"4/6/2001");
  EXPECT_FALSE(Dialog().ReturnDate());
}

// --- Month letters -------------------------------------------------------------------

TEST_F(CalendarDialog, MonthLettersTakeTheOpeningDayClampedToTheMonth) {
  const struct {
    const char16_t* open;
    const char16_t* keys;
    const char16_t* date;  // m_strDate after the keys
  } cases[] = {
      {u"1/15/1999", u"JJ", u"07/15/1999"},
      {u"7/15/1999", u"j", u"01/15/1999"},
      {u"3/15/1999", u"m", u"05/15/1999"},
      {u"8/15/1999", u"A", u"04/15/1999"},
      {u"2/15/1999", u"F", u"2/15/1999"},  // already February: nothing happens
      {u"3/15/1999", u"1 /.\b\r", u"3/15/1999"},
      // The opening day does not exist in the picked month: its last day.
      {u"1/31/1999", u"A", u"04/30/1999"},
      {u"1/30/1999", u"F", u"02/28/1999"},
      {u"1/30/2000", u"F", u"02/29/2000"},
      // ...and the opening day comes back where it exists again.
      {u"1/31/1999", u"AS", u"09/30/1999"},
      {u"1/31/1999", u"AD", u"12/31/1999"},
      {u"1/30/2000", u"FM", u"03/30/2000"},
  };
  for (const auto& c : cases) {
    Open(c.open, [&](Form& form) {
      Type(form, "txtMonth", c.keys);
      EXPECT_EQ(Dialog().DateText(), c.date);
      EXPECT_TRUE(form.IsShown());  // not even Enter confirms
      ExpectConsistent(form);
      // No key ever reaches the text, and the whole name stays selected.
      const auto& month = form.Text("txtMonth");
      EXPECT_EQ(month.SelStart(), 0);
      EXPECT_EQ(month.SelLength(), static_cast<int>(month.Text().size()));
    });
  }
}

TEST_F(CalendarDialog, MonthLetterUsesTheOpeningDayNotTheClickedOne) {
  Open(u"3/15/1999", [&](Form& form) {
    form.Lbl("lblDay", 20).UserClick();  // the 20th
    Type(form, "txtMonth", u"N");
    EXPECT_EQ(Dialog().DateText(), u"11/15/1999");
    EXPECT_EQ(Dialog().Cells()[15 + 1 - 1].bordered, true);  // November 1999 starts at cell 1
    ExpectConsistent(form);
  });
}

// --- Spins ---------------------------------------------------------------------------

TEST_F(CalendarDialog, MonthAndYearSpins) {
  const struct {
    const char16_t* open;
    const char* presses;  // M/m month up/down, Y/y year up/down
    Date date;
    const char16_t* year_text;
  } cases[] = {
      {u"1/31/1999", "M", {1999, 2, 28}, u"1999"},
      {u"1/31/1999", "MM", {1999, 3, 28}, u"1999"},  // the day does not grow back
      {u"1/31/2000", "M", {2000, 2, 29}, u"2000"},
      {u"12/15/1999", "M", {2000, 1, 15}, u"2000"},
      {u"1/15/2000", "m", {1999, 12, 15}, u"1999"},
      {u"1/15/1000", "m", {999, 12, 15}, u"0999"},  // a month step writes four digits
      {u"12/15/999", "M", {1000, 1, 15}, u"1000"},
      {u"3/1/1000", "y", {999, 3, 1}, u"999"},  // a year step writes plain digits
      {u"2/29/2000", "Y", {2001, 2, 28}, u"2001"},
      {u"2/29/2000", "y", {1999, 2, 28}, u"1999"},
      {u"2/29/2000", "YyYy", {2000, 2, 28}, u"2000"},
      // Steps past the first or last month of the range are refused.
      {u"12/15/9999", "M", {9999, 12, 15}, u"9999"},
      {u"1/15/100", "m", {100, 1, 15}, u"100"},
      {u"6/15/9999", "Y", {9999, 6, 15}, u"9999"},
      {u"6/15/100", "y", {100, 6, 15}, u"100"},
      {u"12/31/9999", "MmM", {9999, 12, 30}, u"9999"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.presses);
    Open(c.open, [&](Form& form) {
      for (const char* p = c.presses; *p != '\0'; ++p) {
        const bool month = *p == 'M' || *p == 'm';
        auto& spin = form.Spin(month ? "spnMonth" : "spnYear");
        spin.Press(*p == 'M' || *p == 'Y');
        EXPECT_EQ(spin.Value(), 0);  // back at rest after every step
        ExpectConsistent(form);
      }
      EXPECT_EQ(Dialog().ChosenDate(), c.date);
      EXPECT_EQ(form.Text("txtYear").Text(), c.year_text);
    });
  }
}

// --- Year field ----------------------------------------------------------------------

TEST_F(CalendarDialog, TypedYearAppliesOnEnterOrLeaving) {
  enum class Then { kEnter, kLeave, kOk, kNothing };
  const struct {
    const char16_t* open;
    const char16_t* typed;  // after clearing the field
    Then then;
    Date date;
    const char16_t* year_text;
  } cases[] = {
      {u"3/15/1999", u"2004", Then::kEnter, {2004, 3, 15}, u"2004"},
      {u"3/15/1999", u"2004", Then::kLeave, {2004, 3, 15}, u"2004"},
      {u"3/15/1999", u"2004", Then::kOk, {2004, 3, 15}, u"2004"},
      {u"3/15/1999", u"2004", Then::kNothing, {1999, 3, 15}, u"2004"},
      {u"3/15/1999", u"99", Then::kEnter, {1999, 3, 15}, u"1999"},
      {u"3/15/1999", u"5", Then::kEnter, {2005, 3, 15}, u"2005"},
      {u"3/15/1999", u"999", Then::kEnter, {999, 3, 15}, u"999"},
      {u"2/29/2000", u"2001", Then::kEnter, {2001, 2, 28}, u"2001"},  // no 29th in 2001
      {u"2/29/2000", u"2004", Then::kEnter, {2004, 2, 29}, u"2004"},
      // Years outside 100 to 9999 are refused; the year in force shows again.
      {u"3/15/1999", u"0050", Then::kEnter, {1999, 3, 15}, u"1999"},
      {u"3/15/1999", u"050", Then::kLeave, {1999, 3, 15}, u"1999"},
      {u"3/15/1999", u"000", Then::kOk, {1999, 3, 15}, u"1999"},
  };
  for (const auto& c : cases) {
    Open(c.open, [&](Form& form) {
      auto& year = form.Text("txtYear");
      Type(form, "txtYear", u"\b\b\b\b");
      Type(form, "txtYear", c.typed);
      switch (c.then) {
        case Then::kEnter:
          year.Type(u'\r');
          EXPECT_EQ(year.SelLength(), static_cast<int>(year.Text().size()));
          break;
        case Then::kLeave:
          form.MoveFocus(&form.Text("txtMonth"));
          break;
        case Then::kOk:
          form.Button("cmdOK").Press();
          break;
        case Then::kNothing:
          form.Lbl("lblDay", 15).UserClick();  // clicking a day applies nothing
          break;
      }
      EXPECT_EQ(Dialog().ChosenDate(), c.date);
      EXPECT_EQ(year.Text(), c.year_text);
      if (c.then != Then::kNothing) ExpectConsistent(form);
    });
  }
}

TEST_F(CalendarDialog, YearFieldTakesDigitsAndBackspaceOnly) {
  Open(u"3/15/1999", [&](Form& form) {
    auto& year = form.Text("txtYear");
    Type(form, "txtYear", u"\b\b\b\b");
    EXPECT_EQ(year.Text(), u"");
    year.Type(u'\r');  // empty: nothing happens
    EXPECT_EQ(Dialog().DateText(), u"3/15/1999");
    Type(form, "txtYear", u"2a0b-0 5.");
    EXPECT_EQ(year.Text(), u"2005");
    Type(form, "txtYear", u"7");  // a fifth digit does not fit
    EXPECT_EQ(year.Text(), u"2005");
    Type(form, "txtYear", u"\b4");
    EXPECT_EQ(year.Text(), u"2004");
    EXPECT_EQ(Dialog().DateText(), u"3/15/1999");
    year.Type(u'\r');
    EXPECT_EQ(Dialog().DateText(), u"3/15/2004");
  });
}

TEST_F(CalendarDialog, OkTakesATypedYearEvenWithoutAFocusChange) {
  Open(u"3/15/1999", [&](Form& form) {
    Type(form, "txtYear", u"2004");
    form.Button("cmdOK").events.Click();  // pressed without the focus moving to it
  });
  EXPECT_TRUE(Dialog().ReturnDate());
  EXPECT_EQ(Dialog().ChosenDate(), (Date{2004, 3, 15}));
}

TEST_F(CalendarDialog, EnterOnTheYearInForceChangesNothing) {
  Open(u"03/15/1999", [&](Form& form) {
    Type(form, "txtYear", u"\r");
    EXPECT_EQ(Dialog().DateText(), u"03/15/1999");  // not even rewritten
    form.MoveFocus(&form.Text("txtMonth"));
    EXPECT_EQ(Dialog().DateText(), u"03/15/1999");
    EXPECT_EQ(form.Text("txtYear").SelLength(), 0);
  });
}

}  // namespace

// --- Keys on the day grid ----------------------------------------------------------

TEST_F(CalendarDialog, GridKeysMoveTheChosenDayAndSpaceConfirms) {
  using morlex::platform::KeyDownArgs;
  using morlex::platform::NavKey;
  Open(u"1/31/1999", [this](Form& form) {
    auto& grid = dynamic_cast<morlex::headless::PictureBox&>(form.GetPictureBox("picDays"));
    form.MoveFocus(&grid);
    const struct {
      KeyDownArgs key;
      Date chosen;
    } steps[] = {
        {{NavKey::kRight}, {1999, 2, 1}},  // into the next month: the grid refills
        {{NavKey::kEnd}, {1999, 2, 28}},  {{NavKey::kPageDown, false, true}, {2000, 2, 28}},
        {{NavKey::kDown}, {2000, 3, 6}},  {{NavKey::kPageUp}, {2000, 2, 6}},
        {{NavKey::kHome}, {2000, 2, 1}},  {{NavKey::kUp}, {2000, 1, 25}},
    };
    for (const auto& step : steps) {
      grid.PressKey(step.key);
      EXPECT_EQ(Dialog().ChosenDate(), step.chosen);
      ExpectConsistent(form);
    }
    EXPECT_TRUE(form.IsShown());
    grid.PressKey({NavKey::kSpace});
    EXPECT_FALSE(form.IsShown());
  });
  EXPECT_TRUE(Dialog().ReturnDate());
  EXPECT_EQ(Dialog().ChosenDate(), (Date{2000, 1, 25}));
}

TEST_F(CalendarDialog, TodayIsBoldAndEveryDayCellNamesItsDate) {
  Open(u"12/31/2026", [](Form& form) {
    for (int i = 0; i < 42; ++i) {
      const auto& cell = form.Lbl("lblDay", i);
      // December 2026 begins on a Tuesday: the 8th is cell 9.
      EXPECT_EQ(cell.Bold(), i == 9) << "cell " << i;
      const std::optional<Date> day =
          cell.Enabled() ? std::optional<Date>(Date{2026, 12, i - 1}) : std::nullopt;
      EXPECT_EQ(cell.Day(), day) << "cell " << i;
    }
    // Another month has no today.
    form.Spin("spnMonth").Press(true);
    for (int i = 0; i < 42; ++i) EXPECT_FALSE(form.Lbl("lblDay", i).Bold()) << "cell " << i;
  });
}

TEST_F(CalendarDialog, GridKeysStayInsideTheRange) {
  using morlex::platform::NavKey;
  dialog_ =
      std::make_unique<frmCalendar>(toolkit_.CreateForm(morlex::designs::CalendarForm()), clock_);
  Dialog().SetRange({1999, 3, 10}, {1999, 3, 20});
  toolkit_.SetModalInteraction([this](Form& form) {
    auto& grid = dynamic_cast<morlex::headless::PictureBox&>(form.GetPictureBox("picDays"));
    form.MoveFocus(&grid);
    grid.PressKey({NavKey::kHome});  // the 1st cannot be picked: nothing moves
    grid.PressKey({NavKey::kLeft});
    EXPECT_EQ(Dialog().ChosenDate(), (Date{1999, 3, 10}));
    grid.PressKey({NavKey::kTab});  // not the grid's key: the focus moves on
    EXPECT_NE(form.Focused(), &grid);
    form.Hide();
  });
  Dialog().ShowCalendar(u"3/11/1999");
}
