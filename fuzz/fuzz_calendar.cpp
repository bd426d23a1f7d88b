// The calendar dialog played by a random user: month letters and any other
// key in the month field, keys and Enter in the year field, both spins, clicks
// and double-clicks on any cell, focus changes, OK, Cancel and the close
// command. After every action the dialog holds one valid date in the years
// 100 to 9999 that its month, year, title, month field and grid agree with,
// and exactly one cell (the chosen day's) has the border. A dialog confirms
// only by OK or a double-click on a day.
//
// Input: today as "YYYYMMDD" (eight bytes, any of them may be junk), the
// opening text up to ';', then actions (see DialogAction). A dialog that
// closes while actions remain opens again on its own result, as a field
// would.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "byte_script.h"
#include "morlex/calendar/frm_calendar.h"
#include "morlex/calendar/month_fields.h"
#include "morlex/core/date_text.h"
#include "morlex/core/error.h"
#include "morlex/designs/form_designs.h"
#include "morlex/host/binding.h"
#include "morlex/host/stage.h"
#include "morlex/platform/clock.h"

namespace {

using morlex::Date;
using morlex::fuzz::ByteScript;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

std::string U8(std::u16string_view s) {
  std::string out;
  for (char16_t ch : s) out.push_back(ch < 0x80 ? static_cast<char>(ch) : '?');
  return out;
}

Date Today(ByteScript& in) {
  int digits[8];
  for (int& d : digits) d = in.Byte() % 10;
  const int written = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
  const int year = written < morlex::kMinYear ? morlex::kMinYear + written : written;
  const int month = 1 + (digits[4] * 10 + digits[5]) % 12;
  const int day = 1 + (digits[6] * 10 + digits[7]) % morlex::DaysInMonth(year, month);
  return {year, month, day};
}

void CheckDialog(morlex::frmCalendar& dialog, int reading_year, const std::string& where) {
  const Date chosen = dialog.ChosenDate();
  if (!chosen.ok() || chosen.year < morlex::kMinYear || chosen.year > morlex::kMaxYear) {
    Fail(where + ": the chosen date is no date");
  }
  const auto read = morlex::ReadDateText(dialog.DateText(), reading_year);
  if (!read || *read != chosen) Fail(where + ": DateText " + U8(dialog.DateText()));
  if (dialog.Month() != chosen.month || dialog.Year() != chosen.year) {
    Fail(where + ": month or year differ from the date");
  }
  morlex::platform::Form& form = dialog.GetForm();
  if (form.Caption() != morlex::FormatDate(chosen, u"mmmm dd, yyyy")) {
    Fail(where + ": title " + U8(form.Caption()));
  }
  if (form.GetTextBox("txtMonth").Text() != morlex::calendar::MonthName(chosen.month)) {
    Fail(where + ": month field");
  }
  const std::u16string year_text = form.GetTextBox("txtYear").Text();
  if (year_text.size() > 4) Fail(where + ": year field longer than four");
  for (char16_t ch : year_text) {
    if (ch < u'0' || ch > u'9') Fail(where + ": year field holds " + U8(year_text));
  }

  const morlex::calendar::MonthCells expected =
      morlex::calendar::FillMonthCells(chosen.month, chosen.year, chosen.day);
  int bordered = 0;
  for (int i = 0; i < morlex::calendar::kCells; ++i) {
    const morlex::platform::Label& cell = form.GetLabel("lblDay", i);
    const auto& model = expected[static_cast<std::size_t>(i)];
    if (cell.Caption() != model.caption || cell.Enabled() != model.enabled) {
      Fail(where + ": cell " + std::to_string(i) + " is not the month's");
    }
    if (cell.Bordered()) {
      ++bordered;
      if (!model.bordered) Fail(where + ": border on cell " + std::to_string(i));
    }
  }
  if (bordered != 1) Fail(where + ": " + std::to_string(bordered) + " bordered cells");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 2048) return 0;
  ByteScript in(data, size);
  const Date today = Today(in);
  const morlex::platform::FixedClock clock(today);
  auto binding = morlex::host::MakeHeadlessBinding();
  morlex::host::UserInput& input = binding->Input();

  std::u16string opening = in.Text(24);
  for (int opened = 0; opened < 16; ++opened) {
    auto dialog = std::make_unique<morlex::frmCalendar>(
        binding->GetToolkit().CreateForm(morlex::designs::CalendarForm()), clock);
    std::string last;  // the last action
    input.SetModalInteraction([&](morlex::platform::Form& form) {
      morlex::host::DialogUser user(input, form);
      CheckDialog(*dialog, today.year, "opening on " + U8(opening));
      for (int step = 0; !in.Done() && user.Shown() && step < 300; ++step) {
        const std::string action = morlex::fuzz::DialogAction(in, user);
        CheckDialog(*dialog, today.year, "step " + std::to_string(step) + " (" + action + ")");
        last = action;
      }
    });
    dialog->ShowCalendar(opening);
    input.SetModalInteraction(nullptr);
    // A double-click on a blank cell does nothing, so it confirms nothing.
    if (dialog->ReturnDate() && last != "ok" && last != "double-click cell") {
      Fail("confirmed by " + last);
    }
    if (last == "ok" && !dialog->ReturnDate()) Fail("OK did not confirm");
    if (dialog->GetForm().IsShown()) Fail("the dialog is still shown");
    if (in.Done()) break;
    opening = dialog->DateText();
  }
  return 0;
}
