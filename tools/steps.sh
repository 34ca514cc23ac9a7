# Sourced by the scripts whose long steps Ctrl-C must end at once (their
# cleanup ends the running step, whose process group is $step).
step=

# CLEANUP runs on every way out; a signal ends the script through it, with
# the exit code a shell gives for that signal.
on_every_exit() {  # CLEANUP
  trap "$1" EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  trap 'exit 129' HUP
}

# A long step in a session of its own, waited for: Ctrl-C ends it at once,
# where a step in the foreground would first have to finish.
in_background() {  # COMMAND...
  local status=0
  setsid "$@" &
  step=$!
  wait "$step" || status=$?
  step=
  return $status
}
