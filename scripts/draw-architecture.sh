#!/usr/bin/env bash
# Draws docs/images/architecture.svg: the folders and which folder's targets
# link which, from the build's own target graph. CMake writes the targets and
# their links (--graphviz), each target goes to the folder whose CMake file
# makes it, Graphviz's tred keeps only the links that no longer path implies,
# and dot draws them top down, the layers of cmake/layers.txt in rows.
# Run it again after a change of the folders or of what they link.
#
#   bash scripts/draw-architecture.sh [OUTPUT.svg]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/images/architecture.svg}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

mkdir -p "$scratch/build"
cat >"$scratch/build/CMakeGraphVizOptions.cmake" <<'OPTIONS'
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
OPTIONS
cmake -S . -B "$scratch/build" -DMORLEX_BUILD_TESTS=OFF -DMORLEX_BUILD_BENCH=OFF \
  -DMORLEX_INSTALL=OFF --graphviz="$scratch/targets.dot" >/dev/null

# target folder: the folder of the CMakeLists.txt that makes the target.
grep -rnoE --include=CMakeLists.txt \
  '^[[:space:]]*(morlex_add_library|add_library|add_executable)\([A-Za-z0-9_-]+' \
  $(grep -v '^#' cmake/layers.txt | tr '\n' ' ') |
  sed -E 's#^(.*)/CMakeLists.txt:[0-9]+:.*\(([A-Za-z0-9_-]+)$#\2 \1#' | sort -k2,2 -k1,1 \
  >"$scratch/folders"

awk -v layers="$(grep -v '^#' cmake/layers.txt | grep -v '^[[:space:]]*$')" '
  FNR == NR {
    folder[$1] = $2
    if (!($2 in listed)) { listed[$2] = 1; order[++folders] = $2 }
    next
  }
  /^ *"node[0-9]+" \[ label/ {
    match($0, /"node[0-9]+"/); id = substr($0, RSTART, RLENGTH)
    match($0, /label = "[^"\\]+/); name = substr($0, RSTART + 9, RLENGTH - 9)
    if (name in folder) { of[id] = folder[name]; seen[folder[name]] = 1 }
    next
  }
  /^ *"node[0-9]+" -> "node[0-9]+"/ {
    split($0, e, "\""); a = of["\"" e[2] "\""]; b = of["\"" e[4] "\""]
    if (a != "" && b != "" && a != b) edge[a "\" -> \"" b] = 1
  }
  END {
    print "digraph folders {"
    print "  rankdir = TB; nodesep = 0.3; ranksep = 0.45;"
    print "  node [shape = box, style = \"rounded,filled\", fillcolor = \"#eef2f8\", fontname = \"DejaVu Sans\", fontsize = 11];"
    print "  edge [color = \"#7a869a\", arrowsize = 0.6];"
    n = split(layers, line, "\n")
    for (i = 1; i <= n; ++i) {
      printf "  { rank = same;"
      m = split(line[i], top, " ")
      for (o = 1; o <= folders; ++o) {
        f = order[o]
        if (!(f in seen)) continue
        split(f, part, "/")
        for (j = 1; j <= m; ++j) if (part[1] == top[j]) printf " \"%s\";", f
      }
      print " }"
    }
    for (k in edge) print "  \"" k "\";"
    print "}"
  }' "$scratch/folders" "$scratch/targets.dot" >"$scratch/folders.dot"

# Sorted, so that the picture changes only when the folders or links do.
{ head -n 4 "$scratch/folders.dot"; sed -n '5,$p' "$scratch/folders.dot" | grep -v '^}$' | sort
  echo "}"; } >"$scratch/sorted.dot"
tred "$scratch/sorted.dot" | dot -Tsvg >"$out"
echo "drew $out"
