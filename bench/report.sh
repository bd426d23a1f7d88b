#!/usr/bin/env bash
# Builds the benchmarks in Release, runs each against its peers on this
# machine and prints a table of the ratios (peer time / our time, so more is
# better for us) with the targets, and the machine and load they ran under.
#
#   bash bench/report.sh            # the full run (about 8 minutes)
#   bash bench/report.sh --quick    # one pair, fewer fields, no counts: a smoke run
#   bash bench/report.sh --no-count # without the instruction counts
#   bash bench/report.sh --instructions   # also the kernels' instruction counts
#   MORLEX_BENCH_PAIRS=9 bash bench/report.sh   # more pairs (default 5)
#
# Each peer pair runs interleaved: ours, the peer's, ours, the peer's, ...,
# each variant of the Qt harness in its own process, so that load that
# drifts during the run moves both sides of a pair alike. The table shows the
# medians of each side and the median of the per-pair ratios with their
# spread (min-max); a ratio whose spread straddles its target is
# "unsteady". Beside it, the ratio of instruction counts under callgrind for
# both sides (which hardly move with the load) decides an unsteady target.
# Times are processor time. Needs bash, awk and the packages of
# setup-debian.sh (valgrind for the counts); the Qt part needs the Qt
# binding (built by default).
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
instructions=0
count=1
for arg in "$@"; do
  case "$arg" in
    --quick) quick=1 ;;
    --instructions) instructions=1 ;;
    --no-count) count=0 ;;
    *) echo "usage: $0 [--quick] [--no-count] [--instructions]" >&2; exit 2 ;;
  esac
done
pairs=${MORLEX_BENCH_PAIRS:-5}; fields=1000; openings=50
if [ "$quick" = 1 ]; then pairs=1; fields=200; openings=10; count=0; fi
command -v valgrind >/dev/null || count=0

build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DMORLEX_BUILD_BENCH=ON \
  -DMORLEX_BUILD_TESTS=OFF >/dev/null
targets=(morlex-bench)
grep -q '^MORLEX_BUILD_QT:BOOL=ON' "$build/CMakeCache.txt" && targets+=(morlex-qt-bench)
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}" >/dev/null
qtbench="$build/bin/morlex-qt-bench"

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
started=$(date +%s)

# --- The machine ------------------------------------------------------------------
cpu=$(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo 2>/dev/null || true)
os=$(. /etc/os-release 2>/dev/null && echo "$PRETTY_NAME" || uname -s)
compiler=$(${CXX:-c++} --version 2>/dev/null | head -1 || true)
qt=$(pkg-config --modversion Qt6Core 2>/dev/null || true)
load() { cut -d' ' -f1-3 /proc/loadavg 2>/dev/null; }
echo "machine: ${cpu:-unknown CPU}, $(nproc) cores, ${os}, Linux $(uname -r)"
echo "build:   Release, ${compiler}${qt:+, Qt $qt}, QT_QPA_PLATFORM=$QT_QPA_PLATFORM"
echo "load:    $(load) (1, 5, 15 min) at the start"

# Every figure becomes a line "metric pair value" in $out/runs.txt (times in
# nanoseconds, memory in KiB); pair n of one metric ran beside pair n of its
# peer's.
runs="$out/runs.txt"
: >"$runs"

# --- Function benchmarks (Google Benchmark) ---------------------------------------------
# The repetitions of all kernels run randomly interleaved; repetition n of
# a kernel pairs with repetition n of its peer.
"$build/bin/morlex-bench" \
  --benchmark_filter='DateText_|TypeDateDigits|SpinStep$|CalendarSpinMonth|FillMonthCells|CalendarOpenClose' \
  --benchmark_repetitions="$pairs" --benchmark_enable_random_interleaving=true \
  --benchmark_format=json 2>/dev/null |
  awk -F'"' '
    /^ *"name":/ { name = $4 } /^ *"run_type":/ { type = $4 }
    /^ *"repetition_index":/ { split($3, a, /[:,]/); rep = a[2] + 0 }
    /^ *"cpu_time":/ { split($3, a, /[:,]/); cpu = a[2] + 0 } /^ *"time_unit":/ { unit = $4 }
    /^ *}/ {
      if (name != "" && type == "iteration") {
        sub(/^BM_/, "", name)
        if (unit == "us") cpu *= 1e3; else if (unit == "ms") cpu *= 1e6; else if (unit == "s") cpu *= 1e9
        print name, rep, cpu
      }
      name = type = unit = ""; rep = 0
    }' >>"$runs"

