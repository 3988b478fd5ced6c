#!/usr/bin/env bash
# The installed game on a real X display. Installs the build into a temporary prefix,
# starts the INSTALLED game full screen on its own Xvfb (no window manager) from an
# empty working directory and checks that the whole frame covers the screen, switches to a window
# with Alt+Enter, clicks to the highscore list and back, shrinks the window and does it again,
# toggles full screen twice (back in the shrunk size), pauses a game by taking the focus away and
# ends it with Esc from the menu: exit status 0, the highscore list in the per-user data folder,
# the shrunk size in the settings and nothing in the working directory.
#
#   tests/desktop_test.sh BUILD_DIR
#
# Exit status 77 (CTest: skipped) when Xvfb, xdotool, xprop, xmessage or setxkbmap is missing. Every wait has a deadline; a
# game that does not end in time is killed and the test fails.
set -uo pipefail

build=$(cd "${1:?usage: desktop_test.sh BUILD_DIR}" && pwd)
# German whatever the locale of the run: the window is looked for by its German title.
unset LANGUAGE LC_ALL LC_MESSAGES; export LANG=C.UTF-8
source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
need_tools Xvfb xdotool xwininfo xprop xmessage setxkbmap cmake

work=$(mktemp -d /tmp/tavi-desktop-XXXXXX)
prefix=$work/prefix
run=$work/run  # the game's working directory, empty at the start and at the end
home=$work/home  # the player's home: settings, list and log go below it
trace=$work/trace.txt
logs=("$work/game.log" "$work/xvfb.log" "$home/.local/state/tavi/error.log")

# --- The installation -------------------------------------------------------------------------
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "cmake --install failed"; }

# The installed files themselves are checked by install_test.sh.
[ -x "$prefix/bin/tavi" ] || fail "no executable bin/tavi"

# --- Our own X display ------------------------------------------------------------------------
# -fbdir keeps the screen's pixels in an XWD file, read by pixel() below.
start_display -fbdir "$work"

# --- The installed game -----------------------------------------------------------------------
mkdir "$run" "$home"
# A list of ten results of -1, so that the game below, ended without a point, reaches the name entry.
mkdir -p "$home/.local/share/tavi"
for _ in $(seq 10); do printf -- '-\0\0\0\0\0\0\0\0\0\0\0\377\377\377\377'; done >"$home/.local/share/tavi/Highscore.dat"
(cd "$run" && HOME=$home XDG_DATA_HOME= XDG_STATE_HOME= XDG_CONFIG_HOME= SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy exec "$prefix/bin/tavi" --trace "$trace") \
  >"$work/game.log" 2>&1 &
game_pid=$!

wait_for 15 "the first frames on the menu" trace_has_screen_after 0 0
wait_for 10 "the window \"Tavi der Taucher\"" find_window
# Pointer actions in window coordinates.
pointer() { xdotool mousemove --window "$window" "$@" || fail "xdotool could not act on the window"; }

# The colour "r g b" at (x, y) of the screen, from Xvfb's XWD file (32-bit words, big-endian
# header; pixels stored blue first).
pixel() {
  local fb=$work/Xvfb_screen0 offset
  offset=$(od -An -tu1 -v -N100 "$fb" | awk -v x="$1" -v y="$2" '
    function word(k) { return ((b[4*k] * 256 + b[4*k+1]) * 256 + b[4*k+2]) * 256 + b[4*k+3] }
    { for (i = 1; i <= NF; i++) b[n++] = $i }
    END { print word(0) + word(19) * 12 + y * word(12) + x * word(11) / 8 }')
  od -An -tu1 -j "$offset" -N3 "$fb" | awk '{ print $3, $2, $1 }'
}
is_colour() {  # x y blue|black
  local r g b
  read -r r g b <<<"$(pixel "$1" "$2")"
  case $3 in
    blue) ((b > 200 && r < 60 && g < 60)) ;;
    black) ((r + g + b < 30)) ;;
  esac
}
# Full screen on 1280 x 1024: the frame scaled to 1280 x 960 between black bars. The menu's water
# is blue at the frame's left and right edges; a frame cut off or off centre fails here.
frame_fills_screen() {
  is_colour 640 4 black && is_colour 640 1019 black && is_colour 2 34 blue && is_colour 1277 34 blue &&
    is_colour 2 400 blue && is_colour 1277 400 blue
}
# WIDTHxHEIGHT+X+Y: clicks go to the right place only once the window has also moved.
geometry() {
  xwininfo -id "$window" 2>/dev/null | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
    /Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h "+" x "+" y }'
}
is_size() { [ "$(geometry)" = "$1" ]; }
toggle() { xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key --clearmodifiers alt+Return; }

wait_for 10 "the whole frame on the screen at the start" frame_fills_screen
toggle
wait_for 10 "a 1024x768 window in the middle after Alt+Enter" is_size 1024x768+128+128

