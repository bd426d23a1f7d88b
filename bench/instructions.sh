#!/usr/bin/env bash
# Instructions per call of the function benchmarks (reading and rendering
# date text against its peers; spinning, the calendar's month change, the
# fill of its cells and its opening; the typed digit on the headless
# toolkit) and, where the Qt binding is built, of a typed digit and of the
# calendar's opening on Qt, counted by callgrind. Unlike times they hardly
# move on a busy machine: these are the numbers to compare between commits.
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
targets=(morlex-bench-count)
grep -q '^MORLEX_BUILD_QT:BOOL=ON' "$build/CMakeCache.txt" && targets+=(morlex-qt-bench)
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}" >/dev/null
bin="$build/bin/morlex-bench-count"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

count() {  # [valgrind options] program arguments -> instructions of the whole run
  valgrind --tool=callgrind --callgrind-out-file="$tmp/out" "$@" 2>&1 >/dev/null |
    awk '/Collected :/ { print $NF }'
}
per() {  # kernel, units, unit, count of n calls, count of 2n calls
  awk -v k="$1" -v u="$2" -v what="$3" -v a="$4" -v b="$5" -v n="$n" \
    'BEGIN { per = (b - a) / n; printf "%-22s %14.0f %4d %-5s %16.0f\n", k, per, u, what, per / u }'
}

printf '%-22s %14s %10s %16s\n' kernel "instr/call" "units" "instr/unit"
"$bin" --list | while read -r kernel units unit; do
  per "$kernel" "$units" "$unit" "$(count "$bin" "$kernel" "$n")" "$(count "$bin" "$kernel" $((2 * n)))"
done

# On Qt (offscreen): a whole date typed into the field, and the calendar's
# opening from the click to the painted dialog, closed again (only the
# clicks are counted; an opening after the first).
qt="$build/bin/morlex-qt-bench"
[ -x "$qt" ] || exit 0
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
n=10
per QtTypeDateDigits 8 key "$(count "$qt" keys-count morlex "$n")" \
  "$(count "$qt" keys-count morlex $((2 * n)))"
n=2
clicks=--toggle-collect='morlex::bench::qt::Click*'
per QtCalendarOpenClose 1 open "$(count "$clicks" "$qt" calendar morlex "$n")" \
  "$(count "$clicks" "$qt" calendar morlex $((2 * n)))"
