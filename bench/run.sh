#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them. Arguments go to the
# benchmark binary (e.g. --benchmark_filter=DateText).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DMORLEX_BUILD_BENCH=ON \
  -DMORLEX_BUILD_TESTS=OFF >/dev/null
cmake --build build-release -j "$(nproc 2>/dev/null || echo 2)" --target morlex-bench
build-release/bin/morlex-bench "$@"
