#!/usr/bin/env bash
# Prints the tests' share of the code: non-blank, non-comment lines of C++, CMake and shell
# under tests/ against the same count of all other code, leaving out the art generator's
# drawing data. The aim is 0.25 to 0.35. The screen-reader check's Python is counted apart.
set -euo pipefail
cd "$(dirname "$0")/.."
code() {
    git ls-files | grep -E "(\.($1)|CMakeLists\.txt|^\.ci/run)$" |
        grep -v -E '^tools/artgen/(portraits|tracks)\.cpp$'
}
count() { xargs -r cat | grep -c -v -E '^\s*((//|#).*)?$'; }
tests=$(code 'cpp|h|sh|cmake' | grep '^tests/' | count)
other=$(code 'cpp|h|sh|cmake' | grep -v '^tests/' | count)
python=$(git ls-files 'tests/*.py' | count)
awk -v t="$tests" -v o="$other" -v p="$python" 'BEGIN {
    printf "Tests: %d lines against %d lines of other code = %.2f (aim 0.25 to 0.35); ", t, o, t / o
    printf "with the %d lines of Python of the screen-reader check %.2f\n", p, (t + p) / o }'
