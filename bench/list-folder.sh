#!/usr/bin/env bash
# Lists a generated folder of replays through a replay plug-in with kvhost,
# timing the plug-in against plain reading of the same files.
#   bench/list-folder.sh [COUNT] [BODY_BYTES] [ROUNDS] [PLUGIN]
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-2000} body=${2:-60000} rounds=${3:-5} plugin=${4:-kvorarec}

[ -f dist/kvhost.exe ] || ./build >/dev/null
cmake/configure.sh bench
cmake --build out/build/bench --target make_samples >/dev/null
folder=out/bench/replays-$count
rm -rf "$folder"; mkdir -p "$folder"
out/build/bench/make_samples --replays "$plugin" "$count" "$body" "$folder"

if [ "$(cmake/wine-arch.sh)" = win32 ]; then
  arch=win32; bin=dist
else
  arch=win64; bin=out/build/cross-x64/plugins
  [ -f $bin/kvhost.exe ] || ./build >/dev/null
fi
export KVP_WINE_ARCH=$arch KVP_WINE_PREFIX="$PWD/out/run-prefix"
. tools/wine/wine-env.sh
# ./run's prefix, made ready before the first process is timed.
trap 'tools/wine/wine-prefix.sh stop' EXIT
tools/wine/wine-prefix.sh start
echo "bench: $count replays of about $body bytes in $folder ($arch)"
timeout 600 "$KVP_WINE" "$bin/kvhost.exe" list "$bin/$plugin.kvp" "$folder" --bench --rounds "$rounds"
