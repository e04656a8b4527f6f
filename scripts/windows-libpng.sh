#!/usr/bin/env bash
# Cross-builds a static libpng for 32-bit Windows from Debian's own source
# package (with Debian's security patches) and installs it into PREFIX
# (default build-windows/deps). Needs the deb-src lines of Debian's archive;
# as root they are added when missing. Does nothing when PREFIX already
# holds the library.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
prefix=${1:-$root/build-windows/deps}
if [ -f "$prefix/lib/libpng16.a" ] && [ -f "$prefix/include/png.h" ]; then
  exit 0
fi

sources=/etc/apt/sources.list.d/vellumix-deb-src.sources
if ! apt-get source --print-uris -qq libpng1.6 >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "windows-libpng: the deb-src lines for Debian's archive are missing; adding them needs root" >&2
    exit 1
  fi
  cat >"$sources" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  # A mirror in the middle of a sync fails some index files; the source
  # lists that did load are enough.
  apt-get update -qq || echo "windows-libpng: apt-get update failed in part; going on with the lists it has" >&2
fi

work=$root/build-windows/libpng-src
rm -rf "$work"
mkdir -p "$work"
(
  cd "$work"
  # The newest version that the archive serves (a security update may be
  # listed without its source being reachable).
  got=
  for version in $(apt-cache showsrc libpng1.6 | sed -n 's/^Version: //p' | sort -rVu); do
    if apt-get source --download-only -qq "libpng1.6=$version" >/dev/null 2>&1; then
      got=$version
      break
    fi
    rm -f libpng1.6_*
  done
  if [ -z "$got" ]; then
    echo "windows-libpng: no version of Debian's libpng1.6 source could be downloaded" >&2
    exit 1
  fi
  echo "windows-libpng: building libpng1.6 $got" >&2
  dpkg-source --no-check -x libpng1.6_*.dsc src >/dev/null
)
cmake -S "$work/src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DPNG_FRAMEWORK=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON \
  -DZLIB_USE_STATIC_LIBS=ON >"$work/configure.log" 2>&1 || { cat "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" -j2 >"$work/build.log" 2>&1 || { tail -n 40 "$work/build.log" >&2; exit 1; }
cmake --install "$work/build" >/dev/null
rm -rf "$work"
echo "windows-libpng: libpng installed in $prefix"
