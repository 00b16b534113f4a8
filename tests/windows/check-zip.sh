#!/usr/bin/env bash
# Packs the ZIP for Windows and checks it as a user gets it: exactly the files it should hold,
# unpacked into a clean Wine prefix with a file named "portable" put beside the program, and
# started there with its own demo image, with no DLL of Qt or of the compiler but its own. A
# price is typed and applied, and Quit ends it: the price is written, and the backup taken
# before it lies in the program's folder, none in the user's.
#   check-zip.sh BUILD_FOLDER DEMO_IMAGE
set -euo pipefail
. "$(dirname "$0")/../../tools/windows/wine.sh"
. "$(dirname "$0")/../../tools/desktop.sh"
need tools/windows/test.sh xdotool unzip
run_in_x "$0" "$@"

build=$1 demo=$2
folder=kestrune-toolbox-0.50-win64
zip=$build/$folder.zip

(cd "$build" && cpack -G ZIP >/dev/null)
expected=(KST.tbl LICENSE.txt README.md kestrune-demo.pce kestrune-toolbox.exe kestrune-window.dll
  Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/ platforms/qwindows.dll
  styles/ styles/qwindowsvistastyle.dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll
  licences/ licences/GPL-2.txt licences/GPL-3.txt licences/LGPL-3.txt licences/SOURCES.txt
  licences/gcc-mingw-w64-copyright.txt licences/mingw-w64-copyright.txt
  licences/qt6-base-copyright.txt)
diff <(printf "$folder/%s\n" "${expected[@]}" | sort) <(unzip -Z1 "$zip" | sort) ||
  fail "the ZIP does not hold exactly the expected files"

fresh_prefix "$build/wine-prefix-zip"
trap 'wineserver -k 2>/dev/null || true' EXIT
unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM
unzip -q "$zip" -d "$WINEPREFIX/drive_c"
unpacked=$WINEPREFIX/drive_c/$folder
touch "$unpacked/portable"
# A window program prints its version where its output goes, here into a pipe.
version=$(wine "C:\\$folder\\kestrune-toolbox.exe" --version 2>/dev/null | tr -d '\r')
[ "$version" = "kestrune-toolbox 0.50" ] || fail "--version printed \"$version\""
wine "C:\\$folder\\kestrune-toolbox.exe" "C:\\$folder\\kestrune-demo.pce" >/dev/null 2>&1 & pid=$!
wid=$(window --name "$caption") || fail "the window did not appear"
[ "$(xdotool search --onlyvisible --name . | wc -l)" = 1 ] || fail "more than the window shown"
type_price "$wid" 1234
click_at "$wid" 487 371 # ApplyCMD
click_at "$wid" 621 371 # QuitCMD
check_ended "$pid" Quit
check_price_written "$unpacked/kestrune-demo.pce" "$demo"
mapfile -t backups < <(find "$unpacked/data" -name '*.bak' 2>/dev/null)
[ "${#backups[@]}" = 1 ] || fail "${#backups[@]} backups in the program's data folder, expected 1"
cmp "$demo" "${backups[0]}" || fail "the backup is not the demo image as it was"
[ -z "$(find "$WINEPREFIX/drive_c/users" -iname kestrune-toolbox)" ] ||
  fail "the program kept data in the user's folder"
echo "ZIP: $(du -k "$zip" | cut -f1) KiB, $(unzip -Z1 "$zip" | wc -l) entries; started in Wine" \
  "with \"portable\", a price applied, quit"
