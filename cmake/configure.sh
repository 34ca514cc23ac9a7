#!/usr/bin/env bash
# cmake/configure.sh PRESET [-B DIR] [CMAKE ARGUMENTS]: configures a build
# folder from a preset, afresh when the toolchain files or the presets have
# changed since it was last configured. A build folder keeps the compilers it
# was first made with, so without this a folder made before a change of
# compiler would go on building with the old one.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=$1
shift
dir=out/build/$preset
if [ "${1:-}" = -B ]; then dir=$2; fi
stamp=$(cat CMakePresets.json cmake/toolchain-*.cmake cmake/WindowsFloor.cmake | sha256sum | cut -d' ' -f1)
fresh=()
if [ -f "$dir/CMakeCache.txt" ] && [ "$(cat "$dir/.kvp-toolchain" 2>/dev/null)" != "$stamp" ]; then
  echo "configure: $dir is configured afresh (toolchain or presets changed)" >&2
  fresh=(--fresh)
fi
cmake "${fresh[@]}" --preset "$preset" "$@" >/dev/null
echo "$stamp" >"$dir/.kvp-toolchain"
