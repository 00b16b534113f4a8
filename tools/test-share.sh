#!/usr/bin/env bash
# Prints the tests' share of the code: non-blank, non-comment lines under tests/ (C++ and
# scripts) against the same count of all other C++, CMake and shell, leaving out the art
# generator's drawing data. The aim is 0.25 to 0.35.
set -euo pipefail
cd "$(dirname "$0")/.."
code() {
    git ls-files | grep -E '(\.(cpp|h|sh|py|cmake)|CMakeLists\.txt|^\.ci/run)$' |
        grep -v -E '^tools/artgen/(portraits|tracks)\.cpp$'
}
count() { xargs -r cat | grep -c -v -E '^\s*((//|#).*)?$'; }
tests=$(code | grep '^tests/' | count)
other=$(code | grep -v '^tests/' | count)
awk -v t="$tests" -v o="$other" \
    'BEGIN { printf "Tests: %d lines against %d lines of other code = %.2f (aim 0.25 to 0.35)\n", t, o, t / o }'
