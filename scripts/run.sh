#!/usr/bin/env bash
# The main job: installs what is missing, builds morlex-demo (a record form
# over a SQLite file with MorlexDate fields) and runs it.
#
# Without a display (or with --script) it plays the demo's scripted session
# on Qt's offscreen platform against a fresh database in build/demo-session,
# writes screenshots to build/demo-session/shots, prints what happened, and
# exits 0 when every check of the session held; before it, the Qt Quick
# example plays its own session (pictures in build/quick-session). With a display it opens the
# form on the database in your data folder; other arguments go to the demo.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target morlex-demo

script=0
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then script=1; fi
if [ "${1:-}" = "--script" ]; then script=1; shift; fi

if [ "$script" = 1 ]; then
  session=build/demo-session
  rm -rf "$session"
  mkdir -p "$session"
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
  # The Qt Quick example too, over the module of this build: typed, spun and
  # picked by itself, with pictures in build/quick-session.
  if cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target morlex_quick_qml >/dev/null 2>&1; then
    cmake -S examples/quick -B build/quick-example -DMORLEX_QML_DIR="$PWD/build/qml" >/dev/null
    cmake --build build/quick-example >/dev/null
    ./build/quick-example/morlex-quick-example --play build/quick-session
  fi
  exec ./build/bin/morlex-demo --script --shots "$session/shots" "$@" "$session/people.sqlite"
fi
exec ./build/bin/morlex-demo "$@"
