#!/usr/bin/env bash
# Does what a new user does: on a bare Debian 12 (debootstrap's minbase,
# nothing installed), from a clean export of a commit, runs the README's two
# commands as root inside a chroot, and says how long each took.
#
#   tools/bare-machine.sh [COMMIT]          (default HEAD; needs root)
#
# What it touches:
# - The bare root is made once with debootstrap, from the Debian mirror that
#   this machine's apt uses, and cached as a tarball in KVP_BARE_CACHE
#   (default /var/cache/kvp-bare); debootstrap runs in a folder that mktemp
#   makes there, removed afterwards.
# - Every run unpacks a fresh copy into a folder that mktemp makes inside
#   KVP_BARE_WORK (default /var/tmp), and removes that folder afterwards
#   (KVP_BARE_KEEP=1 keeps it); KVP_BARE_WORK itself is never emptied.
# - /proc, /sys, /dev, /dev/pts and a tmpfs on /dev/shm are mounted in the
#   copy, in a mount namespace of the run's own: the machine never sees these
#   mounts, and they end with the run. The copy is removed only when nothing
#   is mounted below it, and never across a mount.
# - The root's apt sources are this machine's Debian 12 entries (the release,
#   its updates and its security suite, from the mirrors this machine uses).
# - The commands' output goes to out/bare-machine/ of this tree.
# - KVP_BARE_BROKEN_SUITE=1 adds one more apt source to the root: a suite in
#   a folder of the root (file:/var/local/kvp-broken-suite) whose Release
#   file names an index that is not there, as on a mirror caught mid-sync.
#   The commands must pass all the same, and say what they did.
# Each command gets KVP_BARE_LIMIT seconds (default 3600). Ctrl-C ends a run
# at once: the processes it started are ended, their mounts go with them.
# On a machine that cannot run 32-bit programs the commands take the 64-bit
# path, as they do there outside the chroot (KVP_NO_32BIT=1 takes it here).
set -euo pipefail
. "$(dirname "$0")/steps.sh"

# The part that runs in the private mount namespace: mounts in the root,
# the two commands in the chroot, the mounts undone on every way out.
if [ "${1:-}" = --in-namespace ]; then
  root=$2 logs=$3 limit=$4 record=$5
  mounted=()
  leave() {
    local status=$? i
    trap '' INT TERM
    [ -z "$step" ] || kill -TERM -- "-$step" 2>/dev/null || true
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
      umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" 2>/dev/null || true
    done
    exit "$status"
  }
  on_every_exit leave

  mount_in_root() {  # WHERE MOUNT-ARGUMENTS...
    local where=$root$1
    shift
    mkdir -p "$where"
    echo "$where" >>"$record"   # recorded before it is made
    mounted+=("$where")
    mount "$@" "$where"
  }
  mount_in_root /proc -t proc proc
  mount_in_root /sys -t sysfs sysfs
  mount_in_root /dev --bind /dev
  mount_in_root /dev/pts --bind /dev/pts
  mount_in_root /dev/shm -t tmpfs -o mode=1777 tmpfs

  # One command as root in the project's folder, with a clean environment
  # and no locale set, as on a machine that has never been configured. In a
  # session of its own, waited for, so that a signal is handled at once.
  times=()
  run_in_root() {  # NAME COMMAND
    local name=$1 command=$2 start=$SECONDS status=0
    echo "bare-machine: $command (log: $logs/$name.log)"
    in_background timeout --kill-after=30 "$limit" chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb \
      KVP_NO_32BIT="${KVP_NO_32BIT:-0}" PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      /bin/bash -c "cd /root/kvp-plugins && $command" </dev/null >"$logs/$name.log" 2>&1 || status=$?
    times+=("$command: $((SECONDS - start)) s, exit $status")
    if [ $status -ne 0 ]; then
      tail -n 40 "$logs/$name.log" >&2
      echo "bare-machine: $command failed with exit $status after $((SECONDS - start)) s" >&2
      return $status
    fi
  }
  status=0
  run_in_root run ./run || status=$?
  [ $status -ne 0 ] || run_in_root test ./test || status=$?
  printf 'bare-machine: %s\n' "${times[@]}"
  exit $status
fi

