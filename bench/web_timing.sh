#!/usr/bin/env bash
# The page's figures beside the native game's, in one run, in real time:
#  - first frame: the page (timing=1) in headless Chromium, from the start of loading; the native
#    game, the whole run of `tavi --headless --screenshot 0:FILE`;
#  - frames a second in real time and how evenly they come (the page, 10 s after its first frame);
#  - throughput: bench/game10k.demo with fast=1 (the page's `timedemo:` console line) against
#    `tavi --headless --timedemo`;
#  - the browser's own part of the first frame: a page that puts a frame of the game's size on its
#    canvas as soon as its script runs, and nothing else, loaded the same way.
# The page runs in a frame of an outer page whose image the server answers only after some
# seconds, so that --dump-dom waits that long in real time and finds the figures copied out.
# Headless Chromium gives the page 60 animation frames a second without a GPU, as a browser on a
# 60 Hz display does, so no flags are needed. The load average goes with the figures: the machine
# is shared.
#
#   bench/web_timing.sh [WEB_BUILD_DIR (build-web)] [NATIVE_BUILD_DIR (build)] [EXTRA_QUERY (e.g. demo=game.demo)]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
web=$(cd "${1:-build-web}" && pwd)
native=$(cd "${2:-build}" && pwd)
work=$(mktemp -d /tmp/tavi-timing-XXXXXX)
server_pid=
trap '[ -n "$server_pid" ] && kill "$server_pid"; rm -rf "$work"' EXIT
mkdir "$work/site"
# Every file the build put beside the page (its scripts, styles, icons, worker).
for file in "$web"/*; do if [ -f "$file" ]; then ln -s "$file" "$work/site/"; fi; done
cp "$top/docs/screenshots/game.demo" "$top/bench/game10k.demo" "$work/site/"
: >"$work/site/favicon.ico"  # asked for by the browser
# A page with nothing to load, which shows its first frame as the game's page does.
cat >"$work/site/empty.html" <<'HTML'
<!DOCTYPE html><html><body><canvas id="canvas" width="1024" height="768"></canvas>
<script>
document.getElementById('canvas').getContext('2d', { alpha: false }).putImageData(new ImageData(1024, 768), 0, 0);
const out = document.createElement('pre');
out.id = 'taviTiming';
out.hidden = true;
out.textContent = 'first frame ' + performance.now().toFixed(0) + ' ms';
document.body.appendChild(out);
</script></body></html>
HTML
# outer.html?wait=SECONDS&QUERY: the page with QUERY, its timing figures copied out; page=NAME
# another page than the game's.
cat >"$work/site/outer.html" <<'HTML'
<!DOCTYPE html><html><body><iframe id="f" width="1024" height="768"></iframe><pre id="copy"></pre>
<script>
const query = new URLSearchParams(location.search);
const seconds = query.get('wait');
query.delete('wait');
const page = query.get('page') || 'index.html';
query.delete('page');
document.getElementById('f').src = page + '?timing=1&' + query;
setInterval(() => {
  const t = document.getElementById('f').contentDocument?.getElementById('taviTiming');
  if (t) document.getElementById('copy').textContent = 'timing: ' + t.textContent;
}, 100);
document.write('<img src="wait?' + seconds + '">');
</script></body></html>
HTML
cat >"$work/server.py" <<'PY'
import functools, http.server, sys, time
class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        if self.path.startswith('/wait?'):
            time.sleep(float(self.path.split('?')[1]))
            self.send_response(204)
            self.end_headers()
            return
        super().do_GET()
    def log_message(self, *args):
        pass
server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Handler, directory=sys.argv[1]))
print(server.server_address[1], flush=True)
server.serve_forever()
PY
python3 "$work/server.py" "$work/site" >"$work/port" &
server_pid=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
# browse SECONDS QUERY: the outer page's document and the browser's log (console lines included).
browse() {
  rm -rf "$work/profile"
  timeout $(($1 + 60)) chromium --headless --no-sandbox --disable-gpu --no-first-run --enable-logging=stderr --v=0 \
    --user-data-dir="$work/profile" --dump-dom "http://127.0.0.1:$(cat "$work/port")/outer.html?wait=$1&$2" \
    2>"$work/log" || true
}
now_ns() { date +%s%N; }

browse 14 "lang=de&${3:-}" | grep -o 'timing: first[^<]*' || echo "timing: the page gave no figures"
mkdir "$work/native"
t0=$(now_ns)
(cd "$work/native" && "$native/tavi" --headless --lang de --data-dir . --screenshot 0:first.png >/dev/null 2>&1)
echo "native: first frame saved and quit after $((($(now_ns) - t0) / 1000000)) ms"
echo "empty page: $(browse 3 "page=empty.html" | grep -o 'first frame [0-9]* ms' || echo 'no figure')"
# 10,000 frames at several hundred a second.
browse 40 "lang=de&demo=game10k.demo&fast=1" >/dev/null
echo "page $(grep -o 'timedemo:[^"]*' "$work/log" || echo 'timedemo: no figure')"
echo "native $("$native/tavi" --headless --data-dir "$work/native" --timedemo "$top/bench/game10k.demo" 2>/dev/null)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
