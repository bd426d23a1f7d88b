#!/usr/bin/env bash
# The main job: installs what is missing, builds, and plays the example
# session of the scriptable host.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target morlex-host
./build/bin/morlex-host examples/session.mhs
