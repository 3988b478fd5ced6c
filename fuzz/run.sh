#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (ASan, UBSan and LeakSanitizer on) in
# build-fuzz/ and fuzzes every target for SECONDS, then prints per target the executions, the
# executions per second and the crashes found. A crash does not end a target's time: the input is
# kept in build-fuzz/fuzz/findings/TARGET/ and fuzzing goes on. Corpora grow in
# build-fuzz/fuzz/work/TARGET/ from run to run, starting from the seeds of make_corpora, with the
# dictionary fuzz/TARGET.dict.
#
#   fuzz/run.sh SECONDS [TARGET ...]      targets: bmp demo wav midi catalogue settings (default: all)
#
# "corpus" is the number of inputs kept in the working corpus after the run.
#
# Reproduce a finding: build-fuzz/fuzz/TARGET_fuzzer FILE (or, with gcc, the replayer of the
# normal build: build-asan/fuzz/TARGET_fuzzer FILE).
set -euo pipefail

seconds=${1:?usage: fuzz/run.sh SECONDS [TARGET ...]}
shift
targets=("$@")
if ((${#targets[@]} == 0)); then targets=(bmp demo wav midi catalogue settings); fi

top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build-fuzz   # the fuzz preset

if ! command -v clang++-14 >/dev/null || ! ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  echo "fuzz/run.sh needs clang-14 and libFuzzer: the Debian packages clang and libclang-rt-14-dev" >&2
  echo "(scripts/setup.sh --tests installs them)." >&2
  exit 1
fi

(cd "$top" && cmake --preset fuzz >/dev/null &&
  cmake --build --preset fuzz -j "$(nproc)" --target fuzz_corpora $(printf '%s_fuzzer ' "${targets[@]}"))

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
summary=$build/fuzz/summary.txt
printf '%-10s %8s %12s %10s %8s %8s\n' target seconds runs exec/s crashes corpus | tee "$summary"
for target in "${targets[@]}"; do
  work=$build/fuzz/work/$target
  findings=$build/fuzz/findings/$target
  log=$build/fuzz/$target.log
  mkdir -p "$work" "$findings"
  : >"$log"
  runs=0
  start=$(date +%s)
  deadline=$((start + seconds))
  # libFuzzer stops at a crash; it is started again for the time that is left.
  while now=$(date +%s) && ((now < deadline)); do
    left=$((deadline - now))
    set +e
    "$build/fuzz/${target}_fuzzer" -dict="$top/fuzz/$target.dict" -max_total_time="$left" -print_final_stats=1 -timeout=60 \
      -rss_limit_mb=4096 -artifact_prefix="$findings/" "$work" "$build/fuzz/corpus/$target" >>"$log" 2>&1
    set -e
    ran=$(grep -a '^stat::number_of_executed_units:' "$log" | tail -1 | awk '{print $2}')
    runs=$((runs + ${ran:-0}))
    # Mark the stats of this round as counted.
    sed -i 's/^stat::number_of_executed_units:/counted::number_of_executed_units:/' "$log"
  done
  elapsed=$(($(date +%s) - start))
  crashes=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' \) | wc -l)
  corpus=$(find "$work" -type f | wc -l)
  rate=$(awk -v r="$runs" -v s="$elapsed" 'BEGIN { printf "%.1f", (s > 0 ? r / s : 0) }')
  printf '%-10s %8d %12d %10s %8d %8d\n' "$target" "$elapsed" "$runs" "$rate" "$crashes" "$corpus" | tee -a "$summary"
done
