#!/usr/bin/env bash
# Installs what is missing (as root), builds everything, and compiles the
# bundled example books into build/example/.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ]; then
  bash scripts/install-deps.sh
else
  echo "setup: not running as root; assuming the build dependencies are installed" >&2
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
mkdir -p build/example
tool=./build/tools/vellumix-book
# The build's status lines go to a log; warnings and errors are shown.
build_example() {
  local source=$1 out=$2
  shift 2
  if ! "$tool" build "$source" -o "$out" "$@" 2>build/example/build.log; then
    cat build/example/build.log >&2
    exit 1
  fi
  grep -E '^(warning|error):' build/example/build.log >&2 || true
  echo "Book written to $out"
  "$tool" check "$out"
}
build_example examples/example.lml build/example/example.ldb
build_example examples/dictionary.lml build/example/dictionary.ldb --dictionary
