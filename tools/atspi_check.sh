#!/usr/bin/env bash
# Reads morlex-demo over the AT-SPI bus, as a screen reader does: the demo runs
# under Xvfb with the xcb platform on a D-Bus session of its own, and
# tools/atspi_check.py checks the names it finds. Needs xvfb, at-spi2-core and
# gir1.2-atspi-2.0 (scripts/setup-debian.sh installs them).
#
#   bash tools/atspi_check.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

xvfb-run -a dbus-run-session -- bash -c '
  set -u
  export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
  "$1/bin/morlex-demo" "$2/people.sqlite" >"$2/demo.log" 2>&1 &
  demo=$!
  status=0
  /usr/bin/python3 tools/atspi_check.py || status=$?
  kill "$demo" 2>/dev/null
  wait "$demo" 2>/dev/null
  exit "$status"
' atspi "$build" "$work"
