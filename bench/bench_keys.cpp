// The cost of the field's keystroke and spin handling on the headless
// toolkit, end to end (key preview, key handler, the box's own insertion,
// key release, change handling and the events to a connected sink), and of
// the pure rules underneath.
#include <benchmark/benchmark.h>

#include "headless_field.h"
#include "morlex/core/keystroke_editor.h"
#include "morlex/core/spinning.h"

namespace {

// Seconds per key rather than per iteration.
void PerKey(benchmark::State& state, double keys_per_iteration) {
  state.counters["per_key"] =
      benchmark::Counter(keys_per_iteration, benchmark::Counter::kIsIterationInvariantRate |
                                                 benchmark::Counter::kInvert);
}

// Typing a whole date into an empty field, then emptying it for the next
// round.
void BM_TypeDateDigits(benchmark::State& state) {
  morlex::bench::HeadlessField f;
  for (auto _ : state) {
    f.TypeDate();
    benchmark::DoNotOptimize(f.sink->changes);
  }
  if (f.Text().Text() != u"01/05/1999" || f.sink->errors != 0) state.SkipWithError("wrong text");
  PerKey(state, 8);
}
BENCHMARK(BM_TypeDateDigits);

// Overwriting the digits of a complete date, the most expensive rule (the
// handler rewrites the text itself), from the caret at 0 to the end.
void BM_OverwriteDigits(benchmark::State& state) {
  morlex::bench::HeadlessField f;
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
  morlex::bench::HeadlessField f;
  f.PrepareSpin();
  for (auto _ : state) f.SpinUpDown();
  if (f.Text().Text() != u"01/31/1999" || f.sink->errors != 0) state.SkipWithError("wrong text");
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
