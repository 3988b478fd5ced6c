#!/usr/bin/env bash
# Measures tavi's performance figures, each beside its baseline in the same run, and prints them
# as the Markdown table of the README's "Performance" section.
#
#   bench/run.sh [--runs N] [--no-build]
#
# Builds the presets release (build/) and busy-wait (build-busywait/, frames paced by spinning)
# of CMakePresets.json. Every figure is the median of N runs (default 5; the twenty-second runs 3).
# Figures marked "Xvfb" need Xvfb and are skipped without it. Measure on an otherwise idle machine: the load is printed.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build
busy=$top/build-busywait
runs=5
build_first=1
while (($#)); do
  case $1 in
    --runs) runs=${2:?--runs needs a number}; shift 2 ;;
    --no-build) build_first=0; shift ;;
    *) echo "usage: bench/run.sh [--runs N] [--no-build]" >&2; exit 2 ;;
  esac
done
long_runs=$(( runs < 3 ? runs : 3 ))

if ((build_first)); then
  echo "Building $build and $busy ..." >&2
  (cd "$top" &&
    cmake --preset release >/dev/null &&
    cmake --build --preset release -j "$(nproc)" \
      --target tavi tavi_bench tavi_sdl_baseline tavi_first_frame_probe tavi_frame_times_probe >/dev/null &&
    cmake --preset busy-wait >/dev/null &&
    cmake --build --preset busy-wait -j "$(nproc)" >/dev/null)
fi
if grep -q '^TAVI_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
  echo "bench/run.sh: warning: $build is a sanitizer build; its figures are not the game's" >&2
fi
tavi=$build/tavi
busy_tavi=$busy/tavi
probe=$build/bench/libtavi_first_frame_probe.so
frame_probe=$build/bench/libtavi_frame_times_probe.so
for f in "$tavi" "$busy_tavi" "$build/bench/tavi_bench" "$build/bench/tavi_sdl_baseline" "$probe" "$frame_probe"; do
  [ -e "$f" ] || { echo "bench/run.sh: $f is missing (build first)" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "bench/run.sh: /usr/bin/time is missing (Debian package \"time\")" >&2; exit 1; }

# The games keep Highscore.dat and the error log in a scratch folder, never in the player's.
work=$(mktemp -d /tmp/tavi-bench-run-XXXXXX)
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
export XDG_DATA_HOME=$work XDG_STATE_HOME=$work

have_x=0
if command -v Xvfb >/dev/null; then
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  if [ -s "$work/display" ]; then
    export DISPLAY=":$(tr -dc 0-9 <"$work/display")"
    have_x=1
  fi
fi

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
echo "Load before measuring: $load_before" >&2

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
now_ns() { date +%s%N; }

# --- Frame composition (Google Benchmark, both sides in one program) ---------------------------
echo "Frame composition ..." >&2
"$build/bench/tavi_bench" --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
  --benchmark_format=csv 2>/dev/null >"$work/bench.csv"
# Real time of the median aggregate (of the single run when there is only one), in milliseconds.
bench_ms() {
  awk -F, -v median="\"BM_$1_median\"" -v single="\"BM_$1\"" '$1 == median || $1 == single {
    t = $3; u = $5; gsub(/"/, "", u)
    if (u == "us") t /= 1000; else if (u == "ns") t /= 1000000
    found = sprintf("%.3f", t) } END { print found }' "$work/bench.csv"
}

# --- Throughput of the 10,000-frame demo ------------------------------------------------------
echo "Timedemo ..." >&2
fps=$(for _ in $(seq "$runs"); do
  "$tavi" --headless --timedemo "$top/bench/game10k.demo" 2>/dev/null | sed -n 's/.* \([0-9.]*\) fps$/\1/p'
done | median)

