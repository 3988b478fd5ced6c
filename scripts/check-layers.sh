#!/usr/bin/env bash
# Checks that every #include "..." under src/ points down the layers, never up:
#   base 0, platform 1, graphics/input/sound/highscore 2, game 3, app 4.
# Outside src/platform/ only platform/platform.h may be included from platform/ (and nothing of
# it from src/game/); SDL headers only inside src/platform/. Prints FILE:LINE for each offence and
# exits 1 when there is one.
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}
cd "$src"

find . -name '*.h' -o -name '*.cpp' | sort | sed 's|^\./||' | xargs awk '
  function rank(dir) {
    if (dir == "base") return 0
    if (dir == "platform") return 1
    if (dir == "graphics" || dir == "input" || dir == "sound" || dir == "highscore") return 2
    if (dir == "game") return 3
    if (dir == "app") return 4
    return -1
  }
  function report(why) {
    printf "src/%s:%d: %s: %s\n", FILENAME, FNR, why, $0
    bad = 1
  }
  FNR == 1 { split(FILENAME, parts, "/"); from = parts[1]; fromRank = rank(from) }
  /^[ \t]*#[ \t]*include[ \t]*[<"]/ {
    line = $0
    sub(/^[ \t]*#[ \t]*include[ \t]*/, "", line)
    target = substr(line, 2)
    sub(/[">].*$/, "", target)
    if (target ~ /^SDL2?\// || target ~ /^SDL(_[a-z_0-9]+)?\.h$/) {
      if (from != "platform") report("SDL header outside src/platform/")
      next
    }
    if (substr(line, 1, 1) != "\"") next
    n = split(target, t, "/")
    if (n < 2) { report("include without its folder"); next }
    to = t[1]
    toRank = rank(to)
    if (fromRank < 0) { report("file outside the known layers"); next }
    if (toRank < 0) { report("include of an unknown folder"); next }
    if (to == "platform" && from != "platform") {
      if (from == "game") { report("src/game/ includes platform/"); next }
      if (target != "platform/platform.h") { report("only platform/platform.h may be included from outside src/platform/"); next }
    }
    if (toRank > fromRank) report("include points up a layer")
    else if (toRank == fromRank && to != from) report("include across layers of the same rank")
  }
  END { exit bad }
' || exit 1
