// The field's reading and rendering of date text against the libraries a
// user would otherwise pick, in the same run (see date_text_kernels.h).
// Items are inputs: the per-item time is the cost of one date text.
#include <benchmark/benchmark.h>

#include "date_text_kernels.h"

namespace {

using morlex::bench::kDateTextInputs;

template <typename Kernel>
void Run(benchmark::State& state, Kernel& kernel) {
  std::size_t produced = 0;
  for (auto _ : state) produced += kernel.Pass();
  benchmark::DoNotOptimize(produced);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kDateTextInputs.size()));
}

void BM_DateText_Morlex(benchmark::State& state) {
  morlex::bench::MorlexDateText kernel;
  Run(state, kernel);
}
BENCHMARK(BM_DateText_Morlex);

void BM_DateText_Sscanf(benchmark::State& state) {
  morlex::bench::SscanfDateText kernel;
  Run(state, kernel);
}
BENCHMARK(BM_DateText_Sscanf);

#ifdef MORLEX_BENCH_HAVE_QT
void BM_DateText_Qt(benchmark::State& state) {
  morlex::bench::QtDateText kernel;
  Run(state, kernel);
}
BENCHMARK(BM_DateText_Qt);
#endif

#ifdef MORLEX_BENCH_HAVE_ICU
void BM_DateText_ICU(benchmark::State& state) {
  morlex::bench::IcuDateText kernel;
  if (!kernel.ok()) {
    state.SkipWithError("ICU date formats unavailable");
    return;
  }
  Run(state, kernel);
}
BENCHMARK(BM_DateText_ICU);
#endif

#ifdef MORLEX_BENCH_HAVE_HINNANT_DATE
void BM_DateText_HinnantDate(benchmark::State& state) {
  morlex::bench::HinnantDateText kernel;
  Run(state, kernel);
}
BENCHMARK(BM_DateText_HinnantDate);
#endif

}  // namespace
