#!/usr/bin/env bash
# The size of the test code (tests/, fuzz/ and any *_test.cpp beside the code) against the code it
# tests (src/, tools/, bench/), in non-blank lines of .cpp, .h, .sh and CMakeLists.txt.
# Fails above 35 %.
set -euo pipefail
cd "$(dirname "$0")/.."
# Installed packages (the page tests' node_modules) are no code of ours.
files() {
  find "$@" -name node_modules -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' -o -name CMakeLists.txt \) -print
}
lines() { xargs -r cat | grep -c . || true; }
tests=$( { files tests fuzz; files src tools bench | grep '_test\.cpp$' || true; } | lines)
code=$(files src tools bench | { grep -v '_test\.cpp$' || true; } | lines)
echo "test code: $tests lines; code: $code lines; $((tests * 100 / code)) %"
if ((tests * 100 > code * 35)); then
  echo "test-share: the test code is above 35 % of the code" >&2
  exit 1
fi
