#!/usr/bin/env bash
# The installed tree: installs the build into a temporary prefix, checks that every file is in its
# place and that the desktop entry, the AppStream metadata and the manual page pass their
# validators without a single remark.
#
#   tests/install_test.sh BUILD_DIR APP_ID
#
# Exit status 77 (CTest: skipped) when a validator is missing.
set -uo pipefail

build=$(cd "${1:?usage: install_test.sh BUILD_DIR APP_ID}" && pwd)
id=${2:?usage: install_test.sh BUILD_DIR APP_ID}
for tool in desktop-file-validate appstreamcli mandoc cmake; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed (scripts/setup.sh --tests installs it)"; exit 77; }
done
work=$(mktemp -d /tmp/tavi-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$work" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "cmake --install failed"; }
share=$work/share
[ -x "$work/bin/tavi" ] || fail "no executable bin/tavi"
for file in applications/$id.desktop metainfo/$id.metainfo.xml man/man6/tavi.6.gz \
  doc/tavi/copyright doc/tavi/README.md doc/tavi/CHANGELOG.md icons/hicolor/scalable/apps/$id.svg; do
  [ -s "$share/$file" ] || fail "share/$file is missing"
done
for file in "$build"/media/*; do
  [ -s "$share/tavi/media/${file##*/}" ] || fail "share/tavi/media/${file##*/} is missing"
done
[ -e "$share/tavi/media/.stamp" ] && fail "the build's stamp file was installed"
for size in 16 24 32 48 64 128 256 512; do
  icon=$share/icons/hicolor/${size}x${size}/apps/$id.png
  # Width and height from the PNG header.
  [ "$(od -An -tu4 --endian=big -j16 -N8 "$icon" 2>/dev/null | xargs)" = "$size $size" ] ||
    fail "icon ${size}x${size} is missing or has another size"
done

# Each validator must have nothing to say.
check() {
  local out
  out=$("$@" 2>&1) || fail "$* failed: $out"
  [ -z "$out" ] || fail "$*: $out"
}
desktop=$share/applications/$id.desktop
check desktop-file-validate "$desktop"
# Style remarks are for the BSD base systems, whose pages name no operating system in .Os.
check mandoc -T lint -W warning "$share/man/man6/tavi.6.gz"
out=$(appstreamcli validate --no-net --pedantic "$share/metainfo/$id.metainfo.xml" 2>&1) ||
  fail "appstreamcli: $out"
grep -E '^[EWIP]:' <<<"$out" && fail "appstreamcli has remarks"

# The entry, the metadata and the icons name each other; the window class is the executable's.
for line in "Icon=$id" "StartupWMClass=tavi" "Name[de]=Tavi der Taucher"; do
  grep -qxF "$line" "$desktop" || fail "the desktop entry lacks $line"
done
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$share/metainfo/$id.metainfo.xml" ||
  fail "the metadata does not launch $id.desktop"
echo "PASS: installed tree complete, desktop-file-validate, appstreamcli and mandoc silent"
