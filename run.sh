#!/usr/bin/env bash
# Sets everything up (packages, build, media) and starts the game. Arguments go to the game,
# for example ./run.sh --window
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh"

# The game directory holds the executable and its media; the highscore list and the error log
# are written there too and survive rebuilds.
game_dir="$top/game"
mkdir -p "$game_dir"
cp "$top/build/tavi" "$game_dir/tavi"
rm -rf "$game_dir/media"
cp -r "$top/build/media" "$game_dir/media"
cd "$game_dir"
exec ./tavi "$@"
