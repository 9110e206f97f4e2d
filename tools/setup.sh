#!/bin/sh
# Everything a fresh Debian machine needs to build and test the system:
# the Debian packages (installed when run as root and something is missing)
# and the libjpeg-turbo sources, fetched into deps/ (never committed).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)

# A mirror in the middle of a sync fails the update now and then: try again,
# and at worst go on with the package lists apt already has.
update_package_lists() {
  tries=0
  until apt-get update -q; do
    tries=$((tries + 1))
    if [ "$tries" -ge 3 ]; then
      echo "setup: apt-get update failed; going on with the package lists apt has" >&2
      break
    fi
    sleep 10
  done
}

packages="cmake make g++ g++-mingw-w64-i686 googletest wine wine32:i386 wine64 xvfb
          fonts-wqy-microhei fonts-wine dpkg-dev patch x11-apps imagemagick clang libclang-rt-14-dev xdotool"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
need_src=0
# An empty folder (left by a configure run before set-up) is no source tree.
[ -f "$top/deps/libjpeg-turbo/CMakeLists.txt" ] || need_src=1

if [ -n "$missing" ] || [ "$need_src" = 1 ]; then
  if [ "$(id -u)" = 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    dpkg --print-foreign-architectures | grep -q i386 || dpkg --add-architecture i386
    # Source entries for apt-get source (libjpeg-turbo).
    if ! grep -rqs "deb-src" /etc/apt/sources.list /etc/apt/sources.list.d/; then
      cat > /etc/apt/sources.list.d/cardinit-src.sources <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    fi
    update_package_lists
    [ -z "$missing" ] || apt-get install -y -q $missing
  elif [ -n "$missing" ]; then
    echo "setup: missing packages:$missing (run tools/setup.sh as root once)" >&2
    exit 1
  fi
fi

if [ "$need_src" = 1 ]; then
  mkdir -p "$top/deps/src"
  (cd "$top/deps/src" && apt-get source -q --download-only libjpeg-turbo)
  dsc=$(ls "$top"/deps/src/libjpeg-turbo_*.dsc | head -n 1)
  rm -rf "$top/deps/libjpeg-turbo.tmp"
  dpkg-source --no-check -x "$dsc" "$top/deps/libjpeg-turbo.tmp" >/dev/null
  rm -rf "$top/deps/libjpeg-turbo"
  mv "$top/deps/libjpeg-turbo.tmp" "$top/deps/libjpeg-turbo"
fi

# Some kernels run no 32-bit Linux programs (their 32-bit emulation is off,
# as in some virtual machines): Wine's 32-bit loader then fails with "Exec
# format error". There the 32-bit programs run under QEMU's user-mode
# emulator, registered for i386 programs through binfmt_misc. Bookworm's own
# QEMU (7.2) spins for ever in Wine's address-space reservation; the
# backports' QEMU runs Wine.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  if [ "$(id -u)" != 0 ]; then
    echo "setup: this kernel runs no 32-bit programs; run tools/setup.sh as root once to run Wine under QEMU" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  qemu_major=$( (qemu-i386-static --version 2>/dev/null || true) | sed -n 's/.*version \([0-9]*\)\..*/\1/p')
  if [ "${qemu_major:-0}" -lt 8 ]; then
    if [ ! -f /etc/apt/sources.list.d/cardinit-backports.sources ]; then
      cat > /etc/apt/sources.list.d/cardinit-backports.sources <<'BPO'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
BPO
    fi
    update_package_lists
    apt-get install -y -q -t bookworm-backports qemu-user-static
  fi
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
  if [ ! -e "$binfmt/qemu-i386" ]; then
    # 32-bit little-endian ELF executables and shared objects for the 80386.
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      > "$binfmt/register"
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || { echo "setup: 32-bit programs still do not run" >&2; exit 1; }
fi
