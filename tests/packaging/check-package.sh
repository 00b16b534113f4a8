#!/usr/bin/env bash
# Installs the build into a scratch root and builds the Debian package, then checks what a
# desktop needs: the program and KST.tbl in one folder, a working bin/ link, desktop entry,
# icons and AppStream metadata that their validators accept, and declared dependencies.
#   check-package.sh BUILD_FOLDER
set -euo pipefail
build=$1
for tool in desktop-file-validate appstreamcli dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "missing $tool (tools/test.sh installs it)"; exit 1; }
done
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
program=$root/usr/lib/kestrune-toolbox/kestrune-toolbox
[ -x "$program" ] || fail "no program in lib/kestrune-toolbox"
[ -f "$root/usr/lib/kestrune-toolbox/KST.tbl" ] || fail "no KST.tbl beside the program"
[ "$(readlink "$root/usr/bin/kestrune-toolbox")" = ../lib/kestrune-toolbox/kestrune-toolbox ] ||
  fail "bin/kestrune-toolbox does not lead to the program"
[ "$(readlink -f "$root/usr/bin/kestrune-toolbox")" = "$(readlink -f "$program")" ] ||
  fail "bin/kestrune-toolbox is a broken link"
desktop-file-validate "$root/usr/share/applications/net.kestrune.toolbox.desktop"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/net.kestrune.toolbox.metainfo.xml"
for size in 16 32 48 64 128 256; do
  [ -f "$root/usr/share/icons/hicolor/${size}x${size}/apps/net.kestrune.toolbox.png" ] ||
    fail "no ${size}x${size} icon"
done

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/kestrune-toolbox_*_amd64.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-wine fonts-dejavu-core; do
  grep -q "$package" <<<"$depends" || fail "the package does not depend on $package"
done
contents=$(dpkg-deb -c "$deb")
for path in ./usr/lib/kestrune-toolbox/kestrune-toolbox ./usr/lib/kestrune-toolbox/KST.tbl \
            ./usr/bin/kestrune-toolbox ./usr/share/applications/net.kestrune.toolbox.desktop; do
  grep -q " $path" <<<"$contents" || fail "the package lacks $path"
done
echo "packaging: 1 passed, 0 failed"
