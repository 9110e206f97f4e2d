#!/bin/sh
# Runs one target-side test program again and again under Wine, several
# runs at once, with busy loops taking the processor meanwhile, and counts
# the runs that did not end cleanly: an exit code other than 0, or output
# without the test framework's closing "[  PASSED  ]" line. Such a run's
# output is kept in the log. A test program that crashes now and then as
# its process ends (after all its tests passed) shows here.
#
# usage: tools/exit-probe.sh [--runs N (3000)] [--jobs J (4)] [--busy B (12)]
#                            <program.exe> [program arguments...]
#        (after tools/test.sh built the Windows side)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
runs=3000 jobs=4 loops=12
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --busy) loops=$2; shift 2 ;;
    *) break ;;
  esac
done
exe=${1:?usage: exit-probe.sh [--runs N] [--jobs J] [--busy B] <program.exe> [arguments...]}
shift
[ -f "$exe" ] || { echo "exit-probe: $exe missing (build first)" >&2; exit 1; }
work=$(mktemp -d)
log="$top/build/exit-probe.log"
: > "$log"

export WINEPREFIX="${WINEPREFIX:-$top/build/win/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
busy=""
cleanup() {
  for pid in $busy; do kill "$pid" 2>/dev/null || true; done
  "$top/tools/wineprefix.sh" --stop-server "$WINEPREFIX"
  rm -rf "$work"
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

# One lane: runs lane, lane + jobs, lane + 2 jobs ... and writes one line
# per run: its number and its exit code, "no-pass" when the closing line
# is missing.
lane() {
  first=$1 n=$1
  shift
  while [ "$n" -le "$runs" ]; do
    out="$work/run-$n"
    rc=0
    wine "$exe" "$@" >"$out" 2>&1 </dev/null || rc=$?
    if [ "$rc" = 0 ] && ! grep -q '^\[  PASSED  \]' "$out"; then rc=no-pass; fi
    echo "$n $rc" >> "$work/lane-$first"
    if [ "$rc" != 0 ]; then
      { echo "--- run $n: $rc"; tail -20 "$out"; } >> "$log"
    fi
    rm -f "$out"
    n=$((n + jobs))
  done
}
start=$(date +%s)
j=1 lanes=""
while [ "$j" -le "$jobs" ]; do
  lane "$j" "$@" &
  lanes="$lanes $!"
  j=$((j + 1))
done
for pid in $lanes; do wait "$pid"; done
took=$(($(date +%s) - start))
cat "$work"/lane-* > "$work/all"
done_runs=$(wc -l < "$work/all")
unclean=$(awk '$2 != "0"' "$work/all" | wc -l)
echo "exit-probe: $(basename "$exe"): $done_runs runs ($jobs at once, $loops busy loops, ${took} s), $unclean unclean"
awk '$2 != "0" { c[$2]++ } END { for (k in c) printf "  exit %s: %d runs\n", k, c[k] }' "$work/all"
[ "$unclean" = 0 ] || { echo "  (their output: build/exit-probe.log)"; exit 1; }
