#!/usr/bin/env bash
# Makes the README's screenshots with the game itself, headless, from the demos in
# docs/screenshots/. Run after a build: scripts/screenshots.sh [build dir]
# tests/golden_frames_test.cpp expects the game to make these same bytes: run this after a change
# to what the game shows, and look at the pictures before committing them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tavi=$(cd "${1:-$top/build}" && pwd)/tavi
shots="$top/docs/screenshots"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"  # a fresh highscore list
"$tavi" --headless --data-dir "$work" --seed 1 --screenshot "0:$shots/menu.png" 2>/dev/null
"$tavi" --headless --data-dir "$work" --timedemo "$shots/game.demo" --screenshot "509:$shots/game.png" >/dev/null 2>&1
"$tavi" --headless --data-dir "$work" --timedemo "$shots/screens.demo" \
  --screenshot "1528:$shots/name-entry.png" --screenshot "1550:$shots/highscore.png" \
  --screenshot "1620:$shots/instructions.png" >/dev/null 2>&1
ls "$shots"/*.png
