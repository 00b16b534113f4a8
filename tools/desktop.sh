# For the scripts under tests/ and tools/screenshots.sh: their tools, and driving the program's
# window from outside in an X server; sourced by each. A script that keeps a picture of a
# failure defines its own fail.

caption='^Kestrune Toolbox - Version \(v0\.50\)$'

fail() { echo "FAIL: $*"; exit 1; }

# Ends the script unless every tool is there, naming the script that installs a missing one.
#   need INSTALLER TOOL...
need() {
  local installer=$1 tool
  for tool in "${@:2}"; do
    command -v "$tool" >/dev/null || { echo "missing $tool ($installer installs it)"; exit 1; }
  done
}

# Runs the calling script again in an Xvfb of its own with a screen of that size (and after
# COMMAND, such as dbus-run-session), unless it runs in one already.
#   in_x SCREEN [COMMAND...] "$0" "$@"
in_x() {
  if [ -n "${KST_IN_X:-}" ]; then
    # On a loaded machine the server may take a moment to take clients.
    for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && return 0; sleep 0.1; done
    fail "the X server $DISPLAY takes no clients"
  fi
  export KST_IN_X=1
  exec xvfb-run -a -s "-screen 0 $1" "${@:2}"
}

# Waits up to 30 seconds for a visible window that `xdotool search` finds with these arguments
# (--name PATTERN, --pid PID), and prints its id. A search that meets a window going away
# fails with an X error, so it is asked again.
window() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible "$@" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Clicks at a point of the window's client area, below the menu bar.
click_at() {
  local wid=$1 x=$2 y=$3 height menubar
  height=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
  menubar=$((height - 391))
  xdotool mousemove --window "$wid" "$x" $((y + menubar)) click 1
  sleep 0.3
}

# Types PRICE into the first motor's price box of the Shops page. On a busy machine (Wine) the
# click may still be taken when keys come, and they would be dropped: the keys wait.
#   type_price WINDOW PRICE
type_price() {
  click_at "$1" 63 71 # MotorCostTXT
  xdotool key --delay 100 Home shift+End
  sleep 0.3
  xdotool type --delay 30 "$2"
}

# Fails unless IMAGE is ORIGINAL with only a first motor price of 1234 written: 0x04D2,
# little-endian at 0x179C6 (96710).
#   check_price_written IMAGE ORIGINAL
check_price_written() {
  [ "$(od -An -tx1 -j 96710 -N 2 "$1" | tr -d ' ')" = d204 ] || fail "the price bytes are not d2 04"
  [ "$(cmp -l "$2" "$1" | wc -l || true)" = 2 ] || fail "other bytes changed"
}

# Waits up to 30 seconds for the program PID to end, and fails unless it ended with STATUS (0).
#   check_ended PID WHAT_ENDED_IT [STATUS]
check_ended() {
  timeout 30 tail --pid="$1" -f /dev/null || kill "$1" 2>/dev/null || true
  local status=0
  wait "$1" || status=$?
  [ "$status" = "${3:-0}" ] || fail "exit status $status after $2, expected ${3:-0}"
}