[ "$(id -u)" -eq 0 ] || { echo "bare-machine: needs root (debootstrap, chroot, mount)" >&2; exit 1; }
# Real paths from here on: the processes and mounts of a run are found by them.
parent=$(realpath -e "${KVP_BARE_WORK:-/var/tmp}" 2>/dev/null) && [ -d "$parent" ] \
  || { echo "bare-machine: KVP_BARE_WORK=${KVP_BARE_WORK:-} is not a folder" >&2; exit 1; }
mkdir -p "${KVP_BARE_CACHE:-/var/cache/kvp-bare}"
cache=$(realpath -e "${KVP_BARE_CACHE:-/var/cache/kvp-bare}")
limit=${KVP_BARE_LIMIT:-3600}
cd "$(dirname "$0")/.."
tree=$PWD
commit=$(git rev-parse --verify "${1:-HEAD}^{commit}")
logs=$tree/out/bare-machine

# This machine's apt entries, one line each: URI SUITE COMPONENTS, from the
# deb822 files and from the one-line lists.
debian_sources() {
  local files=() lists=() file
  for file in /etc/apt/sources.list.d/*.sources; do [ -f "$file" ] && files+=("$file"); done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do [ -f "$file" ] && lists+=("$file"); done
  [ ${#files[@]} -eq 0 ] || awk '
    function flush(  n, m, i, j, u, s) {
      if (types ~ /(^|[ \t])deb([ \t]|$)/ && enabled != "no") {
        n = split(uris, u, /[ \t]+/); m = split(suites, s, /[ \t]+/)
        for (i = 1; i <= n; i++) for (j = 1; j <= m; j++) print u[i], s[j], components
      }
      types = uris = suites = components = enabled = ""
    }
    FNR == 1 { flush() }
    /^[ \t]*#/ { next }
    /^[ \t]*$/ { flush(); next }
    /^[A-Za-z-]+:/ {
      key = tolower(substr($0, 1, index($0, ":") - 1)); value = substr($0, index($0, ":") + 1)
      gsub(/^[ \t]+|[ \t]+$/, "", value)
      if (key == "types") types = value; else if (key == "uris") uris = value
      else if (key == "suites") suites = value; else if (key == "components") components = value
      else if (key == "enabled") enabled = tolower(value)
    }
    END { flush() }' "${files[@]}"
  [ ${#lists[@]} -eq 0 ] || awk '
    $1 == "deb" {
      i = 2
      if ($i ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ }
      line = $i " " $(i + 1)
      for (k = i + 2; k <= NF; k++) line = line " " $k
      print line
    }' "${lists[@]}"
}
# Debian 12's entries: the release, its updates and its security suite.
sources=$(debian_sources | awk '$2 ~ /^bookworm(-updates|-security)?$/' | sort -u)
mirror=$(awk '$2 == "bookworm" { print $1; exit }' <<<"$sources")
[ -n "$mirror" ] || { echo "bare-machine: this machine's apt has no Debian 12 (bookworm) entry to take the mirror from" >&2; exit 1; }

work= fresh=
tarball=$cache/bookworm-minbase.tar
# Mount points at or below a folder, as the kernel names them (real paths).
mounted_below() {  # FOLDER
  local real target
  real=$(realpath -e "$1" 2>/dev/null) || return 0
  findmnt -rn -o TARGET | while IFS= read -r target; do
    target=$(printf '%b' "$target")   # findmnt -r writes blanks and the like as \x20
    case "$target/" in "$real"/*) printf '%s\n' "$target" ;; esac
  done
}
# Removes a scratch folder of this run, never across a mount and never while
# anything is mounted below it.
remove_scratch() {  # FOLDER
  [ -n "$1" ] && [ -d "$1" ] || return 0
  local below
  below=$(mounted_below "$1")
  if [ -n "$below" ]; then
    printf 'bare-machine: still mounted below %s, left in place:\n%s\n' "$1" "$below" >&2
    return 1
  fi
  rm -rf --one-file-system "$1"
}
# The running step, and every process whose root is a scratch root of this
# run (wine servers, Xvfb and the like outlive the commands that started them).
end_processes() {
  local roots=() signal scratch pids
  [ -z "$work" ] || roots+=("$work/root")
  [ -z "$fresh" ] || roots+=("$fresh")
  for signal in TERM KILL; do
    [ -z "$step" ] || kill -s "$signal" -- "-$step" 2>/dev/null || true
    for scratch in "${roots[@]}"; do
      # One find for all processes; the root's path as a pattern, quoted.
      pids=$(find /proc/[0-9]*/root -maxdepth 0 -lname "$(sed 's/[][*?\\]/\\&/g' <<<"$scratch")" \
               -printf '%h\n' 2>/dev/null | sed 's|^/proc/||') || true
      [ -z "$pids" ] || kill -s "$signal" $pids 2>/dev/null || true
    done
    [ "$signal" = KILL ] || sleep 1
  done
}
cleanup() {
  local status=$?
  trap '' INT TERM
  [ -z "$step" ] || wait_for_step 5
  end_processes
  remove_scratch "$fresh" || status=1
  [ -z "$fresh" ] || rm -f "$tarball.part"
  if [ -n "$work" ] && [ "${KVP_BARE_KEEP:-0}" != 1 ]; then remove_scratch "$work" || status=1; fi
  exit "$status"
}
# Gives the running step a few seconds to end on its own after a TERM.
wait_for_step() {  # SECONDS
  kill -TERM -- "-$step" 2>/dev/null || return 0
  local i
  for ((i = 0; i < $1 * 10; i++)); do
    kill -0 -- "-$step" 2>/dev/null || return 0
    sleep 0.1
  done
}
on_every_exit cleanup

