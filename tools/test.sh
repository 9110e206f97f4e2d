#!/bin/sh
# Builds both sides and runs every test: the fuzz targets for a bounded time
# each (clang with libFuzzer, build/fuzz), the native tests (under ASan and
# UBSan) and the target-side tests under Wine with an X display.
# Usage: tools/test.sh [extra ctest arguments...]
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/setup.sh"
jobs=$(nproc 2>/dev/null || echo 4)

cmake -S "$top" -B "$top/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build/native" -j "$jobs"
# The fuzz build, where clang has libFuzzer (the option turns itself off
# otherwise, with a note).
fuzz=0
if command -v clang++ >/dev/null 2>&1; then
  CC=clang CXX=clang++ cmake -S "$top" -B "$top/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCARDINIT_FUZZ=ON >/dev/null
fi
if grep -qs '^CARDINIT_FUZZ:BOOL=ON' "$top/build/fuzz/CMakeCache.txt"; then
  cmake --build "$top/build/fuzz" --target fuzz_targets -j "$jobs"
  fuzz=1
fi
cmake -S "$top" -B "$top/build/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
      -DCARDINIT_NATIVE_BIN="$top/build/native/bin" >/dev/null
cmake --build "$top/build/win" -j "$jobs"

# Wine needs a display for window messages, hooks and regions.
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  # Let Xvfb pick a free display number and tell it on a pipe.
  fifo=$(mktemp -u) && mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r num < "$fifo"; rm -f "$fifo"
  export DISPLAY=":$num"
fi
trap '[ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true' EXIT

status=0
# Each fuzz target for CARDINIT_FUZZ_SECONDS (20), four at a time.
[ "$fuzz" = 0 ] || ctest --test-dir "$top/build/fuzz" --output-on-failure -j 4 "$@" || status=1
ctest --test-dir "$top/build/native" --output-on-failure -j "$jobs" "$@" || status=1
ctest --test-dir "$top/build/win" --output-on-failure -j "$jobs" "$@" || status=1
exit $status
