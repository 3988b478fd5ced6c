# Sourced by the tests that play the game on an X display of their own: failing with the logs,
# waiting with a deadline, starting the display, reading the screens from the game's trace, and
# cleaning up at exit. The sourcing script sets `work` (its folder), `trace`, `logs` (shown on
# failure), `game_pid` for the game and adds other programs it starts to `helper_pids`.
xvfb_pid=
game_pid=
helper_pids=()

# Ends the game at once and the other programs, and removes the test's folder.
cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill -9 "$game_pid" 2>/dev/null; fi
  for pid in "${helper_pids[@]}" "$xvfb_pid"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  [ -n "${work:-}" ] && rm -rf "$work"
}
trap cleanup EXIT

# Skips the test (77) unless every tool named is installed.
need_tools() {
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIPPED: $tool is not installed (scripts/setup.sh --tests installs it)"
      exit 77
    fi
  done
}

fail() {
  echo "FAIL: $*"
  for log in "${logs[@]}"; do
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

# Starts Xvfb on a free display (arguments go to it) and exports DISPLAY; skips the test (77) when
# it cannot. -displayfd picks the number and writes it once the server accepts clients.
start_display() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp "$@" 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  local end=$((SECONDS + 15))
  until [ -s "$work/display" ]; do
    if ! kill -0 "$xvfb_pid" 2>/dev/null || ((SECONDS >= end)); then
      echo "SKIPPED: Xvfb could not start a display: $(tail -n 3 "$work/xvfb.log" | tr '\n' ' ')"
      exit 77
    fi
    sleep 0.1
  done
  export DISPLAY=":$(tr -dc 0-9 <"$work/display")"
}

# Waits up to `seconds` for the game to end by itself; fails unless with status 0.
game_ends() {
  local end=$((SECONDS + $1)) status
  while kill -0 "$game_pid" 2>/dev/null; do
    ((SECONDS < end)) || fail "the game did not end within $1 s"
    sleep 0.1
  done
  wait "$game_pid"
  status=$?
  game_pid=
  [ "$status" -eq 0 ] || fail "the game ended with status $status"
}

# Whether a trace line after line number `after` shows screen `want` (0 menu, 1 game, 2 highscore
# list, 3 name entry). The trace is written in blocks; the screen is the second field of a line.
trace_has_screen_after() {
  [ -f "$trace" ] && awk -v want="$1" -v after="$2" 'NR > after && NF >= 3 && $2 == want { found = 1 }
    END { exit !found }' "$trace"
}

# The game's window, in `window`. SDL may replace its first X window when it sets up the renderer,
# so look it up once frames are being drawn.
find_window() { window=$(xdotool search --onlyvisible --name '^Tavi der Taucher$' 2>/dev/null | tail -n 1); [ -n "$window" ]; }
