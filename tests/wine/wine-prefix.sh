#!/usr/bin/env bash
# start: makes the test prefix (once) and starts its wine server with its
# output sent to a log, so that CTest does not wait on the server's pipes.
# stop: ends this prefix's server, and only that one.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

case "${1:-}" in
start)
  mkdir -p "$WINEPREFIX"
  exec >"$WINEPREFIX/../wine-server.log" 2>&1 </dev/null
  "$WINESERVER" -p || true   # a server of this prefix may already be up
  if [ ! -f "$WINEPREFIX/.kvp-ready" ]; then
    timeout 300 "$KVP_WINE" wineboot -i
    timeout 120 "$KVP_WINE" regedit /S "$here/test-prefix.reg"
    touch "$WINEPREFIX/.kvp-ready"
  fi
  ;;
stop)
  "$WINESERVER" -k || true
  ;;
*)
  echo "usage: $0 start|stop" >&2
  exit 2
  ;;
esac
