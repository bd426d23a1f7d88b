#pragma once
// One field on the headless toolkit in a host, with a sink connected, as a
// running application has it, and the user's actions the benchmarks repeat.
// Shared by the timed benchmarks and by the instruction counter.

#include <memory>
#include <string_view>

#include "morlex/calendar/frm_calendar.h"
#include "morlex/control/morlex_date.h"
#include "morlex/designs/form_designs.h"
#include "morlex/headless/host.h"
#include "morlex/headless/toolkit.h"
#include "morlex/platform/clock.h"

namespace morlex::bench {

class CountingSink final : public MorlexDateEvents {
 public:
  void DateChanged() override { ++changes; }
  void DateError(ErrObject&, std::u16string&) override { ++errors; }
  long changes = 0;
  long errors = 0;
};

struct HeadlessField {
  HeadlessField() : clock({2026, 12, 8}) {
    policy.clock = &clock;
    host = std::make_unique<headless::TestHost>(policy);
    control = std::make_unique<MorlexDate>(*host, toolkit);
    host->Attach(control.get(), toolkit.LastControlSurface());
    control->InitProperties();
    control->Resize();
    control->Advise(sink);
  }
  headless::TextBox& Text() { return toolkit.LastControlSurface()->Text("txtDate"); }
  headless::UpDown& Spin() { return toolkit.LastControlSurface()->Spin("spinCTL"); }

  // Empties the field and types 01051999: every digit takes the path of its
  // own (plain insertion, separator insertion). Leaves "01/05/1999".
  void TypeDate() {
    auto& box = Text();
    box.SetText(u"");
    for (const char16_t digit : std::u16string_view(u"01051999")) box.Type(digit);
  }

  // From "01/31/1999" with the caret in the day: one step up, one down.
  void PrepareSpin() {
    Text().SetText(u"01/31/1999");
    Text().ClickAt(4);
  }
  void SpinUpDown() {
    auto& spin = Spin();
    spin.Press(true);
    spin.Press(false);
  }

  platform::FixedClock clock;
  headless::HostPolicy policy;
  headless::Toolkit toolkit;
  std::unique_ptr<headless::TestHost> host;
  std::unique_ptr<MorlexDate> control;
  std::shared_ptr<CountingSink> sink = std::make_shared<CountingSink>();
};

// Opens the calendar on 1/31/2000 and, while it is shown, calls
// step(spin_of_the_month) as often as the caller's loop wants; each press
// of the month's arrow refills all 42 cells.
template <typename Loop>
void WithOpenCalendar(Loop&& loop) {
  headless::Toolkit toolkit;
  const platform::FixedClock clock({2026, 12, 8});
  frmCalendar dialog(toolkit.CreateForm(designs::CalendarForm()), clock);
  toolkit.SetModalInteraction([&loop](headless::Form& form) { loop(form.Spin("spnMonth")); });
  dialog.ShowCalendar(u"1/31/2000");
}

}  // namespace morlex::bench
