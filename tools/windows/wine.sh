# Running Windows programs under Wine, for the Windows checks; sourced by each.

for tool in wine wineboot wineserver xvfb-run; do
  command -v "$tool" >/dev/null || { echo "missing $tool (tools/windows/test.sh installs it)"; exit 1; }
done
# The free font with Tahoma's metrics, from Debian's fonts-wine.
tahoma=/usr/share/wine/fonts/tahoma.ttf
[ -f "$tahoma" ] || { echo "missing $tahoma (fonts-wine; tools/windows/test.sh installs it)"; exit 1; }

# Makes a fresh Wine prefix in FOLDER and uses it from now on. Wine's Mono and Gecko are left
# out: nothing here needs them, and their installers would ask. Windows has Tahoma, which the
# window asks for and is measured for; Debian's Wine does not load the free one unless it lies
# in the prefix's font folder, and falls back to a serif.
fresh_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  rm -rf "$WINEPREFIX"
  local started=$SECONDS
  wineboot -i >/dev/null 2>&1
  wineserver -w
  cp "$tahoma" "$WINEPREFIX/drive_c/windows/Fonts/"
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

# Runs a QtTest suite with further arguments, its report in REPORT, and prints its totals and
# time; a failing suite's whole report is printed too. A QtTest program's output does not reach
# the terminal under Wine, so it goes to a file; a path from / names the same file in Wine,
# whose current drive is the root folder.
#   run_suite REPORT SUITE.exe [ARGUMENT...]
run_suite() {
  local report=$1 suite=$2 started=$SECONDS status=0
  shift 2
  mkdir -p "$(dirname "$report")"
  rm -f "$report"
  wine "$suite" "$@" -o "$report,txt" >/dev/null 2>&1 || status=$?
  echo "$(basename "$report" .txt): $(grep '^Totals:' "$report" 2>/dev/null || echo 'no totals')," \
    "exit status $status, $((SECONDS - started)) s"
  [ "$status" = 0 ] || { cat "$report" 2>/dev/null || true; return 1; }
}
