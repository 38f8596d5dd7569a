#!/usr/bin/env bash
# "check-bundle.sh BUILD_DIR": the portable bundle of the program built in BUILD_DIR,
# unpacked into a bare Debian root (debootstrap minbase: no Qt, SDL2 or libarchive; made
# once and kept as BUILD_DIR/bare-root), starts there offscreen on the demo library and
# launches a zipped demo game with --launch, the demo player (a Qt program too) given the
# bundle's libraries. Skipped (status 77) without root or debootstrap.
set -eu
skip() { echo "Skipped: $* (the portable bundle is checked as root where debootstrap is installed)"; exit 77; }
[ "$(id -u)" = 0 ] || skip "not root"
command -v debootstrap >/dev/null || skip "no debootstrap"
command -v patchelf >/dev/null || skip "no patchelf"
build=$(cd "$1" && pwd) && src=$(cd "$(dirname "$0")/../.." && pwd) && root=$build/bare-root
fail() { echo "bundle: $*"; exit 1; }
"$src/scripts/make-bare-root" "$root"
! ls "$root"/usr/lib/x86_64-linux-gnu | grep -E '^lib(Qt6|SDL2|archive|zip)' || fail "the root is not bare"
"$src/scripts/bundle" "$build" >/dev/null
tarball=$(ls -t "$build"/bundle/zanku-*-x86_64.tar.gz | head -1)
rm -rf "$root/opt/zanku" "$root/demo" && mkdir -p "$root/opt/zanku"
tar -C "$root/opt/zanku" --strip-components=1 -xzf "$tarball"
cp "$build/demo/zanku-demo-player" "$root/opt/player.bin"
patchelf --set-rpath /opt/zanku/lib "$root/opt/player.bin"
# The player stays until a key; three seconds of it are a game played.
cat >"$root/opt/player" <<'PLAYER'
#!/bin/sh
echo "$@" >>/demo/played.txt
QT_PLUGIN_PATH=/opt/zanku/plugins timeout 3 /opt/player.bin "$@"
[ $? = 124 ]
PLAYER
chmod +x "$root/opt/player"
"$src/scripts/make-demo" "$root/demo" /opt/player >/dev/null
sed -i "s|$root/demo|/demo|g" "$root/demo/Zanku.ini"
mountpoint -q "$root/proc" || { mount -t proc proc "$root/proc" && trap 'umount "$root/proc"' EXIT; } || true
run() { chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 PATH=/usr/bin:/bin \
    QT_QPA_PLATFORM=offscreen "$@"; }
status=0 && run sh -c 'cd /demo && /opt/zanku/zanku --launch "Arcade Classics" "Galaxy Blaster"' \
    2>"$build/bundle/launch.log" || status=$?
[ $status = 0 ] || { cat "$build/bundle/launch.log"; fail "--launch ended with $status"; }
grep -q 'galaxy.bin' "$root/demo/played.txt" || fail "the game was not played"
[ ! -e "$root/demo/arcade/galaxy.bin" ] || fail "the extracted game was left behind"
# With the controllers on: SDL, loaded once the window has painted, comes from the bundle.
status=0
run timeout 5 /opt/zanku/zanku --library /demo 2>"$build/bundle/start.log" & starter=$!
sleep 3
sdl=$(grep -ho '/opt/zanku/lib/libSDL2[^ ]*' /proc/$(pgrep -f '^/opt/zanku/bin/zanku' | head -1)/maps |
    head -1) || true
wait $starter || status=$?
[ $status = 124 ] || { cat "$build/bundle/start.log"; fail "the window did not stay open ($status)"; }
[ -n "$sdl" ] || fail "the controllers' library was not loaded from the bundle"
! grep -Ei 'error while loading|could not (load|find)|cannot load' "$build/bundle/start.log" ||
    fail "the bundle misses a part"
echo "bundle: $(basename "$tarball") runs in a bare root ($(du -h "$tarball" | cut -f1))"