# --- CPU of a paced game: ours (waits in the event wait) against spinning ----------------------
# Prints "cpu% peakMB" of one run: (user + system) / wall time, and the peak resident set.
cpu_run() {
  /usr/bin/time -f "%U %S %e %M" -o "$work/time.txt" "$@" >/dev/null 2>&1 || true
  awk '{ printf "%.2f %.1f\n", ($3 > 0 ? ($1 + $2) / $3 * 100 : 0), $4 / 1024 }' "$work/time.txt"
}
# The same runs time every frame with the probe: in a window when it starts (the pacing check that
# lets it begin) and when it has been presented, headless when its trace line is written (right
# after it is composed; the probe keeps the trace nowhere).
frames_env=("TAVI_FRAME_TIMES_FILE=$work/frames" "TAVI_FRAME_TIMES_TRACE=$work/trace" "LD_PRELOAD=$frame_probe")
headless_frames=(--trace "$work/trace")
# How evenly the frames of the last run came, by the times in column $1 of the probe's file:
# "fps median p99" of the intervals between consecutive frames (the first ten left out): frames a
# second, and the median and the 99th percentile of their distance from 1/60 s in milliseconds.
frame_stats() {
  awk -v c="$1" 'NR > 11 { d = ($c - last) / 1e6; print d, (d > 50 / 3 ? d - 50 / 3 : 50 / 3 - d) } { last = $c }' \
    "$work/frames" 2>/dev/null | sort -k2,2g | awk '{ n++; sum += $1; dev[n] = $2 }
    END { if (n < 2) { print "nan nan nan"; exit }
      r = int(0.99 * n); if (r < 0.99 * n) r++
      printf "%.3f %.3f %.3f\n", 1000 * n / sum, (n % 2) ? dev[(n + 1) / 2] : (dev[n / 2] + dev[n / 2 + 1]) / 2, dev[r] }'
}
echo "CPU and frame times at 60 fps, headless (${long_runs} x 2 x 20 s) ..." >&2
: >"$work/cpu_headless"
: >"$work/pacing_headless"
for _ in $(seq "$long_runs"); do
  ours=$(cpu_run env "${frames_env[@]}" "$tavi" --headless --demo "$top/bench/game20s.demo" "${headless_frames[@]}")
  ours_frames=$(frame_stats 1)
  rm -f "$work/frames"
  spin=$(cpu_run env "${frames_env[@]}" "$busy_tavi" --headless --demo "$top/bench/game20s.demo" "${headless_frames[@]}")
  echo "$ours $spin" >>"$work/cpu_headless"
  echo "$ours_frames $(frame_stats 1)" >>"$work/pacing_headless"
  rm -f "$work/frames"
done
cpu_headless=$(awk '{ print $1 }' "$work/cpu_headless" | median)
cpu_headless_busy=$(awk '{ print $3 }' "$work/cpu_headless" | median)
# Prints the median over the runs of every column of the lines of frame_stats figures in $1.
pacing_figures() {
  local i
  for i in $(seq "$(awk 'NR == 1 { print NF }' "$1")"); do awk -v c="$i" '{ print $c }' "$1" | median; done | paste -sd ' '
}
read -r fps_headless dev_headless p99_headless fps_headless_busy dev_headless_busy p99_headless_busy \
  < <(pacing_figures "$work/pacing_headless")
mem_headless=$(awk '{ print $2 }' "$work/cpu_headless" | median)
mem_version=$(for _ in $(seq "$runs"); do cpu_run "$tavi" --version | awk '{ print $2 }'; done | median)

window_env=(env SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy)
cpu_window=n/a cpu_window_busy=n/a cpu_baseline_window=n/a mem_window=n/a mem_baseline_window=n/a
fps_window=n/a dev_window=n/a p99_window=n/a fps_window_busy=n/a dev_window_busy=n/a p99_window_busy=n/a
dev_shown=n/a p99_shown=n/a dev_shown_busy=n/a p99_shown_busy=n/a
if ((have_x)); then
  echo "CPU and frame times at 60 fps, window on Xvfb with music (${long_runs} x 3 x 20 s) ..." >&2
  : >"$work/cpu_window"
  : >"$work/pacing_window"
  for _ in $(seq "$long_runs"); do
    ours=$(cpu_run "${window_env[@]}" "${frames_env[@]}" "$tavi" --window --demo "$top/bench/game20s.demo")
    ours_frames="$(frame_stats 1) $(frame_stats 2)"
    rm -f "$work/frames"
    spin=$(cpu_run "${window_env[@]}" "${frames_env[@]}" "$busy_tavi" --window --demo "$top/bench/game20s.demo")
    base=$(cpu_run "${window_env[@]}" "$build/bench/tavi_sdl_baseline" --frames 1200)
    echo "$ours $spin $base" >>"$work/cpu_window"
    echo "$ours_frames $(frame_stats 1) $(frame_stats 2)" >>"$work/pacing_window"
    rm -f "$work/frames"
  done
  read -r fps_window dev_window p99_window _ dev_shown p99_shown \
    fps_window_busy dev_window_busy p99_window_busy _ dev_shown_busy p99_shown_busy \
    < <(pacing_figures "$work/pacing_window")
  cpu_window=$(awk '{ print $1 }' "$work/cpu_window" | median)
  cpu_window_busy=$(awk '{ print $3 }' "$work/cpu_window" | median)
  cpu_baseline_window=$(awk '{ print $5 }' "$work/cpu_window" | median)
  mem_window=$(awk '{ print $2 }' "$work/cpu_window" | median)
  mem_baseline_window=$(awk '{ print $6 }' "$work/cpu_window" | median)
