// The cost of opening the calendar pop-up on the headless toolkit: building
// the form, laying out the grid, filling the month and closing again, and the
// month fill on its own.
#include <benchmark/benchmark.h>

#include <memory>

#include "headless_field.h"
#include "morlex/calendar/frm_calendar.h"
#include "morlex/calendar/month_grid.h"
#include "morlex/designs/form_designs.h"
#include "morlex/headless/toolkit.h"
#include "morlex/platform/clock.h"

namespace {

// Load, layout, fill, modal show (closed at once by the window's close
// command, as the headless toolkit does without a user), unload.
void BM_CalendarOpenClose(benchmark::State& state) {
  morlex::headless::Toolkit toolkit;
  const morlex::platform::FixedClock clock({2026, 12, 8});
  for (auto _ : state) {
    auto dialog = std::make_unique<morlex::frmCalendar>(
        toolkit.CreateForm(morlex::designs::CalendarForm()), clock);
    dialog->ShowCalendar(u"3/15/1999");
    benchmark::DoNotOptimize(dialog->ReturnDate());
    dialog.reset();
  }
}
BENCHMARK(BM_CalendarOpenClose);

// A month step on an open dialog: the date arithmetic, both fields and the
// refill of all 42 cells.
void BM_CalendarSpinMonth(benchmark::State& state) {
  morlex::bench::WithOpenCalendar([&state](morlex::headless::UpDown& spin) {
    bool up = true;
    for (auto _ : state) {
      spin.Press(up);
      up = !up;
    }
  });
}
BENCHMARK(BM_CalendarSpinMonth);

void BM_FillMonthCells(benchmark::State& state) {
  int month = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(morlex::calendar::FillMonthCells(month, 1999, 15));
    month = month % 12 + 1;
  }
}
BENCHMARK(BM_FillMonthCells);

}  // namespace
