// Saving and loading the field's settings, and the bag file's text.
#include <benchmark/benchmark.h>

#include "headless_field.h"
#include "morlex/control/morlex_date.h"
#include "morlex/headless/host.h"
#include "morlex/headless/property_bag.h"
#include "morlex/headless/toolkit.h"
#include "morlex/storage/property_bag_file.h"

namespace {

using Field = morlex::bench::HeadlessField;

void BM_SaveToMemoryBag(benchmark::State& state) {
  Field field;
  for (auto _ : state) {
    morlex::headless::MemoryPropertyBag bag;
    field.control->WriteProperties(bag);
    benchmark::DoNotOptimize(bag);
  }
}
BENCHMARK(BM_SaveToMemoryBag);

void BM_LoadNewControlFromBagFileText(benchmark::State& state) {
  Field field;
  morlex::storage::FilePropertyBag saved;
  field.control->WriteProperties(saved);
  const std::string text = saved.Serialize();
  for (auto _ : state) {
    auto bag = morlex::storage::FilePropertyBag::Parse(text);
    Field loaded;
    loaded.control->ReadProperties(bag);
    benchmark::DoNotOptimize(loaded);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LoadNewControlFromBagFileText);

void BM_ParseHostileBagFile(benchmark::State& state) {
  // The largest file the reader accepts, all of it one huge array.
  std::string text = R"({"format": "MorlexDate property bag", "properties": {"A": [)";
  while (text.size() < morlex::storage::kMaxBagFileSize - 2) text += "0,";
  text += "0]}}";
  for (auto _ : state) {
    auto bag = morlex::storage::FilePropertyBag::Parse(text);
    benchmark::DoNotOptimize(bag);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseHostileBagFile);

}  // namespace
