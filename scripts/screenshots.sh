#!/usr/bin/env bash
# Makes the README's screenshots with the game itself, headless, from the demos in
# docs/screenshots/: German ones there, each other language's in docs/screenshots/CODE/ (the
# menu and the instructions; English also the other screens). Run after a build:
# scripts/screenshots.sh [build dir]
# tests/golden_frames_test.cpp expects the game to make these same bytes: run this after a change
# to what the game shows, and look at the pictures before committing them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tavi=$(cd "${1:-$top/build}" && pwd)/tavi
shots="$top/docs/screenshots"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# shots LANGUAGE FOLDER: the menu and the instructions, and with `all` also a game, the name entry
# and the highscore list
shots() {
  mkdir -p "$2"
  rm -f "$work/Highscore.dat"  # a fresh highscore list
  "$tavi" --headless --lang "$1" --data-dir "$work" --seed 1 --screenshot "0:$2/menu.png" 2>/dev/null
  if [ "${3:-}" != all ]; then
    "$tavi" --headless --lang "$1" --data-dir "$work" --timedemo "$shots/screens.demo" \
      --screenshot "1620:$2/instructions.png" >/dev/null 2>&1
    return
  fi
  "$tavi" --headless --lang "$1" --data-dir "$work" --timedemo "$shots/game.demo" --screenshot "509:$2/game.png" >/dev/null 2>&1
  "$tavi" --headless --lang "$1" --data-dir "$work" --timedemo "$shots/screens.demo" \
    --screenshot "1528:$2/name-entry.png" --screenshot "1550:$2/highscore.png" \
    --screenshot "1620:$2/instructions.png" >/dev/null 2>&1
}
shots de "$shots" all
shots en "$shots/en" all
# Every other language with a catalogue: po/CODE.po.
for po in "$top"/po/*.po; do
  language=$(basename "$po" .po)
  case $language in de | en) ;; *) shots "$language" "$shots/$language" ;; esac
done
ls "$shots"/*.png "$shots"/*/*.png
