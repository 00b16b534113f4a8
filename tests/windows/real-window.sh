#!/usr/bin/env bash
# The Windows program under Wine in a real X server with a window manager, driven from
# outside as a user would: the demo image named on the command line under a name that is not
# ASCII, a price typed, Apply, Ctrl+Q; then the image's bytes are checked on disk. Screenshots
# go to BUILD_FOLDER/wine-shots; window.png there is the README's picture of the program under
# Wine.
#   real-window.sh BUILD_FOLDER DLL_FOLDERS PROGRAM.exe DEMO_IMAGE
set -euo pipefail
. "$(dirname "$0")/../../tools/windows/wine.sh"
. "$(dirname "$0")/window.sh"
for tool in openbox import cmp; do
  command -v "$tool" >/dev/null || { echo "missing $tool (tools/windows/test.sh installs it)"; exit 1; }
done
run_in_x "$0" "$@"

build=$1 dlls=$2 program=$3 demo=$4
shots=$build/wine-shots
mkdir -p "$shots"
work=$(mktemp -d)
export WINEPREFIX=$build/wine-prefix-window
openbox 2>/dev/null & manager=$!
trap 'wineserver -k 2>/dev/null || true; kill "$manager"; rm -rf "$work"' EXIT
fresh_prefix "$WINEPREFIX"
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
wid=$(window_named "$caption") || fail "main window did not appear"
echo "The window appeared after $((SECONDS - started)) s"
click_at "$wid" 63 71 # MotorCostTXT
xdotool key Home shift+End
xdotool type --delay 30 "1234"
click_at "$wid" 487 371 # ApplyCMD
xdotool mousemove 0 0
sleep 0.5
import -window "$wid" "$shots/window.png"
xdotool key ctrl+q
timeout 30 tail --pid="$pid" -f /dev/null || fail "the program did not end"
status=0
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "exit status $status after Ctrl+Q, expected 0"
# 1234 = 0x04D2, little-endian at 0x179C6 (96710); no other byte may change.
[ "$(od -An -tx1 -j 96710 -N 2 "$work/$named" | tr -d ' ')" = d204 ] ||
  fail "the price bytes are not d2 04"
[ "$(cmp -l "$demo" "$work/$named" | wc -l || true)" = 2 ] || fail "other bytes changed"
echo "Wine real window: 1 passed, 0 failed"
