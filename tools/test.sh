#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
#   tools/test.sh              the normal build, in build/
#   tools/test.sh --sanitize   the same suite built with AddressSanitizer and
#                              UndefinedBehaviorSanitizer, in build-asan/
# The normal run also builds and tests the Windows program under Wine (tools/windows/test.sh)
# when the Qt for Windows is in its cache.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh xvfb xauth xdotool imagemagick appstream desktop-file-utils dpkg-dev \
  lintian man-db \
  valgrind dbus-daemon at-spi2-core openbox python3-pyatspi libreoffice-calc-nogui python3 mednafen \
  faketime

folder=build
# Every test: also the real-window and the packaging tests, whose tools are installed above.
options=(-DKST_REAL_WINDOW_TESTS=ON -DKST_PACKAGING_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = --sanitize ]; then
  folder=build-asan
  options+=(-DCMAKE_BUILD_TYPE=Debug -DKST_SANITIZE=ON)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS="suppressions=$(pwd)/tools/sanitizers/lsan.supp:print_suppressions=0"
fi
tools/test-share.sh
cmake -S . -B "$folder" "${options[@]}" >/dev/null
cmake --build "$folder" --parallel "$(nproc)"
(cd "$folder" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure)

[ "${1:-}" != --sanitize ] || exit 0
if tools/windows/build-qt.sh --check; then
  tools/windows/test.sh
else
  echo "Windows part left out: no Qt for Windows in the cache (tools/windows/build-qt.sh puts it there)"
fi
