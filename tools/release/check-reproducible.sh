#!/usr/bin/env bash
# Builds the 32-bit plug-ins and kvhost from a copy of the sources at another
# path into a build folder of another name, and compares the files byte for
# byte with those of a first build: no time stamp or path may reach them.
# The first build is made the same way, or is an existing build folder of
# this tree (--against, as ./test does with out/build/cross).
# Usage: check-reproducible.sh [--against BUILD] [PARENT]
# The builds go into a new folder that mktemp makes inside PARENT (default
# $TMPDIR or /tmp); that folder alone is removed at the end, and kept (and
# named) only when the files differ. PARENT itself is never emptied.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
against=
if [ "${1:-}" = --against ]; then
  against=$(cd "$2" && pwd)
  shift 2
fi
parent=${1:-${TMPDIR:-/tmp}}
[ -d "$parent" ] || { echo "reproducible build: $parent is not a folder" >&2; exit 2; }
scratch=$(mktemp -d "$parent/kvp-reproducible.XXXXXX")
keep=no
trap '[ "$keep" = yes ] || rm -rf --one-file-system "$scratch"' EXIT
trap 'exit 130' INT TERM
jobs=${KVP_JOBS:-$(nproc)}

files=()
for dir in "$root"/plugins/*/; do files+=("$(basename "$dir").kvp"); done
files+=(kvhost.exe)

build() {  # SOURCE-COPY BUILD-FOLDER
  mkdir -p "$1"
  tar -C "$root" --exclude=./out --exclude=./dist --exclude=./.git -cf - . | tar -C "$1" -xf -
  (cd "$1" && cmake --preset cross -B "$2" -DKVP_TESTS=OFF >/dev/null)
  cmake --build "$2" -j"$jobs" --target release_files >/dev/null
}
start=$SECONDS
if [ -n "$against" ]; then
  cmake --build "$against" -j"$jobs" --target release_files >/dev/null
  first=$against
else
  build "$scratch/a/src" "$scratch/a/build"
  first=$scratch/a/build
fi
build "$scratch/second/sources" "$scratch/second/out/cross-again"

status=0
for f in "${files[@]}"; do
  cmp "$first/plugins/$f" "$scratch/second/out/cross-again/plugins/$f" || status=1
done
if [ $status -ne 0 ]; then
  keep=yes
  echo "reproducible build: files differ (builds kept in $scratch)" >&2
  exit 1
fi
echo "reproducible build: ${#files[@]} files identical in two builds ($((SECONDS - start)) s)"
