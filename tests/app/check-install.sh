#!/usr/bin/env bash
# "check-install.sh TOOL ARGUMENTS..." runs a validator; "check-install.sh package
# CPACK_CONFIG" builds the package and compares its files. No tool: skipped (status 77).
set -eu; id=io.github.zanku.Zanku
need() { command -v "$1" >/dev/null || { echo "Skipped: no $1 (scripts/install-deps)"; exit 77; }; }
[ "$1" = package ] || { need "$1"; exec "$@"; }
need dpkg-deb && need dpkg-shlibdeps
out=$(mktemp -d) && trap 'rm -rf "$out"' EXIT
cpack --config "$2" -B "$out" >/dev/null
printf './usr/%s\n' bin/zanku share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
    share/man/man1/zanku.1 share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/$id.png |
    sort | diff - <(dpkg-deb -c "$out"/*.deb | awk '!/\/$/ {print $NF}' | sort)
