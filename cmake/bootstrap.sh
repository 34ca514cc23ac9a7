#!/usr/bin/env bash
# Installs what the build and the tests need on Debian, when it is missing.
# Quiet and quick when everything is already there.
#
# A mirror caught mid-sync serves an index that does not match its Release
# file, and where that index is the one that holds the 32-bit twins of the
# machine's libraries, wine32:i386 cannot be installed at all. Neither stops
# the build: a failing index is named and the installs go on; without 32-bit
# Wine, the Wine tests run the 64-bit copy, and out/wine32-unavailable.txt
# says why (cmake/wine-arch.sh reads it). Nothing else on the machine is
# changed to make an install fit.
set -euo pipefail

# MinGW-w64 with the win32 thread model: its runtime brings no thread-control
# function into a DLL. g++-multilib builds the 32-bit Linux tests.
packages=(
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-i686
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth x11-apps imagemagick fonts-ipafont-gothic locales
  cmake make googletest clang libclang-rt-14-dev libbenchmark-dev libstb-dev g++-multilib
  zip unzip
)
optional=wine32:i386
update_tries=3 update_pause=${KVP_APT_PAUSE:-10} update_failed=

here=$(dirname "$0")
why_file=$here/../out/wine32-unavailable.txt
missing() {
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$p"
    fi
  done
}

# apt-get update, tried again a few times; an index that still fails is named
# in one line (without the mirror's address) and the installs decide.
update_indexes() {
  local try out
  for ((try = 1; ; try++)); do
    out=$(apt-get update -qq 2>&1) && return 0
    [ "$try" -lt "$update_tries" ] || break
    sleep "$update_pause"
  done
  local failed
  update_failed=yes
  failed=$(sed -nE 's|^E: Failed to fetch [a-z+]+:[^ ]*/(dists/[^ ]*) +(.*)|\1 (\2)|p' <<<"$out" \
           | sed -E 's/ +\[IP:[^]]*\]//' | paste -sd ';' | sed 's/;/; /g')
  [ -n "$failed" ] || failed=$(grep -m1 '^E:' <<<"$out" || echo "exit status not 0")
  echo "bootstrap: apt-get update failed $update_tries times, going on with the installs: $failed" >&2
}

# apt's reason for refusing an install, in one line.
apt_reason() {  # APT-OUTPUT
  local unmet
  unmet=$(sed -n '/unmet dependencies:/{n;p;q}' <<<"$1" | sed -E 's/^ +//; s/ +/ /g')
  if [ -n "$unmet" ]; then echo "unmet dependencies, first: $unmet"
  else grep -m1 '^E:' <<<"$1" | sed 's/^E: //' || echo "apt-get install failed"
  fi
}

install_packages() {
  [ $# -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "bootstrap: missing packages: $* (run as root to install them)" >&2
    exit 1
  fi
  echo "bootstrap: installing $*" >&2
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  update_indexes
  local apt=(apt-get install -y -q --no-install-recommends -o Acquire::Retries=3) out
  out=$("${apt[@]}" "$@" 2>&1) && return 0
  # Everything but the optional package, which the build can do without.
  local required=() p
  for p in "$@"; do [ "$p" = "$optional" ] || required+=("$p"); done
  if [ ${#required[@]} -eq $# ]; then
    echo "bootstrap: cannot install $*: $(apt_reason "$out")" >&2
    exit 1
  fi
  local reason
  reason=$(apt_reason "$out")
  [ -z "$update_failed" ] || reason="$reason; a package index could not be fetched"
  if [ ${#required[@]} -gt 0 ]; then
    out=$("${apt[@]}" "${required[@]}" 2>&1) \
      || { echo "bootstrap: cannot install ${required[*]}: $(apt_reason "$out")" >&2; exit 1; }
  fi
  mkdir -p "$(dirname "$why_file")"
  echo "$optional could not be installed ($reason)" >"$why_file"
  echo "bootstrap: $optional could not be installed ($reason); the Wine tests run the 64-bit copy" >&2
}

install_packages $(missing "${packages[@]}")
if [ -z "$(missing "$optional")" ]; then rm -f "$why_file"; fi
# Where the kernel refuses 32-bit programs, the 32-bit tests run under
# user-mode emulation.
if ! "$here/runs-32bit.sh"; then
  install_packages $(missing qemu-user-static)
fi