fi

# --- Start-up to the first frame --------------------------------------------------------------
echo "Start-up ..." >&2
# Headless the program ends right after its first frame: the whole run is the figure.
wall_ms() {
  local t0 t1
  t0=$(now_ns)
  "$@" >/dev/null 2>&1 || true
  t1=$(now_ns)
  echo $(((t1 - t0) / 1000000))
}
start_headless=$(for _ in $(seq "$runs"); do wall_ms "$tavi" --headless --frames 1; done | median)
start_version=$(for _ in $(seq "$runs"); do wall_ms "$tavi" --version; done | median)
# In a window the probe notes when the first frame has been presented.
first_frame_ms() {
  local t0
  rm -f "$work/first_frame"
  t0=$(now_ns)
  TAVI_FIRST_FRAME_FILE=$work/first_frame LD_PRELOAD=$probe "$@" >/dev/null 2>&1 || true
  [ -s "$work/first_frame" ] && echo $((($(cat "$work/first_frame") - t0) / 1000000))
}
start_window=n/a start_baseline_window=n/a
if ((have_x)); then
  : >"$work/start_window"
  for _ in $(seq "$runs"); do
    echo "$(first_frame_ms "${window_env[@]}" "$tavi" --window --frames 1) \
$(first_frame_ms "${window_env[@]}" "$build/bench/tavi_sdl_baseline")" >>"$work/start_window"
  done
  start_window=$(awk '{ print $1 }' "$work/start_window" | median)
  start_baseline_window=$(awk '{ print $2 }' "$work/start_window" | median)
fi

# --- The table --------------------------------------------------------------------------------
cat <<EOF

| Figure | Ours | Baseline | Target |
|---|---|---|---|
| Busiest game frame composed (diver, 50 objects of every kind, HUD) | $(bench_ms GameFrame_Ours) ms | SDL_BlitSurface: $(bench_ms GameFrame_Sdl) ms; with RLE: $(bench_ms GameFrame_SdlRle) ms | < 1 ms |
| Menu frame composed | $(bench_ms MenuFrame_Ours) ms | SDL_BlitSurface: $(bench_ms MenuFrame_Sdl) ms; with RLE: $(bench_ms MenuFrame_SdlRle) ms | < 1 ms |
| Clearing the 1024 × 768 frame | $(bench_ms Clear_Ours) ms | SDL_FillRect: $(bench_ms Clear_Sdl) ms | |
| Two colour-keyed 512 × 280 tiles | $(bench_ms KeyedTiles_Ours) ms | SDL_BlitSurface: $(bench_ms KeyedTiles_Sdl) ms | |
| \`--timedemo\` of 10,000 frames, headless | $fps fps | real time: 60 fps | > 2,000 fps |
| CPU of a game at 60 fps, headless | $cpu_headless % | spinning build: $cpu_headless_busy % | < 5 % of a core |
| CPU of a game at 60 fps, window on Xvfb, music | $cpu_window % | spinning build: $cpu_window_busy %; bare SDL window with the music: $cpu_baseline_window % | (information) |
| Frames a second of that game, headless | $fps_headless | spinning build: $fps_headless_busy | 60 ± 0.1 % |
| Frames a second of that game, window on Xvfb | $fps_window | spinning build: $fps_window_busy | 60 ± 0.1 % |
| Distance of a frame from 1/60 s after the last, headless: median, 99th percentile | $dev_headless ms, $p99_headless ms | spinning build: $dev_headless_busy ms, $p99_headless_busy ms | 99th percentile < 1 ms |
| The same for frame starts in a window on Xvfb | $dev_window ms, $p99_window ms | spinning build: $dev_window_busy ms, $p99_window_busy ms | 99th percentile < 1 ms |
| The same for frames presented (SDL_RenderPresent returned) in that window | $dev_shown ms, $p99_shown ms | spinning build: $dev_shown_busy ms, $p99_shown_busy ms | (information) |
| Start-up to the first frame, headless | $start_headless ms | \`tavi --version\`: $start_version ms | < 300 ms |
| Start-up to the first frame, window on Xvfb, music | $start_window ms | bare SDL window with the music: $start_baseline_window ms | < 300 ms |
| Peak memory, headless game | $mem_headless MB | \`tavi --version\`: $mem_version MB | < 80 MB |
| Peak memory, window on Xvfb, music | $mem_window MB | bare SDL window with the music: $mem_baseline_window MB | (information) |

Medians of $runs runs (the 20-second ones: $long_runs) on $(nproc) cores of $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'); load average before $load_before, after $(cut -d' ' -f1-3 /proc/loadavg).
EOF
