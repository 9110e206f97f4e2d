#!/bin/sh
# tools/run.sh started without a DISPLAY, as on a machine that has none,
# and Tavrin worked there with the X server's own keyboard (xdotool), the
# pointer left on the empty desktop: Tab and Space on the main window press
# 检测..., whose box comes up; Return answers the box, which is then off the
# screen at once. Alt+F4 ends the program, and run.sh with it.
#
# usage: run-own-display-test.sh <source tree> <Wine prefix for run.sh>
set -eu
top=$1 prefix=$2
command -v xdotool >/dev/null 2>&1 || { echo "run-own-display-test: no xdotool (tools/setup.sh installs it)"; exit 77; }
log=$(mktemp)
env -u DISPLAY WINEPREFIX="$prefix" "$top/tools/run.sh" >"$log" 2>&1 &
run=$!
finish() {
  status=$?
  # A program that did not end is ended with its Wine server.
  if kill -0 "$run" 2>/dev/null; then
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    wait "$run" 2>/dev/null || true
  fi
  [ "$status" = 0 ] || { echo "--- run.sh ---"; cat "$log"; }
  rm -f "$log"
  exit "$status"
}
trap finish EXIT
fail() { echo "run-own-display-test: $*"; exit 1; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Waits up to $1 seconds until the command after it succeeds.
within() {
  end=$(($(now_ms) + $1 * 1000)); shift
  until "$@"; do
    [ "$(now_ms)" -lt "$end" ] || return 1
    kill -0 "$run" 2>/dev/null || return 1
    sleep 0.05
  done
}
shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
gone() { ! shown "$1"; }
said_display() { grep -q 'a virtual display :[0-9]* was started' "$log"; }

# The build (nothing to do after the suite's) and a new prefix take a while.
within 500 said_display || fail "run.sh started no display of its own"
DISPLAY=$(sed -n 's/.*a virtual display \(:[0-9]*\) was started.*/\1/p' "$log")
export DISPLAY
within 60 shown '^Tavrin$' || fail "Tavrin's main window did not come"
sleep 1
xdotool mousemove 2 1020
xdotool key Tab
sleep 0.3
xdotool key space
within 15 shown '^提示$' || fail "Tab and Space with the pointer on the desktop did not reach the main window"
sleep 0.5
xdotool key Return
start=$(now_ms)
within 10 gone '^提示$' || fail "Return with the pointer on the desktop did not reach the box"
took=$(($(now_ms) - start))
[ "$took" -lt 1000 ] || fail "the box stayed on the screen for $took ms after it was answered"
xdotool key alt+F4
within 15 sh -c "! kill -0 $run 2>/dev/null" || fail "Alt+F4 did not end the program"
wait "$run" || true
echo "run-own-display-test: the keys reached the windows; the box went $took ms after its answer"
