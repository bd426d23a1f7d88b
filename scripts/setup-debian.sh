#!/usr/bin/env bash
# Installs, with apt-get, what building, testing and running the project
# needs on a fresh Debian 12 machine. Packages already present are skipped.
set -euo pipefail

packages=(
  build-essential cmake git pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-qpa-plugins libgl-dev libqt6sql6-sqlite
  qt6-tools-dev qt6-l10n-tools libqt6opengl6-dev
  dpkg-dev lintian file strace
  libsqlite3-dev sqlite3
  clang libclang-rt-14-dev clang-format
  libicu-dev libhowardhinnant-date-dev
  xvfb xauth fonts-dejavu-core
  graphviz
  dbus at-spi2-core gir1.2-atspi-2.0 python3-gi
  qt6-declarative-dev qt6-declarative-dev-tools qml6-module-qtquick qml6-module-qtquick-controls
  qml6-module-qtquick-templates qml6-module-qtquick-window qml6-module-qtquick-layouts
  qml6-module-qtqml qml6-module-qtqml-workerscript qml6-module-qttest
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
