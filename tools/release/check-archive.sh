#!/usr/bin/env bash
# Makes the release archive from BINDIR's files into SCRATCH and checks it:
# the entries, the files unpacked equal to the built ones, readme.txt in
# CP932 with CR LF on every line, its English twin, and the same archive
# again from copies of the files with other times.
# Usage: check-archive.sh BINDIR SCRATCH
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
bin=$1 scratch=$2
# SCRATCH is emptied only when it holds nothing but what this script puts
# there: a wrong argument must not wipe a folder of someone else's.
if [ -e "$scratch" ] && { [ ! -d "$scratch" ] ||
     [ -n "$(find "$scratch" -mindepth 1 -maxdepth 1 ! -name first ! -name unpacked ! -name copies ! -name second -print -quit)" ]; }; then
  echo "release archive: $scratch holds what this script did not make; name another folder" >&2
  exit 2
fi
rm -rf --one-file-system "$scratch"
mkdir -p "$scratch"
scratch=$(cd "$scratch" && pwd)   # make-archive.sh answers a full path
fail() { echo "release archive: $*" >&2; exit 1; }

version=$(head -n 1 "$root/VERSION")
name=kvp-plugins-$version
zip=$("$here/make-archive.sh" "$bin" "$scratch/first")
[ "$zip" = "$scratch/first/$name.zip" ] || fail "made $zip"

plugins=$(cd "$root/plugins" && ls -d */ | tr -d /)
expected=$( (for p in $plugins; do echo "$name/$p.kvp"; done
             printf '%s\n' "$name/kvhost.exe" "$name/readme.txt" "$name/readme-en.txt") | LC_ALL=C sort)
[ "$(unzip -Z1 "$zip")" = "$expected" ] || fail "entries: $(unzip -Z1 "$zip" | tr '\n' ' ')"

unzip -q "$zip" -d "$scratch/unpacked"
dir=$scratch/unpacked/$name
for p in $plugins; do cmp "$bin/$p.kvp" "$dir/$p.kvp"; done
cmp "$bin/kvhost.exe" "$dir/kvhost.exe"

# Every line ends in CR LF: as many CRs as LFs, each LF after a CR, and the
# last byte an LF.
crlf_only() {
  local lf cr pairs
  lf=$(tr -cd '\n' <"$1" | wc -c)
  cr=$(tr -cd '\r' <"$1" | wc -c)
  pairs=$(grep -c $'\r$' "$1")
  [ "$lf" -gt 0 ] && [ "$lf" -eq "$cr" ] && [ "$lf" -eq "$pairs" ] && [ "$(tail -c 1 "$1" | od -An -tx1 | tr -d ' ')" = 0a ]
}
for readme in readme.txt readme-en.txt; do
  crlf_only "$dir/$readme" || fail "$readme has a line without CR LF"
  head -n 1 "$dir/$readme" | grep -qxF "kvp-plugins $version"$'\r' || fail "$readme does not start with kvp-plugins $version"
  for p in $plugins; do grep -q "^$p\.kvp " "$dir/$readme" || fail "$readme does not say what $p.kvp reads"; done
done
japanese=$(iconv -f CP932 -t UTF-8 "$dir/readme.txt") || fail "readme.txt is not CP932"
grep -q 'インストール' <<<"$japanese" || fail "readme.txt is not the Japanese text"
LC_ALL=C grep -q '[^[:print:][:space:]]' "$dir/readme-en.txt" && fail "readme-en.txt is not ASCII"

# The same files, copied with other times, make the same bytes.
mkdir "$scratch/copies"
for f in "$dir"/*.kvp "$dir/kvhost.exe"; do cp "$f" "$scratch/copies/"; done
touch -d '2001-02-03 04:05:06' "$scratch/copies"/*
"$here/make-archive.sh" "$scratch/copies" "$scratch/second" >/dev/null
cmp "$zip" "$scratch/second/$name.zip" || fail "not reproducible"
echo "release archive: $(unzip -Z1 "$zip" | wc -l) entries, $(stat -c %s "$zip") bytes, reproducible"
