#!/usr/bin/env bash
# Sets everything up (packages, the Release build and its media) and runs the test suite headless.
# The whole suite runs in a second build with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer (build-asan/): every test, the fault runs of the game and the replay
# of the fuzz corpora, where any memory error, leak or undefined behaviour fails the test. The
# Release build that run.sh plays then runs the tests that play its executable.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh"
"$top/scripts/check-layers.sh"

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
jobs=$(nproc)

asan_dir=${TAVI_ASAN_BUILD_DIR:-$top/build-asan}
cmake -S "$top" -B "$asan_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVI_SANITIZE=ON \
  -DTAVI_BUILD_BENCH=OFF >/dev/null
cmake --build "$asan_dir" -j "$jobs"
status=0
(cd "$asan_dir" && ctest --output-on-failure -j "$jobs") || status=1

(cd "${TAVI_BUILD_DIR:-$top/build}" &&
  ctest --output-on-failure -j "$jobs" -R '^(Replay\.|FaultTest\.|desktop_install$)') || status=1
exit $status
