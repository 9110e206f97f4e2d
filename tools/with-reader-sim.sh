#!/bin/sh
# Runs a command with a simulated card reader on a COM port of the Wine
# prefix ($WINEPREFIX, or --prefix), then stops the simulator.
#
# usage: tools/with-reader-sim.sh [--sim PATH] [reader-sim options...] -- command [args...]
#
#   --sim PATH   the simulator program (default: build/native/bin/reader-sim)
#   other options go to the simulator: --com N (default: the first free
#   number from 20 up), --pace off|line|BAUD, --no-card, --serial HEX8, -v ...
#
# The command sees READER_SIM_COM (the COM number) and READER_SIM_PORT (the
# control channel's TCP port on 127.0.0.1) in its environment; Wine passes
# both on to Windows programs. The simulator's messages are shown when the
# command fails.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
sim="$top/build/native/bin/reader-sim"
args=""
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  case "$1" in
    --sim) sim=$2; shift 2 ;;
    *) args="$args $1"; shift ;;
  esac
done
[ "${1:-}" = "--" ] || { echo "usage: $0 [--sim PATH] [options] -- command..." >&2; exit 2; }
shift
[ -x "$sim" ] || { echo "with-reader-sim: no simulator at $sim (build the native side)" >&2; exit 2; }

out=$(mktemp) err=$(mktemp)
# shellcheck disable=SC2086
"$sim" $args >"$out" 2>"$err" &
pid=$!
cleanup() {
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  rm -f "$out" "$err"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

ready=""
for _ in $(seq 1 200); do
  ready=$(grep -m1 '^READY ' "$out" || true)
  [ -z "$ready" ] || break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$ready" ]; then
  echo "with-reader-sim: the simulator did not start" >&2
  cat "$err" >&2
  exit 1
fi
READER_SIM_COM=$(echo "$ready" | sed 's/.* com=\([0-9]*\).*/\1/')
READER_SIM_PORT=$(echo "$ready" | sed 's/.* control=\([0-9]*\).*/\1/')
export READER_SIM_COM READER_SIM_PORT

status=0
"$@" || status=$?
if [ "$status" != 0 ] && [ -s "$err" ]; then
  echo "--- reader simulator ---" >&2
  cat "$err" >&2
fi
exit "$status"
