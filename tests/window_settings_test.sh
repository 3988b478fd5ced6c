#!/usr/bin/env bash
# tests/window_settings_test.sh TAVI: on Xvfb at 1920 x 1080 (no window manager), a remembered
# window of 2500 x 1800 opens inside the screen with its aspect kept; after Alt+Enter and Esc the
# settings file differs only in "fullscreen = true" (the size it was fitted to is not written).
# Exit status 77 (skipped) without Xvfb, xdotool or xwininfo; every wait has a deadline.
set -uo pipefail
tavi=$(realpath "$1")
unset LANGUAGE LC_ALL LC_MESSAGES; export LANG=C.UTF-8  # the window is found by its German title
for tool in Xvfb xdotool xwininfo; do command -v "$tool" >/dev/null || { echo "SKIPPED: no $tool"; exit 77; }; done
work=$(mktemp -d /tmp/tavi-window-XXXXXX)
xvfb_pid= game_pid= opened=
trap '[ -n "$game_pid" ] && kill -9 "$game_pid"; [ -n "$xvfb_pid" ] && kill "$xvfb_pid"; wait; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*${opened:+ (window W H X Y: $opened)}"; tail -n 10 "$work/game.log"; exit 1; }
wait_for() {  # SECONDS WHAT COMMAND...
  local end=$((SECONDS + $1)) what=$2
  shift 2
  until "$@"; do ((SECONDS < end)) || fail "timed out waiting for $what"; sleep 0.1; done
}

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 150); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "SKIPPED: Xvfb did not start"; exit 77; }
export DISPLAY=":$(tr -dc 0-9 <"$work/display")"

settings=$'; mine\n[display]\nfullscreen = false ; a window\nwindow_width = 2500\nwindow_height = 1800\n'
settings+=$'[sound]\nmusic_volume = 40'
printf '%s\n' "$settings" >"$work/tavi.ini"
(cd "$work" && SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy exec "$tavi" --data-dir "$work" --frames 3000) \
  >"$work/game.log" 2>&1 &
game_pid=$!
# Within the screen, as tall as fits and 2500:1800 to a pixel. SDL may replace its first window.
inside() {
  window=$(xdotool search --onlyvisible --name '^Tavi der Taucher$' 2>/dev/null | tail -n 1)
  [ -n "$window" ] && opened=$(xwininfo -id "$window" 2>/dev/null | awk '/Absolute upper-left X:/ { x = $4 }
    /Absolute upper-left Y:/ { y = $4 } /Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h, x, y }')
  read -r w h x y <<<"$opened"
  ((x >= 0 && y >= 0 && x + w <= 1920 && y + h <= 1080 && h > 800 && w * 1800 / h >= 2496 && w * 1800 / h <= 2504))
}
wait_for 20 "the window inside the screen with its aspect" inside
xdotool windowfocus --sync "$window" key --clearmodifiers alt+Return sleep 1 key Escape  # Esc in the menu ends it
gone() { ! kill -0 "$game_pid" 2>/dev/null; }
wait_for 15 "the game to end after Esc" gone
wait "$game_pid" || fail "the game ended with status $?"
game_pid=
[ "$(cat "$work/tavi.ini")" = "${settings/fullscreen = false/fullscreen = true}" ] ||
  fail "tavi.ini: $(cat "$work/tavi.ini")"
echo "PASS: a remembered 2500 x 1800 window opened inside 1920 x 1080 (W H X Y: $opened); full screen remembered"
