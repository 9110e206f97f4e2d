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
# One run at a time in the prefix: a second one's clean-up would end the
# first one's Wine server, and its program with it.
mkdir -p "$(dirname "$prefix")"
exec 8>"$prefix.lock"
flock -w 600 8 || { echo "run-own-display-test: another run holds $prefix.lock"; exit 1; }
# A Wine server still up in the prefix was left by a run that was killed
# (a test's time-out): run.sh would refuse the prefix.
[ ! -d "$prefix" ] || WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
log=$(mktemp)
env -u DISPLAY WINEPREFIX="$prefix" "$top/tools/run.sh" >"$log" 2>&1 8>&- &
run=$!
finish() {
  status=$?
  # A run that did not end is told to, and its program is ended with its
  # Wine server (run.sh waits for the program before it hears the signal).
  if kill -0 "$run" 2>/dev/null; then
    kill "$run" 2>/dev/null || true
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    wait "$run" 2>/dev/null || true
  fi
  [ "$status" = 0 ] || { echo "--- run.sh ---"; cat "$log"; }
  rm -f "$log"
  exit "$status"
}
trap finish EXIT
fail() { echo "run-own-display-test: $*"; exit 1; }
# What the display and the processes show, for a failure message.
scene() {
  echo "--- windows on $DISPLAY ---"
  for w in $(xdotool search --name '.' 2>/dev/null); do
    echo "$w $(xdotool getwindowname "$w" 2>/dev/null)"
  done
  echo "--- programs ---"
  ps -eo pid,etime,stat,args | grep -i -e '\.exe' -e wineserver -e reader-sim | grep -v grep || true
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Waits up to $1 seconds until the command after it succeeds. Once run.sh
# is gone nothing changes any more: the command is judged once more (run.sh
# may have ended right after the last try, the very end waited for).
within() {
  end=$(($(now_ms) + $1 * 1000)); shift
  until "$@"; do
    [ "$(now_ms)" -lt "$end" ] || return 1
    if ! kill -0 "$run" 2>/dev/null; then
      "$@"
      return
    fi
    sleep 0.05
  done
}
shown() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
gone() { ! shown "$1"; }
# The X input focus is on the main window: keys sent now reach it. (After
# a window goes the focus sits on the root for a few milliseconds, and a
# key sent then reaches no window.)
main_focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$main" ]; }
said_display() { grep -q 'a virtual display :[0-9]* was started' "$log"; }

# The build (nothing to do after the suite's) and a new prefix take a while.
within 500 said_display || fail "run.sh started no display of its own"
DISPLAY=$(sed -n 's/.*a virtual display \(:[0-9]*\) was started.*/\1/p' "$log")
export DISPLAY
display_ms=$(now_ms)
said_started() { grep -q '^run: simulated reader on COM' "$log"; }
within 60 said_started || { scene; fail "run.sh did not start Tavrin"; }
within 60 shown '^Tavrin$' || { scene; fail "Tavrin's main window did not come"; }
came=$(($(now_ms) - display_ms))
main=$(xdotool search --onlyvisible --name '^Tavrin$' | head -n 1)
[ -n "$main" ] || fail "Tavrin's main window went again"
sleep 1
xdotool mousemove 2 1020
within 10 main_focused || fail "the main window did not take the keyboard"
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
within 10 main_focused || fail "the main window did not take the keyboard back after the box"
xdotool key alt+F4
within 15 sh -c "! kill -0 $run 2>/dev/null" || fail "Alt+F4 did not end the program"
wait "$run" || true
echo "run-own-display-test: the main window came $came ms after the display; the keys reached the windows;" \
     "the box went $took ms after its answer"
