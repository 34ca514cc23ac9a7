#!/usr/bin/env bash
# Takes docs/edit-dialog.png: the comment editor of kvorarec.kvp with a
# Japanese comment, under Xvfb and 64-bit Wine in a prefix of its own, with
# code page 932 and "ＭＳ ゴシック" pinned to IPAGothic (fonts-ipafont-gothic).
# Uses the 64-bit build in out/build/cross-x64 (made by ./build where 32-bit
# programs cannot run; made here if it is missing), or the build folder named
# by KVP_SCREENSHOT_BUILD.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

if [ -z "${KVP_SCREENSHOT_DISPLAY:-}" ]; then
  export KVP_SCREENSHOT_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

build="${KVP_SCREENSHOT_BUILD:-$root/out/build/cross-x64}"
if [ ! -f "$build/plugins/kvorarec.kvp" ]; then
  cmake --preset cross-x64 -S "$root" >/dev/null
  cmake --build "$build" -j"$(nproc)" --target kvorarec
fi

work="$root/out/screenshot"
mkdir -p "$work/locale"
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -static -o "$work/ShowEditDialog.exe" "$here/ShowEditDialog.cpp"
[ -f "$work/locale/ja_JP.UTF-8/LC_CTYPE" ] || localedef -i ja_JP -f UTF-8 "$work/locale/ja_JP.UTF-8"

export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="winedbg.exe,mscoree,mshtml=d"
export WINESERVER=/usr/lib/wine/wineserver64 WINELOADER=/usr/lib/wine/wine64
# Code page 932 for Wine only: the shell itself does not need the locale.
wine=(env LOCPATH="$work/locale" LC_ALL=ja_JP.UTF-8 /usr/lib/wine/wine64)
stop_server() { "$WINESERVER" -k 2>/dev/null || true; }
trap stop_server EXIT

if [ ! -f "$WINEPREFIX/.kvp-ready" ]; then
  timeout 300 "${wine[@]}" wineboot -i >"$work/wine.log" 2>&1
  timeout 120 "${wine[@]}" regedit /S "$here/screenshot.reg" >>"$work/wine.log" 2>&1
  touch "$WINEPREFIX/.kvp-ready"
fi

rm -f "$work/ready" "$work/done"
timeout 120 "${wine[@]}" "$work/ShowEditDialog.exe" "Z:$build/plugins/kvorarec.kvp" "Z:$work/kvora_07.rpy" \
  "Z:$work/ready" "Z:$work/done" >>"$work/wine.log" 2>&1 &
shown=$!
for _ in $(seq 600); do
  [ -s "$work/ready" ] && break
  sleep 0.1
done
[ -s "$work/ready" ] || { echo "the dialog did not show; see $work/wine.log" >&2; exit 1; }
size=$(tr -d '\r\n' < "$work/ready")
xwd -root -silent -display "$DISPLAY" | convert xwd:- -crop "${size}+0+0" +repage "$root/docs/edit-dialog.png"
touch "$work/done"
wait "$shown"
echo "docs/edit-dialog.png: ${size}"
