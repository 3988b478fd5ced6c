#!/usr/bin/env bash
# Builds tavi for a browser into build-web/: index.html (with the page's styles and scripts from
# web/ written into it), tavi.js, tavi.wasm, tavi.data and tavi.data.gz (the media and the font, as
# they are and packed) and the music (music.ogg, music.loop). Installs emscripten when it is
# missing, and the page tests' puppeteer-core into tests/web/node_modules. Serve the folder over
# HTTP, e.g.
#   python3 -m http.server --bind 127.0.0.1 --directory build-web 8000
set -euo pipefail
cd "$(dirname "$0")"
# What the browser build and its tests need beyond the native one's packages (scripts/setup.sh).
if ! command -v emcc >/dev/null || ! command -v oggenc >/dev/null || ! command -v fluidsynth >/dev/null ||
   ! command -v npm >/dev/null || ! command -v pyftsubset >/dev/null; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update && $sudo apt-get install -y emscripten fluidsynth vorbis-tools fonts-dejavu-core fonttools npm
fi
# The page's tests drive Chromium through puppeteer-core, at the version of tests/web/package-lock.json.
if [ ! tests/web/node_modules/.package-lock.json -nt tests/web/package-lock.json ]; then
  (cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
fi
# Debian's emcc finds its JavaScript optimiser's modules only here.
export NODE_PATH=/usr/share/nodejs
# The media are made by the native mediagen: those of a native build when TAVI_WEB_MEDIA names
# its media folder (test.sh passes build/media), otherwise a small native build of our own.
media=${TAVI_WEB_MEDIA:-}
if [ -z "$media" ] || [ ! -d "$media" ]; then
  cmake -S . -B build-web/native -DCMAKE_BUILD_TYPE=Release -DTAVI_BUILD_TESTS=OFF -DTAVI_BUILD_BENCH=OFF >/dev/null
  cmake --build build-web/native -j2 --target media web_icons
  media=$PWD/build-web/native/media
fi
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DTAVI_BUILD_TESTS=OFF -DTAVI_BUILD_BENCH=OFF \
  -DTAVI_WEB_MEDIA="$(cd "$media" && pwd)" >/dev/null
cmake --build build-web -j2 --target web_page
echo "web.sh: build-web/index.html is ready"
