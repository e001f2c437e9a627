#!/usr/bin/env bash
# Makes the Debian package of ZELTA SCU from an existing build, without building again:
#   make-deb.sh BUILD_DIR [OUTPUT_DIR]
# writes OUTPUT_DIR (default BUILD_DIR)/zeltasc_<version>-<revision>_<arch>.deb and prints its
# path. The files are those of `install.sh install /usr` (one layout for both), the program
# stripped; the control file comes from debian/control and debian/changelog, its Depends from
# the libraries the program links (dpkg-shlibdeps) and the GStreamer plugin packages that the
# movie player needs at run time (debian/control). Needs dpkg-dev, nothing else, and no root.
set -euo pipefail

source_dir="$(cd "$(dirname "$0")/.." && pwd)"
[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: $0 BUILD_DIR [OUTPUT_DIR]" >&2; exit 2; }
build="$(cd "$1" && pwd)"
out="$(mkdir -p "${2:-$build}" && cd "${2:-$build}" && pwd)"
for tool in dpkg-shlibdeps dpkg-gencontrol dpkg-parsechangelog dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "make-deb.sh: $tool is missing; install dpkg-dev" >&2; exit 1; }
done

cd "$source_dir"
version="$(dpkg-parsechangelog -S Version)"
upstream="$(grep -m1 -o 'ZeltaScu VERSION [0-9.]*' CMakeLists.txt | cut -d' ' -f3)"
if [ "${version%-*}" != "$upstream" ]; then
  echo "make-deb.sh: debian/changelog is at $version, the program at $upstream; add a changelog entry" >&2
  exit 1
fi
arch="$(dpkg-architecture -qDEB_HOST_ARCH)"
# Files dated by the changelog entry, so the same build gives the same package.
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -S Timestamp)}"

work="$(mktemp -d "$out/zeltasc-deb.XXXXXX")"
trap 'rm -rf "$work"' EXIT
stage="$work/root"
# The command in /usr/games, as Debian's policy wants for the games section.
COMMAND_DIR=games bash scripts/install.sh install /usr "$build" "$stage" >/dev/null

program="$stage/usr/lib/zeltasc/zeltasc"
# As Debian's own packages are stripped: no symbol table, no debugging information, no comments.
strip --remove-section=.comment --remove-section=.note --strip-unneeded "$program"
gzip -9n "$stage/usr/share/man/man6/zeltasc.6"
install -D -m 644 debian/copyright "$stage/usr/share/doc/zeltasc/copyright"
gzip -9n -c debian/changelog >"$stage/usr/share/doc/zeltasc/changelog.Debian.gz"
install -D -m 644 debian/zeltasc.lintian-overrides "$stage/usr/share/lintian/overrides/zeltasc"
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f ! -path "$program" -exec chmod 644 {} +
chmod 755 "$program"

mkdir -m 755 "$stage/DEBIAN"
dpkg-shlibdeps -T"$work/substvars" -e "$program" 2> >(grep -v 'binaries to analyze should already be installed' >&2 || true)
dpkg-gencontrol -pzeltasc -T"$work/substvars" -P"$stage" -f"$work/files"
(cd "$stage" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) >"$stage/DEBIAN/md5sums"
chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

deb="$out/zeltasc_${version}_${arch}.deb"
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "$deb"