# The window class the desktop entry's StartupWMClass names, and the game's own window icon.
xprop -id "$window" WM_CLASS | grep -qF '"tavi", "tavi"' || fail "window class: $(xprop -id "$window" WM_CLASS)"
has_icon() { xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (64 x 64)'; }
wait_for 10 "the window's 64 x 64 icon" has_icon

# Clicks to the highscore list and back; `scale` and `top` map frame to window coordinates.
highscore_and_back() {
  local scale=$1 top=$2 shown
  # Menu: the highscore button (the game tests the click 16 pixels further on: 500, 460).
  pointer "$(awk -v s="$scale" 'BEGIN { print int(484 * s) }')" \
    "$(awk -v s="$scale" -v t="$top" 'BEGIN { print int(t + 444 * s) }')" click 1
  wait_for 10 "the highscore list after clicking its button" trace_has_screen_after 2 "$(wc -l <"$trace")"
  shown=$(wc -l <"$trace")
  # Highscore list: "Zurück" (tested at 500, 716).
  pointer "$(awk -v s="$scale" 'BEGIN { print int(484 * s) }')" \
    "$(awk -v s="$scale" -v t="$top" 'BEGIN { print int(t + 700 * s) }')" click 1
  wait_for 10 "the menu after clicking the back button" trace_has_screen_after 0 "$shown"
}
highscore_and_back 1 0

# A 640 x 600 window shows the frame at 640 x 480 with bars of 60 above and below.
xdotool windowsize "$window" 640 600
wait_for 10 "the 640x600 window" is_size 640x600+128+128
highscore_and_back 0.625 60

# Alt+Enter to full screen and back into the shrunk window.
toggle
wait_for 10 "the whole frame on the screen after Alt+Enter" frame_fills_screen
toggle
wait_for 10 "the 640x600 window in the middle after the second Alt+Enter" is_size 640x600+320+212

# A game ("Neues Spiel", tested at 500, 260; the diver's x is a trace line's fifth field). Taking the
# focus away pauses it: the trace stops for longer than a written block takes while frames are counted.
grown_since() { [ "$(stat -c %s "$trace")" -gt "$1" ]; }
diver_moves_after() { awk -v after="$1" 'NR > after && $2 == 1 { if (seen && $5 != x) moved = 1; x = $5; seen = 1 }
    END { exit !moved }' "$trace"; }
pointer 302 212 click 1
xdotool keydown Right
wait_for 10 "the diver swimming right" diver_moves_after 0
xmessage -geometry +0+0 other >/dev/null 2>&1 & helper_pids+=($!)
other=$(timeout 10 xdotool search --sync --onlyvisible --class Xmessage | head -n 1) || fail "no second X window"
xdotool windowfocus --sync "$other"
sleep 1 && paused_at=$(stat -c %s "$trace") && sleep 4
grown_since "$paused_at" && fail "frames were counted after the game lost the focus"
xdotool windowfocus --sync "$window" key p
wait_for 10 "the trace going on after P" grown_since "$paused_at"
xdotool keyup Right keydown Left  # held keys count again once pressed anew; Right may be at the edge
wait_for 10 "the diver swimming left after the pause" diver_moves_after "$(wc -l <"$trace")"
pointer 10 10 keyup Left key Escape  # 0 points beat the list's -1: the name entry
wait_for 10 "the name entry after Esc in the game" trace_has_screen_after 3 "$(wc -l <"$trace")"

# A name typed on a US keyboard comes out as labelled ("tony", not "tonz"). Each key is held for a
# few frames: the keys are read once a frame.
setxkbmap us
for key in t o n y Return; do xdotool keydown "$key" && sleep 0.15 && xdotool keyup "$key" && sleep 0.15; done
wait_for 10 "the list after Return" trace_has_screen_after 2 "$(wc -l <"$trace")"
pointer 10 10 key Escape
wait_for 10 "the menu after Esc on the list" trace_has_screen_after 0 "$(wc -l <"$trace")"

# Esc in the menu ends the program.
pointer 10 10 key Escape
game_ends 10
[ "$(tail -n 1 "$trace" | awk '{ print $2 }')" = 0 ] || fail "the last frame was not the menu"

list=$home/.local/share/tavi/Highscore.dat
[ -f "$list" ] || fail "no Highscore.dat in the data folder"
[ "$(stat -c %s "$list")" -eq 160 ] || fail "Highscore.dat is not 160 bytes"
[ "$(head -c 5 "$list" | od -An -c | tr -d ' ')" = 'tony\0' ] || fail "the list begins with $(head -c 12 "$list" | od -An -c)"
log=$home/.local/state/tavi/error.log
if [ -f "$log" ] && grep -q "Laden" "$log"; then
  fail "the installed game could not load its media: $(head -n 3 "$log")"
fi
[ -z "$(ls -A "$run")" ] || fail "the game wrote into its working directory: $(ls -A "$run")"
grep -qx "window_width = 640" "$home/.config/tavi/tavi.ini" && grep -qx "window_height = 600" "$home/.config/tavi/tavi.ini" ||
  fail "the settings do not remember the 640x600 window"

echo "PASS: installed, played $(wc -l <"$trace") frames on display $DISPLAY, exit status 0"
