#!/usr/bin/env bash
# Installs what the build and the tests need on Debian, when it is missing.
# Quiet and quick when everything is already there.
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

here=$(dirname "$0")
missing() {
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      echo "$p"
    fi
  done
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
  apt-get update -qq >/dev/null
  apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

install_packages $(missing "${packages[@]}")
# Where the kernel refuses 32-bit programs, the 32-bit tests run under
# user-mode emulation.
if ! "$here/runs-32bit.sh"; then
  install_packages $(missing qemu-user-static)
fi
