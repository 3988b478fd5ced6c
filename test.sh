#!/usr/bin/env bash
# Sets everything up (the packages of the game and of the tests, the Release build with its tests
# and media: preset release, build/) and runs the test suite headless. The whole suite runs in a
# second build with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer (preset
# sanitize, build-asan/): every test, the fault runs of the game and the replay of the fuzz
# corpora, where any memory error, leak or undefined behaviour fails the test. The Release build
# then runs the tests that play its executable. The presets (CMakePresets.json) run every test on
# SDL's dummy drivers. Last the browser build (./web.sh, on the Release build's media) plays in
# headless Chromium against the Release game.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh --tests
scripts/check-layers.sh

jobs=$(nproc)
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
status=0
scripts/test-share.sh || status=1

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
ctest --preset sanitize -j "$jobs" || status=1

ctest --preset release-played -j "$jobs" || status=1

# The browser build needs emscripten and the music tools (./web.sh installs them, and the page
# tests' puppeteer-core with npm) and Chromium.
web_packages=()
command -v chromium >/dev/null || web_packages+=(chromium)
command -v npm >/dev/null || web_packages+=(npm)  # puppeteer-core for the page's tests
command -v emcc >/dev/null && command -v oggenc >/dev/null && command -v fluidsynth >/dev/null ||
  web_packages+=(emscripten fluidsynth vorbis-tools)
if ((${#web_packages[@]})) && [ "$(id -u)" -ne 0 ]; then
  echo "The browser test is skipped; it needs: sudo apt-get install ${web_packages[*]}" >&2
else
  if ((${#web_packages[@]})) && ! { DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
      DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${web_packages[@]}"; }; then
    echo "The browser test is skipped: apt-get could not install ${web_packages[*]}" >&2
  else
    TAVI_WEB_MEDIA=build/media ./web.sh || status=1
    ctest --preset release -R '^web_(page|live|panel)$' || status=1
  fi
fi
exit $status
