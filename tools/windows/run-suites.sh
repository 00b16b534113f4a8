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
failed=0
for suite in "$@"; do
  run_suite "$build/wine-results/$(basename "$suite" .exe).txt" "$suite" || failed=$((failed + 1))
done
wineserver -k
echo "Wine suites: $(($# - failed)) passed, $failed failed"
[ "$failed" = 0 ]
