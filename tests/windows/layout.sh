#!/usr/bin/env bash
# tst_window's check of the fixed layout, that every caption fits and every list shows whole
# names, on the Windows platform with its style, at 96 and 144 DPI: Windows at 100% and at
# 150%. The DPI is set as Windows sets it, in the registry (Wine's LogPixels), and Qt scales by
# what the system reports, as it does for a Windows user.
#   layout.sh BUILD_FOLDER DLL_FOLDERS TST_WINDOW.exe
set -euo pipefail
. "$(dirname "$0")/../../tools/windows/wine.sh"
run_in_x "$0" "$@"

build=$1 dlls=$2 suite=$3
fresh_prefix "$build/wine-prefix-layout"
trap 'wineserver -k 2>/dev/null || true' EXIT
WINEPATH=$(windows_path_list "$dlls")
export WINEPATH
failed=0
for dpi in 96 144; do
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -w
  run_suite "$build/wine-results/layout-$dpi-dpi.txt" "$suite" fontsFitTheFixedLayout ||
    failed=$((failed + 1))
done
echo "Wine layout: $((2 - failed)) passed, $failed failed"
[ "$failed" = 0 ]
