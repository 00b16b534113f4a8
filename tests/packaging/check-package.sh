#!/usr/bin/env bash
# Installs the build into a scratch root and builds the Debian package, then checks what a
# desktop needs: the program and KST.tbl in one folder, a working bin/ link, desktop entry,
# icons, AppStream metadata and a manual page that their validators accept, declared
# dependencies, one version throughout, and a package that lintian finds no fault in.
#   check-package.sh BUILD_FOLDER
set -euo pipefail
. "$(dirname "$0")/../../tools/desktop.sh"
need tools/test.sh desktop-file-validate appstreamcli dpkg-deb dpkg-shlibdeps lintian man
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
program=$root/usr/lib/kestrune-toolbox/kestrune-toolbox
[ -x "$program" ] || fail "no program in lib/kestrune-toolbox"
[ -f "$root/usr/lib/kestrune-toolbox/KST.tbl" ] || fail "no KST.tbl beside the program"
# A relative link, so the package's files hold wherever the root is; it leads to the program.
[ "$(readlink "$root/usr/bin/kestrune-toolbox")" = ../lib/kestrune-toolbox/kestrune-toolbox ] ||
  fail "bin/kestrune-toolbox does not lead to the program"
desktop-file-validate "$root/usr/share/applications/net.kestrune.toolbox.desktop"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/net.kestrune.toolbox.metainfo.xml"
warnings=$(man --warnings -l "$root/usr/share/man/man1/kestrune-toolbox.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page has faults: $warnings"
for size in 16 32 48 64 128 256; do
  [ -f "$root/usr/share/icons/hicolor/${size}x${size}/apps/net.kestrune.toolbox.png" ] ||
    fail "no ${size}x${size} icon"
done

rm -f "$build"/kestrune-toolbox_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/kestrune-toolbox_*_amd64.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-wine fonts-dejavu-core; do
  grep -q "$package" <<<"$depends" || fail "the package does not depend on $package"
done
contents=$(dpkg-deb -c "$deb")
for path in ./usr/lib/kestrune-toolbox/kestrune-toolbox ./usr/lib/kestrune-toolbox/KST.tbl \
            ./usr/lib/kestrune-toolbox/window/kestrune-window.so \
            ./usr/bin/kestrune-toolbox ./usr/share/applications/net.kestrune.toolbox.desktop; do
  grep -q " $path" <<<"$contents" || fail "the package lacks $path"
done
version=$("$program" --version | cut -d ' ' -f 2)
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/net.kestrune.toolbox.metainfo.xml" ||
  fail "the metainfo's release is not $version"
zcat "$root/usr/share/doc/kestrune-toolbox/changelog.gz" | sed -n 1p | grep -qF "($version)" ||
  fail "the changelog's last entry is not $version"
# Errors and warnings fail; information tags do not (the build is fortified, but no call has
# a buffer whose size the compiler knows, which lintian reports as unfortified).
lintian --pedantic --allow-root --fail-on error,warning "$deb" || fail "lintian found faults"
echo "packaging: 1 passed, 0 failed"
