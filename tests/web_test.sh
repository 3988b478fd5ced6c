#!/usr/bin/env bash
# The browser build plays the stored demos as the native game does: the page, served on the
# loopback, runs in headless Chromium and must hand back the same trace and Highscore.dat bytes,
# and the frames of the README's screenshots must have the same pixels (but for the TrueType text).
# Then tests/web/page_test.mjs and loading_test.mjs check the page's parameters, its stored list
# and its loading.
#
#   tests/web_test.sh WEB_BUILD_DIR NATIVE_BUILD_DIR [SCREENSHOT_DIR (docs/screenshots)]
#
# Exit status 77 (CTest: skipped) when there is no web build (./web.sh makes it), no chromium or
# no puppeteer-core (./web.sh installs it).
set -uo pipefail

web=${1:?usage: web_test.sh WEB_BUILD_DIR NATIVE_BUILD_DIR}
native=$(cd "${2:?usage: web_test.sh WEB_BUILD_DIR NATIVE_BUILD_DIR}" && pwd)
data=$(cd "$(dirname "$0")/data" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
shots=$(cd "${3:-$top/docs/screenshots}" && pwd)
if [ ! -f "$web/tavi.wasm" ]; then
  echo "SKIPPED: no web build in $web (./web.sh makes it)"
  exit 77
fi
for tool in chromium python3 node; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed"
    exit 77
  fi
done
if [ ! -d "$top/tests/web/node_modules/puppeteer-core" ]; then
  echo "SKIPPED: puppeteer-core is not installed in tests/web (./web.sh installs it)"
  exit 77
fi
web=$(cd "$web" && pwd)

work=$(mktemp -d /tmp/tavi-web-XXXXXX)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
if ! timeout 60 chromium --headless --no-sandbox --disable-gpu --user-data-dir="$work/probe" \
    --dump-dom about:blank >/dev/null 2>&1; then
  echo "SKIPPED: chromium is installed but cannot start here (headless, about:blank)"
  exit 77
fi

# The page and the demos from one folder; the server picks a free port and says which.
mkdir "$work/site"
for file in index.html tavi.js tavi.wasm tavi.data tavi.data.gz music.ogg music.loop; do ln -s "$web/$file" "$work/site/$file"; done
cp "$data/gameover.demo" "$data/highscore_entry.demo" "$top/docs/screenshots/game.demo" \
  "$top/docs/screenshots/screens.demo" "$work/site/"
# The menu is shot without a demo; the page steps a demo-less game only at animation frames,
# which headless Chromium does not give, so a demo that only quits (its frame 0 is the same).
printf 'seed 1\n1 quit\n' >"$work/site/menu.demo"
timeout 300 python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work/site" >"$work/server.log" 2>&1 &
server_pid=$!
port=
for _ in $(seq 50); do
  port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$work/server.log" | head -n1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "FAIL: the HTTP server did not start"; cat "$work/server.log"; exit 1; }

# page NAME QUERY BUDGET_MS: the page's document after BUDGET_MS of virtual time into $work/NAME/page.html.
page() {
  mkdir -p "$work/$1"
  timeout 240 chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$work/$1/profile" \
    --virtual-time-budget="$3" --dump-dom "http://127.0.0.1:$port/index.html?$2" >"$work/$1/page.html" 2>/dev/null
}

failed=0
for demo in gameover highscore_entry; do
  # The native game's trace and list.
  mkdir -p "$work/$demo"
  ln -s "$native/media" "$work/$demo/media"
  (cd "$work/$demo" && "$native/tavi" --headless --timedemo "$data/$demo.demo" --trace native.trace >/dev/null 2>&1)
  # The page's, in virtual time so that the run takes as long as it needs and no longer.
  page "$demo" "demo=$demo.demo&fast=1&lang=de" 3600000
  if ! python3 - "$work/$demo" <<'PY'
import base64, html, os, re, sys
folder = sys.argv[1]
page = open(os.path.join(folder, "page.html"), encoding="utf-8").read()
if not re.search(r"<title>[^<]* done</title>", page):
    sys.exit("the page did not finish the demo")
def element(name):
    found = re.search(r'<pre id="%s"[^>]*>(.*?)</pre>' % name, page, re.S)
    return html.unescape(found.group(1)) if found else ""
trace = element("taviTrace")
native = open(os.path.join(folder, "native.trace"), encoding="utf-8").read()
if not native or trace != native:
    sys.exit("the trace differs from the native game's (%d against %d bytes)" % (len(trace), len(native)))
listFile = os.path.join(folder, "Highscore.dat")
nativeList = open(listFile, "rb").read() if os.path.exists(listFile) else b""
if base64.b64decode(element("taviHighscore")) != nativeList:
    sys.exit("Highscore.dat differs from the native game's")
PY
  then
    echo "FAIL: $demo"
    failed=1
  else
    echo "ok: $demo plays the same in the browser"
  fi
done

# The frames of scripts/screenshots.sh, kept by the page as PNGs: "NAME QUERY BUDGET FRAME:FILE...".
while read -r name query budget frames; do
  page "$name" "$query" "$budget"
  for frame in $frames; do
    file=${frame#*:}
    frame=${frame%%:*}
    # Every frame must match the desktop's whole, the instructions' TrueType text included.
    sed -n "s|.*\b$frame data:image/png;base64,\([A-Za-z0-9+/=]*\).*|\1|p" "$work/$name/page.html" | base64 -d >"$work/$name/$frame.png"
    if [ ! -s "$work/$name/$frame.png" ]; then
      echo "FAIL: the page kept no frame $frame of $name"
      failed=1
    elif ! python3 "$top/tests/png_pixels.py" "$work/$name/$frame.png" "$shots/$file"; then
      echo "FAIL: frame $frame of $name differs from $file"
      failed=1
    else
      echo "ok: frame $frame of $name is $file"
    fi
  done
done <<'SHOTS'
menu demo=menu.demo&fast=1&lang=de&shot=0 3600000 0:menu.png
game demo=game.demo&fast=1&lang=de&shot=509 3600000 509:game.png
screens demo=screens.demo&fast=1&lang=de&shot=1528,1550&shot=1620 3600000 1528:name-entry.png 1550:highscore.png 1620:instructions.png
menu-en demo=menu.demo&fast=1&lang=en&shot=0 3600000 0:en/menu.png
instructions-fr demo=screens.demo&fast=1&lang=fr&shot=1620 3600000 1620:fr/instructions.png
instructions-pt demo=screens.demo&fast=1&lang=pt&shot=1620 3600000 1620:pt/instructions.png
SHOTS

# The page's parameters, its stored list and its loading, driven through puppeteer-core (live play
# and the settings panel are CTest's web_live and web_panel).
for test in "$top"/tests/web/page_test.mjs "$top"/tests/web/loading_test.mjs; do
  if ! timeout 600 node "$test" "$web"; then
    echo "FAIL: tests/web/$(basename "$test")"
    failed=1
  fi
done
exit $failed
