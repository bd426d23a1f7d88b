#!/usr/bin/env bash
# Instructions of the Qt Quick field against its peers in the same run,
# counted by callgrind on the offscreen platform: a typed digit against a bare
# TextField, making 1,000 DateFields against 1,000 TextFields, and opening the
# calendar popup against a Popup holding MonthGrid and DayOfWeekRow. Each
# kernel runs N and 2N times; the difference over N is one call's cost, and
# what a run does once (starting, loading QML, making a popup that is kept)
# drops out of it. The popups run 20 and 40 times: the loading of QML types
# varies by a few million instructions between runs, which fewer openings
# would show.
#
# Both sides run in the same Qt Quick Controls style: Fusion, the one Qt
# picks on a Linux desktop, unless QT_QUICK_CONTROLS_STYLE names another
# (Basic's controls cost less, so what the field adds to its TextField
# weighs more there).
#
#   bash bench/quick-instructions.sh [BUILD_DIR]     (default build-release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DMORLEX_BUILD_BENCH=ON \
    -DMORLEX_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target morlex-quick-bench >/dev/null
bin="$build/bin/morlex-quick-bench"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export QT_QUICK_CONTROLS_STYLE=${QT_QUICK_CONTROLS_STYLE:-Fusion}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

count() {  # program arguments -> instructions of the whole run
  valgrind --tool=callgrind --callgrind-out-file="$tmp/out" "$@" 2>&1 >/dev/null |
    awk '/Collected :/ { print $NF }'
}
per() {  # mode variant n units -> instructions per unit
  local a b
  a=$(count "$bin" "$1" "$2" "$3")
  b=$(count "$bin" "$1" "$2" $((2 * $3)))
  awk -v a="$a" -v b="$b" -v n="$3" -v u="$4" 'BEGIN { printf "%.0f", (b - a) / n / u }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "style: $QT_QUICK_CONTROLS_STYLE"
printf '%-34s %14s %14s %7s %7s\n' measure DateField peer ratio target
row() {  # name mode field-variant peer-variant n units target
  local mine theirs
  mine=$(per "$2" "$3" "$5" "$6")
  theirs=$(per "$2" "$4" "$5" "$6")
  printf '%-34s %14s %14s %7s %7s\n' "$1" "$mine" "$theirs" "$(ratio "$mine" "$theirs")" "$7"
}
row "typed digit (vs TextField)" keys datefield textfield 20 8 1.2
row "1,000 fields made (vs TextField)" create datefield textfield 1000 1 2
row "calendar opened (vs MonthGrid)" popup datefield monthgrid 20 1 1
