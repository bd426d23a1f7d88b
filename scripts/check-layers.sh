#!/usr/bin/env bash
# Keeps the folders layered: a folder may include the headers of the folders
# below it in the order here (and its own), never those of a folder above it
# or beside it, and nothing below qt/ includes Qt. Also refuses includes that
# climb out of a folder with "../", which would get round the check.
#
#   bash scripts/check-layers.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# Bottom up; folders on one line share a layer and do not see each other.
layers="core
platform
designs artwork
calendar
control
storage
component
headless
qt quick
host designer
apps"

ranks=$(echo "$layers" | awk '{ for (i = 1; i <= NF; ++i) print $i, NR }')
folders=$(echo "$layers" | tr '\n' ' ')

# shellcheck disable=SC2086  # the folder list is meant to split
found=$(grep -rnE --include='*.h' --include='*.cpp' \
  '^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"]morlex/|"\.\./|<Q)' $folders || true)

echo "$found" | awk -v ranks="$ranks" '
  BEGIN {
    n = split(ranks, lines, "\n")
    for (i = 1; i <= n; ++i) { split(lines[i], f, " "); rank[f[1]] = f[2] }
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
      if (rank[folder] < rank["qt"]) { print where ": Qt below qt/: " text; bad = 1 }
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
' && echo "layers: every include goes down" || { echo "layers: see above" >&2; exit 1; }
