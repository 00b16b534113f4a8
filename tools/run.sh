#!/usr/bin/env bash
# Installs what is missing, builds the editor and a demo image, and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target kestrune-toolbox demo-rom
echo "No ROM image at hand? Choose $(pwd)/build/demo/kestrune-demo.pce in the dialog."
exec build/kestrune-toolbox
