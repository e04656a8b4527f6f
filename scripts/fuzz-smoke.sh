#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each one
# briefly on a copy of its corpus, two at a time. A target that finds a
# fault fails the run; its input is kept under build-fuzz/artifacts/.
#   FUZZ_SECONDS  seconds per target (default 20)
#   FUZZ_TARGETS  targets to run (default: all four)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-20}
targets=(${FUZZ_TARGETS:-build_fuzz png_fuzz bookinfo_fuzz ldbfile_fuzz})
build=build-fuzz

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz-smoke: clang++ is missing; scripts/install-deps.sh installs it" >&2
  exit 1
fi
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVX_FUZZ=ON -DVX_TESTS=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts="$build/artifacts"
mkdir -p "$artifacts"

# run TARGET: fuzzes a scratch copy of the corpus; the log goes to $work.
run() {
  local target=$1
  local corpus="$work/$target"
  local dict=()
  mkdir -p "$corpus"
  cp fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
  if [ -f fuzz/"$target".dict ]; then
    dict=(-dict=fuzz/"$target".dict)
  fi
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    "${dict[@]}" -artifact_prefix="$artifacts/$target-" "$corpus" >"$work/$target.log" 2>&1
}

# report TARGET STATUS: one line of figures, or the end of the log.
report() {
  local target=$1 status=$2 log="$work/$1.log"
  if [ "$status" -eq 0 ]; then
    local execs cov
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1)
    echo "fuzz-smoke: $target: ${execs:-?} runs in ${seconds}s, ${cov:-cov: ?}"
  else
    echo "fuzz-smoke: $target FAILED (status $status):" >&2
    grep -v '^#' "$log" | tail -n 40 >&2
  fi
}

failed=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pair=("${targets[@]:i:2}")
  pids=()
  for target in "${pair[@]}"; do
    run "$target" &
    pids+=($!)
  done
  for j in "${!pair[@]}"; do
    status=0
    wait "${pids[$j]}" || status=$?
    report "${pair[$j]}" "$status"
    [ "$status" -eq 0 ] || failed=1
  done
done
exit "$failed"
