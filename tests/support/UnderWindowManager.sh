#!/bin/bash
# Runs a command on this X display with a window manager, which frames windows as a desktop
# does; status 77 (skipped) when there is none to run. Meant to run inside xvfb-run.
command -v openbox >/dev/null && command -v xprop >/dev/null || {
  echo "SKIP: openbox and xprop are needed (scripts/install-deps.sh installs them)"
  exit 77
}
openbox &
window_manager=$!
trap 'kill $window_manager 2>/dev/null' EXIT
# The window manager has taken the display once it names itself on the root window.
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
  sleep 0.1
done
"$@"
