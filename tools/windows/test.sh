#!/usr/bin/env bash
# Builds the Windows program, its tests and its ZIP (tools/windows/build.sh), then runs the
# Windows checks under Wine: the suites, the layout at two DPIs, the real window and the ZIP.
# Prints how long each step took.
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/install-deps.sh wine wine64 xvfb xauth xdotool openbox imagemagick unzip zip fonts-wine
started=$SECONDS
tools/windows/build.sh
built=$SECONDS
(cd build-win && ctest --output-on-failure)
echo "Windows: built in $((built - started)) s, tested under Wine in $((SECONDS - built)) s"