if ! command -v debootstrap >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
fi

if [ ! -f "$tarball" ]; then
  echo "bare-machine: making the bare Debian 12 root (once, about a minute)"
  fresh=$(realpath "$(mktemp -d "$cache/root.XXXXXX")")
  # debootstrap's own mounts in the root stay in a namespace of its own.
  in_background unshare --mount --propagation private \
    debootstrap --variant=minbase bookworm "$fresh" "$mirror" >"$cache/debootstrap.log" 2>&1 \
    || { echo "bare-machine: debootstrap failed; see $cache/debootstrap.log" >&2; exit 1; }
  in_background tar --numeric-owner -C "$fresh" -cpf "$tarball.part" .
  mv "$tarball.part" "$tarball"
  remove_scratch "$fresh"
  fresh=
fi

work=$(realpath "$(mktemp -d "$parent/kvp-bare.XXXXXX")")
root=$work/root
mkdir -p "$root" "$logs"
in_background tar --numeric-owner -C "$root" -xpf "$tarball"
cp /etc/resolv.conf "$root/etc/resolv.conf"
awk '{ print "deb " $0 }' <<<"$sources" >"$root/etc/apt/sources.list"
rm -f "$root"/etc/apt/sources.list.d/*.sources "$root"/etc/apt/sources.list.d/*.list
if [ "${KVP_BARE_BROKEN_SUITE:-0}" = 1 ]; then
  # A Release file that promises an index of a size and hash that nothing has.
  suite=$root/var/local/kvp-broken-suite/dists/broken
  mkdir -p "$suite/main"
  cat >"$suite/Release" <<RELEASE
Origin: kvp
Label: kvp
Suite: broken
Codename: broken
Date: $(date -Ru)
Architectures: amd64 i386
Components: main
SHA256:
 e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b856 12345 main/binary-amd64/Packages
 e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b856 12345 main/binary-i386/Packages
RELEASE
  echo "deb [trusted=yes] file:/var/local/kvp-broken-suite broken main" >>"$root/etc/apt/sources.list"
  echo "bare-machine: with a suite that cannot be fetched (file:/var/local/kvp-broken-suite)"
fi
mkdir -p "$root/root/kvp-plugins"
git archive --format=tar "$commit" | tar -C "$root/root/kvp-plugins" -xf -

echo "bare-machine: commit $commit in $root"
if "$tree/cmake/runs-32bit.sh"; then
  echo "bare-machine: this machine runs 32-bit programs: the 32-bit plug-ins are tested"
else
  echo "bare-machine: this machine refuses 32-bit programs: the 64-bit path, the 32-bit one compiled only"
fi
status=0
in_background unshare --mount --propagation private -- \
  "$tree/tools/bare-machine.sh" --in-namespace "$root" "$logs" "$limit" "$work/mounts" || status=$?
exit $status
