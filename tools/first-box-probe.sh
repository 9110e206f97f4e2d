#!/bin/sh
# Starts Tavrin again and again and answers the first message box of each
# run with a real click, on a display of its own without a window manager
# and with busy loops taking the processor meanwhile: the test
# Operator.TheFirstBoxOfARunTakesTheRealClick repeated (two runs checked in
# each), and a count of the runs whose box did not take the click (a
# repeat that failed otherwise is in the log).
#
# usage: tools/first-box-probe.sh [REPEATS (25)] [BUSY LOOPS (4)]
#        (after tools/test.sh or tools/run.sh built both sides)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
repeats=${1:-25} loops=${2:-4}
test_exe="$top/build/win/bin/app_tavrin_e2e_test.exe"
[ -f "$test_exe" ] || { echo "first-box-probe: $test_exe missing (build first)" >&2; exit 1; }
log="$top/build/first-box-probe.log"

export WINEPREFIX="$top/build/win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
fifo=$(mktemp -u) && mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
read -r num < "$fifo"; rm -f "$fifo"
export DISPLAY=":$num"
busy=""
cleanup() {
  for pid in $busy; do kill "$pid" 2>/dev/null || true; done
  "$top/tools/wineprefix.sh" --stop-server "$WINEPREFIX"
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM
"$top/tools/wineprefix.sh" --start-server "$WINEPREFIX"

i=0
while [ "$i" -lt "$loops" ]; do
  sh -c 'while :; do :; done' &
  busy="$busy $!"
  i=$((i + 1))
done
status=0
(cd "$top/build/win/tests/app" &&
  "$top/tools/with-reader-sim.sh" --sim "$top/build/native/bin/reader-sim" -- \
    wine "$test_exe" --gtest_filter=Operator.TheFirstBoxOfARunTakesTheRealClick \
    --gtest_repeat="$repeats") >"$log" 2>&1 || status=$?

runs=$((repeats * 2))
passed=$(grep -ac '^\[       OK \] Operator\.' "$log" || true)
missed=$(grep -ac ': the box \(went below its owners\|took no click\)' "$log" || true)
echo "first-box-probe: $repeats repeats ($runs runs): $passed repeats passed;" \
     "$missed runs' first boxes did not take the real click (log: build/first-box-probe.log)"
[ "$status" = 0 ]
