#!/usr/bin/env bash
# Takes docs/edit-dialog.png: the comment editor of kvorarec.kvp with a
# Japanese comment, under Xvfb and Wine in a prefix of its own, with code
# page 932 and "ＭＳ ゴシック" pinned to IPAGothic (fonts-ipafont-gothic).
# Uses the build that the tests use here (run ./build first): the 32-bit one
# in out/build/cross where this machine runs 32-bit programs, else the
# 64-bit one in out/build/cross-x64.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

if [ -z "${KVP_SCREENSHOT_DISPLAY:-}" ]; then
  export KVP_SCREENSHOT_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi

if [ "$("$root/cmake/wine-arch.sh")" = win32 ]; then
  build=$root/out/build/cross KVP_WINE_ARCH=win32
else
  build=$root/out/build/cross-x64 KVP_WINE_ARCH=win64
fi
program=$build/docs/screenshot/show_edit_dialog.exe
[ -f "$build/plugins/kvorarec.kvp" ] && [ -f "$program" ] || { echo "run ./build first" >&2; exit 1; }

work="$root/out/screenshot"
mkdir -p "$work/locale"
[ -f "$work/locale/ja_JP.UTF-8/LC_CTYPE" ] || localedef -i ja_JP -f UTF-8 "$work/locale/ja_JP.UTF-8"

export KVP_WINE_ARCH KVP_WINE_PREFIX="$work/prefix-$KVP_WINE_ARCH"
. "$root/tools/wine/wine-env.sh"
# Code page 932 for Wine only: the shell itself does not need the locale.
wine=(env LOCPATH="$work/locale" LC_ALL=ja_JP.UTF-8 "$KVP_WINE")
stop_server() { "$WINESERVER" -k 2>/dev/null || true; }
trap stop_server EXIT

if [ ! -f "$WINEPREFIX/.kvp-ready" ]; then
  mkdir -p "$WINEPREFIX"
  timeout 300 "${wine[@]}" wineboot -i >"$work/wine.log" 2>&1
  # wineboot returns before the new prefix is complete: its server ends
  # once every process of the prefix has.
  timeout 300 "$WINESERVER" -w
  timeout 120 "${wine[@]}" regedit /S "$here/screenshot.reg" >>"$work/wine.log" 2>&1
  touch "$WINEPREFIX/.kvp-ready"
fi

rm -f "$work/ready" "$work/done"
timeout 120 "${wine[@]}" "$program" "Z:$build/plugins/kvorarec.kvp" "Z:$work/kvora_07.rpy" \
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
