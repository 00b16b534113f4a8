#!/usr/bin/env bash
# The Windows program under Wine in a real X server with a window manager, driven from
# outside as a user would: the demo image named on the command line under a name that is not
# ASCII, a price typed, Apply, Ctrl+Q; then the image's bytes are checked on disk. Screenshots
# go to BUILD_FOLDER/wine-shots; window.png there is the README's picture of the program under
# Wine.
#   real-window.sh BUILD_FOLDER DLL_FOLDERS PROGRAM.exe DEMO_IMAGE
set -euo pipefail
. "$(dirname "$0")/../../tools/windows/wine.sh"
. "$(dirname "$0")/../../tools/desktop.sh"
need tools/windows/test.sh xdotool openbox import cmp
run_in_x "$0" "$@"

build=$1 dlls=$2 program=$3 demo=$4
shots=$build/wine-shots
mkdir -p "$shots"
work=$(mktemp -d)
fresh_prefix "$build/wine-prefix-window"
openbox 2>/dev/null & manager=$!
trap 'wineserver -k 2>/dev/null || true; kill "$manager"; rm -rf "$work"' EXIT
WINEPATH=$(windows_path_list "$dlls")
export WINEPATH

fail() { echo "FAIL: $*"; import -window root "$shots/failure.png" || true; exit 1; }

echo "== open the demo image named on the command line, type a price, Apply, quit"
# Beyond what the ANSI code page holds, so only the wide command line brings it whole; Wine
# passes it on as UTF-8.
named='Kestrune – ü日本.pce'
cp "$demo" "$work/$named"
started=$SECONDS
(cd "$work" && LC_ALL=C.UTF-8 exec wine "$program" "$named") >"$work/wine.log" 2>&1 & pid=$!
wid=$(window --name "$caption") || fail "main window did not appear"
echo "The window appeared after $((SECONDS - started)) s"
type_price "$wid" 1234
click_at "$wid" 487 371 # ApplyCMD
xdotool mousemove 0 0
sleep 0.5
import -window "$wid" "$shots/window.png"
xdotool key ctrl+q
check_ended "$pid" Ctrl+Q
check_price_written "$work/$named" "$demo"
echo "Wine real window: 1 passed, 0 failed"
