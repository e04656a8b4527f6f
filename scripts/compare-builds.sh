#!/usr/bin/env bash
# Compares two builds of vellumix-book: same books, same messages.
#
#   scripts/compare-builds.sh OLD_TOOL NEW_TOOL [WORKDIR] [COUNT]
#
# Both tools build the example books, COUNT generated books (500 by
# default, written by scripts/compare-books-gen.py: valid and invalid
# markup, dictionaries, batch mode, books without page tables) and every
# file of the fuzz corpora taken as a source. For each source the script
# keeps the book, the exit status and the standard error of `build`, and
# the output, errors and exit status of `pages` and `pages --large`, and
# compares them byte for byte (cmp). The fuzz inputs are built with
# --title, so that those without a title line are laid out too. Every
# source is built at the same path with the same SOURCE_DATE_EPOCH, so the
# messages that name files are comparable.
#
# The location that opens a message about the source is removed from the
# standard error of both tools before the comparison, with exactly
#   sed -e "s/^SOURCE:[0-9]*:[0-9]*: //" -e "s/^SOURCE: //"
# where SOURCE is the source's path as given to the tool (its sed
# metacharacters escaped); the unchanged output is kept in WORKDIR/raw-old and
# WORKDIR/raw-new. WORKDIR (a new temporary folder by default) keeps
# everything; the OLD results are reused when WORKDIR already holds them
# for the same OLD_TOOL. NEW_TOOL_ARGS, when set, are words given to every
# build and pages run of the new tool only (for instance "--encoding
# device", so that a tool that reads UTF-8 sources by default reads the
# bytes as the old one did). Exit status 0 when nothing differs.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 OLD_TOOL NEW_TOOL [WORKDIR] [COUNT]" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")/.." && pwd)
old=$(realpath "$1")
new=$(realpath "$2")
work=${3:-$(mktemp -d)}
count=${4:-500}
mkdir -p "$work"
work=$(realpath "$work")
export SOURCE_DATE_EPOCH=1700000000

# The sources: name, path and options, one per line, in $work/cases.
src="$work/src"
if [ ! -f "$work/cases" ]; then
  rm -rf "$src"
  mkdir -p "$src/examples"
  cp -r "$here/examples/." "$src/examples/"
  python3 "$here/scripts/compare-books-gen.py" "$src/gen" "$count" 12
  {
    echo "example $src/examples/example.lml"
    echo "dictionary $src/examples/dictionary.lml --dictionary"
    for f in "$src"/gen/*.lml; do
      n=$(basename "$f" .lml)
      echo "gen-$n $f $(cat "$src/gen/$n.opts")"
    done
    for corpus in "$here"/tests/fuzz/data/* "$here"/fuzz/corpus/*; do
      [ -d "$corpus" ] || continue
      for f in "$corpus"/*; do
        [ -f "$f" ] || continue
        echo "fuzz-$(basename "$corpus")-$(basename "$f") $f --title Fuzz"
      done
    done
  } >"$work/cases"
fi

# unplace SOURCE RAW OUT: the messages of RAW without their locations.
unplace() {
  local escaped
  escaped=$(printf '%s' "$1" | sed 's/[][\\/.*^$]/\\&/g')
  sed -e "s/^$escaped:[0-9]*:[0-9]*: //" -e "s/^$escaped: //" "$2" >"$3"
}

# run TOOL OUTDIR RAWDIR [EXTRA]: every case through one tool, EXTRA added
# to its words.
run() {
  local tool=$1 out=$2 raw=$3 extra=${4:-} name path opts kind
  rm -rf "$out" "$raw"
  mkdir -p "$out" "$raw"
  while read -r name path opts; do
    # shellcheck disable=SC2086
    set +e
    "$tool" build "$path" -o "$work/book.ldb" $opts $extra 2>"$raw/$name.build.err" >/dev/null
    echo "build $?" >"$out/$name.rc"
    if [ -f "$work/book.ldb" ]; then
      mv "$work/book.ldb" "$out/$name.ldb"
    fi
    "$tool" pages $([[ " $opts " == *" --batch "* ]] && echo --batch) $extra "$path" \
      >"$out/$name.pages" 2>"$raw/$name.pages.err"
    echo "pages $?" >>"$out/$name.rc"
    "$tool" pages --large $extra "$path" >"$out/$name.large" 2>"$raw/$name.large.err"
    echo "large $?" >>"$out/$name.rc"
    set -e
    for kind in build pages large; do
      unplace "$path" "$raw/$name.$kind.err" "$out/$name.$kind.err"
    done
  done <"$work/cases"
}

stamp=$(sha256sum "$old" | cut -d' ' -f1)
if [ "$(cat "$work/old.stamp" 2>/dev/null)" != "$stamp" ]; then
  run "$old" "$work/old" "$work/raw-old"
  echo "$stamp" >"$work/old.stamp"
fi
run "$new" "$work/new" "$work/raw-new" "${NEW_TOOL_ARGS:-}"

cases=$(wc -l <"$work/cases")
books=$(find "$work/old" -name '*.ldb' | wc -l)
failed=$(grep -l '^build [^0]' "$work"/old/*.rc | wc -l)
differ=0
for f in "$work"/old/*; do
  g="$work/new/$(basename "$f")"
  if [ ! -e "$g" ] || ! cmp -s "$f" "$g"; then
    echo "differs: $(basename "$f")"
    differ=$((differ + 1))
  fi
done
for g in "$work"/new/*; do
  [ -e "$work/old/$(basename "$g")" ] || { echo "only new: $(basename "$g")"; differ=$((differ + 1)); }
done
echo "compare-builds: $cases sources, $books books written, $failed builds refused; $differ files differ ($work)"
[ "$differ" -eq 0 ]
