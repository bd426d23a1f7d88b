#!/usr/bin/env bash
# Checks that every C++ file is formatted as clang-format writes it, builds
# everything with warnings as errors and runs every test (the Qt ones
# offscreen, then once more under Xvfb with the xcb platform), installs the
# build and builds a consumer of the installed package, makes the Debian
# packages, checks them with lintian and builds a CMake and a pkg-config
# consumer against them unpacked into a scratch root, then builds the tests
# again with AddressSanitizer and UndefinedBehaviorSanitizer and runs them
# once more. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh
jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

echo "== formatting (every C++ file as clang-format writes it)"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
else
  find . \( -path './build*' -o -path ./.git \) -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run --Werror
fi

echo "== build (warnings are errors, at the optimisation level of a release)"
# Some GCC warnings appear only at -O3, where inlining goes deepest; the
# checked build optimises as a Release build does, keeping debug information.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O3 -g -DNDEBUG" \
  -DMORLEX_WARNINGS_AS_ERRORS=ON -DMORLEX_BUILD_BENCH=ON -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build -j "$jobs"
echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"

if [ -x build/bin/morlex_qt_tests ]; then
  echo "== Qt tests under Xvfb (xcb platform)"
  for t in morlex_qt_tests morlex_host_qt_tests morlex_behaviour_tests; do
    xvfb-run -a env QT_QPA_PLATFORM=xcb "build/bin/$t" --gtest_brief=1
  done
  if [ -x build/bin/morlex_quick_tests ]; then
    xvfb-run -a env QT_QPA_PLATFORM=xcb build/bin/morlex_host_quick_tests --gtest_brief=1
    xvfb-run -a env QT_QPA_PLATFORM=xcb build/bin/morlex_quick_tests -input tests/quick \
      -import build/qml
  fi
fi

echo "== install, and a project that uses the installed package"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install build --prefix "$prefix/usr" >/dev/null
cmake -S tests/find-package -B "$prefix/consumer" -DCMAKE_PREFIX_PATH="$prefix/usr" >/dev/null
cmake --build "$prefix/consumer" -j "$jobs" >/dev/null
"$prefix/consumer/consumer_core"
"$prefix/consumer/consumer_qt"
# The QML module: `import Morlex.Controls` from the install alone.
qml_dir=$(find "$prefix/usr/lib" -type d -path '*/qt6/qml' | head -n 1)
if [ -n "$qml_dir" ]; then
  QML2_IMPORT_PATH="$qml_dir" /usr/lib/qt6/bin/qmltestrunner -input tests/quick/import
fi

echo "== Debian packages: lintian, unpacked into a scratch root, consumers built against it"
rm -rf build/packages
(cd build && cpack -G DEB >cpack.log 2>&1) || { cat build/cpack.log; exit 1; }
ls -l build/packages/*.deb
# Warnings are shown; an error fails the run.
lintian build/packages/*.deb 2>&1 | sed 's/^/lintian: /' || { echo "lintian: errors"; exit 1; }
root="$prefix/root"
for deb in build/packages/*.deb; do dpkg-deb -x "$deb" "$root"; done
module=$(find "$root/usr/lib" -name 'libMorlexDateControl.so.1' | head -n 1)
objdump -p "$module" | grep -q 'SONAME *libMorlexDateControl.so.1$'
find "$root/usr/lib" -path '*/qt6/plugins/designer/libmorlexdatewidget.so' | grep -q .
cmake -S tests/find-package -B "$prefix/deb-consumer" -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
cmake --build "$prefix/deb-consumer" -j "$jobs" >/dev/null
"$prefix/deb-consumer/consumer_qt"
if [ -n "$qml_dir" ]; then
  QML2_IMPORT_PATH=$(find "$root/usr/lib" -type d -path '*/qt6/qml' | head -n 1) \
    /usr/lib/qt6/bin/qmltestrunner -input tests/quick/import
fi
pc_dir=$(dirname "$(find "$root/usr/lib" -name morlexdatecontrol-qt.pc | head -n 1)")
PKG_CONFIG_PATH="$pc_dir" make -s -C tests/pkg-config OUT="$prefix"
"$prefix/consumer_pkgconfig"

echo "== sanitizer build (ASan + UBSan)"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMORLEX_WARNINGS_AS_ERRORS=ON \
  -DMORLEX_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
echo "== tests under the sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== fuzz smoke (a fixed number of inputs from a fixed seed; bash fuzz/run.sh SECONDS for longer runs)"
MORLEX_FUZZ_RUNS=${MORLEX_FUZZ_RUNS:-4000} bash fuzz/run.sh
