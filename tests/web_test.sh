#!/usr/bin/env bash
# The browser build plays the stored demos as the native game does: the page, served on the
# loopback, runs in headless Chromium and must hand back the same trace and Highscore.dat bytes.
#
#   tests/web_test.sh WEB_BUILD_DIR NATIVE_BUILD_DIR
#
# Exit status 77 (CTest: skipped) when there is no web build (./web.sh makes it) or no chromium.
set -uo pipefail

web=${1:?usage: web_test.sh WEB_BUILD_DIR NATIVE_BUILD_DIR}
native=$(cd "${2:?usage: web_test.sh WEB_BUILD_DIR NATIVE_BUILD_DIR}" && pwd)
data=$(cd "$(dirname "$0")/data" && pwd)
if [ ! -f "$web/tavi.wasm" ]; then
  echo "SKIPPED: no web build in $web (./web.sh makes it)"
  exit 77
fi
for tool in chromium python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed"
    exit 77
  fi
done
web=$(cd "$web" && pwd)

work=$(mktemp -d /tmp/tavi-web-XXXXXX)
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The page and the demos from one folder; the server picks a free port and says which.
mkdir "$work/site"
for file in index.html tavi.js tavi.wasm tavi.data DejaVuSans.ttf music.ogg music.loop; do ln -s "$web/$file" "$work/site/$file"; done
cp "$data/gameover.demo" "$data/highscore_entry.demo" "$work/site/"
timeout 300 python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work/site" >"$work/server.log" 2>&1 &
server_pid=$!
port=
for _ in $(seq 50); do
  port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$work/server.log" | head -n1)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "FAIL: the HTTP server did not start"; cat "$work/server.log"; exit 1; }

failed=0
for demo in gameover highscore_entry; do
  # The native game's trace and list.
  mkdir "$work/$demo"
  ln -s "$native/media" "$work/$demo/media"
  (cd "$work/$demo" && "$native/tavi" --headless --timedemo "$data/$demo.demo" --trace native.trace >/dev/null 2>&1)
  # The page's, in virtual time so that the run takes as long as it needs and no longer.
  timeout 240 chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$work/$demo/profile" \
    --virtual-time-budget=3600000 --dump-dom "http://127.0.0.1:$port/index.html?demo=$demo.demo&fast=1" \
    >"$work/$demo/page.html" 2>/dev/null
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
exit $failed
