#!/bin/sh
# Builds everything and runs the main job under Wine: for now the reader
# demonstration, which opens the card reader's port and sets a new key on a
# sector of the card in the field through Dorvex.dll.
#
# usage: tools/run.sh [--device /dev/ttyUSB0] [demo arguments: SECTOR [OLDKEY [NEWKEY]]]
#
#   (default)        a simulated reader on a pty, linked as a COM port
#   --device PATH    a real reader on that serial device instead: the device
#                    is linked as COM<n> (--com n, default 5) in the prefix
#   --com n          the COM number used with --device
#
# The Wine prefix is build/win/wineprefix (made on first use); WINEPREFIX
# overrides it.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
device="" com=5
while [ $# -gt 0 ]; do
  case "$1" in
    --device) device=$2; shift 2 ;;
    --com) com=$2; shift 2 ;;
    -h|--help) sed -n '2,15p' "$0"; exit 0 ;;
    *) break ;;
  esac
done

"$top/tools/setup.sh"
jobs=$(nproc 2>/dev/null || echo 4)
cmake -S "$top" -B "$top/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build/native" -j "$jobs" >/dev/null
cmake -S "$top" -B "$top/build/win" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
      -DCARDINIT_NATIVE_BIN="$top/build/native/bin" >/dev/null
cmake --build "$top/build/win" -j "$jobs" >/dev/null

export WINEPREFIX="${WINEPREFIX:-$top/build/win/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$top/tools/wineprefix.sh" "$WINEPREFIX"
demo="$top/build/win/bin/ReaderDemo.exe"

if [ -n "$device" ]; then
  [ -e "$device" ] || { echo "run: no device $device" >&2; exit 1; }
  link="$WINEPREFIX/dosdevices/com$com"
  ln -sfn "$device" "$link"
  echo "COM$com -> $device"
  status=0
  wine "$demo" "$com" "$@" || status=$?
  rm -f "$link"
  exit $status
fi

exec "$top/tools/with-reader-sim.sh" -- sh -c '
  ctl=$1; shift
  wine "$0" "$READER_SIM_COM" "$@" || exit $?
  echo "The simulated reader'"'"'s card now has the sector keys:"
  "$ctl" get keys
' "$demo" "$top/build/native/bin/simctl" "$@"
