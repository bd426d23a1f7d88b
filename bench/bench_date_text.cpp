// Reading and rendering date text: IsDateText + RenderDate to "mm/dd/yyyy"
// over a fixed mix of realistic inputs, valid and not.
#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

#include "morlex/core/date_text.h"

namespace {

constexpr std::array<std::u16string_view, 12> kInputs = {
    u"1/5/99",    u"01/05/1999", u"12/31/1999", u"2/29/2000", u"13/5/1999", u"1/5",
    u"2/30/1999", u"abc",        u" 1/5/99 ",   u"7/4/1776",  u"12/25/29",  u"",
};

void BM_IsDateTextAndRender(benchmark::State& state) {
  std::size_t produced = 0;
  for (auto _ : state) {
    for (const auto text : kInputs) {
      if (morlex::IsDateText(text, 2026)) {
        const auto out = morlex::RenderDate(text, u"mm/dd/yyyy", 2026);
        produced += out.size();
      }
    }
  }
  benchmark::DoNotOptimize(produced);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kInputs.size()));
}
BENCHMARK(BM_IsDateTextAndRender);

void BM_ReadDateText(benchmark::State& state) {
  for (auto _ : state) {
    for (const auto text : kInputs) benchmark::DoNotOptimize(morlex::ReadDateText(text, 2026));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kInputs.size()));
}
BENCHMARK(BM_ReadDateText);

}  // namespace