if [ -x "$qtbench" ]; then
  # --- Keys on Qt: one process per variant and pair -------------------------------------
  for p in $(seq "$pairs"); do
    for variant in MorlexDateWidget QLineEdit QDateEdit; do
      "$qtbench" keys --benchmark_filter="^BM_QtKey_${variant}\$" --benchmark_format=json \
        --benchmark_min_time=0.3 2>/dev/null |
        awk -F'"' -v p="$p" -v v="$variant" '
          /^ *"cpu_time":/ { split($3, a, /[:,]/); cpu = a[2] + 0 } /^ *"time_unit":/ { unit = $4 }
          /^ *"median_key_ns":/ { split($3, a, /[:,]/); median = a[2] + 0 }
          END {
            if (unit == "us") cpu *= 1e3; else if (unit == "ms") cpu *= 1e6
            print "QtKey_" v, p, cpu / 8
            print "QtKeyMedian_" v, p, median
          }' >>"$runs"
    done
  done
  # --- The form, the calendar and the table: one process per variant and pair ------------
  # Their lines "mode variant key=value ..." become metrics mode_variant_key.
  harness() {  # pair, arguments...
    local p=$1
    shift
    "$qtbench" "$@" | awk -v p="$p" '{
      for (i = 3; i <= NF; ++i) {
        split($i, kv, "=")
        if (kv[1] ~ /_us$/) { sub(/_us$/, "", kv[1]); kv[2] *= 1e3 }
        print $1 "_" $2 "_" kv[1], p, kv[2]
      }
    }' >>"$runs"
  }
  for p in $(seq "$pairs"); do
    for variant in morlex qdateedit qlineedit; do harness "$p" form "$variant" "$fields"; done
    for variant in morlex qcalendarwidget; do harness "$p" calendar "$variant" "$openings"; done
    for measure in paint scroll open; do
      for variant in morlex qdate; do harness "$p" table "$variant" "$measure" "$openings"; done
    done
    harness "$p" table empty open "$openings"  # what the view costs around any editor
  done
fi
timed=$(date +%s)

# --- Instruction counts of both sides of the Qt targets ------------------------------------
# Each side runs twice under callgrind with two amounts of work; the
# difference of the counts over the difference of the work is the cost of
# one unit, free of start-up. The calendar counts only its clicks, so that
# the first opening comes out as well.
if [ "$count" = 1 ] && [ -x "$qtbench" ]; then
  callgrind() {  # label, extra valgrind option or "", arguments...
    local label=$1 option=$2
    shift 2
    valgrind --tool=callgrind --callgrind-out-file=/dev/null ${option:+"$option"} "$qtbench" "$@" \
      2>&1 >/dev/null | awk -v l="$label" '/Collected :/ { print l, $NF }'
  }
  export -f callgrind
  export qtbench
  {
    for v in morlex qlineedit qdateedit; do
      echo "keys_${v}_10 '' keys-count $v 10"
      echo "keys_${v}_20 '' keys-count $v 20"
    done
    for v in morlex qcalendarwidget; do
      echo "calendar_${v}_2 --toggle-collect=morlex::bench::qt::Click* calendar $v 2"
      echo "calendar_${v}_4 --toggle-collect=morlex::bench::qt::Click* calendar $v 4"
    done
    for v in morlex qdateedit; do
      echo "form_${v}_100 '' form $v 100"
      echo "form_${v}_200 '' form $v 200"
    done
    for m in paint scroll open; do
      for v in morlex qdate $([ "$m" = open ] && echo empty); do
        echo "table_${v}_${m}_10 --toggle-collect=*TimedTableStep* table $v $m 10"
        echo "table_${v}_${m}_20 --toggle-collect=*TimedTableStep* table $v $m 20"
      done
    done
  } | xargs -P "$(nproc 2>/dev/null || echo 2)" -L 1 bash -c 'callgrind "$@"' _ >"$out/counts.txt"
  awk '
    { c[$1] = $2 }
    END {
      split("morlex qlineedit qdateedit", keys, " ")
      for (i in keys) { k = keys[i]; printf "instr_QtKey_%s %.0f\n", k, (c["keys_" k "_20"] - c["keys_" k "_10"]) / 80 }
      split("morlex qcalendarwidget", cal, " ")
      for (i in cal) {
        k = cal[i]; per = (c["calendar_" k "_4"] - c["calendar_" k "_2"]) / 2
        printf "instr_calendar_%s_median %.0f\n", k, per
        printf "instr_calendar_%s_first %.0f\n", k, c["calendar_" k "_2"] - 2 * per
      }
      split("morlex qdateedit", form, " ")
      for (i in form) { k = form[i]; printf "instr_form_%s %.0f\n", k, (c["form_" k "_200"] - c["form_" k "_100"]) / 100 }
      for (k in c) {
        if (k !~ /^table_.*_10$/) continue
        t = substr(k, 1, length(k) - 3)
        printf "instr_%s %.0f\n", t, (c[t "_20"] - c[k]) / 10
      }
    }' "$out/counts.txt" >"$out/instr.txt"
