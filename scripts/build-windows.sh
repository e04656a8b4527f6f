#!/usr/bin/env bash
# Builds the Windows programs (32-bit, static) into build-windows/: installs
# the cross toolchain, Wine and what the end-to-end tests use (xdotool,
# python3-xlib) when missing (as root), cross-builds libpng from Debian's
# source package, then builds every target (optimized as the Linux build,
# without debug information: the cross build is for running).
#   VX_WIN_TARGETS  targets to build (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build-windows
deps=$build/deps

packages=(cmake ninja-build g++ dpkg-dev g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  mingw-w64-i686-dev libz-mingw-w64-dev googletest wine wine32:i386 wine64 xvfb xdotool
  python3-xlib)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "build-windows: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  # A mirror in the middle of a sync fails some index files; what did load
  # is still used, and the install below says whether it was enough.
  apt-get update -qq || echo "build-windows: apt-get update failed in part; going on with the lists it has" >&2
  if ! apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
    # Packages of two architectures must have the same version; when one
    # architecture's security index is missing, the release's own versions
    # are consistent.
    . /etc/os-release
    apt-get install -y -qq --no-install-recommends -t "$VERSION_CODENAME" "${missing[@]}" >/dev/null
  fi
fi

bash scripts/windows-libpng.sh "$deps"

VX_WIN_DEPS_PREFIX=$deps cmake -S . -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVX_WIN_DEPS_PREFIX="$deps" \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j2 ${VX_WIN_TARGETS:+--target $VX_WIN_TARGETS}
