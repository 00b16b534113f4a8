#!/usr/bin/env bash
# Takes the pictures of the "Enemy Racers" page in docs/: the real program in a virtual X
# server at scale 1 and at scale 2, opening the demo image through its file dialog.
#   tools/screenshots.sh [BUILD_FOLDER]     (default: build)
set -euo pipefail

for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "missing $tool (apt-get install xvfb xauth xdotool imagemagick)"; exit 1; }
done

docs=$(cd "$(dirname "$0")/../docs" && pwd)
build=$(cd "${1:-$docs/../build}" && pwd)

if [ -z "${KST_SHOTS_IN_X:-}" ]; then
  export KST_SHOTS_IN_X=1
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$build"
fi

export QT_QPA_PLATFORM=xcb
caption='^Kestrune Toolbox - Version'

# Waits for the visible main window and prints its id.
main_window() {
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$caption" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "the main window did not appear" >&2
  return 1
}

# shoot SCALE FILE: opens the demo image, shows "Enemy Racers" and photographs the window.
shoot() {
  local scale=$1 file=$2 pid wid menubar WINDOW X Y WIDTH HEIGHT SCREEN
  QT_SCALE_FACTOR=$scale "$build/kestrune-toolbox" & pid=$!
  sleep 1.5
  xdotool type --delay 15 "$build/demo/kestrune-demo.pce"
  xdotool key Return
  wid=$(main_window)
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  # The tab's centre lies 110 x 28 logical pixels into the client area, below the menu bar.
  menubar=$((HEIGHT - 391 * scale))
  xdotool mousemove --window "$wid" $((110 * scale)) $((28 * scale + menubar)) click 1
  xdotool mousemove 0 0
  sleep 0.5
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$docs/$file"
  xdotool key ctrl+q
  wait "$pid"
}

shoot 1 window-1x.png
shoot 2 window-2x.png
echo "wrote $docs/window-1x.png and $docs/window-2x.png"
