#!/usr/bin/env bash
# Drives the real program in a real X server from outside, as a user would: a file named on
# the command line, tabs, typing, Ctrl+S and Ctrl+Q; then checks the image's bytes. Also
# cancels the dialog at start (the AT-SPI check opens through it), refuses files named on the
# command line and checks --help, --version, a wrong option and a command for scripts.
# Screenshots go to the artefact folder.
#   real-window.sh PROGRAM DEMO_IMAGE ARTEFACT_FOLDER
set -euo pipefail
. "$(dirname "$0")/../../tools/desktop.sh"
need tools/test.sh xvfb-run xdotool import cmp
in_x 1024x768x24 "$0" "$@"

program=$1 demo=$2 artefacts=$3
mkdir -p "$artefacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=xcb

fail() { echo "FAIL: $*"; import -window root "$artefacts/failure.png" || true; exit 1; }
shot() { sleep 0.4; import -window root "$artefacts/$1.png"; }

# Starts the program with FILE, which must be refused with a message of this caption, without
# a dialog before it, and end it with status 1.
refused() {
  "$program" "$1" & pid=$!
  window --name "^$2\$" >/dev/null || fail "no $2 message for $1"
  [ "$(xdotool search --onlyvisible --pid "$pid" | wc -l)" = 1 ] || fail "more than the message"
  xdotool key Return
  check_ended "$pid" "refusing $1" 1
}

# Runs the program without a display: its status in status, its output in out and err.
script() { status=0; env -u DISPLAY "$program" "$@" >"$work/out" 2>"$work/err" || status=$?; }

echo "== --help, --version and a wrong option, without a display"
out=$(env -u DISPLAY "$program" --help) || fail "--help ended with $?"
grep -q '^Usage: kestrune-toolbox \[options\] \[FILE\]$' <<<"$out" || fail "--help printed: $out"
out=$(env -u DISPLAY "$program" --version) || fail "--version ended with $?"
[ "$out" = "kestrune-toolbox 0.50" ] || fail "--version printed: $out"
script --wrong
[ "$status" = 2 ] && [ ! -s "$work/out" ] && grep -q '^Usage: ' "$work/err" ||
  fail "a wrong option ended with $status, printing: $(cat "$work/out" "$work/err")"

echo "== a command for scripts, without a display: its exit statuses (tst_compare checks output)"
script --diff "$demo" "$demo"
[ "$status" = 0 ] || fail "--diff ended with $status, printing: $(cat "$work/out" "$work/err")"
script --diff "$demo"
[ "$status" = 2 ] || fail "--diff with one file ended with $status, expected 2"

echo "== refuse a wrong-size file and a missing file named on the command line"
head -c 1000 "$demo" >"$work/short.pce"
refused "$work/short.pce" 'Cannot proceed'
refused "$work/missing.pce" WTF

echo "== cancel at start"
"$program" & pid=$!
window --pid "$pid" >/dev/null || fail "no dialog shown"
sleep 0.5
xdotool key Escape
window --name '^WTF$' >/dev/null || fail "no WTF message after cancelling"
shot cancelled
xdotool search --onlyvisible --name "$caption" >/dev/null 2>&1 && fail "main window shown"
xdotool key Return
check_ended "$pid" "the WTF message" 1

echo "== open a file named on the command line, switch tabs, type a price, save, quit"
cp "$demo" "$work/named.pce"
(cd "$work" && exec "$program" named.pce) & pid=$!
wid=$(window --name "$caption") || fail "main window did not appear"
[ "$(xdotool search --onlyvisible --pid "$pid")" = "$wid" ] || fail "a dialog was shown"
shot shops
click_at "$wid" 110 28 # the Enemy Racers tab
shot enemy-racers
click_at "$wid" 36 28 # back to Shops
type_price "$wid" 1234
shot typed-price
xdotool key ctrl+s
sleep 0.3
xdotool key ctrl+q
check_ended "$pid" Ctrl+Q
check_price_written "$work/named.pce" "$demo"
echo "e2e: 7 passed, 0 failed"
