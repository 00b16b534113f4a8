#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need, if any is missing.
set -euo pipefail

packages=(g++ make cmake qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev fonts-wine
  fonts-dejavu-core "$@")

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
