#!/usr/bin/env bash
# Soak test: a long demo of random but plausible play (hundreds of games, names entered, the list
# cleared now and then, every screen visited) played with --headless --timedemo by the sanitizer
# build. Resident memory is sampled from /proc while the game runs and reported every 100,000
# frames; at the end the sanitizers' findings, the error file and the frames played are checked.
# Not part of CI: a million frames take a quarter of an hour or more under the sanitizers.
#
#   scripts/soak.sh [FRAMES [SEED]]       defaults: 1000000 frames, seed 1
#
# Leaves the demo, the trace, standard error and the memory samples in build-asan/soak/.
# TAVI_SOAK_EXE=build/tavi plays the Release build instead (into build-asan/soak-build/).
# Exit status 0 when the whole demo was played with no sanitizer finding and resident memory at
# the end lies within 2 MB of that after the first 100,000 frames.
set -euo pipefail

frames=${1:-1000000}
seed=${2:-1}
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build-asan   # the sanitize preset
out=$build/soak

# TAVI_SOAK_EXE plays another build (for instance build/tavi, to compare the Release curve).
exe=${TAVI_SOAK_EXE:-}
if [ -z "$exe" ]; then
  (cd "$top" && cmake --preset sanitize >/dev/null &&
    cmake --build --preset sanitize -j "$(nproc)" --target tavi media)
  exe=$build/tavi
else
  exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
  out=$out-$(basename "$(dirname "$exe")")
fi

rm -rf "$out"
mkdir -p "$out/work"

# The demo. Every activity starts and ends on the menu, and Escape is only ever pressed where it
# cannot end the program: before it, a click on the instructions button takes a menu that a game
# already left (the diver was eaten or lost his lives) to the instructions instead.
awk -v frames="$frames" -v seed="$seed" '
function rnd(low, high) { return low + int(rand() * (high - low + 1)) }
function emit(line) { print f " " line }
function click(x, y) { emit("click " x " " y) }
function moves(n,   i) { for (i = 0; i < n; ++i) { emit("move " rnd(0, 1023) " " rnd(0, 767)); f += rnd(1, 8) } }
function type_key(name) { emit("keys " name); f += rnd(2, 5); emit("keys"); f += rnd(2, 5) }
function type_name(   k, n) {
  type_key("BACK")
  n = rnd(0, 12)
  for (k = 0; k < n; ++k) type_key(chars[rnd(1, nchars)])
  emit("keys RETURN"); f += 4; emit("keys"); f += 20
}
# A game, then a name typed twice: the first enters it when the game ended by itself with a place
# in the list, the second when Escape ended it; typed anywhere else it does nothing.
function game(   end, k, keys) {
  click(rnd(400, 590), rnd(236, 280)); f += 2              # "Neues Spiel" (the game adds 16)
  end = f + rnd(300, 4000)
  while (f < end) {
    keys = ""
    for (k = 1; k <= 5; ++k) if (rand() < 0.3) keys = keys " " key[k]
    emit("keys" keys)
    if (rand() < 0.05) emit("move " rnd(0, 1023) " " rnd(0, 767))
    f += rnd(5, 90)
  }
  emit("keys"); f += 5
  type_name()
  click(rnd(400, 590), rnd(336, 380)); f += 5              # the guard before Escape
  emit("esc"); f += 10
  type_name()
  click(rnd(400, 590), rnd(686, 730)); f += 20             # back from the list
}
function instructions() {
  click(rnd(400, 590), rnd(336, 380)); f += 5
  moves(rnd(5, 40)); f += rnd(60, 600)
  click(rnd(400, 590), rnd(686, 730)); f += 10
}
function highscores() {
  click(rnd(400, 590), rnd(436, 480)); f += 5
  moves(rnd(3, 20)); f += rnd(30, 300)
  if (rand() < 0.3) { click(rnd(400, 590), rnd(586, 615)); f += 30 }   # "Löschen"
  click(rnd(400, 590), rnd(686, 730)); f += 10
}
BEGIN {
  srand(seed)
  split("UP DOWN LEFT RIGHT SPACE", key, " ")
  nchars = split("A B C D E F G H I J K L M N O P Q R S T U V W X Y Z 0 1 2 3 4 5 6 7 8 9 SPACE PERIOD", chars, " ")
  print "seed " seed
  f = 0
  emit("move 512 384"); f += 10
  while (f < frames - 6000) {
    r = rand()
    if (r < 0.70) game(); else if (r < 0.82) instructions(); else if (r < 0.96) highscores(); else { moves(rnd(5, 50)); f += 30 }
  }
  f = frames
  emit("quit")
}' >"$out/soak.demo"

