#!/usr/bin/env bash
# Compares how two builds of vellumix-book read books: `dump`, `dump --text`
# and `check` of every book that scripts/compare-builds.sh wrote in WORKDIR
# (WORKDIR/old/*.ldb), of the test books, and of damaged copies of the first
# of them (cut short at several lengths, single bytes changed in the headers,
# the record list and the records), byte for byte: standard output,
# standard error and exit status.
#
#   scripts/compare-readers.sh OLD_TOOL NEW_TOOL WORKDIR [DAMAGED]
#
# DAMAGED (40 by default) is how many books get damaged copies. Exit status
# 0 when nothing differs.
set -euo pipefail
if [ $# -lt 3 ]; then
  echo "usage: $0 OLD_TOOL NEW_TOOL WORKDIR [DAMAGED]" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")/.." && pwd)
old=$(realpath "$1")
new=$(realpath "$2")
work=$(realpath "$3")
damaged=${4:-40}
books="$work/readers/books"
rm -rf "$work/readers"
mkdir -p "$books"
for f in "$work"/old/*.ldb; do
  cp "$f" "$books/"
done
for f in "$here"/fuzz/corpus/ldbfile_fuzz/* "$here"/tests/fuzz/data/ldbfile_fuzz/*; do
  [ -f "$f" ] && cp "$f" "$books/fuzz-$(basename "$f").ldb"
done
python3 - "$books" "$damaged" <<'PY'
import os, sys
books, count = sys.argv[1], int(sys.argv[2])
names = sorted(n for n in os.listdir(books) if n.endswith('.ldb') and not n.startswith('fuzz-'))[:count]
for n in names:
    data = open(os.path.join(books, n), 'rb').read()
    stem = n[:-4]
    size = len(data)
    records = int.from_bytes(data[76:78], 'big') if size >= 78 else 0
    first = 80 + 8 * records
    cuts = [0, 40, 77, 78, 78 + 8 * max(records // 2, 1), first - 1, first + 60, size // 2, size - 1]
    for i, c in enumerate(cuts):
        if 0 <= c < size:
            open(os.path.join(books, f'{stem}.cut{i}.ldb'), 'wb').write(data[:c])
    flips = [0, 31, 33, 35, 39, 43, 61, 65, 71, 75, 77, 79, 83, 86, first - 2, first + 1, first + 5,
             first + 13, first + 35, first + 61, first + 140, size // 3, size // 2, size - 5, size - 1]
    for i, at in enumerate(flips):
        if 0 <= at < size:
            b = bytearray(data)
            b[at] ^= 0x5A
            open(os.path.join(books, f'{stem}.flip{i}.ldb'), 'wb').write(bytes(b))
PY
# run TOOL OUTDIR: every book through one tool.
run() {
  local tool=$1 out=$2 f n
  mkdir -p "$out"
  for f in "$books"/*.ldb; do
    n=$(basename "$f" .ldb)
    set +e
    "$tool" dump "$f" >"$out/$n.dump" 2>"$out/$n.dump.err"
    echo "dump $?" >"$out/$n.rc"
    "$tool" dump --text "$f" >"$out/$n.text" 2>"$out/$n.text.err"
    echo "text $?" >>"$out/$n.rc"
    "$tool" check "$f" >"$out/$n.check" 2>"$out/$n.check.err"
    echo "check $?" >>"$out/$n.rc"
    set -e
  done
}
run "$old" "$work/readers/old"
run "$new" "$work/readers/new"
total=$(find "$books" -name '*.ldb' | wc -l)
unsound=$(grep -l '^check [^0]' "$work"/readers/old/*.rc | wc -l)
differ=0
for f in "$work"/readers/old/*; do
  g="$work/readers/new/$(basename "$f")"
  if [ ! -e "$g" ] || ! cmp -s "$f" "$g"; then
    echo "differs: $(basename "$f")"
    differ=$((differ + 1))
  fi
done
echo "compare-readers: $total books read, $unsound of them unsound by check; $differ files differ ($work/readers)"
[ "$differ" -eq 0 ]
