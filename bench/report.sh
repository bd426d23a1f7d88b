#!/usr/bin/env bash
# Builds the benchmarks in Release, runs each against its peers in one run on
# this machine and prints a table of the ratios (peer time / our time, so
# more is better for us) with the targets, and the machine they ran on.
#
#   bash bench/report.sh            # the full run (some minutes)
#   bash bench/report.sh --quick    # one repetition, fewer fields: a smoke run
#   bash bench/report.sh --instructions   # also the instruction counts
#
# Times are processor time (medians of repetitions, each variant of the Qt
# harness in its own process), which a busy machine disturbs far less than
# wall-clock time. Needs bash, awk and the packages of setup-debian.sh; the
# Qt part needs the Qt binding (built by default).
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
instructions=0
for arg in "$@"; do
  case "$arg" in
    --quick) quick=1 ;;
    --instructions) instructions=1 ;;
    *) echo "usage: $0 [--quick] [--instructions]" >&2; exit 2 ;;
  esac
done
reps=5; processes=3; fields=1000; openings=50
if [ "$quick" = 1 ]; then reps=1; processes=1; fields=200; openings=10; fi

build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DMORLEX_BUILD_BENCH=ON \
  -DMORLEX_BUILD_TESTS=OFF >/dev/null
targets=(morlex-bench)
grep -q '^MORLEX_BUILD_QT:BOOL=ON' "$build/CMakeCache.txt" && targets+=(morlex-qt-bench)
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}" >/dev/null

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# --- The machine ------------------------------------------------------------------
cpu=$(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo 2>/dev/null || true)
os=$(. /etc/os-release 2>/dev/null && echo "$PRETTY_NAME" || uname -s)
compiler=$(${CXX:-c++} --version 2>/dev/null | head -1 || true)
qt=$(pkg-config --modversion Qt6Core 2>/dev/null || true)
echo "machine: ${cpu:-unknown CPU}, $(nproc) cores, ${os}, Linux $(uname -r)"
echo "build:   Release, ${compiler}${qt:+, Qt $qt}, QT_QPA_PLATFORM=$QT_QPA_PLATFORM"
echo "load:    $(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null) (1, 5, 15 min) at the start"
echo

# --- Function benchmarks (Google Benchmark) ---------------------------------------------
gbench() {  # binary, filter, output file, [leading arguments]
  local bin=$1 filter=$2 file=$3
  shift 3
  "$bin" "$@" --benchmark_filter="$filter" --benchmark_repetitions="$reps" \
    --benchmark_report_aggregates_only=true --benchmark_format=json 2>/dev/null >"$file"
}
gbench "$build/bin/morlex-bench" \
  'DateText_|TypeDateDigits|SpinStep$|CalendarSpinMonth|FillMonthCells|CalendarOpenClose' \
  "$out/functions.json"
if [ -x "$build/bin/morlex-qt-bench" ]; then
  gbench "$build/bin/morlex-qt-bench" 'QtKey_' "$out/keys.json" keys
  for variant in morlex qdateedit qlineedit; do
    for _ in $(seq "$processes"); do
      "$build/bin/morlex-qt-bench" form "$variant" "$fields" >>"$out/form.txt"
    done
  done
  for variant in morlex qcalendarwidget; do
    for _ in $(seq "$processes"); do
      "$build/bin/morlex-qt-bench" calendar "$variant" "$openings" >>"$out/calendar.txt"
    done
  done
  for variant in morlex qdate; do
    for measure in paint scroll open; do
      for _ in $(seq "$processes"); do
        "$build/bin/morlex-qt-bench" table "$variant" "$measure" "$openings" >>"$out/table.txt"
      done
    done
  done
fi

# --- The table ---------------------------------------------------------------------------
# Every figure becomes one line "key value" (nanoseconds, KiB); the table
# is drawn from those.
{
  # Median processor time per iteration: the "median" aggregate, or the one
  # run when there is a single repetition. The JSON has one field a line.
  cat "$out"/functions.json "$out"/keys.json 2>/dev/null |
    awk -F'"' '
      /^ *"name":/ { name = $4 } /^ *"run_type":/ { type = $4 } /^ *"aggregate_name":/ { agg = $4 }
      /^ *"cpu_time":/ { split($3, a, /[:,]/); cpu = a[2] + 0 } /^ *"time_unit":/ { unit = $4 }
      /^ *}/ {
        if (name != "" && (agg == "median" || type == "iteration")) {
          sub(/_median$/, "", name); sub(/^BM_/, "", name)
          if (unit == "us") cpu *= 1e3; else if (unit == "ms") cpu *= 1e6; else if (unit == "s") cpu *= 1e9
          print name, cpu
        }
        name = type = agg = unit = ""
      }'
  # Medians over the processes of each variant.
  for file in form calendar table; do
    [ -f "$out/$file.txt" ] || continue
    awk '{ for (i = 3; i <= NF; ++i) { split($i, kv, "="); print $1 "_" $2 "_" kv[1], kv[2] } }' \
      "$out/$file.txt" | sort -k1,1 -k2,2g |
      awk '{ v[$1] = v[$1] " " $2 } END { for (k in v) { n = split(substr(v[k], 2), a, " ");
             print k, (n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2) } }'
  done
} >"$out/figures.txt"

