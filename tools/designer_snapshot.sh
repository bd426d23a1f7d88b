#!/usr/bin/env bash
# Takes the picture of the field in Qt Designer for the README: Designer runs
# under Xvfb with the plugin of a build on its plugin path, opens the form of
# the .ui tests, the field "born" is selected, and the screen is grabbed.
#
#   bash tools/designer_snapshot.sh [BUILD_DIR] [OUTPUT_PNG]
#
# Needs a build with the plugin (BUILD_DIR/plugins/designer), Designer
# (qt6-tools-dev-tools), xvfb-run and xdotool. Not part of the test command.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-docs/images/designer.png}")
designer=${DESIGNER:-/usr/lib/qt6/bin/designer}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

c++ -std=c++20 -fPIC -o "$work/screen_grab" tools/screen_grab.cpp \
  $(pkg-config --cflags --libs Qt6Gui)

# A settings folder of its own: the built-in widget box groups closed, so
# that the project's group shows without scrolling.
mkdir -p "$work/config/QtProject"
cat >"$work/config/QtProject/Designer.conf" <<'CONF'
[WidgetBox]
Closed%20categories=Layouts, Spacers, Buttons, Item Views (Model-Based), Item Widgets (Item-Based), Containers, Input Widgets, Display Widgets
CONF

cat >"$work/session.sh" <<'SESSION'
set -euo pipefail
"$DESIGNER" "$FORM" >"$WORK/designer.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
for _ in $(seq 1 60); do
  window=$(xdotool search --onlyvisible --name 'Qt Designer' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || { cat "$WORK/designer.log"; exit 1; }
sleep 3
xdotool windowmove "$window" 0 0 windowsize "$window" "$WIDTH" "$HEIGHT"
sleep 2
# Select the field "born" on the form, then scroll the property editor to
# the field's own properties (positions of Designer's default
# layout in a window of this size).
if [ -z "${NO_CLICKS:-}" ]; then
  xdotool mousemove 340 103 click 1
  sleep 1
  xdotool mousemove 660 450 click 1 key End
  sleep 2
fi
"$WORK/screen_grab" "$OUT" 0 0 "$WIDTH" "$HEIGHT"
SESSION

WORK=$work DESIGNER=$designer FORM=$PWD/tests/designer/fixtures/record_form.ui OUT=$out \
  WIDTH=1100 HEIGHT=900 XDG_CONFIG_HOME=$work/config QT_PLUGIN_PATH=$build/plugins \
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1100x900x24" bash ${MORLEX_SNAPSHOT_TRACE:+-x} "$work/session.sh"
echo "wrote $out"
