#!/usr/bin/env bash
# The checks of the Windows build that need more than one program; called by
# scripts/test-windows.sh with Wine set up (WINEPREFIX, DISPLAY, a running
# wineserver). Argument: the Windows build folder.
#  1. Every .exe is PE32 for i386 and imports only Windows' own DLLs.
#  2. The preferences' registry layout, as `wine reg query` shows it.
#  3. vellumix-book.exe writes the same bytes as the Linux tool for the
#     example books and a generated 1 MB book (same SOURCE_DATE_EPOCH).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-$root/build-windows}
failed=0
fail() {
  echo "windows-checks: $*" >&2
  failed=1
}

# 1. Format and imports.
allowed=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll comctl32.dll comdlg32.dll msvcrt.dll "
exes=$(find "$build" -name '*.exe' -not -path '*/wineprefix/*' -not -path '*/CMakeFiles/*' | sort)
count=0
for exe in $exes; do
  count=$((count + 1))
  header=$(i686-w64-mingw32-objdump -f "$exe")
  grep -q 'file format pei-i386' <<<"$header" || fail "$exe is not PE32 (pei-i386)"
  grep -q 'architecture: i386' <<<"$header" || fail "$exe is not for i386"
  for dll in $(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z'); do
    case "$allowed" in
      *" $dll "*) ;;
      *) fail "$exe imports $dll, which is not part of Windows" ;;
    esac
  done
done
[ "$count" -gt 0 ] || fail "no .exe found in $build"
echo "windows-checks: $count executables are PE32 i386 and import only Windows' DLLs"

# The GUI program: a Windows GUI subsystem program among the ones above,
# with its manifest, icon and version information.
vellumix=$build/app/Vellumix.exe
if [ ! -f "$vellumix" ]; then
  fail "no $vellumix"
else
  grep -qx "$vellumix" <<<"$exes" || fail "Vellumix.exe was not among the checked executables"
  headers=$(i686-w64-mingw32-objdump -p "$vellumix")
  grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "Vellumix.exe is not a GUI program"
  resources=$(i686-w64-mingw32-windres -i "$vellumix" -O rc 2>/dev/null || true)
  grep -q 'Microsoft.Windows.Common-Controls' <<<"$resources" || fail "Vellumix.exe has no common-controls manifest"
  grep -q 'VALUE "ProductVersion", "1.6.0"' <<<"$resources" || fail "Vellumix.exe has no version 1.6.0"
  grep -q 'RT_GROUP_ICON' <<<"$resources" || fail "Vellumix.exe has no icon"
  grep -q 'Name: 11000' <<<"$resources" || fail "Vellumix.exe has no string resource"
  echo "windows-checks: Vellumix.exe is a GUI program with its manifest, icon and version"
fi

# 2. Registry layout: the test leaves its values under Software\Lumo\VxRegistryCheck.
tests=$build/tests/framework/platform/win32/vx_win32_tests.exe
key='HKCU\Software\Lumo\VxRegistryCheck'
wine reg delete "$key" /f >/dev/null 2>&1 || true
if VX_KEEP_REGISTRY_VALUES=1 wine "$tests" --gtest_filter='WinPrefsLayout.*' >"$build/registry-test.log" 2>&1; then
  actual=$(wine reg query "$key" | tr -d '\r' | sed -n 's/^ *\([^ ]*\) *REG_BINARY *\([0-9A-Fa-f]*\)$/\1 \2/p' | sort)
  expected=$(printf '%s\n' \
    'Flag 040001' \
    'Count 01002A000000' \
    'Negative 0100FEFFFFFF' \
    'Bytes 0200DEADBEEF' \
    'Empty 0200' \
    'Name 05004C0075006D006F000000' | sort)
  if [ "$actual" != "$expected" ]; then
    fail "registry values differ; expected:"
    echo "$expected" >&2
    echo "found:" >&2
    echo "$actual" >&2
  else
    echo "windows-checks: the registry holds the values in the expected REG_BINARY layout"
  fi
  wine reg delete "$key" /f >/dev/null 2>&1 || true
else
  cat "$build/registry-test.log" >&2
  fail "the registry test failed"
fi

# 3. Books: the Windows tool against the Linux one.
linux_tool=$root/build/tools/vellumix-book
if [ ! -x "$linux_tool" ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build --target vellumix-book >/dev/null
fi
win_tool=$build/tools/vellumix-book.exe
work=$build/compare
rm -rf "$work"
mkdir -p "$work/linux" "$work/windows"
generator=$work/generate
g++ -std=c++20 -O2 -I. bench/SourceGenerator.cpp bench/generate_source.cpp -o "$generator"
"$generator" "$work/generated.lml" 1
export SOURCE_DATE_EPOCH=1700000000
compared=0
for source in examples/*.lml "$work/generated.lml"; do
  name=$(basename "$source" .lml)
  options=()
  [ "$name" = dictionary ] && options=(--dictionary)
  source=$(realpath "$source")
  "$linux_tool" build "$source" -o "$work/linux/$name.ldb" "${options[@]}" 2>"$work/linux/$name.log" ||
    { fail "the Linux tool did not build $name"; continue; }
  wine "$win_tool" build "$(winepath -w "$source")" -o "$(winepath -w "$work/windows/$name.ldb")" "${options[@]}" \
    2>"$work/windows/$name.log" || { fail "vellumix-book.exe did not build $name"; cat "$work/windows/$name.log" >&2; continue; }
  if cmp -s "$work/linux/$name.ldb" "$work/windows/$name.ldb"; then
    compared=$((compared + 1))
  else
    fail "$name.ldb differs between Linux and Windows"
  fi
done
echo "windows-checks: $compared books identical between vellumix-book.exe and the Linux tool"
exit "$failed"
