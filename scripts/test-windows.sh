#!/usr/bin/env bash
# Runs every Windows test program under Wine (a 32-bit prefix and an Xvfb
# display of their own, in build-windows/), then checks the registry layout
# of the preferences with `wine reg query`, the executables' format and
# imports, and compares the books that vellumix-book.exe writes with the
# Linux tool's (build/tools/vellumix-book, built when missing), and runs
# the end-to-end scenarios of Vellumix.exe (scripts/e2e-windows.sh).
# Run scripts/build-windows.sh first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build-windows
if [ ! -f "$build/CTestTestfile.cmake" ]; then
  echo "test-windows: $build is not built; run scripts/build-windows.sh" >&2
  exit 1
fi

export WINEPREFIX=$build/wineprefix
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WINELOADER WINESERVER

xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

# A display of our own: the first number without a lock file.
display=90
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
  display=$((display + 1))
done
screen=1024x768
# -noreset: the server stays as it is when its last client goes (each Wine
# program is one), instead of restarting and refusing connections meanwhile.
Xvfb ":$display" -screen 0 ${screen}x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
# The Win32 tests check the screen size that Windows programs see.
export VX_SCREEN_SIZE=$screen
for _ in $(seq 1 100); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "test-windows: Xvfb did not start" >&2; exit 1; }

started=$(date +%s)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
wineserver -p
# Unmanaged windows (no window manager here) and no crash dialog: a crash
# is an exit code.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
echo "test-windows: Wine ready in $(($(date +%s) - started)) s"

failed=0
ctest --test-dir "$build" --output-on-failure -j2 || failed=1

bash scripts/windows-checks.sh "$build" || failed=1
bash scripts/e2e-windows.sh "$build" || failed=1
exit "$failed"
