#!/usr/bin/env bash
# Checks that every C++ file is formatted as clang-format writes it, builds
# everything with warnings as errors and runs every test (the Qt ones
# offscreen, then once more under Xvfb with the xcb platform), installs the
# build and builds a consumer of the installed package, makes the Debian
# packages, checks them with lintian and builds a CMake and a pkg-config
# consumer against them unpacked into a scratch root (and runs one with the
# build tree moved away, tracing that it reads the root's pictures and
# translations and nothing of the tree), then builds the tests
# again with AddressSanitizer and UndefinedBehaviorSanitizer and runs them
# once more. Installs what is missing first. Fails when the tests leave
# anything new in the source tree or folders in the temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."

# What the tree holds before: the tests may add nothing to it. They run with
# a temporary folder of their own, which must hold no folder of theirs after.
in_git=false
git rev-parse --is-inside-work-tree >/dev/null 2>&1 && in_git=true
tree_before=$($in_git && git status --porcelain || true)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch

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
    echo "== Qt Quick tests under Xvfb (xcb platform)"
    xvfb-run -a env QT_QPA_PLATFORM=xcb build/bin/morlex_host_quick_tests --gtest_brief=1
    xvfb-run -a env QT_QPA_PLATFORM=xcb build/bin/morlex_quick_tests -input tests/quick \
      -import build/qml
  fi
  if [ -x build/bin/morlex-demo ]; then
    echo "== the demo read over the AT-SPI bus, as a screen reader reads it"
    bash tools/atspi_check.sh build | grep '^atspi:'
  fi
fi

echo "== install, and a project that uses the installed package"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix" "$scratch"' EXIT
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
qt_library=$(find "$root/usr/lib" -name 'libmorlex_qt.so.1' | head -n 1)
objdump -p "$qt_library" | grep 'SONAME *libmorlex_qt.so.1$' >/dev/null
# Outside the system's library folders, the loader is told where the root's are.
LD_LIBRARY_PATH="$(dirname "$qt_library")" "$prefix/consumer_pkgconfig"

echo "== the unpacked packages run with the build tree moved away, reading only their own files"
# The consumer draws the field and loads the German captions through the
# unpacked library; every file it touches is traced.
mv build "$prefix/build-away"
trap 'if [ -d "$prefix/build-away" ]; then mv "$prefix/build-away" build; fi; rm -rf "$prefix"' EXIT
strace -f -qq -e trace=%file -o "$prefix/files.log" "$prefix/deb-consumer/consumer_qt"
mv "$prefix/build-away" build
grep -q "\"$root/usr/share/MorlexDateControl/artwork/calendar-button.bmp\"" "$prefix/files.log"
grep -q "\"$root/usr/share/MorlexDateControl/translations/morlexdatecontrol_de.qm\"" "$prefix/files.log"
if grep -F "\"$PWD/" "$prefix/files.log"; then
  echo "the installed package looked into the source or build tree"
  exit 1
fi

echo "== sanitizer build (ASan + UBSan)"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMORLEX_WARNINGS_AS_ERRORS=ON \
  -DMORLEX_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
echo "== tests under the sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== fuzz smoke (a fixed number of inputs from a fixed seed; bash fuzz/run.sh SECONDS for longer runs)"
MORLEX_FUZZ_RUNS=${MORLEX_FUZZ_RUNS:-4000} bash fuzz/run.sh

echo "== the source tree and the temporary folder after the tests"
if $in_git; then
  tree_after=$(git status --porcelain)
  if [ "$tree_after" != "$tree_before" ]; then
    echo "the tests changed the source tree:"
    diff <(echo "$tree_before") <(echo "$tree_after") || true
    exit 1
  fi
fi
tmp_left=$(find "$scratch" -mindepth 1 -maxdepth 1 -name 'morlex*' | sort)
if [ -n "$tmp_left" ]; then
  echo "the tests left these in the temporary folder:"
  echo "$tmp_left"
  exit 1
fi
echo "clean"
