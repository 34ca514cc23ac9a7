#!/usr/bin/env bash
# Builds the 32-bit plug-ins and kvhost twice, from two copies of the sources
# at different paths into build folders of different names, and compares the
# files byte for byte: no time stamp or path may reach them.
# Usage: check-reproducible.sh [SCRATCH]   (default: a new folder in /tmp)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=${1:-$(mktemp -d "${TMPDIR:-/tmp}/kvp-reproducible.XXXXXX")}
rm -rf "$scratch"
mkdir -p "$scratch"
jobs=${KVP_JOBS:-$(nproc)}

files=()
for dir in "$root"/plugins/*/; do files+=("$(basename "$dir").kvp"); done
files+=(kvhost.exe)
targets=("${files[@]%.*}")

build() {  # SOURCE-COPY BUILD-FOLDER
  mkdir -p "$1"
  tar -C "$root" --exclude=./out --exclude=./dist --exclude=./.git -cf - . | tar -C "$1" -xf -
  (cd "$1" && cmake --preset cross -B "$2" -DKVP_TESTS=OFF >/dev/null)
  cmake --build "$2" -j"$jobs" --target "${targets[@]}" >/dev/null
}
start=$SECONDS
build "$scratch/a/src" "$scratch/a/build"
build "$scratch/second/sources" "$scratch/second/out/cross-again"

status=0
for f in "${files[@]}"; do
  cmp "$scratch/a/build/plugins/$f" "$scratch/second/out/cross-again/plugins/$f" || status=1
done
[ $status -eq 0 ] || { echo "reproducible build: files differ (builds kept in $scratch)" >&2; exit 1; }
rm -rf "$scratch"
echo "reproducible build: ${#files[@]} files identical in two builds ($((SECONDS - start)) s)"
