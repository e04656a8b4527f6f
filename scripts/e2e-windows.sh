#!/usr/bin/env bash
# End-to-end tests of Vellumix.exe under Wine, called by scripts/test-windows.sh
# with Wine set up (WINEPREFIX, DISPLAY on an Xvfb screen, a running
# wineserver). Argument: the Windows build folder.
#
# Each scenario of tests/e2e/windows runs the real program in a folder of
# its own under build-windows/e2e/, driven by its self-test mode
# (RK_SELF_TEST: real input posted to the real windows) and, for one of
# them, from outside through the X server (an xdotool click and an XDND
# drop). A scenario passes when the program ends with exit code 0 within
# its time-out, its report says PASS, and the checks here hold: the books
# are byte for byte the Linux tool's from the same source and
# SOURCE_DATE_EPOCH, the registry holds the options and the window
# position, and the controls are laid out as the windows' layouts say
# (tests/e2e/windows/check_layout.py). Screenshots of the main window, the
# log window, the book information dialog and the progress dialog are left
# in build-windows/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-$root/build-windows}
scenarios=$root/tests/e2e/windows
work=$build/e2e
shots=$build/screenshots
key='HKCU\Software\Lumo\Vellumix'
python=/usr/bin/python3

exe=$(find "$build" -name Vellumix.exe -not -path '*/wineprefix/*' -not -path '*/CMakeFiles/*' | head -n 1)
if [ -z "$exe" ]; then
  echo "e2e-windows: no Vellumix.exe in $build" >&2
  exit 1
fi

# The XDND drop needs python3-xlib (installed by scripts/build-windows.sh).
if ! "$python" -c 'import Xlib' 2>/dev/null; then
  echo "e2e-windows: python3-xlib is missing; run scripts/build-windows.sh as root" >&2
  exit 1
fi

linux_tool=$root/build/tools/vellumix-book
if [ ! -x "$linux_tool" ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build --target vellumix-book >/dev/null
fi

export SOURCE_DATE_EPOCH=1700000000
rm -rf "$work" "$shots"
mkdir -p "$work" "$shots"
started=$(date +%s)
passed=0
failed=0
problems=()

# Adds a problem of the current scenario.
problem() {
  problems+=("$*")
}

# prepare NAME SOURCE...: a fresh folder for the scenario with the sources.
prepare() {
  dir=$work/$1
  shift
  mkdir -p "$dir"
  for source in "$@"; do
    cp "$scenarios/sources/$source" "$dir/"
  done
  problems=()
  scenario_start=$(date +%s.%N)
}

# run NAME [ARGUMENT...]: runs Vellumix.exe in the scenario's folder (the
# command line holds the arguments) and checks the exit code and report.
run() {
  local name=$1
  shift
  # @DIR@ in a scenario stands for its folder as Windows names it.
  local windir
  windir=$(winepath -w "$dir" 2>/dev/null | tr -d '\r')
  sed "s|@DIR@|${windir//\\/\\\\}|g" "$scenarios/$name.scenario" >"$dir/$name.scenario"
  local code=0
  (cd "$dir" && RK_SELF_TEST=$name.scenario RK_SELF_TEST_REPORT=$name.report \
    timeout --kill-after=5 60 wine "$exe" "$@" >"$name.out" 2>&1) || code=$?
  check_outcome "$name" "$code"
}

check_outcome() {
  local name=$1 code=$2 report
  report=$(tr -d '\r' <"$dir/$name.report" 2>/dev/null || echo "no report written")
  case $code in
    0) ;;
    124 | 137) problem "exit code $code: the scenario's time-out ended the program" ;;
    98) problem "exit code 98: the scenario could not be read" ;;
    99) problem "exit code 99: a step failed" ;;
    *) problem "exit code $code" ;;
  esac
  [ "$report" = PASS ] || problem "$report"
}

elapsed() {
  awk -v now="$(date +%s.%N)" -v start="$scenario_start" 'BEGIN { printf "%.1f", now - start }'
}

