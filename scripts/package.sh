#!/usr/bin/env bash
# Builds the Debian packages from debian/ as a packager does, from the commit HEAD (uncommitted
# changes are not packaged): the upstream tarball tavi_VERSION.orig.tar.xz made with git archive,
# then `dpkg-buildpackage -us -uc` in an unpacked copy, which makes the source package, tavi and
# its debug symbols (tavi-dbgsym), then lintian over all of them: any error or warning fails,
# except the one every first upload gets for closing no bug. Prints the path of the .deb.
#
#   scripts/package.sh [--twice]
#
# --twice builds once more in another folder and fails unless both builds made the same .deb
# files, byte for byte. The packages go to build-deb/ (TAVI_PACKAGE_BUILD_DIR), the build's
# output to build-deb/build.log. Installs debhelper, lintian and the build dependencies when they
# are missing (as root; otherwise it prints the apt-get line).
set -euo pipefail

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${TAVI_PACKAGE_BUILD_DIR:-$top/build-deb}
twice=false
case ${1:-} in
  "") ;;
  --twice) twice=true ;;
  *) echo "usage: scripts/package.sh [--twice]" >&2; exit 2 ;;
esac

# The tools of the package route, then what debian/control asks for.
tools=(debhelper lintian dpkg-dev xz-utils)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null | grep -q '^ii' || missing+=("$p")
done
unmet() { (cd "$top" && dpkg-checkbuilddeps 2>&1 >/dev/null) | sed -n 's/.*Unmet build dependencies: //p'; }
if [ "$(id -u)" -ne 0 ]; then
  if ((${#missing[@]})) || [ -n "$(unmet)" ]; then
    echo "package.sh needs: sudo apt-get install ${missing[*]} && (cd $top && sudo apt-get build-dep ./)" >&2
    exit 1
  fi
else
  export DEBIAN_FRONTEND=noninteractive
  if ((${#missing[@]})); then
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
  [ -z "$(unmet)" ] || (cd "$top" && apt-get build-dep -y -qq ./)
fi

commit=$(git -C "$top" rev-parse HEAD)  # both builds of --twice package the same
version=$(dpkg-parsechangelog -l "$top/debian/changelog" -S Version)
upstream=${version%-*}
arch=$(dpkg-architecture -q DEB_HOST_ARCH)

# One build in `dir`: the upstream tarball (the same bytes from the same commit), unpacked with
# debian/ beside it, then dpkg-buildpackage.
build() {
  local dir=$1
  rm -rf "$dir"
  mkdir -p "$dir"
  git -C "$top" archive --format=tar --prefix="tavi-$upstream/" "$commit" -- . ':(exclude)debian' |
    xz -6 -T1 >"$dir/tavi_$upstream.orig.tar.xz"
  tar -xf "$dir/tavi_$upstream.orig.tar.xz" -C "$dir"
  git -C "$top" archive --format=tar "$commit" debian | tar -xf - -C "$dir/tavi-$upstream"
  echo "package.sh: building in $dir (log: $dir/build.log)" >&2
  (cd "$dir/tavi-$upstream" && dpkg-buildpackage -us -uc -j"$(nproc)") >"$dir/build.log" 2>&1 || {
    tail -n 40 "$dir/build.log" >&2
    echo "package.sh: dpkg-buildpackage failed, see $dir/build.log" >&2
    exit 1
  }
}

build "$out"
changes=$out/tavi_${version}_$arch.changes
lintian --info --fail-on error,warning --suppress-tags initial-upload-closes-no-bugs "$changes" >&2

if $twice; then
  build "$out/again"
  for deb in "$out"/*.deb; do
    cmp "$deb" "$out/again/${deb##*/}" ||
      { echo "package.sh: ${deb##*/} differs between two builds: not reproducible" >&2; exit 1; }
  done
  (cd "$out" && sha256sum ./*.deb) >&2
  echo "package.sh: both builds made the same packages" >&2
fi
echo "$out/tavi_${version}_$arch.deb"
