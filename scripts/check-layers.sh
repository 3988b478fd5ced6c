#!/usr/bin/env bash
# The layers are libraries that link only downwards (src/<folder>/CMakeLists.txt; each is linked
# alone by cmake/link_check.cmake), so the linker finds a call up or across them. What it cannot
# see is an SDL header outside src/platform/: this prints FILE:LINE for each and exits 1 when
# there is one.
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}
cd "$src"

offences=$(find . -path ./platform -prune -o \( -name '*.h' -o -name '*.cpp' \) -print | sort |
  sed 's|^\./||' | xargs -r grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]SDL(2?/|(_[a-z_0-9]+)?\.h)' || true)
if [ -n "$offences" ]; then
  sed 's|^|src/|; s|$|  (SDL header outside src/platform/)|' <<<"$offences"
  exit 1
fi
