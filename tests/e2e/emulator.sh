#!/usr/bin/env bash
# Tools > Run in Emulator with the real Mednafen in a real X server: a price typed, F5, Apply;
# Mednafen, found by the editor itself, starts on the image, whose file already holds the price
# when its window appears, and the editor still takes input meanwhile. Mednafen keeps its
# settings in ~/.mednafen, so HOME is a scratch folder; the editor's settings give it arguments
# that need neither sound nor OpenGL, which Xvfb lacks. Takes docs/emulator.png's picture.
#   emulator.sh PROGRAM DEMO_IMAGE ARTEFACT_FOLDER
set -euo pipefail
. "$(dirname "$0")/../../tools/desktop.sh"
need tools/test.sh xvfb-run openbox xdotool import
[ -x /usr/games/mednafen ] || need tools/test.sh mednafen
in_x 1600x900x24 "$0" "$@"

program=$1 demo=$2 artefacts=$3
mkdir -p "$artefacts"
work=$(mktemp -d)
emulator=
openbox 2>/dev/null & manager=$!
trap '[ -z "$emulator" ] || kill "$emulator" 2>/dev/null; kill "$manager" 2>/dev/null; rm -rf "$work"' EXIT
export HOME=$work/home QT_QPA_PLATFORM=xcb
unset XDG_CONFIG_HOME
mkdir -p "$HOME/.config/kestrune-toolbox"
printf '[Emulator]\narguments=-sound 0 -video.driver softfb %%f\n' \
  >"$HOME/.config/kestrune-toolbox/kestrune-toolbox.ini"
image="$work/my game.pce"
cp "$demo" "$image"

fail() { echo "FAIL: $*"; import -window root "$artefacts/emulator-failure.png" || true; exit 1; }
# The first motor's price as four hex digits, little-endian at 0x179C6 (96710).
price() { od -An -tx1 -j 96710 -N 2 "$image" | tr -d ' '; }
# Waits for the Mednafen whose command line names the image, and prints its process id.
emulator_on_image() {
  for _ in $(seq 100); do
    for pid in $(pgrep -x mednafen || true); do
      tr '\0' '\n' <"/proc/$pid/cmdline" | grep -qxF "$image" && { echo "$pid"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

# The window manager is ready once it has put up its desktops.
for _ in $(seq 50); do xdotool get_num_desktops >/dev/null 2>&1 && break; sleep 0.1; done
"$program" "$image" & pid=$!
wid=$(window --pid "$pid") || fail "the editor's window did not appear"
xdotool windowfocus --sync "$wid"
eval "$(xdotool getwindowgeometry --shell "$wid")"

echo "== a price typed, F5, Apply: Mednafen starts on the image as the window shows it"
type_price "$wid" 450
xdotool key F5
sleep 1
xdotool key Return # Apply, the question's default
emulator=$(emulator_on_image) || fail "no mednafen process with the image's path"
[ "$(price)" = c201 ] || fail "the image held $(price) when mednafen started, not 450"
mwid=$(window --pid "$emulator") || fail "mednafen's window did not appear"
# Side by side for the picture: the editor at the left, Mednafen at its right.
xdotool windowmove --sync "$wid" 8 30 windowmove --sync "$mwid" "$((WIDTH + 24))" 10
sleep 2
eval "$(xdotool getwindowgeometry --shell "$mwid")"
import -window root -crop "$((X + WIDTH + 4))x$((Y + HEIGHT + 4))+0+0" +repage \
  "$artefacts/emulator.png"

echo "== the editor still takes input while Mednafen runs"
xdotool windowfocus --sync "$wid"
type_price "$wid" 1234
xdotool key ctrl+s
sleep 0.5
[ "$(price)" = d204 ] || fail "Ctrl+S while mednafen ran left $(price), not 1234"
kill -0 "$emulator" || fail "mednafen ended before it was asked to"
xdotool key ctrl+q
check_ended "$pid" Ctrl+Q
kill "$emulator"
emulator=
[ "$(cmp -l "$demo" "$image" | wc -l || true)" = 2 ] || fail "other bytes changed"
echo "e2e emulator: 2 passed, 0 failed"
