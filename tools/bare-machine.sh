#!/usr/bin/env bash
# Does what a new user does: on a bare Debian 12 (debootstrap's minbase,
# nothing installed), from a clean export of a commit, runs the README's two
# commands as root inside a chroot, and says how long each took.
#
#   tools/bare-machine.sh [COMMIT]          (default HEAD; needs root)
#
# The bare root is made once and cached as a tarball (KVP_BARE_CACHE, default
# /var/cache/kvp-bare); every run unpacks a fresh copy into a scratch folder
# (KVP_BARE_WORK, default a new folder in /var/tmp) and removes it afterwards
# (KVP_BARE_KEEP=1 keeps it). Each command gets KVP_BARE_LIMIT seconds
# (default 3600). The commands' output goes to out/bare-machine/ of this tree.
# On a machine that cannot run 32-bit programs the commands take the 64-bit
# path, as they do there outside the chroot (KVP_NO_32BIT=1 takes it here).
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$PWD

commit=$(git rev-parse --verify "${1:-HEAD}^{commit}")
mirror=${KVP_BARE_MIRROR:-http://deb.debian.org/debian}
cache=${KVP_BARE_CACHE:-/var/cache/kvp-bare}
limit=${KVP_BARE_LIMIT:-3600}
logs=$tree/out/bare-machine
[ "$(id -u)" -eq 0 ] || { echo "bare-machine: needs root (debootstrap, chroot, mount)" >&2; exit 1; }

if ! command -v debootstrap >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
fi

tarball=$cache/bookworm-minbase.tar
if [ ! -f "$tarball" ]; then
  echo "bare-machine: making the bare Debian 12 root (once, about a minute)"
  mkdir -p "$cache"
  fresh=$(mktemp -d "$cache/root.XXXXXX")
  debootstrap --variant=minbase bookworm "$fresh" "$mirror" >"$cache/debootstrap.log" 2>&1 \
    || { echo "bare-machine: debootstrap failed; see $cache/debootstrap.log" >&2; rm -rf "$fresh"; exit 1; }
  tar --numeric-owner -C "$fresh" -cpf "$tarball.part" .
  mv "$tarball.part" "$tarball"
  rm -rf "$fresh"
fi

work=${KVP_BARE_WORK:-$(mktemp -d /var/tmp/kvp-bare.XXXXXX)}
root=$work/root
mounted=()

# Processes whose root is the chroot were started by this script's commands
# (wineserver, Xvfb and the like outlive them): end them by process id.
end_chroot_processes() {
  local signal pid target
  for signal in TERM KILL; do
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
      target=$(readlink "/proc/$pid/root" 2>/dev/null) || continue
      [ "$target" = "$root" ] && kill -s "$signal" "$pid" 2>/dev/null || true
    done
    sleep 1
  done
}

cleanup() {
  local status=$? i
  end_chroot_processes
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
  done
  # Never remove a folder while anything is still mounted below it: /dev
  # is the machine's own.
  if grep -q " $root/" /proc/mounts; then
    echo "bare-machine: still mounted below $root; left in place" >&2
  elif [ "${KVP_BARE_KEEP:-0}" != 1 ]; then
    rm -rf "$work"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -p "$root" "$logs"
tar --numeric-owner -C "$root" -xpf "$tarball"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${mirror%/debian}/debian-security bookworm-security main
EOF
mkdir -p "$root/root/kvp-plugins"
git archive --format=tar "$commit" | tar -C "$root/root/kvp-plugins" -xf -

mount_in_root() {  # WHERE MOUNT-ARGUMENTS...
  local where=$root$1
  shift
  mkdir -p "$where"
  mount "$@" "$where"
  mounted+=("$where")
}
mount_in_root /proc -t proc proc
mount_in_root /sys -t sysfs sysfs
mount_in_root /dev --bind /dev
mount_in_root /dev/pts --bind /dev/pts
mount_in_root /dev/shm -t tmpfs -o mode=1777 tmpfs

# One command as root in the project's folder, with a clean environment and
# no locale set, as on a machine that has never been configured.
run_in_root() {  # NAME COMMAND
  local name=$1 command=$2 start=$SECONDS status=0
  echo "bare-machine: $command (log: $logs/$name.log)"
  timeout --kill-after=30 "$limit" chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb KVP_NO_32BIT="${KVP_NO_32BIT:-0}" \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c "cd /root/kvp-plugins && $command" </dev/null >"$logs/$name.log" 2>&1 || status=$?
  times+=("$command: $((SECONDS - start)) s, exit $status")
  if [ $status -ne 0 ]; then
    tail -n 40 "$logs/$name.log" >&2
    echo "bare-machine: $command failed with exit $status after $((SECONDS - start)) s" >&2
    return $status
  fi
}

times=()
echo "bare-machine: commit $commit in $root"
if "$tree/cmake/runs-32bit.sh"; then
  echo "bare-machine: this machine runs 32-bit programs: the 32-bit plug-ins are tested"
else
  echo "bare-machine: this machine refuses 32-bit programs: the 64-bit path, the 32-bit one compiled only"
fi
status=0
run_in_root run ./run || status=$?
[ $status -ne 0 ] || run_in_root test ./test || status=$?
printf 'bare-machine: %s\n' "${times[@]}"
exit $status
