# Finding and clicking the program's window, for the checks under Wine; sourced by each.

command -v xdotool >/dev/null || { echo "missing xdotool (tools/windows/test.sh installs it)"; exit 1; }

caption='^Kestrune Toolbox - Version \(v0\.50\)$'

# Waits up to 30 seconds for a visible window whose name matches, and prints its id.
window_named() {
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
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

# Types a motor price of 1234 into the first box of the Shops page and clicks Apply. On a busy
# machine Wine may still be taking the click when keys come, and drop them: the keys wait.
type_price_and_apply() {
  click_at "$1" 63 71 # MotorCostTXT
  xdotool key --delay 100 Home shift+End
  sleep 0.3
  xdotool type --delay 30 "1234"
  click_at "$1" 487 371 # ApplyCMD
}

# Fails unless IMAGE is ORIGINAL with only that price written: 1234 = 0x04D2, little-endian at
# 0x179C6 (96710).
check_price_written() {
  [ "$(od -An -tx1 -j 96710 -N 2 "$1" | tr -d ' ')" = d204 ] || fail "the price bytes are not d2 04"
  [ "$(cmp -l "$2" "$1" | wc -l || true)" = 2 ] || fail "other bytes changed"
}

# Waits up to 30 seconds for the program PID to end, and fails unless it ended with status 0.
#   check_ended PID WHAT_ENDED_IT
check_ended() {
  timeout 30 tail --pid="$1" -f /dev/null || fail "the program did not end"
  local status=0
  wait "$1" || status=$?
  [ "$status" = 0 ] || fail "exit status $status after $2, expected 0"
}
