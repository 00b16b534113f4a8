#!/usr/bin/env bash
# Runs Windows QtTest suites under Wine, in a fresh prefix inside the build folder, with the
# offscreen platform plugin, and reports each one's totals and time; a failing suite's whole
# report is printed.
#   run-suites.sh BUILD_FOLDER DLL_FOLDERS SUITE.exe...
# DLL_FOLDERS are the colon-separated folders of Qt's DLLs and the compiler's runtime.
set -euo pipefail
. "$(dirname "$0")/wine.sh"
run_in_x "$0" "$@"

build=$1 dlls=$2
shift 2
fresh_prefix "$build/wine-prefix-suites"
WINEPATH=$(windows_path_list "$dlls")
# Wine keeps the QT_ variables from Windows programs but passes WINEQT_ ones without "WINE".
# The offscreen platform finds no fonts of the system's; these have Tahoma's metrics, as the
# window's layout needs.
export WINEPATH WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR='Z:\usr\share\wine\fonts'
results=$build/wine-results
mkdir -p "$results"

failed=0
for suite in "$@"; do
  name=$(basename "$suite" .exe)
  report=$results/$name.txt
  rm -f "$report"
  started=$SECONDS
  status=0
  # A QtTest program's output does not reach the terminal under Wine, so it goes to a file; a
  # path from / names the same file in Wine, whose current drive is the root folder.
  wine "$suite" -o "$report,txt" >/dev/null 2>&1 || status=$?
  echo "$name: $(grep '^Totals:' "$report" 2>/dev/null || echo 'no totals')," \
    "exit status $status, $((SECONDS - started)) s"
  if [ "$status" != 0 ]; then
    failed=$((failed + 1))
    cat "$report" 2>/dev/null || true
  fi
done
wineserver -k
echo "Wine suites: $(($# - failed)) passed, $failed failed"
[ "$failed" = 0 ]
