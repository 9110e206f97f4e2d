#!/bin/sh
# Takes pictures of Tavrin's windows, skinned, as an operator sees them:
# the main window, its sector list open, a message box, the key profiles
# and a profile being added. The pictures go to build/shots/*.png; the main
# window's also to doc/tavrin-main.png (the README shows it).
#
# usage: tools/screenshots.sh      (after tools/run.sh or tools/test.sh built
#                                   the program)
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
bin="$top/build/win/bin"
for f in Tavrin.exe Dorvex.dll ShotDriver.exe; do
  [ -f "$bin/$f" ] || { echo "screenshots: $bin/$f missing (build first: tools/test.sh)" >&2; exit 1; }
done
out="$top/build/shots"
app="$out/app"
rm -rf "$app" "$out"/*.png "$out"/*.bmp
mkdir -p "$app"
cp "$bin/Tavrin.exe" "$bin/Dorvex.dll" "$bin/ShotDriver.exe" "$app/"

export WINEPREFIX="$out/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$top/tools/wineprefix.sh" "$WINEPREFIX"

xvfb=""
if [ -z "${DISPLAY:-}" ]; then
  fifo=$(mktemp -u) && mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb=$!
  read -r num < "$fifo"; rm -f "$fifo"
  export DISPLAY=":$num"
fi
wineserver -p
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT

# The program is started as the operator starts it; the driver finds it.
"$top/tools/with-reader-sim.sh" --card-key A5C3E7B91D2F -- sh -c '
  cd "$0" && wine Tavrin.exe &
  wine "$0/ShotDriver.exe" "Z:$1"
  status=$?
  wait
  exit $status
' "$app" "$out"
for bmp in "$out"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png"
  rm -f "$bmp"
done
mkdir -p "$top/doc"
cp "$out/main.png" "$top/doc/tavrin-main.png"
ls "$out"/*.png
