#!/usr/bin/env bash
# The page's settings panel, the list's import and the installable app (tests/web/panel_test.mjs).
#   tests/web_panel_test.sh WEB_BUILD_DIR
# Exit status 77 (CTest: skipped) when there is no web build, no chromium or no puppeteer-core.
set -uo pipefail
web=${1:?usage: web_panel_test.sh WEB_BUILD_DIR}
top=$(cd "$(dirname "$0")/.." && pwd)
if [ ! -f "$web/tavi.wasm" ] || ! command -v chromium >/dev/null || ! command -v node >/dev/null ||
   [ ! -d "$top/tests/web/node_modules/puppeteer-core" ]; then
  echo "SKIPPED: no web build, chromium, node or puppeteer-core (./web.sh makes and installs them)"
  exit 77
fi
exec timeout 600 node "$top/tests/web/panel_test.mjs" "$web"
