#!/usr/bin/env bash
# "check-install.sh TOOL ARGUMENTS..." runs a validator; "check-install.sh package
# CPACK_CONFIG VERSION" builds the package and compares its files and what it declares.
# No tool: skipped (status 77).
set -eu; id=io.github.zanku.Zanku
need() { command -v "$1" >/dev/null || { echo "Skipped: no $1 (scripts/install-deps)"; exit 77; }; }
[ "$1" = package ] || { need "$1"; exec "$@"; }
need dpkg-deb && need dpkg-shlibdeps
out=$(mktemp -d) && trap 'rm -rf "$out"' EXIT
cpack --config "$2" -B "$out" >/dev/null
deb=$(echo "$out"/*.deb)
printf './usr/%s\n' bin/zanku share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/man/man1/zanku.1 share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/$id.png \
    share/doc/zanku/{copyright,changelog.Debian.gz} |
    sort | diff - <(dpkg-deb -c "$deb" | awk '!/\/$/ {print $NF}' | sort)
fail() { echo "package: $*"; exit 1; }
[ "$(dpkg-deb -f "$deb" Version)" = "$3" ] || fail "version is not $3"
dpkg-deb -f "$deb" Recommends | grep -qw qt6-image-formats-plugins || fail "no WebP plugins recommended"
dpkg-deb -f "$deb" Maintainer | grep -Eq '^[^<]+ <[^@>]+@[^>]+>$' || fail "no maintainer address"
dpkg-deb -x "$deb" "$out/root" && doc=$out/root/usr/share/doc/zanku
head -1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright is not machine-readable"
grep -q '^License: ' "$doc/copyright" || fail "copyright names no licence"
zcat "$doc/changelog.Debian.gz" | head -1 | grep -q "^zanku ($3) " || fail "changelog does not start at $3"
grep -q "<release version=\"$3\" date=\"[0-9-]*\"" "$out/root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "no AppStream release $3"
