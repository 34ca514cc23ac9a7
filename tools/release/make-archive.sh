#!/usr/bin/env bash
# Packs the release: OUTDIR/kvp-plugins-VERSION.zip with every plug-in's
# .kvp, kvhost.exe and the two readmes in one folder kvp-plugins-VERSION/.
# readme.txt goes out as Shift-JIS (CP932) with CR LF, as Windows users of
# the host read it; its source docs/readme.txt is UTF-8. Each readme lists
# the plug-ins where it says @PLUGINS@: the entry of each, from its folder
# (readme-entry.txt, readme-entry-en.txt), in the order of their names.
# The same files give the same archive: sorted entries, one fixed time on all
# of them (SOURCE_DATE_EPOCH, else the last commit's), no extra attributes.
# Usage: make-archive.sh BINDIR OUTDIR   (BINDIR holds the built files)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
[ $# -eq 2 ] || { echo "usage: $0 BINDIR OUTDIR" >&2; exit 2; }
bin=$1
mkdir -p "$2"
out=$(cd "$2" && pwd)

version=$(head -n 1 "$root/VERSION")
name=kvp-plugins-$version
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 1767225600)}

stage=$(mktemp -d "${TMPDIR:-/tmp}/kvp-release.XXXXXX")
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"

# One .kvp per folder of plugins/, and nothing else that happens to lie in BINDIR.
for dir in "$root"/plugins/*/; do
  plugin=$(basename "$dir")
  cp "$bin/$plugin.kvp" "$stage/$name/"
done
cp "$bin/kvhost.exe" "$stage/$name/"

to_crlf() { sed -e 's/\r$//' -e 's/$/\r/'; }
readme() {  # TEMPLATE ENTRY
  local entries=$stage/entries
  for dir in "$root"/plugins/*/; do cat "$dir$2"; done >"$entries"
  awk -v version="$version" -v entries="$entries" \
    '$0 == "@PLUGINS@" { while ((getline line < entries) > 0) print line; next } { gsub(/@VERSION@/, version); print }' "$1"
}
readme "$root/docs/readme.txt" readme-entry.txt | iconv -f UTF-8 -t CP932 | to_crlf >"$stage/$name/readme.txt"
readme "$root/docs/readme-en.txt" readme-entry-en.txt | iconv -f UTF-8 -t ASCII | to_crlf >"$stage/$name/readme-en.txt"

chmod 644 "$stage/$name"/*
chmod 755 "$stage/$name"
touch -d "@$epoch" "$stage/$name"/* "$stage/$name"
rm -f "$out/$name.zip"
# zip stores local time: pin the zone so the archive does not depend on it.
(cd "$stage" && find "$name" -type f | LC_ALL=C sort | TZ=UTC0 zip -X -D -q -9 "$out/$name.zip" -@)
echo "$out/$name.zip"
