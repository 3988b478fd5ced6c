#!/usr/bin/env bash
# Sets everything up (packages, the Release build and its media) and runs the test suite headless.
# The whole suite runs in a second build with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer (preset sanitize, build-asan/): every test, the fault runs of the game
# and the replay of the fuzz corpora, where any memory error, leak or undefined behaviour fails the
# test. The Release build that run.sh plays then runs the tests that play its executable. The
# presets (CMakePresets.json) run every test on SDL's dummy drivers.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/check-layers.sh

jobs=$(nproc)
status=0
scripts/test-share.sh || status=1

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs" || status=1

ctest --preset release-played -j "$jobs" || status=1
exit $status
