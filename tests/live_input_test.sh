#!/usr/bin/env bash
# Live input on a real X display with a window manager (Xvfb and openbox), keys typed by xdotool:
# twelve quick Tab taps in the menu move the selection frame twelve times; Esc held for two
# seconds in a game ends the game and leaves the program running; a name typed with Shift on a US
# layout ("Tony") and on AZERTY with Shift for the digits (" 42") is stored as typed; F9 pressed in
# a game is no key of the game. The demo recorded meanwhile replays headless to the same
# trace and highscore list. Then F9 silences the effects too: a demo whose game thuds is played
# twice, muted by F9 and muted and unmuted (the sound goes to a file through SDL's disk audio
# driver, the music at volume 0, so that only effects sound).
#
#   tests/live_input_test.sh BUILD_DIR
#
# Exit status 77 (CTest: skipped) when a tool is missing. Every wait has a deadline; a game that
# does not end in time is killed and the test fails.
set -uo pipefail

build=$(cd "${1:?usage: live_input_test.sh BUILD_DIR}" && pwd)
unset LANGUAGE LC_ALL LC_MESSAGES; export LANG=C.UTF-8
source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
need_tools Xvfb openbox xdotool xprop setxkbmap python3

work=$(mktemp -d /tmp/tavi-input-XXXXXX)
data=$work/data  # list, settings and log of the live game
trace=$work/trace.txt
demo=$work/played.demo
raw=$work/sound.raw
logs=("$work/game.log" "$work/xvfb.log" "$work/wm.log" "$data/Error.txt")

# --- The display, its window manager and a US keyboard ----------------------------------------
start_display
openbox --sm-disable >"$work/wm.log" 2>&1 & helper_pids+=($!)
wait_for 10 "the window manager" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"'
setxkbmap us || fail "setxkbmap us"
xdotool mousemove 1279 1023  # off the window: only keys move the selection frame

# --- The live game -------------------------------------------------------------------------------
# A list of ten results of -1, so that every game, ended without a point, reaches the name entry.
mkdir "$data" "$work/replay"
for _ in $(seq 10); do printf -- '-\0\0\0\0\0\0\0\0\0\0\0\377\377\377\377'; done >"$data/Highscore.dat"
cp "$data/Highscore.dat" "$work/replay/Highscore.dat"
# `play OPTION...`: the game in a window, its sound into $raw, unmuted and its music silent.
play() {
  rm -f "$trace" "$raw"
  printf '[sound]\nmusic_volume = 0\n' >"$data/tavi.ini"
  (cd "$work" && SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$raw \
    exec "$build/tavi" --window --data-dir "$data" --trace "$trace" "$@") >"$work/game.log" 2>&1 &
  game_pid=$!
}
play --seed 7 --record "$demo"

lines() { wc -l <"$trace"; }
wait_for 15 "the first frames on the menu" trace_has_screen_after 0 0
wait_for 10 "the window \"Tavi der Taucher\"" find_window
xdotool windowactivate --sync "$window" || fail "the window could not be given the focus"

# Keys held for a few frames each, as a person types: the game reads the keys once a frame.
type_keys() {
  for key in "$@"; do
    xdotool keydown "$key" && sleep 0.12 && xdotool keyup "$key" && sleep 0.12 || fail "xdotool could not type $key"
  done
}

# Twelve taps of Tab, 12 ms apart (xdotool's default), so that several fall into one frame: four
# buttons, so the frame goes round three times. (Taps closer than 2 ms look like the key's
# auto-repeat to SDL.)
xdotool key Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
sleep 0.5

# A game, muted by F9 (held a second, then again) and ended by Esc held for two seconds (the keys
# repeat): the name entry, and the program still running.
type_keys Return
wait_for 10 "a game after Return on the menu" trace_has_screen_after 1 0
xdotool keydown F9 && sleep 1 && xdotool keyup F9 && type_keys F9
xdotool keydown Escape && sleep 2 && xdotool keyup Escape
wait_for 10 "the name entry after the held Esc" trace_has_screen_after 3 0
sleep 0.5
kill -0 "$game_pid" 2>/dev/null || fail "the held Esc ended the program"
[ "$(tail -n 1 "$trace" | awk '{ print $2 }')" = 3 ] || fail "the held Esc went on past the name entry: $(tail -n 1 "$trace")"

