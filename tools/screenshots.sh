#!/usr/bin/env bash
# Takes the pictures in docs/: the "Enemy Racers" page at scale 1 and at scale 2, opening the
# demo image through its file dialog, and the compare window, the save dialog of Export Patch,
# the preview of Apply Patch, the history and Restore Backup after it, on a changed copy of the demo image, and
# the preview of Import Values and the All Values window. The real program runs in a virtual X
# server.
#   tools/screenshots.sh [BUILD_FOLDER]     (default: build)
set -euo pipefail
. "$(dirname "$0")/desktop.sh"
need tools/test.sh xvfb-run xdotool import

docs=$(cd "$(dirname "$0")/../docs" && pwd)
build=$(cd "${1:-$docs/../build}" && pwd)
in_x 1600x1000x24 "$0" "$build"
export QT_QPA_PLATFORM=xcb

# Prints the id of the visible window whose name matches PATTERN, once there is one.
named_window() { window --name "$1" || { echo "no window named $1" >&2; return 1; }; }
main_window() { named_window "$caption"; }

# shoot SCALE FILE [TAB]: opens the demo image, shows the tab whose centre lies TAB logical
# pixels from the left (110, "Enemy Racers", by default) and photographs the window.
shoot() {
  local scale=$1 file=$2 tab=${3:-110} pid wid menubar WINDOW X Y WIDTH HEIGHT SCREEN
  QT_SCALE_FACTOR=$scale "$build/kestrune-toolbox" & pid=$!
  sleep 1.5
  xdotool type --delay 15 "$build/demo/kestrune-demo.pce"
  xdotool key Return
  wid=$(main_window)
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  # The tabs' centres lie 28 logical pixels into the client area, below the menu bar.
  menubar=$((HEIGHT - 391 * scale))
  xdotool mousemove --window "$wid" $((tab * scale)) $((28 * scale + menubar)) click 1
  xdotool mousemove 0 0
  sleep 0.5
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$docs/$file"
  xdotool key ctrl+q
  wait "$pid"
}

# Waits for the visible window of that name and photographs it into docs/FILE.
shoot_window() {
  local wid WINDOW X Y WIDTH HEIGHT SCREEN
  wid=$(named_window "$1")
  sleep 0.8
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$docs/$2"
}

# Types a path into the file dialog on show and accepts it.
choose() {
  sleep 1
  xdotool type --delay 15 "$1"
  xdotool key Return
}

# Sets values by name in an image, saying nothing of them.
set_values() { "$build/kestrune-toolbox" --set "$@" >/dev/null; }

shoot_patches() {
  local work pid
  work=$(mktemp -d)
  cp "$build/demo/kestrune-demo.pce" "$work/original.pce"
  cp "$work/original.pce" "$work/edited.pce"
  set_values "$work/edited.pce" 'shop.motor[0]=450' 'race.ai[11]=9'
  # Three bytes outside every value, as another tool would change them, for "Other bytes".
  printf 'ZZZ' | dd of="$work/edited.pce" bs=1 seek=$((0x30000)) conv=notrunc status=none
  cp "$work/edited.pce" "$work/next.pce"
  set_values "$work/next.pce" 'shop.body[3]=32000' 'race.prize[11]=1234'
  "$build/kestrune-toolbox" --make-patch "$work/edited.pce" "$work/next.pce" "$work/next.bps"
  # From the images' folder, where the file dialogs start; the backup goes there too.
  (cd "$work" && XDG_DATA_HOME="$work" exec "$build/kestrune-toolbox" edited.pce) & pid=$!
  # Without a window manager the window gets the keyboard only when asked to.
  xdotool windowfocus --sync "$(main_window)"
  xdotool key alt+f m
  choose "$work/original.pce"
  shoot_window '^Compare With Original$' compare.png
  # The compare window stays beside the main window; it gets the keyboard when asked to.
  xdotool windowfocus --sync "$(named_window '^Compare With Original$')"
  xdotool key alt+e
  shoot_window '^Save the patch as$' export-patch.png
  xdotool key Escape
  sleep 0.5
  xdotool windowfocus --sync "$(named_window '^Compare With Original$')"
  xdotool key Escape
  sleep 0.5
  xdotool windowfocus --sync "$(main_window)"
  xdotool key alt+f p
  choose "$work/next.bps"
  shoot_window '^Apply Patch$' apply-patch.png
  xdotool key alt+a
  sleep 0.5
  xdotool windowfocus --sync "$(main_window)"
  xdotool key alt+e h
  shoot_window '^History$' history.png
  xdotool key Escape
  sleep 0.5
  xdotool windowfocus --sync "$(main_window)"
  xdotool key alt+f r
  shoot_window '^Restore Backup$' restore-backup.png
  xdotool key Escape
  sleep 0.5
  xdotool windowfocus --sync "$(main_window)"
  xdotool key ctrl+q
  wait "$pid"
  rm -rf "$work"
}

# Import Values... previews a value list, then View > All Values shows the table with one more
# value typed in and not yet applied.
shoot_values() {
  local work pid
  work=$(mktemp -d)
  cp "$build/demo/kestrune-demo.pce" "$work/game.pce"
  printf 'name,index,label,value\r\nshop.motor,0,Buzz Motor price,450\r\n%s\r\n' \
    'race.prize,11,"Race 12, prize money",1234' > "$work/balance.csv"
  (cd "$work" && XDG_DATA_HOME="$work" exec "$build/kestrune-toolbox" game.pce) & pid=$!
  xdotool windowfocus --sync "$(main_window)"
  xdotool key alt+f i
  choose "$work/balance.csv"
  shoot_window '^Import Values$' import-values.png
  xdotool key alt+a
  sleep 0.5
  xdotool windowfocus --sync "$(main_window)"
  xdotool key ctrl+t
  sleep 0.5
  xdotool windowfocus --sync "$(named_window '^All Values$')"
  # Din Motor's New cell, from the first row's first cell.
  xdotool key Down Right Right Right Right Right Right
  xdotool type --delay 15 "650"
  xdotool key Return
  shoot_window '^All Values$' all-values.png
  xdotool windowfocus --sync "$(main_window)"
  xdotool key ctrl+q
  sleep 0.5
  # The question names the typed value; Discard leaves it unwritten.
  xdotool key alt+d
  wait "$pid"
  rm -rf "$work"
}

shoot 1 window-1x.png
shoot 2 window-2x.png
shoot 1 tab-shops.png 37
cp "$docs/window-1x.png" "$docs/tab-enemy-racers.png"
shoot 1 tab-part-names.png 228
shoot 1 tab-general-text.png 372
shoot_patches
shoot_values
echo "wrote $docs/window-1x.png, $docs/window-2x.png, $docs/tab-*.png, $docs/compare.png," \
  "$docs/export-patch.png, $docs/apply-patch.png, $docs/history.png, $docs/restore-backup.png," \
  "$docs/import-values.png and $docs/all-values.png"
