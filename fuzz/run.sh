#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs each
# for SECONDS (default 60) from its seed corpus in fuzz/corpus/NAME. New
# inputs go to build-fuzz/corpus/NAME, crashes to build-fuzz/crashes/.
#   bash fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMORLEX_BUILD_FUZZ=ON -DMORLEX_SANITIZE=ON -DMORLEX_BUILD_TESTS=OFF -DMORLEX_BUILD_QT=OFF \
  >/dev/null
cmake --build build-fuzz -j "$(nproc 2>/dev/null || echo 2)"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp | sed 's/^fuzz_//')"); done
fi
mkdir -p build-fuzz/crashes
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  echo "== fuzz_$t for ${seconds}s"
  build-fuzz/bin/fuzz_"$t" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="build-fuzz/crashes/$t-" "build-fuzz/corpus/$t" "fuzz/corpus/$t" \
    2>&1 | grep -E "^(stat::number_of_executed_units|stat::new_units_added|==|SUMMARY)|ERROR" || true
  if ls build-fuzz/crashes/"$t"-* >/dev/null 2>&1; then
    echo "fuzz_$t found a crash: $(ls build-fuzz/crashes/"$t"-*)"
    exit 1
  fi
done
