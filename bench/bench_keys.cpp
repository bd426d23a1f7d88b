// The cost of the field's keystroke and spin handling on the headless
// toolkit, end to end (key preview, key handler, the box's own insertion,
// key release, change handling and the events to a connected sink), and of
// the pure rules underneath.
#include <benchmark/benchmark.h>

#include <memory>

#include "morlex/control/morlex_date.h"
#include "morlex/core/keystroke_editor.h"
#include "morlex/core/spinning.h"
#include "morlex/headless/host.h"
#include "morlex/headless/toolkit.h"
#include "morlex/platform/clock.h"

namespace {

class CountingSink final : public morlex::MorlexDateEvents {
 public:
  void DateChanged() override { ++changes; }
  void DateError(morlex::ErrObject&, std::u16string&) override { ++errors; }
  long changes = 0;
  long errors = 0;
};

// One field in a host, with a sink connected, as a running application has it.
struct Field {
  Field() : clock({2026, 12, 8}) {
    policy.clock = &clock;
    host = std::make_unique<morlex::headless::TestHost>(policy);
    control = std::make_unique<morlex::MorlexDate>(*host, toolkit);
    host->Attach(control.get(), toolkit.LastControlSurface());
    control->InitProperties();
    control->Resize();
    control->Advise(sink);
  }
  morlex::headless::TextBox& Text() { return toolkit.LastControlSurface()->Text("txtDate"); }
  morlex::headless::UpDown& Spin() { return toolkit.LastControlSurface()->Spin("spinCTL"); }

  morlex::platform::FixedClock clock;
  morlex::headless::HostPolicy policy;
  morlex::headless::Toolkit toolkit;
  std::unique_ptr<morlex::headless::TestHost> host;
  std::unique_ptr<morlex::MorlexDate> control;
  std::shared_ptr<CountingSink> sink = std::make_shared<CountingSink>();
};

// Seconds per key rather than per iteration.
void PerKey(benchmark::State& state, double keys_per_iteration) {
  state.counters["per_key"] =
      benchmark::Counter(keys_per_iteration, benchmark::Counter::kIsIterationInvariantRate |
                                                 benchmark::Counter::kInvert);
}

// Typing a whole date into an empty field: every digit of 01051999 takes
// the path of its own (plain insertion, separator insertion), then the field
// is emptied for the next round.
void BM_TypeDateDigits(benchmark::State& state) {
  Field f;
  auto& box = f.Text();
  constexpr char16_t kDigits[] = u"01051999";
  for (auto _ : state) {
    box.SetText(u"");
    for (int i = 0; i < 8; ++i) box.Type(kDigits[i]);
    benchmark::DoNotOptimize(f.sink->changes);
  }
  if (box.Text() != u"01/05/1999" || f.sink->errors != 0) state.SkipWithError("wrong text");
  PerKey(state, 8);
}
BENCHMARK(BM_TypeDateDigits);

// Overwriting the digits of a complete date, the most expensive rule (the
// handler rewrites the text itself), from the caret at 0 to the end.
void BM_OverwriteDigits(benchmark::State& state) {
  Field f;
  auto& box = f.Text();
  box.SetText(u"01/05/1999");
  constexpr char16_t kDigits[] = u"12251998";
  for (auto _ : state) {
    box.MoveCaret(0, 0);
    for (int i = 0; i < 8; ++i) box.Type(kDigits[i]);
  }
  if (box.Text() != u"12/25/1998" || f.sink->errors != 0) state.SkipWithError("wrong text");
  PerKey(state, 8);
}
BENCHMARK(BM_OverwriteDigits);

// A press on an arrow: the day steps up and back down, each press a full
// step (read, step, render, caret, change handling, reset of the indicator).
void BM_SpinStep(benchmark::State& state) {
  Field f;
  auto& box = f.Text();
  box.SetText(u"01/31/1999");
  box.ClickAt(4);
  auto& spin = f.Spin();
  for (auto _ : state) {
    spin.Press(true);
    spin.Press(false);
  }
  if (box.Text() != u"01/31/1999" || f.sink->errors != 0) state.SkipWithError("wrong text");
  PerKey(state, 2);
}
BENCHMARK(BM_SpinStep);

// The pure rules alone: the decision for a digit on a complete date.
void BM_DecideDigit(benchmark::State& state) {
  const std::u16string text = u"01/05/1999";
  int caret = 0;
  for (auto _ : state) {
    const morlex::Slashes s = morlex::FindSlashes(text);
    benchmark::DoNotOptimize(morlex::DecideKey(u'7', text, caret, s, 4));
    caret = (caret + 1) % 11;
  }
}
BENCHMARK(BM_DecideDigit);

void BM_SpinDateText(benchmark::State& state) {
  const std::u16string text = u"01/31/1999";
  for (auto _ : state) {
    benchmark::DoNotOptimize(morlex::SpinDateText(text, 1, 1, u"mm/dd/yyyy", 2026));
  }
}
BENCHMARK(BM_SpinDateText);

}  // namespace
