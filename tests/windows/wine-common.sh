# Shared by the Wine checks, sourced by each.

for tool in wine wineboot wineserver xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "missing $tool (tools/windows/test.sh installs it)"; exit 1; }
done

# Makes a fresh Wine prefix in FOLDER and uses it from now on. Wine's Mono and Gecko are left
# out: nothing here needs them, and their installers would ask.
fresh_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  rm -rf "$WINEPREFIX"
  local started=$SECONDS
  wineboot -i >/dev/null 2>&1
  wineserver -w
  echo "Fresh Wine prefix in $((SECONDS - started)) s: $WINEPREFIX"
}

# The folders of a colon-separated list as Wine's drive Z: names them, separated by ";".
windows_path_list() {
  local folder list=()
  IFS=: read -r -a folders <<<"$1"
  for folder in "${folders[@]}"; do
    list+=("Z:${folder//\//\\}")
  done
  (IFS=";" && echo "${list[*]}")
}

# Wine needs an X display even for console programs: the calling script runs again inside
# its own Xvfb unless it already has one.
run_in_x() {
  if [ -z "${KST_WINE_IN_X:-}" ]; then
    export KST_WINE_IN_X=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$@"
  fi
}

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
