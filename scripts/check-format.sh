#!/usr/bin/env bash
# Fails when clang-format would change any C++ file of the tree, and lists
# those files. With --fix it formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
# The formatter's output differs between its versions; the style is that of
# Debian 12's clang-format 14.
formatter=""
for candidate in clang-format-14 clang-format; do
  if command -v "$candidate" >/dev/null 2>&1; then
    formatter="$candidate"
    break
  fi
done
if [ -z "$formatter" ]; then
  echo "check-format: clang-format is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
if ! "$formatter" --version | grep -q 'version 14\.'; then
  echo "check-format: warning: $("$formatter" --version) is not clang-format 14; its output may differ" >&2
fi
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  "$formatter" -i "${files[@]}"
  exit 0
fi
# One run over every file; each place it would change is one diagnostic
# naming its file. A run that fails without naming one is a failure too.
status=0
output=$("$formatter" --dry-run --Werror "${files[@]}" 2>&1) || status=$?
mapfile -t changed < <(printf '%s\n' "$output" |
  sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)
if [ "$status" -ne 0 ] && [ ${#changed[@]} -eq 0 ]; then
  printf '%s\n' "$output" >&2
  echo "check-format: $formatter failed (exit $status)" >&2
  exit 1
fi
if [ ${#changed[@]} -ne 0 ]; then
  echo "check-format: clang-format would change ${#changed[@]} file(s); run scripts/check-format.sh --fix:" >&2
  printf '  %s\n' "${changed[@]}" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files follow .clang-format"
