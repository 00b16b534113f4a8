#!/usr/bin/env bash
# Builds the program for 64-bit Windows and its tests in build-win/, against the Qt for MinGW
# that tools/windows/build-qt.sh keeps in its cache (unpacked or built first if missing), and
# packs the ZIP. Further arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/install-deps.sh g++-mingw-w64-x86-64-posix ninja-build zip
qt=$(tools/windows/build-qt.sh)
started=$SECONDS

# KST.tbl and the demo image are written during the build by two programs of our own, which
# must run here: they come from a native build of the same sources.
cmake -S . -B build-win/host -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-win/host --parallel "$(nproc)" --target kst-tablegen kestrune-demo-rom

cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$(pwd)/tools/windows/mingw-w64-x86_64.cmake" \
  -DQT_HOST_PATH=/usr -DKST_HOST_TOOLS="$(pwd)/build-win/host" "$@" >/dev/null
cmake --build build-win --parallel "$(nproc)"
(cd build-win && cpack -G ZIP >/dev/null)
echo "Windows build and ZIP in $((SECONDS - started)) s: $(ls build-win/*.zip)"
