#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs each
# for SECONDS (default 60) from its seed corpus in fuzz/corpus/NAME. New
# inputs go to build-fuzz/corpus/NAME, crashes to build-fuzz/crashes/.
#   bash fuzz/run.sh [SECONDS] [TARGET...]
# With MORLEX_FUZZ_RUNS=N each target runs N inputs from a fixed seed
# instead, so that a short run (the test command's smoke) is repeatable.
# With MORLEX_FUZZ_KEEP=1, what a run found is merged back into
# fuzz/corpus/NAME: only inputs that reach code no kept input reaches, so the
# seeds stay small enough to keep in the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMORLEX_BUILD_FUZZ=ON -DMORLEX_SANITIZE=ON -DMORLEX_BUILD_TESTS=OFF -DMORLEX_BUILD_QT=OFF \
  >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp | sed 's/^fuzz_//')"); done
fi
# Only the fuzz targets: the loadable module does not link with clang's
# static sanitizer runtimes, and the fuzzers do not need it.
cmake --build build-fuzz -j "$(nproc 2>/dev/null || echo 2)" \
  $(printf -- '--target fuzz_%s ' "${targets[@]}")
mkdir -p build-fuzz/crashes
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  if [ -n "${MORLEX_FUZZ_RUNS:-}" ]; then
    limit=(-runs="$MORLEX_FUZZ_RUNS" -seed=1)
    echo "== fuzz_$t for ${MORLEX_FUZZ_RUNS} inputs"
  else
    limit=(-max_total_time="$seconds")
    echo "== fuzz_$t for ${seconds}s"
  fi
  build-fuzz/bin/fuzz_"$t" "${limit[@]}" -print_final_stats=1 \
    -artifact_prefix="build-fuzz/crashes/$t-" "build-fuzz/corpus/$t" "fuzz/corpus/$t" \
    2>&1 | grep -E "^(stat::number_of_executed_units|stat::new_units_added|==|SUMMARY)|ERROR" || true
  if ls build-fuzz/crashes/"$t"-* >/dev/null 2>&1; then
    echo "fuzz_$t found a crash: $(ls build-fuzz/crashes/"$t"-*)"
    exit 1
  fi
  if [ -n "${MORLEX_FUZZ_KEEP:-}" ]; then
    # Edges only (no hit counters): counters would keep thousands of inputs
    # that differ in how often a loop ran.
    build-fuzz/bin/fuzz_"$t" -merge=1 -use_counters=0 "fuzz/corpus/$t" "build-fuzz/corpus/$t" \
      2>&1 | grep -E "^MERGE-OUTER: [0-9]+ new files" || true
  fi
done
