#!/usr/bin/env bash
# Installs what is missing (as root), builds everything, and compiles the
# bundled example book into build/example/example.ldb.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ]; then
  bash scripts/install-deps.sh
else
  echo "setup: not running as root; assuming the build dependencies are installed" >&2
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
out=build/example/example.ldb
mkdir -p build/example
# Batch mode leaves out the notes about tabs and 8-bit characters that the
# example uses on purpose.
./build/tools/vellumix-book build examples/example.lml -o "$out" --batch
echo "Book written to $out"
./build/tools/vellumix-book check "$out"
