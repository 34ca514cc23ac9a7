#!/usr/bin/env bash
# Runs after wine-prefix.sh start: starts the prefix's services with their
# output sent to the server log (the first test program would otherwise start
# them, and they would hold CTest's pipes open until the tests time out), and
# compiles the Japanese locale that gives the tests code page 932, as the
# host's users have it, into the build folder.
# Needs KVP_WINE_ARCH, KVP_WINE_PREFIX and LOCPATH.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

if [ ! -f "$LOCPATH/ja_JP.UTF-8/LC_CTYPE" ]; then
  mkdir -p "$LOCPATH"
  localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8"
fi
exec >>"$WINEPREFIX/../wine-server.log" 2>&1 </dev/null
timeout 300 "$KVP_WINE" wineboot
