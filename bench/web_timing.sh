#!/usr/bin/env bash
# The page's time to its first frame and its frames per second in real time, in headless Chromium:
# the page (timing=1) runs in a frame of an outer page whose image the server answers only after
# 14 s, so that --dump-dom waits that long in real time and finds the figures copied out. Headless
# Chromium gives the page 60 animation frames a second without a GPU, as a browser on a 60 Hz
# display does, so no flags are needed. The load average goes with the figures: the machine is shared.
#
#   bench/web_timing.sh [WEB_BUILD_DIR (build-web)] [EXTRA_QUERY (e.g. demo=game.demo)]
set -euo pipefail
web=$(cd "${1:-build-web}" && pwd)
work=$(mktemp -d /tmp/tavi-timing-XXXXXX)
server_pid=
trap '[ -n "$server_pid" ] && kill "$server_pid"; rm -rf "$work"' EXIT
mkdir "$work/site"
for file in index.html tavi.js tavi.wasm tavi.data DejaVuSans.ttf music.ogg music.loop; do ln -s "$web/$file" "$work/site/$file"; done
cp "$(dirname "$0")/../docs/screenshots/game.demo" "$work/site/"
: >"$work/site/favicon.ico"  # asked for by the browser
cat >"$work/site/outer.html" <<'HTML'
<!DOCTYPE html><html><body><iframe id="f" width="1024" height="768"></iframe><pre id="copy"></pre>
<script>
document.getElementById('f').src = 'index.html?timing=1&' + location.search.slice(1);
setInterval(() => {
  const t = document.getElementById('f').contentDocument?.getElementById('taviTiming');
  if (t) document.getElementById('copy').textContent = 'timing: ' + t.textContent;
}, 100);
</script><img src="wait"></body></html>
HTML
cat >"$work/server.py" <<'PY'
import functools, http.server, sys, time
class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        if self.path.startswith('/wait'):
            time.sleep(14)
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
timeout 60 chromium --headless --no-sandbox --disable-gpu --no-first-run --user-data-dir="$work/profile" \
  --dump-dom "http://127.0.0.1:$(cat "$work/port")/outer.html?${2:-}" 2>/dev/null | grep -o 'timing: first[^<]*'
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
