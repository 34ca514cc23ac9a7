#!/usr/bin/env bash
# A smoke run of the real 32-bit files in dist/ on a machine whose kernel
# refuses 32-bit programs: 32-bit Wine under qemu-user emulation. Far too slow
# for the test suite (a quarter of an hour, most of it Wine starting up), so
# it is a manual check: kvhost lists the Kvoradan samples and decodes a
# screenshot with the 32-bit plug-ins, and both answers must equal those of
# the 64-bit build that the tests use. Run ./build first; needs root.
#
# What it touches: installs qemu-user-static if it is missing (and leaves it
# installed); mounts binfmt_misc on /proc/sys/fs/binfmt_misc if it is not
# mounted, and registers qemu-i386 there if no entry of that name exists; two
# Wine prefixes in a folder that mktemp makes. On every way out, Ctrl-C
# included, it ends its Wine servers, removes the entry it registered,
# unmounts what it mounted and removes its folder: the machine is left as it
# was, but for the package.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/steps.sh

if cmake/runs-32bit.sh; then
  echo "this machine runs 32-bit programs: ./test already loads the 32-bit plug-ins" >&2
  exit 0
fi
[ "$(id -u)" -eq 0 ] || { echo "emulated-32bit-smoke: needs root (binfmt_misc)" >&2; exit 1; }
for built in dist/kvhost.exe out/build/cross-x64/plugins/kvhost.exe; do
  [ -f "$built" ] || { echo "emulated-32bit-smoke: $built is missing; run ./build first" >&2; exit 1; }
done
export DEBIAN_FRONTEND=noninteractive
dpkg-query -W qemu-user-static >/dev/null 2>&1 || apt-get install -y -qq --no-install-recommends qemu-user-static >/dev/null

binfmt=/proc/sys/fs/binfmt_misc
work= mounted=no registered=no
cleanup() {
  local status=$?
  trap '' INT TERM HUP
  [ -z "$step" ] || kill -KILL -- "-$step" 2>/dev/null || true
  if [ -n "$work" ]; then
    WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
    KVP_WINE_ARCH=win64 KVP_WINE_PREFIX=$work/prefix64 \
      bash -c '. tools/wine/wine-env.sh; "$WINESERVER" -k' 2>/dev/null || true
    # Wine processes still starting under emulation may not be the servers'
    # yet: every process whose prefix is in the folder is ended too.
    local pids
    pids=$(grep -lsz "^WINEPREFIX=${work//./\\.}/" /proc/[0-9]*/environ | sed 's|^/proc/||; s|/environ$||') || true
    [ -z "$pids" ] || kill -KILL $pids 2>/dev/null || true
  fi
  # The emulator must not stay registered: 64-bit Wine would start its
  # 32-bit helpers through it and crawl.
  if [ "$registered" = yes ] && [ -e $binfmt/qemu-i386 ]; then echo -1 >$binfmt/qemu-i386 || status=1; fi
  if [ "$mounted" = yes ] && findmnt -rn $binfmt >/dev/null; then umount $binfmt || status=1; fi
  [ -z "$work" ] || rm -rf --one-file-system "$work"
  exit "$status"
}
# Set before the first change; each change is recorded before it is made.
on_every_exit cleanup

work=$(mktemp -d)
if [ ! -e $binfmt/register ]; then
  mounted=yes
  mount -t binfmt_misc binfmt_misc $binfmt
fi
if [ ! -e $binfmt/qemu-i386 ]; then
  registered=yes
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' > $binfmt/register
fi

run32() {
  in_background env WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all QEMU_RESERVED_VA=0xf7000000 \
    WINEDLLOVERRIDES="winedbg.exe,mscoree,mshtml=d" timeout 1800 /usr/lib/wine/wine "$@"
}
run64() {
  in_background env KVP_WINE_ARCH=win64 KVP_WINE_PREFIX="$work/prefix64" \
    bash -c '. tools/wine/wine-env.sh; mkdir -p "$WINEPREFIX"; timeout 300 "$KVP_WINE" "$@"' run64 "$@"
}

# Prefixes first, so that only kvhost's answers reach the files compared.
run32 wineboot -i >/dev/null 2>&1 || true
run64 wineboot -i >/dev/null 2>&1 || true
run32 dist/kvhost.exe list dist/kvorarec.kvp samples/kvorarec > "$work/list32.txt" 2>/dev/null
run32 dist/kvhost.exe picture dist/brysspic.kvp samples/brysspic/sc0001.dat "$work/shot32.bmp" >/dev/null 2>&1
run64 out/build/cross-x64/plugins/kvhost.exe list out/build/cross-x64/plugins/kvorarec.kvp samples/kvorarec > "$work/list64.txt" 2>/dev/null
run64 out/build/cross-x64/plugins/kvhost.exe picture out/build/cross-x64/plugins/brysspic.kvp \
  samples/brysspic/sc0001.dat "$work/shot64.bmp" >/dev/null 2>&1

cat "$work/list32.txt"
diff "$work/list64.txt" "$work/list32.txt"
cmp "$work/shot64.bmp" "$work/shot32.bmp"
echo "32-bit plug-ins: listing and picture equal to the 64-bit build's"