# finish NAME: counts the scenario and shows its problems.
finish() {
  if [ ${#problems[@]} -eq 0 ]; then
    passed=$((passed + 1))
    echo "e2e-windows: $1 passed ($(elapsed) s)"
  else
    failed=$((failed + 1))
    echo "e2e-windows: $1 FAILED ($(elapsed) s)" >&2
    printf '  %s\n' "${problems[@]}" >&2
  fi
}

# same_book BOOK SOURCE [TOOL OPTION...]: BOOK equals the Linux tool's book.
same_book() {
  local book=$1 source=$2
  shift 2
  if [ ! -f "$dir/$book" ]; then
    problem "$book was not written"
    return
  fi
  "$linux_tool" build "$dir/$source" -o "$dir/$book.linux" "$@" 2>"$dir/$book.linux.log" ||
    { problem "the Linux tool did not build $source"; return; }
  cmp -s "$dir/$book" "$dir/$book.linux" || problem "$book differs from the Linux tool's book"
}

# The preferences as NAME HEX lines, sorted.
registry() {
  { wine reg query "$key" 2>/dev/null || true; } | tr -d '\r' | sed -n 's/^ *\([^ ]*\) *REG_BINARY *\([0-9A-Fa-f]*\)$/\1 \2/p' | sort
}

# expect_registry NAME=HEX...: those values are in the preferences.
expect_registry() {
  local values pair
  values=$(registry)
  for pair in "$@"; do
    grep -qx "${pair%%=*} ${pair#*=}" <<<"$values" ||
      problem "registry: expected ${pair%%=*} = ${pair#*=}; found: $(grep "^${pair%%=*} " <<<"$values" || echo none)"
  done
}

forget_preferences() {
  wine reg delete "$key" /f >/dev/null 2>&1 || true
}

layout() {
  [ -f "$dir/$2" ] || { problem "no bounds file $2 to check the layout with"; return; }
  "$python" "$scenarios/check_layout.py" "$1" "$dir/$2" >"$dir/$2.check" 2>&1 || problem "$(cat "$dir/$2.check")"
}

shot() {
  if [ -s "$dir/$1" ]; then
    cp "$dir/$1" "$shots/$1"
  else
    problem "no screenshot $1"
  fi
}

# Bounds-file values: field FILE ID NAME (ID "window" for the window line).
field() {
  local line
  if [ "$2" = window ]; then
    line=$(grep '^window ' "$1" || true)
  else
    line=$(grep "^control id=$2 " "$1" || true)
  fi
  sed -n "s/.* $3=\(-\?[0-9]*\).*/\1/p" <<<"$line"
}

forget_preferences

# A clean source on the command line (unquoted: the program looks the name
# up): built, and the program ends with 0.
prepare clean-build tale.lml
run clean-build tale.lml
same_book tale.ldb tale.lml
finish clean-build

# A warning keeps the program open, and the log window shows the row. The
# name has a space, so the command line holds it in quotes.
prepare warning
cp "$scenarios/sources/tabbed.lml" "$dir/tabbed tale.lml"
run warning "tabbed tale.lml"
same_book "tabbed tale.ldb" "tabbed tale.lml"
layout log log-bounds.txt
shot log-window.png
finish warning

# No title: "Book Info" with OK disabled until a title is typed.
prepare book-info untitled.lml
run book-info untitled.lml
same_book untitled.ldb untitled.lml --title "The Typed Title"
layout info info-bounds.txt
shot info-dialog.png
finish book-info

prepare book-info-cancel untitled.lml
run book-info-cancel untitled.lml
[ ! -e "$dir/untitled.ldb" ] || problem "a cancelled file was built"
finish book-info-cancel

# Make Book... and the open dialog: the chosen file is built.
prepare open-dialog tale.lml
run open-dialog
same_book tale.ldb tale.lml
finish open-dialog

# Overwrite with prompt, Cancel: the old book stays byte for byte.
forget_preferences
prepare overwrite-cancel tale.lml tabbed.lml
"$linux_tool" build "$dir/tabbed.lml" -o "$dir/tale.ldb" 2>/dev/null || problem "the Linux tool did not build tale.ldb"
cp "$dir/tale.ldb" "$dir/tale.ldb.old" 2>/dev/null || true
run overwrite-cancel
cmp -s "$dir/tale.ldb" "$dir/tale.ldb.old" || problem "tale.ldb changed"
finish overwrite-cancel

# Three files dropped at once, in order, under one progress dialog.
forget_preferences
prepare three-drops one.lml two.lml three.txt
run three-drops
same_book one.ldb one.lml
same_book two.ldb two.lml --title Second
same_book three.ldb three.txt --title Third
shot progress-dialog.png
finish three-drops

# An OLE drag onto the splash, in-process: TALE.LML is built, notes.pdf not.
forget_preferences
prepare ole-drop
cp "$scenarios/sources/tale.lml" "$dir/TALE.LML"
echo "not a source" >"$dir/notes.pdf"
run ole-drop
same_book TALE.ldb TALE.LML
[ ! -e "$dir/notes.ldb" ] || problem "notes.pdf was built"
finish ole-drop

# The options toggle their registry values (bool: tag 04 00, then 00 or 01).
forget_preferences
prepare options-on
run options-on
expect_registry Overwrite=040001 Prompt=040001 Dictionary=040001 ExcludePageTables=040001
layout main main-bounds.txt
finish options-on

prepare options-off
run options-off
expect_registry Overwrite=040000 Prompt=040001 Dictionary=040000 ExcludePageTables=040000
finish options-off

# The main window: first placed centred a third of the way down, then
# reopened where it was closed (ints: tag 01 00, then 32 bits, low byte first).
forget_preferences
prepare position-first
run position-first
bounds=$dir/first-bounds.txt
if grep -q '^window ' "$bounds" 2>/dev/null; then
  x=$(field "$bounds" window outerx) y=$(field "$bounds" window outery)
  w=$(field "$bounds" window outerw) h=$(field "$bounds" window outerh)
  sw=$(field "$bounds" window screenw) sh=$(field "$bounds" window screenh)
  [ "$x,$y" = "$(((sw - w) / 2)),$(((sh - h) / 3))" ] ||
    problem "first placed at $x,$y; centred a third of the way down is $(((sw - w) / 2)),$(((sh - h) / 3))"
else
  problem "no bounds written"
fi
expect_registry WindowPos.x=01007B000000 WindowPos.y=010057000000
shot main-window.png
finish position-first

prepare position-again
run position-again
finish position-again

# From outside: an xdotool click on "Build dictionary", then dropped.lml
# dragged onto the splash through XDND; the book is a dictionary.
forget_preferences
prepare external dropped.lml
cp "$scenarios/external.scenario" "$dir/"
(cd "$dir" && RK_SELF_TEST=external.scenario RK_SELF_TEST_REPORT=external.report \
  timeout --kill-after=5 60 wine "$exe" >external.out 2>&1) &
program=$!
bounds=$dir/external-bounds.txt
for _ in $(seq 1 300); do
  [ -s "$bounds" ] && grep -q '^control id=325 ' "$bounds" && break
  sleep 0.1
done
if grep -q '^control id=328 ' "$bounds" 2>/dev/null && grep -q '^control id=325 ' "$bounds"; then
  ox=$(field "$bounds" window screenx) oy=$(field "$bounds" window screeny)
  cx=$((ox + $(field "$bounds" 328 tx) + $(field "$bounds" 328 w) / 2))
  cy=$((oy + $(field "$bounds" 328 ty) + $(field "$bounds" 328 h) / 2))
  xdotool mousemove --sync "$cx" "$cy" click 1 || problem "xdotool could not click"
  dx=$((ox + $(field "$bounds" 325 tx) + $(field "$bounds" 325 w) / 2))
  dy=$((oy + $(field "$bounds" 325 ty) + $(field "$bounds" 325 h) / 2))
  # The drop waits for the click to have ticked the box (the scenario's
  # next step), so that the book is built as a dictionary.
  for _ in $(seq 1 100); do
    grep -q 'Dictionary 040001' <<<"$(registry)" && break
    sleep 0.1
  done
  "$python" "$scenarios/xdnd_drop.py" "$dx" "$dy" "$dir/dropped.lml" >"$dir/xdnd.log" 2>&1 ||
    problem "XDND drop: $(cat "$dir/xdnd.log")"
else
  problem "no bounds of the main window's splash and Dictionary box written"
fi
code=0
wait "$program" || code=$?
check_outcome external "$code"
same_book dropped.ldb dropped.lml --dictionary
finish external

echo "e2e-windows: the scenarios took $(($(date +%s) - started)) s; screenshots in $shots"
echo "e2e-windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
