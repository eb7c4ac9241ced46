# Waiting on a program under X, for the install tests; sourced, not run.

# Waits up to $1 seconds for the command in the remaining arguments to succeed.
wait_for() {
  local seconds=$1
  shift
  for ((i = 0; i < seconds * 10; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

active_window_is() { [ "$(xdotool getactivewindow getwindowname 2>/dev/null)" = "$1" ]; }
