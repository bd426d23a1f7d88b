#!/usr/bin/env bash
# Keeps the folders layered as cmake/layers.txt orders them: a folder may
# include the headers of the folders below it (and its own), never those of a
# folder above it or beside it, and nothing below the Qt layers (qtshared/,
# then qt/) includes Qt. Also
# refuses includes that climb out of a folder with "../", which would get
# round the check, and quoted includes of another folder's private headers
# (those under its src/): a test includes only those of the folder it tests,
# with a comment on the line that says why. Checks too that the CMake files
# and README.md list the folders in the same order.
#
#   bash scripts/check-layers.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

layers=$(grep -v '^#' cmake/layers.txt | grep -v '^[[:space:]]*$')
ranks=$(echo "$layers" | awk '{ for (i = 1; i <= NF; ++i) print $i, NR }')
folders=""
for f in $(echo "$layers" | tr '\n' ' '); do
  [ -d "$f" ] && folders="$folders $f"
done
bad=0

# shellcheck disable=SC2086  # the folder list is meant to split
found=$(grep -rnE --include='*.h' --include='*.cpp' \
  '^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"]morlex/|"\.\./|<Q)' $folders || true)

echo "$found" | awk -v ranks="$ranks" '
  BEGIN {
    n = split(ranks, lines, "\n")
    for (i = 1; i <= n; ++i) { split(lines[i], f, " "); rank[f[1]] = f[2] }
    qt_rank = ("qtshared" in rank) ? rank["qtshared"] : rank["qt"]
    bad = 0
  }
  $0 == "" { next }
  {
    split($0, parts, ":"); file = parts[1]; split(file, path, "/"); folder = path[1]
    where = parts[1] ":" parts[2]
    text = substr($0, length(parts[1]) + length(parts[2]) + 3)
    if (text ~ /"\.\.\//) {
      print where ": climbs out with ../: " text; bad = 1; next
    }
    if (text ~ /<Q/) {
      if (rank[folder] < qt_rank) { print where ": Qt below the Qt layers: " text; bad = 1 }
      next
    }
    match(text, /morlex\/[A-Za-z0-9_]+\//)
    target = substr(text, RSTART + 7, RLENGTH - 8)
    if (!(target in rank)) {
      print where ": no folder " target "/ for " text; bad = 1
    } else if (target != folder && rank[target] >= rank[folder]) {
      print where ": " folder "/ includes " target "/, which is not below it"; bad = 1
    }
  }
  END { exit bad }
' || bad=1

# Private headers: every header under a folder's src/, known by the name it
# is included with (its path below src/) and the folder it belongs to (the
# path before /src/, so host/qt is a folder of its own).
# shellcheck disable=SC2086
private=$(find $folders -path '*/src/*' -name '*.h' | sed -E 's#^(.*)/src/(.*)$#\2 \1#')
# shellcheck disable=SC2086
quoted=$(grep -rnE --include='*.h' --include='*.cpp' \
  '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' $folders tests |
  grep -vE ':[[:space:]]*#[[:space:]]*include[[:space:]]*"(morlex/|\.\./)' || true)

echo "$quoted" | awk -v private="$private" '
  BEGIN {
    n = split(private, lines, "\n")
    for (i = 1; i <= n; ++i) {
      split(lines[i], f, " ")
      if (f[1] != "") owners[f[1]] = owners[f[1]] " " f[2] " "
    }
    bad = 0
  }
  $0 == "" { next }
  {
    split($0, parts, ":"); file = parts[1]
    where = parts[1] ":" parts[2]
    text = substr($0, length(parts[1]) + length(parts[2]) + 3)
    match(text, /"[^"]+"/); name = substr(text, RSTART + 1, RLENGTH - 2)
    if (!(name in owners)) next  # a header of its own folder, or a test helper
    dir = file; sub(/\/[^\/]*$/, "", dir)
    if (file ~ /^tests\//) {
      tested = dir; sub(/^tests\//, "", tested)
      if (index(owners[name], " " tested " ") == 0) {
        print where ": a test of " tested "/ includes another folder'"'"'s private " name; bad = 1
      } else if (text !~ /\/\/ *[^ ]/) {
        print where ": says not why it includes the private " name; bad = 1
      }
      next
    }
    own = file
    if (own ~ /\/src\//) sub(/\/src\/.*$/, "", own); else own = dir
    if (index(owners[name], " " own " ") == 0) {
      print where ": includes " name ", a private header of" owners[name]; bad = 1
    }
  }
  END { exit bad }
' || bad=1

# The same order in the CMake files and in README.md's picture of the layers.
check_order() {  # FILE: the folders named by add_subdirectory(...) in FILE
  grep -oE '^[[:space:]]*add_subdirectory\([a-z]+\)' "$1" | sed -E 's/.*\((.*)\)/\1/' |
    awk -v ranks="$ranks" -v file="$1" '
      BEGIN {
        n = split(ranks, lines, "\n")
        for (i = 1; i <= n; ++i) { split(lines[i], f, " "); rank[f[1]] = f[2] }
        last = 0; bad = 0
      }
      ($1 in rank) {
        if (rank[$1] < last) { print file ": " $1 " comes after a folder above it"; bad = 1 }
        last = rank[$1]
      }
      END { exit bad }'
}
check_order CMakeLists.txt || bad=1
check_order tests/CMakeLists.txt || bad=1
readme=$(awk '/^## Layout/ { on = 1 } on && /^```/ { if (inside) exit; inside = 1; next }
              inside { line = ""; for (i = 1; i <= NF && $i ~ /^[a-z]+$/; ++i) line = line " " $i
                       if (line != "") print substr(line, 2) }' README.md |
  awk -v ranks="$ranks" '
    BEGIN { n = split(ranks, l, "\n"); for (i = 1; i <= n; ++i) { split(l[i], f, " "); known[f[1]] = 1 } }
    { line = ""; for (i = 1; i <= NF && ($i in known); ++i) line = line " " $i; print substr(line, 2) }' |
  tac)
if [ "$readme" != "$layers" ]; then
  echo "README.md: its picture of the layers is not cmake/layers.txt's:"
  diff <(echo "$layers") <(echo "$readme") || true
  bad=1
fi

if [ "$bad" -ne 0 ]; then
  echo "layers: see above" >&2
  exit 1
fi
echo "layers: every include goes down"