else
  : >"$out/instr.txt"
fi
counted=$(date +%s)

# --- The table ---------------------------------------------------------------------------
echo "load:    $(load) (1, 5, 15 min) at the end; timing $((timed - started)) s, counting $((counted - timed)) s"
echo
awk -v pairs="$pairs" -v fields="$fields" -v openings="$openings" -v counts="$out/instr.txt" '
  BEGIN { while ((getline line < counts) > 0) { split(line, c, " "); i[c[1]] = c[2] } }
  { v[$1, $2] = $3; if (!($1 in n) || $2 > n[$1]) n[$1] = $2 }  # runs: metric pair value
  function median(a, k,   j, t, m) {
    for (j = 2; j <= k; ++j) { t = a[j]; m = j - 1; while (m >= 1 && a[m] > t) { a[m + 1] = a[m]; --m } a[m + 1] = t }
    return k % 2 ? a[(k + 1) / 2] : (a[k / 2] + a[k / 2 + 1]) / 2
  }
  function med(metric,   a, k, p) {
    k = 0
    for (p = 0; p <= n[metric]; ++p) if ((metric, p) in v) a[++k] = v[metric, p]
    return k ? median(a, k) : ""
  }
  # The per-pair ratios peer/ours: sets lo, hi, pr (their median) and np.
  function ratios(ours, theirs,   a, p) {
    np = 0; lo = hi = pr = ""
    for (p = 0; p <= n[ours]; ++p) {
      if (!((ours, p) in v) || !((theirs, p) in v) || v[ours, p] == 0) continue
      a[++np] = v[theirs, p] / v[ours, p]
      if (lo == "" || a[np] < lo) lo = a[np]
      if (hi == "" || a[np] > hi) hi = a[np]
    }
    if (np) pr = median(a, np)
  }
  function t(ns) {
    if (ns == "") return "-"
    if (ns >= 1e6) return sprintf("%.2f ms", ns / 1e6)
    if (ns >= 1e3) return sprintf("%.2f us", ns / 1e3)
    return sprintf("%.0f ns", ns)
  }
  function count(x) {
    if (x == "" || x <= 0) return "-"
    if (x >= 1e6) return sprintf("%.2f M", x / 1e6)
    if (x >= 1e3) return sprintf("%.1f k", x / 1e3)
    return sprintf("%.0f", x)
  }
  # One row: what, our metric, the peer and its metric, the target kind
  # ("at_least" a ratio, "within" a factor of the peer, or "" to report),
  # the target, the instruction counts of both sides ("" where none), and
  # a scale for the shown times (per input, per key).
  function row(what, ours, peer, theirs, kind, target, iours, itheirs, scale,   m, mt, need, spread, verdict, label, ir, irs) {
    if (scale == "") scale = 1
    m = med(ours); mt = med(theirs)
    label = "report"; need = 0
    if (kind == "at_least") { label = "at least " target "x"; need = target }
    if (kind == "within") { need = 1 / target; label = sprintf("at least %.2fx (within %sx)", need, target) }
    ratios(ours, theirs)
    spread = np ? sprintf("%.2fx (%.2f-%.2f)", pr, lo, hi) : "-"
    ir = ""; irs = "-"
    if (iours != "" && itheirs != "" && i[iours] > 0 && i[itheirs] > 0) {
      ir = i[itheirs] / i[iours]
      irs = sprintf("%.2fx (%s / %s)", ir, count(i[itheirs]), count(i[iours]))
    }
    verdict = "-"
    if (need > 0 && np) {
      if (lo >= need) verdict = "met"
      else if (hi < need) verdict = "missed"
      else {
        verdict = "unsteady"
        if (ir != "") verdict = verdict (ir >= need ? "; met by count" : "; missed by count")
      }
    } else if (need > 0) verdict = "not measured"
    printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", what, t(m == "" ? "" : m / scale), peer,
           t(mt == "" ? "" : mt / scale), (m != "" && mt != "" && m > 0) ? sprintf("%.2fx", mt / m) : "-",
           spread, irs, label, verdict
  }
  function alone(what, metric, scale, target, limit,   m) {
    m = med(metric)
    if (m == "") return
    m /= scale
    printf "| %s | %s | - | - | - | - | - | %s | %s |\n", what, t(m), (target == "" ? "report" : target),
           (limit == "" ? "-" : (m < limit ? "met" : "missed"))
  }
  function mem(what, ours, theirs,   m, mt) {
    m = med(ours); mt = med(theirs)
    if (m == "" || mt == "") return
    ratios(ours, theirs)
    printf "| %s | %.1f KiB | QDateEdit | %.1f KiB | %.2fx | %.2fx (%.2f-%.2f) | - | at least 1x | %s |\n",
           what, m, mt, mt / m, pr, lo, hi, (lo >= 1 ? "met" : (hi < 1 ? "missed" : "unsteady"))
  }
  END {
    print "| measure | Morlex | peer | the peer | medians peer/Morlex | pairs: median (min-max) | instructions peer/Morlex | target | |"
    print "|---|---|---|---|---|---|---|---|---|"
    row("date text, read + render, per input", "DateText_Morlex", "Qt QDate", "DateText_Qt", "at_least", 20, "", "", 16)
    row("", "DateText_Morlex", "ICU SimpleDateFormat", "DateText_ICU", "at_least", 10, "", "", 16)
    row("", "DateText_Morlex", "date (Hinnant)", "DateText_HinnantDate", "at_least", 10, "", "", 16)
    row("", "DateText_Morlex", "sscanf + snprintf", "DateText_Sscanf", "at_least", 1, "", "", 16)
    alone("typed digit, headless toolkit", "TypeDateDigits", 8, "under 1 us", 1000)
    row("typed digit on Qt, whole date: mean key", "QtKey_MorlexDateWidget", "QDateEdit", "QtKey_QDateEdit", "at_least", 2, "instr_QtKey_morlex", "instr_QtKey_qdateedit")
    row("  median key (wall clock)", "QtKeyMedian_MorlexDateWidget", "QDateEdit", "QtKeyMedian_QDateEdit", "", "", "", "")
    row("typed digit on Qt, end to end (mean key)", "QtKey_MorlexDateWidget", "bare QLineEdit", "QtKey_QLineEdit", "within", 1.1, "instr_QtKey_morlex", "instr_QtKey_qlineedit")
    row("  median key (wall clock)", "QtKeyMedian_MorlexDateWidget", "bare QLineEdit", "QtKeyMedian_QLineEdit", "", "", "", "")
    row("form of " fields " fields: create, show, first paint, per field", "form_morlex_cpu", "QDateEdit (calendar pop-up)", "form_qdateedit_cpu", "at_least", 1, "instr_form_morlex", "instr_form_qdateedit")
    row("", "form_morlex_cpu", "bare QLineEdit", "form_qlineedit_cpu", "", "")
    row("  of which creating", "form_morlex_create_cpu", "QDateEdit", "form_qdateedit_create_cpu", "", "")
    row("  of which showing and painting", "form_morlex_paint_cpu", "QDateEdit", "form_qdateedit_paint_cpu", "", "")
    mem("form: resident memory per field", "form_morlex_rss_kib", "form_qdateedit_rss_kib")
    row("calendar: click to painted and closed, median of " openings, "calendar_morlex_median_cpu", "QDialog + QCalendarWidget", "calendar_qcalendarwidget_median_cpu", "at_least", 3, "instr_calendar_morlex_median", "instr_calendar_qcalendarwidget_median")
    row("calendar: first opening", "calendar_morlex_first_cpu", "QDialog + QCalendarWidget", "calendar_qcalendarwidget_first_cpu", "at_least", 2, "instr_calendar_morlex_first", "instr_calendar_qcalendarwidget_first")
    row("table of 100,000 dates: paint the viewport", "table_morlex_paint_cpu", "QStyledItemDelegate (QDate)", "table_qdate_paint_cpu", "at_least", 1, "instr_table_morlex_paint", "instr_table_qdate_paint")
    row("table: scroll one page", "table_morlex_scroll_cpu", "QStyledItemDelegate (QDate)", "table_qdate_scroll_cpu", "at_least", 1, "instr_table_morlex_scroll", "instr_table_qdate_scroll")
    row("table: double-click to painted editor", "table_morlex_open_cpu", "QDateEdit (Qt default)", "table_qdate_open_cpu", "at_least", 2, "instr_table_morlex_open", "instr_table_qdate_open")
    row("  the same, an empty widget for editor (the view alone)", "table_empty_open_cpu", "QDateEdit (Qt default)", "table_qdate_open_cpu", "", "", "instr_table_empty_open", "instr_table_qdate_open")
    alone("spin step, headless", "SpinStep", 2)
    alone("calendar month change (42 cells), headless", "CalendarSpinMonth", 1)
    alone("fill of 42 cells alone", "FillMonthCells", 1)
    alone("calendar open + close, headless", "CalendarOpenClose", 1)
    print ""
    printf "Processor time (the median keys: wall clock); %d interleaved pairs, each Qt variant in its own process.\n", pairs
    print "Instructions: callgrind, both sides in the same run; per key, per field, per opening."
  }' "$runs"

if [ "$instructions" = 1 ]; then
  echo
  bash bench/instructions.sh "$build"
fi
