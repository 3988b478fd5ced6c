#!/usr/bin/env bash
# Sets everything up (packages, build, media) and runs the whole test suite headless.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh"
cd "$top/build"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j "$(nproc)"
