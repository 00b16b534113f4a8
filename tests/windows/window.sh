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
