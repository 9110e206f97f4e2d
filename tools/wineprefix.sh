#!/bin/sh
# Make (once) the Wine prefix that the target-side programs and tests run in,
# and bring an older prefix up to date when the font settings change.
# Usage: tools/wineprefix.sh [--start-server | --stop-server] <prefix-dir>
#   --start-server  also start the prefix's Wine server, persistent and with
#                   its output detached (the test suite's set-up step)
#   --stop-server   only stop the prefix's Wine server (its clean-up step)
set -eu
mode=""
case "${1:-}" in --start-server|--stop-server) mode=$1; shift ;; esac
prefix=${1:?usage: wineprefix.sh [--start-server|--stop-server] <prefix-dir>}
if [ "$mode" = --stop-server ]; then
  [ -d "$prefix" ] || exit 0
  WINEPREFIX=$(cd "$prefix" && pwd) wineserver -k >/dev/null 2>&1 || true
  exit 0
fi
# Started last, whether or not the prefix had to be made.
start_server() {
  [ "$mode" = --start-server ] || return 0
  WINEPREFIX=$(cd "$prefix" && pwd) wineserver -p </dev/null >/dev/null 2>&1 || true
  # The first program of a server session starts Wine's own services, which
  # keep its output open for as long as they live; start them here, detached.
  WINEPREFIX=$(cd "$prefix" && pwd) wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}
here=$(cd "$(dirname "$0")" && pwd)
fonts_reg="$here/wine-fonts.reg"
stamp="$prefix/.cardinit-ready"

# Wine's own symbol font (close crosses, arrows and check marks of Wine's
# frame controls; the panel's dock grabbers draw their close box in it).
# Debian's Wine builds the path of its font folder wrongly and never loads
# the fonts there, so the font is copied into the prefix's font folder,
# which Wine does read.
add_wine_fonts() {
  fonts="$prefix/drive_c/windows/Fonts"
  [ -d "$fonts" ] || return 0
  for f in marlett.ttf; do
    [ -f "$fonts/$f" ] || [ ! -f "/usr/share/wine/fonts/$f" ] || cp "/usr/share/wine/fonts/$f" "$fonts/"
  done
}
# The settings reached the prefix's registry: a prefix made while Wine could
# not run (its set-up failed silently) is made again rather than trusted.
settings_in() { grep -qs '^"Managed"="N"' "$1/user.reg"; }
if [ -f "$stamp" ] && [ ! "$fonts_reg" -nt "$stamp" ] && settings_in "$prefix"; then
  add_wine_fonts
  start_server
  exit 0
fi

mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$stamp" ]; then
  # A 32-bit-capable prefix; the deliverables are 32-bit programs.
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi

# The windows name Chinese font families; map them to the CJK font that the
# set-up installs, so that Chinese text renders whatever the host's locale is.
tmp=$(mktemp)
iconv -f UTF-8 -t UTF-16LE < "$fonts_reg" | { printf '\377\376'; cat; } > "$tmp"
wine regedit /S "$(winepath -w "$tmp")" >/dev/null 2>&1 || wine regedit "$(winepath -w "$tmp")" >/dev/null 2>&1 || true
wineserver -w || true
rm -f "$tmp"
add_wine_fonts
if settings_in "$prefix"; then
  touch "$stamp"
else
  echo "wineprefix: the settings did not reach $prefix (does wine run here?)" >&2
fi
start_server