cd "$out/work"
# A small quarantine: freed memory the sanitizer holds back to catch late uses fills resident
# memory until the quarantine is full. The game frees so little per frame that 8 MB still filled
# after a million frames (about 2 MB of growth where the Release build grows by nothing); with
# 1 MB the curve after the first sample at 100,000 frames is the game's own.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=1}
"$exe" --headless --data-dir "$out/work" --timedemo "$out/soak.demo" --trace "$out/trace.txt" \
  >"$out/stdout.txt" 2>"$out/stderr.txt" &
pid=$!

# Samples: frame (the trace's last complete line) and resident memory in kB.
: >"$out/memory.txt"
while kill -0 "$pid" 2>/dev/null; do
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
  frame=$( (tail -c 1024 "$out/trace.txt" | tail -n 2 | head -n 1 | cut -d' ' -f1) 2>/dev/null || true)
  if [ -n "$rss" ] && [ -n "$frame" ]; then echo "$frame $rss" >>"$out/memory.txt"; fi
  sleep 0.2
done
set +e
wait "$pid"
status=$?
set -e

played=$(wc -l <"$out/trace.txt")
findings=$(grep -cE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$out/stderr.txt" || true)
echo "demo: $(grep -c . "$out/soak.demo") lines; games started: $(grep -c ' click [0-9]* 2[3-8][0-9]$' "$out/soak.demo")"
echo "exit status $status; frames played $played of $frames; sanitizer findings $findings"
grep -a '^timedemo:' "$out/stdout.txt" || true
if [ -f Error.txt ]; then echo "Error.txt: $(wc -l <Error.txt) lines"; sort Error.txt | uniq -c | head; else echo "Error.txt: none"; fi
echo "screens after each frame (trace): $(awk '{ n[$2]++ } END { for (s in n) printf "%s:%d ", s, n[s] }' "$out/trace.txt")"
echo "list entries made: $(awk 'prev == 3 && $2 == 2 { n++ } { prev = $2 } END { print n + 0 }' "$out/trace.txt")"

# Resident memory at the first sample at or after every tenth of the frames (every 100,000 of a
# million), and at the end.
set +e
awk -v step=$((frames / 10)) -v frames="$frames" '
  BEGIN { next_mark = step }
  { frame = $1 + 0; rss = $2 + 0; last_frame = frame; last_rss = rss
    while (next_mark <= frames && frame >= next_mark) { marks[++n] = next_mark; at[n] = frame; mem[n] = rss; next_mark += step } }
  END {
    printf "%10s %10s %12s\n", "frames", "sampled at", "VmRSS kB"
    for (i = 1; i <= n; ++i) printf "%10d %10d %12d\n", marks[i], at[i], mem[i]
    printf "%10s %10d %12d\n", "end", last_frame, last_rss
    if (n == 0) { print "fewer than " step " frames sampled"; exit 1 }
    printf "growth from %d frames to the end: %d kB\n", marks[1], last_rss - mem[1]
    exit (last_rss - mem[1] > 2048)
  }' "$out/memory.txt" >"$out/memory-report.txt"
memory_ok=$?
set -e
cat "$out/memory-report.txt"

if ((status != 0 || played != frames || findings != 0 || memory_ok != 0)); then
  echo "SOAK FAILED"
  exit 1
fi
echo "soak passed"
