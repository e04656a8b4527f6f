#!/usr/bin/env bash
# Installs what is missing, builds, and compiles the bundled example book.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
out=build/example/example.ldb
mkdir -p build/example
./build/tools/vellumix-book build examples/example.lml -o "$out"
echo "Book written to $out"
./build/tools/vellumix-book check "$out" >/dev/null && echo "Check: structure OK"
