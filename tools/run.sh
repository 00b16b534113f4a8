#!/usr/bin/env bash
# Installs what is missing, builds the editor and a demo image, and starts the editor, on FILE
# when one is named (tools/run.sh FILE), otherwise with the open-file dialog.
set -euo pipefail
# FILE is named from the caller's folder; the build runs from the project's.
files=()
for file in "$@"; do
  case $file in /*) files+=("$file") ;; *) files+=("$PWD/$file") ;; esac
done
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target kestrune-toolbox demo-rom
[ ${#files[@]} -gt 0 ] || echo "No ROM image at hand? Choose $(pwd)/build/demo/kestrune-demo.pce in the dialog."
exec build/kestrune-toolbox "${files[@]}"
