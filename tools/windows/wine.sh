# Running Windows programs under Wine, for the Windows checks; sourced by each.

for tool in wine wineboot wineserver xvfb-run; do
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
