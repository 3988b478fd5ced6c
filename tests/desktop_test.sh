#!/usr/bin/env bash
# The installed game on a real X display. Installs the build into a temporary prefix, checks the
# installed files, starts the INSTALLED game in a window on its own Xvfb from an empty working
# directory, clicks to the highscore list and back, toggles full screen twice with Alt+Enter and
# ends the game with Esc from the menu: exit status 0 and "Highscore.dat" in that directory.
#
#   tests/desktop_test.sh BUILD_DIR
#
# Exit status 77 (CTest: skipped) when Xvfb, xdotool or xprop is missing. Every wait has a deadline; a
# game that does not end in time is killed and the test fails.
set -uo pipefail

build=$(cd "${1:?usage: desktop_test.sh BUILD_DIR}" && pwd)
for tool in Xvfb xdotool xprop cmake; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed (scripts/setup.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d /tmp/tavi-desktop-XXXXXX)
prefix=$work/prefix
run=$work/run  # the game's working directory, empty at the start
trace=$work/trace.txt
xvfb_pid=
game_pid=

cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill -9 "$game_pid" 2>/dev/null; fi
  if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then kill "$xvfb_pid" 2>/dev/null; fi
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  for log in "$work/game.log" "$work/xvfb.log" "$run/Error.txt"; do
    [ -s "$log" ] && sed "s|^|  $(basename "$log"): |" "$log" | tail -20
  done
  [ -s "$trace" ] && echo "  last trace line: $(tail -n 1 "$trace")"
  exit 1
}

# Polls a command every 0.1 s until it succeeds or `seconds` pass.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  local end=$((SECONDS + seconds))
  until "$@"; do
    if [ -n "$game_pid" ] && ! kill -0 "$game_pid" 2>/dev/null; then
      fail "the game ended while waiting for $what"
    fi
    ((SECONDS < end)) || fail "timed out after ${seconds} s waiting for $what"
    sleep 0.1
  done
}

# Width and height of a PNG from its header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

# --- The installation -------------------------------------------------------------------------
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "cmake --install failed"; }

[ -x "$prefix/bin/tavi" ] || fail "no executable bin/tavi"
for name in title.bmp sand.bmp schrift.bmp "faß.bmp" "löschen.bmp" background.mid "faß.wav"; do
  [ -s "$prefix/share/tavi/media/$name" ] || fail "media file share/tavi/media/$name is missing"
done
[ -e "$prefix/share/tavi/media/.stamp" ] && fail "the build's stamp file was installed"

desktop=$prefix/share/applications/tavi.desktop
[ -f "$desktop" ] || fail "no share/applications/tavi.desktop"

for size in 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/tavi.png
  [ -f "$icon" ] || fail "no icon ${size}x${size}"
  [ "$(png_size "$icon")" = "${size}x${size}" ] ||
    fail "icon ${size}x${size} is $(png_size "$icon") pixels"
done

# --- Our own X display ------------------------------------------------------------------------
# -displayfd picks a free display number and writes it once the server accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
end=$((SECONDS + 15))
until [ -s "$work/display" ]; do
  if ! kill -0 "$xvfb_pid" 2>/dev/null || ((SECONDS >= end)); then
    echo "SKIPPED: Xvfb could not start a display: $(tail -n 3 "$work/xvfb.log" | tr '\n' ' ')"
    exit 77
  fi
  sleep 0.1
done
export DISPLAY=":$(tr -dc 0-9 <"$work/display")"

# --- The installed game -----------------------------------------------------------------------
mkdir "$run"
(cd "$run" && SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy exec "$prefix/bin/tavi" --window --trace "$trace") \
  >"$work/game.log" 2>&1 &
game_pid=$!

# Whether a trace line after line number `after` shows screen `want` (0 menu, 2 highscore list).
# The trace is written in blocks; the screen is the second field of a line.
trace_has_screen_after() {
  [ -f "$trace" ] && awk -v want="$1" -v after="$2" 'NR > after && NF >= 3 && $2 == want { found = 1 }
    END { exit !found }' "$trace"
}

# SDL may replace its first X window when it sets up the renderer, so the window is looked up
# once frames are being drawn.
wait_for 15 "the first frames on the menu" trace_has_screen_after 0 0
find_window() { window=$(xdotool search --onlyvisible --name '^Tavi der Taucher$' 2>/dev/null | tail -n 1); [ -n "$window" ]; }
wait_for 10 "the window \"Tavi der Taucher\"" find_window
# Pointer actions in window coordinates.
pointer() { xdotool mousemove --window "$window" "$@" || fail "xdotool could not act on the window"; }

# Menu: the highscore button (the game tests the click 16 pixels further on: 500, 460).
pointer 484 444 click 1
wait_for 10 "the highscore list after clicking its button" trace_has_screen_after 2 0
shown=$(awk '$2 == 2 { print NR; exit }' "$trace")

# Highscore list: "Zurück" (tested at 500, 716).
pointer 484 700 click 1
wait_for 10 "the menu after clicking the back button" trace_has_screen_after 0 "$shown"

# Alt+Enter to full screen and back. Xvfb has no window manager to resize the window, but SDL
# drops the fixed-size hints of the 1024 x 768 window for full screen and sets them again after.
xdotool windowfocus --sync "$window" 2>/dev/null || true
fixed_size() { xprop -id "$window" WM_NORMAL_HINTS 2>/dev/null | awk '/maximum size/ { print $5 "x" $7 }'; }
is_full_screen() { [ -z "$(fixed_size)" ]; }
is_window() { [ "$(fixed_size)" = 1024x768 ]; }
wait_for 5 "the window's fixed 1024x768 size" is_window
xdotool key --clearmodifiers alt+Return
wait_for 10 "full screen after Alt+Enter" is_full_screen
xdotool key --clearmodifiers alt+Return
wait_for 10 "the window after the second Alt+Enter" is_window

# Esc in the menu ends the program.
pointer 10 10 key Escape
end=$((SECONDS + 10))
while kill -0 "$game_pid" 2>/dev/null; do
  ((SECONDS < end)) || fail "the game did not end within 10 s of Esc in the menu"
  sleep 0.1
done
wait "$game_pid"
status=$?
game_pid=
[ "$status" -eq 0 ] || fail "the game ended with status $status"
[ "$(tail -n 1 "$trace" | awk '{ print $2 }')" = 0 ] || fail "the last frame was not the menu"

[ -f "$run/Highscore.dat" ] || fail "no Highscore.dat in the working directory"
[ "$(stat -c %s "$run/Highscore.dat")" -eq 160 ] || fail "Highscore.dat is not 160 bytes"
if [ -f "$run/Error.txt" ] && grep -q "Laden" "$run/Error.txt"; then
  fail "the installed game could not load its media: $(head -n 3 "$run/Error.txt")"
fi

echo "PASS: installed, played $(wc -l <"$trace") frames on display $DISPLAY, exit status 0"
