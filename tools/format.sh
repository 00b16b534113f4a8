#!/usr/bin/env bash
# Formats the project's C++ sources with clang-format, or with --check lists the files that differ
# from their formatted form and fails, so CI keeps the code as `cmake --build build --target format`
# leaves it.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "format: clang-format is not installed" >&2; exit 1; }
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --check ]; then
  clang-format --dry-run --Werror "${files[@]}"
else
  clang-format -i "${files[@]}"
fi
