#!/usr/bin/env bash
# Readies a private Wine prefix for the tests and ./run, and ends it.
#   start: compiles the Japanese locale, and an English one whose code page
#          is 1252, into LOCPATH (when LOCPATH is set),
#          makes the prefix (once), starts its server for good, imports
#          prefix.reg where its values are missing, and starts the
#          prefix's services.
#   stop:  ends this prefix's server, and only that one.
# Needs KVP_WINE_ARCH and KVP_WINE_PREFIX.
#
# Every Wine process started here writes into the log beside the prefix and
# never into the caller's pipes: the server and the services outlive this
# script, and CTest waits for a pipe until the last process holding it ends.
# A Wine command's exit status says little (wineboot returns before the
# prefix is complete), so each step is checked by what it did and tried
# again, a bounded number of times, when it did not; the log says so. A
# failure prints the end of the log, so that the test output says why.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

log=$(dirname "$WINEPREFIX")/wine-server.log
ready=$WINEPREFIX/.kvp-ready
tries=3

note() { echo "wine-prefix: [$SECONDS s] $*" >>"$log"; }
fail() {
  note "$*"
  {
    echo "wine-prefix: $*"
    echo "wine-prefix: the end of $log:"
    tail -n 30 "$log"
  } >&2
  exit 1
}
# Output into the log, no input: nothing started here holds the caller's pipes.
logged() { "$@" </dev/null >>"$log" 2>&1; }

# WHAT CHECK COMMAND...: runs COMMAND until CHECK holds, at most $tries times.
retry() {
  local what=$1 check=$2 try status
  shift 2
  for ((try = 1; try <= tries; try++)); do
    note "$what"
    status=0
    logged "$@" || status=$?
    if "$check"; then
      [ "$status" -eq 0 ] || note "$what: exit status $status, but done"
      [ "$try" -eq 1 ] || note "$what: done at try $try of $tries"
      return 0
    fi
    note "$what: not done (exit status $status, try $try of $tries)"
    [ "$try" -eq "$tries" ] || sleep 1
  done
  fail "$what: not done after $tries tries"
}

# The command lines of this prefix's Wine processes, one a line, the server
# included; a zombie has no environment and is not among them.
prefix_commands() {
  local environ
  for environ in $(grep -lzxF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null); do
    tr '\0' ' ' 2>/dev/null <"${environ%/environ}/cmdline" && echo
  done
}
# The server is the one whose program is a wineserver (`wineserver -w` and
# `-k` are gone when they have done their job).
server_running() { prefix_commands | grep -qE '^[^ ]*/wineserver(32|64)? '; }

locale_compiled() { [ -f "$LOCPATH/ja_JP.UTF-8/LC_CTYPE" ] && [ -f "$LOCPATH/en_US.UTF-8/LC_CTYPE" ]; }
compile_locale() {
  mkdir -p "$LOCPATH" && localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" && localedef -i en_US -f UTF-8 "$LOCPATH/en_US.UTF-8"
}

# The registry is on disk once the server has ended, and the server ends
# only after every process of the prefix has: so wait for it.
prefix_complete() {
  [ -s "$WINEPREFIX/system.reg" ] && [ -s "$WINEPREFIX/user.reg" ] && [ -s "$WINEPREFIX/userdef.reg" ] &&
    [ -f "$WINEPREFIX/drive_c/windows/regedit.exe" ] && ! server_running
}
make_prefix() {
  local status=0
  # A try that did not end ends now: its processes would rewrite the files.
  ! server_running || "$WINESERVER" -k
  timeout 300 "$KVP_WINE" wineboot -i || status=$?
  timeout 300 "$WINESERVER" -w || status=$?
  return $status
}

# Started for good (-p), so that no test program starts it with its pipes.
# Exit status 2 says that a server of this prefix is running already.
start_server() {
  local status=0
  "$WINESERVER" -p || status=$?
  if [ $status -eq 2 ]; then return 0; fi
  return $status
}

# Each value that prefix.reg sets, as `reg query` shows it:
# "KEY<tab>NAME REG_SZ TEXT" or "KEY<tab>NAME REG_DWORD 0xHEX".
expected_values() {
  local line key=
  iconv -f UTF-16 -t UTF-8 "$here/prefix.reg" | tr -d '\r' | while IFS= read -r line; do
    case "$line" in
    \[*\]) key=${line#[}; key=${key%]} ;;
    \"*\"=dword:*) printf '%s\t%s REG_DWORD 0x%x\n' "$key" "$(echo "$line" | cut -d'"' -f2)" "$((16#${line##*dword:}))" ;;
    \"*\"=\"*\") printf '%s\t%s REG_SZ %s\n' "$key" "$(echo "$line" | cut -d'"' -f2)" "$(echo "$line" | cut -d'"' -f4)" ;;
    esac
  done
}
registry_set() {
  local key value shown
  while IFS=$'\t' read -r key value; do
    shown=$(timeout 120 "$KVP_WINE" reg query "$key" </dev/null 2>>"$log" | tr -d '\r' | tr -s ' \t' ' ') || true
    grep -qxF " $(tr -s ' ' <<<"$value")" <<<"$shown" || { note "reg query $key: no $value"; return 1; }
  done < <(expected_values)
}
import_registry() { timeout 120 "$KVP_WINE" regedit /S "$here/prefix.reg"; }

# The services that the first program of a session starts: started here, so
# that they write into the log.
services_running() { prefix_commands | grep -qiF 'C:\windows\system32\services.exe'; }
start_services() { timeout 300 "$KVP_WINE" wineboot; }

case "${1:-}" in
start)
  mkdir -p "$WINEPREFIX"
  : >"$log"
  note "start: $WINEPREFIX ($KVP_WINE_ARCH)"
  # A server left running by an earlier session: ended, so that it is the
  # one started below, with its output in this log.
  logged "$WINESERVER" -k || true
  logged timeout 60 "$WINESERVER" -w || true
  if [ -n "${LOCPATH:-}" ] && ! locale_compiled; then
    retry "compile ja_JP.UTF-8 and en_US.UTF-8 into $LOCPATH" locale_compiled compile_locale
  fi
  if [ ! -f "$ready" ] || ! prefix_complete; then
    rm -f "$ready"
    retry "make the prefix (wineboot -i, then wait for the server to end)" prefix_complete make_prefix
    touch "$ready"
  fi
  retry "start the server" server_running start_server
  registry_set || retry "import prefix.reg" registry_set import_registry
  services_running || retry "start the services (wineboot)" services_running start_services
  note "ready"
  ;;
stop)
  logged "$WINESERVER" -k || true
  ;;
*)
  echo "usage: $0 start|stop" >&2
  exit 2
  ;;
esac