awk -v reps="$reps" -v processes="$processes" -v fields="$fields" -v openings="$openings" '
  { f[$1] = $2 }
  function t(ns) {
    if (ns == "") return "-"
    if (ns >= 1e6) return sprintf("%.2f ms", ns / 1e6)
    if (ns >= 1e3) return sprintf("%.2f us", ns / 1e3)
    return sprintf("%.0f ns", ns)
  }
  # One row: what, our figure, the peer and its figure, the ratio (peer/ours
  # for times, where more is better; ours/peer for "within"), the target.
  function row(what, ours, peer, theirs, kind, target,   ratio, verdict, label) {
    label = "report"
    if (kind == "at_least") label = "at least " target "x"
    if (kind == "within") label = "at least " sprintf("%.2f", 1 / target) "x (within " target "x)"
    if (ours == "" || theirs == "" || ours == 0) {
      printf "| %s | %s | %s | %s | - | %s | not measured |\n", what, t(ours), peer, t(theirs), label
      return
    }
    ratio = theirs / ours
    verdict = "-"
    if (kind == "at_least") verdict = (ratio >= target) ? "met" : "missed"
    if (kind == "within") verdict = (ratio * target >= 1) ? "met" : "missed"
    printf "| %s | %s | %s | %s | %.2fx | %s | %s |\n", what, t(ours), peer, t(theirs), ratio,
           label, verdict
  }
  function mem(what, ours, theirs,   ratio) {
    if (ours == "" || theirs == "") return
    ratio = theirs / ours
    printf "| %s | %.1f KiB | QDateEdit | %.1f KiB | %.2fx | at least 1x | %s |\n", what, ours,
           theirs, ratio, (ratio >= 1) ? "met" : "missed"
  }
  END {
    print "| measure | Morlex | peer | the peer | peer/Morlex | target | |"
    print "|---|---|---|---|---|---|---|"
    m = f["DateText_Morlex"] / 16
    row("date text, read + render, per input", m, "Qt QDate", f["DateText_Qt"] / 16, "at_least", 20)
    row("", m, "ICU SimpleDateFormat", f["DateText_ICU"] / 16, "at_least", 10)
    row("", m, "date (Hinnant)", f["DateText_HinnantDate"] / 16, "at_least", 10)
    row("", m, "sscanf + snprintf", f["DateText_Sscanf"] / 16, "at_least", 1)
    k = f["TypeDateDigits"] / 8
    printf "| typed digit, headless toolkit | %s | - | - | - | under 1 us | %s |\n", t(k), (k < 1000) ? "met" : "missed"
    q = f["QtKey_MorlexDateWidget"] / 8
    row("typed digit on Qt, end to end", q, "QDateEdit", f["QtKey_QDateEdit"] / 8, "at_least", 2)
    row("", q, "bare QLineEdit", f["QtKey_QLineEdit"] / 8, "within", 1.3)
    c = f["form_morlex_cpu_us"]
    row("form of " fields " fields: create, show, first paint, per field", c * 1e3, "QDateEdit (calendar pop-up)", f["form_qdateedit_cpu_us"] * 1e3, "at_least", 1)
    row("", c * 1e3, "bare QLineEdit", f["form_qlineedit_cpu_us"] * 1e3, "", "")
    row("  of which creating", f["form_morlex_create_cpu_us"] * 1e3, "QDateEdit", f["form_qdateedit_create_cpu_us"] * 1e3, "", "")
    row("  of which showing and painting", f["form_morlex_paint_cpu_us"] * 1e3, "QDateEdit", f["form_qdateedit_paint_cpu_us"] * 1e3, "", "")
    mem("form: resident memory per field", f["form_morlex_rss_kib"], f["form_qdateedit_rss_kib"])
    row("calendar: click to painted and closed, median of " openings, f["calendar_morlex_median_cpu_us"] * 1e3, "QDialog + QCalendarWidget", f["calendar_qcalendarwidget_median_cpu_us"] * 1e3, "at_least", 2)
    row("calendar: first opening", f["calendar_morlex_first_cpu_us"] * 1e3, "QDialog + QCalendarWidget", f["calendar_qcalendarwidget_first_cpu_us"] * 1e3, "", "")
    row("table of 100,000 dates: paint the viewport", f["table_morlex_paint_cpu_us"] * 1e3, "QStyledItemDelegate (QDate)", f["table_qdate_paint_cpu_us"] * 1e3, "at_least", 1)
    row("table: scroll one page", f["table_morlex_scroll_cpu_us"] * 1e3, "QStyledItemDelegate (QDate)", f["table_qdate_scroll_cpu_us"] * 1e3, "at_least", 1)
    row("table: double-click to painted editor", f["table_morlex_open_cpu_us"] * 1e3, "QDateEdit (Qt default)", f["table_qdate_open_cpu_us"] * 1e3, "at_least", 2)
    printf "| spin step, headless | %s | - | - | - | report | - |\n", t(f["SpinStep"] / 2)
    printf "| calendar month change (42 cells), headless | %s | - | - | - | report | - |\n", t(f["CalendarSpinMonth"])
    printf "| fill of 42 cells alone | %s | - | - | - | report | - |\n", t(f["FillMonthCells"])
    printf "| calendar open + close, headless | %s | - | - | - | report | - |\n", t(f["CalendarOpenClose"])
    print ""
    printf "Processor time; medians of %d repetitions (functions, keys) and of %d processes per variant (form, calendar, table).\n", reps, processes
  }' "$out/figures.txt"

if [ "$instructions" = 1 ]; then
  echo
  bash bench/instructions.sh
fi
