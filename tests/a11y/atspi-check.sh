#!/usr/bin/env bash
# Runs atspi-check.py, a real AT-SPI client, against the program: a session bus, the
# accessibility bus, Xvfb with a window manager, and the demo image opened through the real
# file dialog.
#   atspi-check.sh PROGRAM DEMO_IMAGE
set -euo pipefail

for tool in xvfb-run dbus-run-session openbox xdotool /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "missing $tool (tools/test.sh installs it)"; exit 1; }
done

if [ -z "${KST_A11Y_IN_SESSION:-}" ]; then
  export KST_A11Y_IN_SESSION=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- "$0" "$@"
fi

program=$1 demo=$2
here=$(dirname "$0")
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

# Waits for a visible window; a search that meets a window going away meanwhile fails with an
# X error, so it is asked again.
shown() {
  for _ in $(seq 150); do
    xdotool search --onlyvisible "$@" >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  echo "no window $*"
  exit 1
}

cp "$demo" "$work/demo.pce"
"$program" & pids+=($!)
shown --pid "${pids[-1]}"
sleep 0.5
xdotool type --delay 15 "$work/demo.pce"
xdotool key Return
shown --name '^Kestrune Toolbox'

timeout 300 /usr/bin/python3 "$here/atspi-check.py" "$(basename "$program")"
