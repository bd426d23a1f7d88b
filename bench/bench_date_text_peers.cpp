// The field's reading and rendering of date text against the libraries a
// user would otherwise pick, in the same run (see date_text_kernels.h).
// Items are inputs: the per-item time is the cost of one date text.
#include <benchmark/benchmark.h>

#include "date_text_kernels.h"

namespace {

using morlex::bench::kDateTextInputs;

// One pass of Kernel over the inputs for each iteration; a kernel that can
// say it is unusable (ok()) is skipped with the reason.
template <typename Kernel>
void DateText(benchmark::State& state) {
  Kernel kernel;
  if constexpr (requires { kernel.ok(); }) {
    if (!kernel.ok()) {
      state.SkipWithError("date formats unavailable");
      return;
    }
  }
  std::size_t produced = 0;
  for (auto _ : state) produced += kernel.Pass();
  benchmark::DoNotOptimize(produced);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kDateTextInputs.size()));
}

BENCHMARK(DateText<morlex::bench::MorlexDateText>)->Name("BM_DateText_Morlex");
BENCHMARK(DateText<morlex::bench::SscanfDateText>)->Name("BM_DateText_Sscanf");
#ifdef MORLEX_BENCH_HAVE_QT
BENCHMARK(DateText<morlex::bench::QtDateText>)->Name("BM_DateText_Qt");
#endif
#ifdef MORLEX_BENCH_HAVE_ICU
BENCHMARK(DateText<morlex::bench::IcuDateText>)->Name("BM_DateText_ICU");
#endif
#ifdef MORLEX_BENCH_HAVE_HINNANT_DATE
BENCHMARK(DateText<morlex::bench::HinnantDateText>)->Name("BM_DateText_HinnantDate");
#endif

}  // namespace
