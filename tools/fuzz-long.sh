#!/bin/sh
# The long fuzz run: every fuzz target of tests/fuzz (or those named) until
# it has run RUNS inputs or for SECONDS, whichever comes first, at most JOBS
# targets at a time and at the lowest priority, so that builds beside it
# keep the machine.
#
#   tools/fuzz-long.sh SECONDS [target...]
#   FUZZ_RUNS=10000000 FUZZ_JOBS=4 (the defaults)
#   tools/fuzz-long.sh --report [target...]   the table of the last runs again
#
# Builds the fuzz build (build/fuzz, clang) first. Each target grows its own
# corpus in build/fuzz-long/corpus/<target>, seeded from
# tests/fuzz/corpus/<target> and kept between runs; its log goes to
# build/fuzz-long/logs/<target>.log and the input of any fault to
# build/fuzz-long/artifacts/<target>/. At the end a table gives each
# target's executions, executions per second, coverage (cov, ft as libFuzzer
# counts them), corpus size (inputs/bytes as libFuzzer keeps it), time and
# outcome; the exit status is 1 when any
# target found a fault.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
out="$top/build/fuzz-long"

if [ "${1:-}" = "--one" ]; then
  # One target (run by the script itself, JOBS at a time).
  name=$2 seconds=$3
  mkdir -p "$out/corpus/$name" "$out/artifacts/$name" "$out/logs"
  dict=""
  [ -f "$top/tests/fuzz/$name.dict" ] && dict="-dict=$top/tests/fuzz/$name.dict"
  if [ ! -x "$top/build/fuzz/bin/fuzz_$name" ]; then
    echo "0 missing" > "$out/logs/$name.result"  # not built here (the JPEG target needs deps/)
    exit 0
  fi
  start=$(date +%s)
  status=0
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    nice -n 19 "$top/build/fuzz/bin/fuzz_$name" -runs="${FUZZ_RUNS:-10000000}" -max_total_time="$seconds" \
      -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 $dict -artifact_prefix="$out/artifacts/$name/" \
      "$out/corpus/$name" "$top/tests/fuzz/corpus/$name" > "$out/logs/$name.log" 2>&1 || status=$?
  echo "$(( $(date +%s) - start )) $status" > "$out/logs/$name.result"
  exit 0
fi

[ $# -ge 1 ] || { echo "usage: tools/fuzz-long.sh SECONDS|--report [target...]" >&2; exit 2; }
seconds=$1; shift
if [ $# -eq 0 ]; then
  set -- $(sed -n 's/^ *cardinit_fuzzer(\([a-z_]*\) .*/\1/p' "$top/tests/fuzz/CMakeLists.txt")
fi

if [ "$seconds" != --report ]; then
  CC=clang CXX=clang++ cmake -S "$top" -B "$top/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCARDINIT_FUZZ=ON >/dev/null
  nice -n 19 cmake --build "$top/build/fuzz" --target fuzz_targets -j "${FUZZ_JOBS:-4}" >/dev/null
  mkdir -p "$out/logs"
  for name in "$@"; do rm -f "$out/logs/$name.result"; done
  printf '%s\n' "$@" | xargs -P "${FUZZ_JOBS:-4}" -I{} "$0" --one {} "$seconds"
fi

printf '%-18s %12s %8s %6s %7s %12s %6s  %s\n' target executions exec/s cov ft corpus secs result
failed=0
for name in "$@"; do
  log="$out/logs/$name.log"
  [ -f "$out/logs/$name.result" ] || continue  # taken over by another run meanwhile
  read -r secs status < "$out/logs/$name.result"
  if [ "$status" = missing ]; then
    printf '%-18s %12s %8s %6s %7s %12s %6s  %s\n' "$name" - - - - - - "not built"
    continue
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  last=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -n 1)
  cov=$(echo "$last" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
  ft=$(echo "$last" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')
  corpus=$(echo "$last" | sed -n 's/.* corp: \([0-9]*\/[0-9]*[a-zA-Z]*\).*/\1/p')
  result=ok
  if [ "$status" != 0 ]; then result="FAULT (see $log)"; failed=1; fi
  printf '%-18s %12s %8s %6s %7s %12s %6s  %s\n' "$name" "${runs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" \
    "$corpus" "$secs" "$result"
done
exit $failed
