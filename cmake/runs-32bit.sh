#!/usr/bin/env bash
# Exit 0 when this machine runs 32-bit x86 programs natively (so 32-bit Wine
# can run the plug-ins themselves). Some virtual machines refuse them; an
# emulator registered for them would make Wine far too slow to test with.
# KVP_NO_32BIT=1 takes the path of such a machine here too.
[ "${KVP_NO_32BIT:-0}" = 1 ] && exit 1
[ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && exit 1
timeout 10 /lib/ld-linux.so.2 --version >/dev/null 2>&1
