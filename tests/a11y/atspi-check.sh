#!/usr/bin/env bash
# Runs atspi-check.py, a real AT-SPI client, against the program: a session bus, the
# accessibility bus, Xvfb with a window manager, and the demo image opened through the real
# file dialog.
#   atspi-check.sh PROGRAM DEMO_IMAGE
set -euo pipefail
. "$(dirname "$0")/../../tools/desktop.sh"
need tools/test.sh xvfb-run dbus-run-session openbox xdotool /usr/libexec/at-spi-bus-launcher
in_x 1024x768x24 dbus-run-session -- "$0" "$@"

program=$1 demo=$2
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

openbox >/dev/null 2>&1 & pids+=($!)
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & pids+=($!)
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
sleep 1

cp "$demo" "$work/demo.pce"
"$program" & pids+=($!)
window --pid "${pids[-1]}" >/dev/null || fail "no open-file dialog"
sleep 0.5
xdotool type --delay 15 "$work/demo.pce"
xdotool key Return
window --name "$caption" >/dev/null || fail "no main window"

timeout 300 /usr/bin/python3 "$(dirname "$0")/atspi-check.py" "$(basename "$program")"
