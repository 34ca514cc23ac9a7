#!/usr/bin/env bash
# Prints how the Wine tests and ./run load the plug-ins here: "win32" where
# this machine runs 32-bit programs and 32-bit Wine is installed (the files
# users get are tested), else "win64: WHY" (the 64-bit copy of the same
# build, under 64-bit Wine).
here=$(dirname "$0")
if ! "$here/runs-32bit.sh"; then
  echo "win64: this machine refuses 32-bit programs"
elif [ ! -x /usr/lib/wine/wine ]; then
  why=$(cat "$here/../out/wine32-unavailable.txt" 2>/dev/null) || why="wine32:i386 is not installed"
  echo "win64: $why"
else
  echo win32
fi
