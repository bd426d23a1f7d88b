#!/usr/bin/env bash
# Instructions per call of the function benchmarks (reading and rendering
# date text against its peers; spinning, the calendar's month change and
# the fill of its cells; the typed digit on the headless toolkit), counted
# by callgrind. Unlike times they hardly move on a busy machine: these are
# the numbers to compare between commits.
#
#   bash bench/instructions.sh [BUILD_DIR]     (default build-release)
#
# Each kernel runs twice, N and 2N times; the difference of the counts over
# N is one call's cost, without start-up and first-call effects.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
n=${MORLEX_COUNT_CALLS:-2000}

if ! command -v valgrind >/dev/null; then
  echo "instructions: valgrind is not installed (apt-get install valgrind)" >&2
  exit 1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DMORLEX_BUILD_BENCH=ON \
    -DMORLEX_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target morlex-bench-count >/dev/null
bin="$build/bin/morlex-bench-count"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

count() {  # kernel, calls -> instructions of the whole run
  valgrind --tool=callgrind --callgrind-out-file="$tmp/out" "$bin" "$1" "$2" 2>&1 >/dev/null |
    awk '/Collected :/ { print $NF }'
}

printf '%-22s %14s %10s %16s\n' kernel "instr/call" "units" "instr/unit"
"$bin" --list | while read -r kernel units unit; do
  once=$(count "$kernel" "$n")
  twice=$(count "$kernel" $((2 * n)))
  awk -v k="$kernel" -v a="$once" -v b="$twice" -v n="$n" -v u="$units" -v what="$unit" \
    'BEGIN { per = (b - a) / n; printf "%-22s %14.0f %4d %-5s %16.0f\n", k, per, u, what, per / u }'
done