# "Tony" with Shift on a US layout, " 42" on AZERTY with Shift for the digits.
xdotool keydown Shift_L && type_keys t && xdotool keyup Shift_L
type_keys o n y
setxkbmap fr || fail "setxkbmap fr"
type_keys space
xdotool keydown Shift_L && type_keys apostrophe eacute && xdotool keyup Shift_L
type_keys Return
setxkbmap us
wait_for 10 "the list after the name" trace_has_screen_after 2 "$(lines)"
type_keys Escape
wait_for 10 "the menu after the list" trace_has_screen_after 0 "$(lines)"
type_keys Escape
game_ends 10

# --- What was played -----------------------------------------------------------------------------
# The moves before the first click, less the one Return made with it.
taps=$(awk '$2 == "click" { exit } $2 == "move" { n++ } END { print n - 1 }' "$demo")
[ "$taps" -eq 12 ] || fail "twelve quick Tab taps moved the selection frame $taps times"
[ "$(head -c 8 "$data/Highscore.dat" | tr '\0' _)" = "tony 42_" ] || fail "the list begins with $(head -c 12 "$data/Highscore.dat" | od -An -c)"

grep -q "F9" "$demo" && fail "F9 reached the recorded key snapshots"

# The recording replays headless to the same frames and the same list.
(cd "$work/replay" && "$build/tavi" --headless --timedemo "$demo" --data-dir "$work/replay" --trace "$work/replay.trace") \
  >"$work/replay.log" 2>&1 || fail "the recorded demo did not replay: $(tail -n 3 "$work/replay.log")"
cmp -s "$trace" "$work/replay.trace" || fail "the replay's trace differs from the live game's"
cmp -s "$data/Highscore.dat" "$work/replay/Highscore.dat" || fail "the replay's list differs from the live game's"
played=$(wc -l <"$trace")

# --- F9 and the effects ----------------------------------------------------------------------------
# A game of seed 7 left alone from frame 1 on: its barrels thud from about 12 to 15 s of game time.
# The frames come as fast as the machine allows, so the whole game is muted, or muted and unmuted,
# by F9 pressed as soon as the window has the focus (the window manager gives it to a new window).
printf 'seed 7\n1 click 450 250\n930 quit\n' >"$work/thuds.demo"
# The loudest twentieth of a second of the 16-bit stereo sound, from `bytes` into it on.
loudest() {
  python3 - "$raw" "$1" <<'EOF'
import array, math, sys
samples = array.array("h", open(sys.argv[1], "rb").read())
first, block = int(sys.argv[2]) // 4, 44100 // 20
levels = [0.0]
for at in range(first, len(samples) // 2 - block, block):
    part = samples[2 * at:2 * (at + block)]
    levels.append(math.sqrt(sum(s * s for s in part) / len(part)))
print(round(max(levels)))
EOF
}
has_focus() { find_window && [ "$(xdotool getwindowfocus)" = "$window" ]; }
levels=()
for presses in "F9" "F9 F9"; do
  play --demo "$work/thuds.demo"
  wait_for 10 "the demo's window with the focus" has_focus
  type_keys $presses
  pressed=$(stat -c %s "$raw")
  game_ends 60
  levels+=("$(loudest $((pressed + 44100 * 4 / 5)))")  # from a fifth of a second later on
done
read -r muted unmuted <<<"${levels[*]}"
((muted < 2)) || fail "the barrels thudded while muted (level $muted)"
((unmuted > 100)) || fail "no thud after F9 pressed twice (level $unmuted)"

echo "PASS: $played frames typed, tapped, held and muted on display $DISPLAY; the demo replays; loudest muted $muted, unmuted $unmuted"
