#!/bin/bash
# Runs a command on a virtual X display of its own whose windows openbox
# manages, as on a desktop: focus and stacking then follow a window manager's
# rules. The display number is one nobody holds, from 100 up (lower numbers
# are left to people and their tools); Xvfb and openbox are stopped however
# the command ends. Exits 77 (skipped) when Xvfb or openbox is not installed.
# Usage: under_window_manager.sh COMMAND [ARGS...]
set -u
for tool in Xvfb openbox; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/deps.sh installs it)"; exit 77; }
done
work=$(mktemp -d)
xvfb="" wm="" run=""
stop() {
  for pid in $run $wm $xvfb; do
    kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap stop EXIT
trap 'exit 143' TERM INT HUP

# wait_for PID CHECK...: up to 10 s for CHECK to pass while PID lives.
wait_for() {
  local pid=$1; shift
  for _ in $(seq 200); do
    "$@" && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

# Ours once it listens and its lock file names it: another server may have
# taken the number meanwhile.
ours() { [ -S "/tmp/.X11-unix/X$1" ] && [ "$(tr -d ' \n' <"/tmp/.X$1-lock" 2>/dev/null)" = "$xvfb" ]; }
managed() { [ -e "$work/managed" ]; }

display=""
for n in $(seq $((100 + $$ % 300)) 499) $(seq 100 499); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  if wait_for "$xvfb" ours "$n"; then
    display=":$n"
    break
  fi
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  xvfb=""
done
[ -n "$display" ] || { echo "no free X display"; cat "$work/xvfb.log"; exit 1; }

# openbox runs its start-up command once it manages the screen.
DISPLAY=$display HOME=$work XDG_CONFIG_HOME=$work XDG_CACHE_HOME=$work \
  openbox --sm-disable --startup "touch $work/managed" >"$work/openbox.log" 2>&1 &
wm=$!
wait_for "$wm" managed || { echo "openbox did not start"; cat "$work/openbox.log"; exit 1; }

# In the background, so that a TERM (a test time-out) is handled at once.
env -u WAYLAND_DISPLAY DISPLAY="$display" QT_QPA_PLATFORM=xcb KOLT_TEST_WM=openbox "$@" &
run=$!
wait "$run"
status=$?
run=""
exit "$status"
