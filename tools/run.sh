#!/bin/sh
# Builds everything and starts Tavrin, the card initialisation program,
# under Wine with a simulated card reader on a COM port that the program's
# port list shows. The reader holds a factory-fresh card (every sector keyed
# with the factory key A5C3E7B91D2F).
#
# usage: tools/run.sh [--com N] [--batch SECONDS] [--device PATH]
#
#   --com N          the COM port number of the reader (default 3)
#   --batch SECONDS  the simulator presents a new fresh card every SECONDS,
#                    as an operator swaps cards during a batch (default: the
#                    one card stays until you present another, see below)
#   --device PATH    a real card reader on that serial device (for example
#                    /dev/ttyUSB0) instead of the simulator, linked as COM<N>
#
# While it runs, another shell can talk to the simulated reader:
#   build/native/bin/simctl --port <control port> card new      a new card
#   build/native/bin/simctl --port <control port> get keys      the card's keys
#   build/native/bin/simctl --port <control port> help          everything else
# (run.sh prints the control port.)
#
# The program runs in its own Wine prefix, build/run/wineprefix, its
# windows placed by your window manager; DISPLAY must name your X display
# (without one, a virtual display with no window manager is started and
# screenshots are the only view).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
com=3 batch="" device=""
while [ $# -gt 0 ]; do
  case "$1" in
    --com) com=$2; shift 2 ;;
    --batch) batch=$2; shift 2 ;;
    --device) device=$2; shift 2 ;;
    -h|--help) sed -n '2,25p' "$0"; exit 0 ;;
    *) echo "run: unknown argument $1 (try --help)" >&2; exit 2 ;;
  esac
done
case "$com" in ''|*[!0-9]*) echo "run: --com takes a number 1-99" >&2; exit 2 ;; esac
[ "$com" -ge 1 ] && [ "$com" -le 99 ] || { echo "run: --com takes a number 1-99" >&2; exit 2; }

"$top/tools/setup.sh"
jobs=$(nproc 2>/dev/null || echo 4)
mkdir -p "$top/build/run"
log="$top/build/run/build.log"
echo "run: building (native and Windows sides; log in build/run/build.log)..."
{
  cmake -S "$top" -B "$top/build/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
  cmake --build "$top/build/native" -j "$jobs" &&
  cmake -S "$top" -B "$top/build/win" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" \
        -DCARDINIT_NATIVE_BIN="$top/build/native/bin" &&
  cmake --build "$top/build/win" -j "$jobs"
} >"$log" 2>&1 || { tail -30 "$log"; echo "run: the build failed (build/run/build.log)" >&2; exit 1; }

# The program's own folder: the program, the library beside it, and the
# folders it keeps (Data holds the key profiles between runs).
app="$top/build/run/Tavrin"
mkdir -p "$app"
cp "$top/build/win/bin/Tavrin.exe" "$top/build/win/bin/Dorvex.dll" "$app/"

export WINEPREFIX="${WINEPREFIX:-$top/build/run/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$top/tools/wineprefix.sh" "$WINEPREFIX"

xvfb="" server=""
# What this run started goes when it ends, however it ends: its display and
# its Wine server (not one that another run started).
cleanup() {
  [ -z "$server" ] || wineserver -k 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT TERM
if [ -z "${DISPLAY:-}" ]; then
  fifo=$(mktemp -u) && mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb=$!
  read -r num < "$fifo"; rm -f "$fifo"
  export DISPLAY=":$num"
  echo "run: no DISPLAY; a virtual display $DISPLAY was started."
  echo "     Look at it with: import -display $DISPLAY -window root shot.png"
fi

# The wineserver stays up for the whole run: the port list in the registry
# (HARDWARE\DEVICEMAP\SERIALCOMM) is kept only while it runs. One that runs
# already belongs to another run in this prefix, whose Tavrin would end
# with this run.
if ! wineserver -p 2>/dev/null; then
  echo "run: Wine already runs in $WINEPREFIX (another tools/run.sh?); end that first," >&2
  echo "     or stop it with: WINEPREFIX=$WINEPREFIX wineserver -k" >&2
  exit 1
fi
server=1
# On your display the window manager places the windows and gives them
# the keyboard. The virtual display started above has none: there the
# windows are unmanaged, as the tests run them (told that a manager looks
# after them, Wine would wait for it to take each closed window away, which
# leaves the window drawn for two seconds, and the keys would go to the
# window under the pointer).
managed=Y
[ -z "$xvfb" ] || managed=N
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1 || true
# The skin draws every frame: the window manager adds no decorations.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || true

# Puts COM<n> into the port list unless a port of that name is listed.
list_port() {
  wine reg query 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' 2>/dev/null | tr -d '\r' | grep -q "REG_SZ *COM$1$" ||
    wine reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v '\Device\CardInitReader' /d "COM$1" /f >/dev/null
}

if [ -n "$device" ]; then
  [ -e "$device" ] || { echo "run: no device $device" >&2; exit 1; }
  link="$WINEPREFIX/dosdevices/com$com"
  ln -sfn "$device" "$link"
  list_port "$com"
  echo "run: COM$com -> $device; starting Tavrin."
  status=0
  (cd "$app" && wine Tavrin.exe) || status=$?
  rm -f "$link"
  exit $status
fi

every=""
[ -z "$batch" ] || every="--new-card-every $batch"
list_port "$com"
export app
# shellcheck disable=SC2086
"$top/tools/with-reader-sim.sh" --sim "$top/build/native/bin/reader-sim" --com "$com" \
    --card-key A5C3E7B91D2F $every -- sh -c '
  echo "run: simulated reader on COM$READER_SIM_COM (control port $READER_SIM_PORT) with a fresh card."
  echo "     Choose COM$READER_SIM_COM in the port list (or press the detect button)."
  cd "$app" && wine Tavrin.exe
'
