#!/usr/bin/env bash
# Drives the real program in a real X server from outside, as a user would: a file named on
# the command line, tabs, typing, Ctrl+S and Ctrl+Q; then checks the image's bytes. Also
# cancels the dialog at start (the AT-SPI check opens through it), refuses files named on the
# command line and checks --help, --version, a wrong option and a command for scripts.
# Screenshots go to the artefact folder.
#   real-window.sh PROGRAM DEMO_IMAGE ARTEFACT_FOLDER
set -euo pipefail

for tool in xvfb-run xdotool import cmp; do
  command -v "$tool" >/dev/null || { echo "missing $tool (tools/test.sh installs it)"; exit 1; }
done

if [ -z "${KST_E2E_IN_X:-}" ]; then
  export KST_E2E_IN_X=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

program=$1 demo=$2 artefacts=$3
mkdir -p "$artefacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=xcb
caption='^Kestrune Toolbox - Version \(v0\.50\)$'

fail() { echo "FAIL: $*"; import -window root "$artefacts/failure.png" || true; exit 1; }
shot() { sleep 0.4; import -window root "$artefacts/$1.png"; }
# Waits for a visible window whose name matches, and prints its id.
window_named() {
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
# Waits for the first window of a process (the open-file dialog) to be shown.
first_window() {
  for _ in $(seq 150); do
    # A search that meets a window going away fails with an X error, so it is asked again.
    xdotool search --onlyvisible --pid "$1" >/dev/null 2>&1 && { sleep 0.5; return 0; }
    sleep 0.2
  done
  fail "no dialog shown"
}
# Waits for the program to end, at most 20 seconds, and sets status to its exit status.
wait_for_exit() {
  timeout 20 tail --pid="$1" -f /dev/null || kill "$1" 2>/dev/null || true
  status=0
  wait "$1" || status=$?
}
# Clicks at a point of the window's client area, below the menu bar.
click_at() {
  local wid=$1 x=$2 y=$3 height menubar
  height=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
  menubar=$((height - 391))
  xdotool mousemove --window "$wid" "$x" $((y + menubar)) click 1
  sleep 0.3
}

# Starts the program with FILE, which must be refused with a message of this caption, without
# a dialog before it, and end it with status 1.
refused() {
  "$program" "$1" & pid=$!
  window_named "^$2\$" >/dev/null || fail "no $2 message for $1"
  [ "$(xdotool search --onlyvisible --pid "$pid" | wc -l)" = 1 ] || fail "more than the message"
  xdotool key Return
  wait_for_exit "$pid"
  [ "$status" = 1 ] || fail "exit status $status after refusing $1, expected 1"
}

echo "== --help, --version and a wrong option, without a display"
out=$(env -u DISPLAY "$program" --help) || fail "--help ended with $?"
grep -q '^Usage: kestrune-toolbox \[options\] \[FILE\]$' <<<"$out" || fail "--help printed: $out"
out=$(env -u DISPLAY "$program" --version) || fail "--version ended with $?"
[ "$out" = "kestrune-toolbox 0.50" ] || fail "--version printed: $out"
status=0
env -u DISPLAY "$program" --wrong >"$work/out" 2>"$work/err" || status=$?
[ "$status" = 2 ] && [ ! -s "$work/out" ] && grep -q '^Usage: ' "$work/err" ||
  fail "a wrong option ended with $status, printing: $(cat "$work/out" "$work/err")"

echo "== a command for scripts, without a display: its output and exit statuses"
cp "$demo" "$work/changed.pce"
# 1234 = 0x04D2 as the first motor's price, at 0x179C6 (96710).
printf '\322\004' | dd of="$work/changed.pce" bs=1 seek=96710 conv=notrunc status=none
script() { status=0; env -u DISPLAY "$program" "$@" >"$work/out" 2>"$work/err" || status=$?; }
script --diff "$demo" "$work/changed.pce"
[ "$status" = 1 ] && grep -q '^  Buzz Motor price: 300 → 1234 ' "$work/out" ||
  fail "--diff ended with $status, printing: $(cat "$work/out" "$work/err")"
script --diff "$demo"
[ "$status" = 2 ] || fail "--diff with one file ended with $status, expected 2"

echo "== refuse a wrong-size file and a missing file named on the command line"
head -c 1000 "$demo" >"$work/short.pce"
refused "$work/short.pce" 'Cannot proceed'
refused "$work/missing.pce" WTF

echo "== cancel at start"
"$program" & pid=$!
first_window "$pid"
xdotool key Escape
window_named '^WTF$' >/dev/null || fail "no WTF message after cancelling"
shot cancelled
xdotool search --onlyvisible --name "$caption" >/dev/null 2>&1 && fail "main window shown"
xdotool key Return
wait_for_exit "$pid"
[ "$status" = 1 ] || fail "exit status $status after the WTF message, expected 1"

echo "== open a file named on the command line, switch tabs, type a price, save, quit"
cp "$demo" "$work/named.pce"
(cd "$work" && exec "$program" named.pce) & pid=$!
wid=$(window_named "$caption") || fail "main window did not appear"
[ "$(xdotool search --onlyvisible --pid "$pid")" = "$wid" ] || fail "a dialog was shown"
shot shops
click_at "$wid" 110 28 # the Enemy Racers tab
shot enemy-racers
click_at "$wid" 36 28 # back to Shops
click_at "$wid" 63 71 # MotorCostTXT
xdotool key Home shift+End
xdotool type --delay 30 "1234"
shot typed-price
xdotool key ctrl+s
sleep 0.3
xdotool key ctrl+q
wait_for_exit "$pid"
[ "$status" = 0 ] || fail "exit status $status after Ctrl+Q, expected 0"
# 1234 = 0x04D2, little-endian at 0x179C6 (96710); no other byte may change.
[ "$(od -An -tx1 -j 96710 -N 2 "$work/named.pce" | tr -d ' ')" = d204 ] ||
  fail "the price bytes are not d2 04"
[ "$(cmp -l "$demo" "$work/named.pce" | wc -l || true)" = 2 ] || fail "other bytes changed"
echo "e2e: 7 passed, 0 failed"
