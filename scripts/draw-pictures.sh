#!/usr/bin/env bash
# Draws the pictures of the Qt widgets in docs/images from the host's
# snapshots (morlex-host --toolkit qt --snapshot, see docs/qt.md): the field,
# the calendar and the about box at the designs' font and at 9, 14 and 20
# points, under a dark palette, in German and right to left. The snapshots
# pin their fonts and dates, so the same build draws the same files again.
# Run it after a change of what the widgets look like.
#
#   bash scripts/draw-pictures.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target morlex-host >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

export QT_QPA_PLATFORM=offscreen
"$build/bin/morlex-host" --toolkit qt --snapshot "$scratch/1" >/dev/null
"$build/bin/morlex-host" --toolkit qt --snapshot "$scratch/2" --dpr 2 >/dev/null

out=docs/images
for name in fields form-9pt form-14pt form-18pt form-20pt form-rtl calendar-9pt calendar-14pt \
  calendar-20pt about-9pt about-14pt about-20pt about-rtl; do
  cp "$scratch/1/$name.png" "$out/$name.png"
done
# At device pixel ratio 2, named for it.
for name in calendar calendar-dark calendar-de calendar-rtl about; do
  cp "$scratch/2/$name.png" "$out/$name-2x.png"
done
cp "$scratch/2/field-mm-dd-yyyy-calendar-spin.png" "$out/field-2x.png"
