#!/usr/bin/env bash
# Installs the Debian package into a fresh, minimal Debian 12 made with debootstrap and starts
# it there, to prove the package declares everything it needs. Needs root and network access to
# the Debian mirror; takes a few minutes.
#   tools/check-clean-install.sh [BUILD_FOLDER]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
tools/install-deps.sh debootstrap dpkg-dev
rm -f "$build"/kestrune-toolbox_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/kestrune-toolbox_*_amd64.deb)

root=$(mktemp -d)
trap 'umount "$root/proc" 2>/dev/null || true; rm -rf "$root"' EXIT
debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >/dev/null
mount -t proc proc "$root/proc"
cp "$deb" "$root/tmp/"
chroot "$root" apt-get update -qq
DEBIAN_FRONTEND=noninteractive chroot "$root" apt-get install -y -qq "/tmp/$(basename "$deb")" >/dev/null

# The program waits at its open-file dialog; still running after five seconds means it started.
status=0
chroot "$root" env QT_QPA_PLATFORM=offscreen timeout 5 kestrune-toolbox || status=$?
[ "$status" = 124 ] || { echo "FAIL: the installed program ended with status $status"; exit 1; }
echo "clean install: 1 passed, 0 failed"
