#!/usr/bin/env bash
# Runs one Windows test program under Wine; a crash must fail fast.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
exec timeout "${KVP_WINE_TIMEOUT:-600}" "$KVP_WINE" "$@"
