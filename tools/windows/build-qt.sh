#!/usr/bin/env bash
# Puts Qt 6.4.2 for 64-bit Windows (Core, Gui, Widgets, Test; MinGW-w64) into a cache folder
# outside the repository and prints its path; does nothing when it is already there. With
# --check it only says, by its exit status, whether it is there.
#   KST_WINDOWS_CACHE  the cache folder (default ~/.cache/kestrune-toolbox/windows)
#   KST_QT_ARCHIVE     a prebuilt archive to unpack (default ../shared/windows/, beside the
#                      repository); without one, Qt is built from Debian's qt6-base source,
#                      which takes about 40 minutes on two cores.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
cache=${KST_WINDOWS_CACHE:-$HOME/.cache/kestrune-toolbox/windows}
prefix=$cache/qt6-mingw
archive=${KST_QT_ARCHIVE:-$repo/../shared/windows/qt6.4.2-mingw-w64-x86_64.tar.xz}
# The archive that was built and checked under Wine; another one is refused.
archive_sha256=f722620c08460c44e95b76ae173e55c1798df82b775787e818571ccdcc2ca29d
debian_version=6.4.2+dfsg-10

# The stamp is written last, so an interrupted unpack or build is done again.
if [ -f "$prefix/.complete" ]; then
  [ "${1:-}" = --check ] || echo "$prefix"
  exit 0
fi
[ "${1:-}" != --check ] || exit 1

"$repo/tools/install-deps.sh" g++-mingw-w64-x86-64-posix ninja-build xz-utils >&2
mkdir -p "$cache"
staging=$(mktemp -d "$cache/staging.XXXXXX")
trap 'rm -rf "$staging"' EXIT
trap 'exit 130' INT TERM

if [ -f "$archive" ]; then
  echo "Unpacking $archive" >&2
  echo "$archive_sha256  $archive" | sha256sum --check --quiet
  tar -xJf "$archive" -C "$staging"
else
  echo "No prebuilt Qt for Windows at $archive: building it from Debian's qt6-base" \
    "$debian_version (about 40 minutes on two cores)" >&2
  "$repo/tools/install-deps.sh" dpkg-dev >&2
  # A private source list, so the system's apt configuration stays as it is.
  apt=$staging/apt
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
  echo "deb-src http://deb.debian.org/debian bookworm main" >"$apt/sources.list"
  apt_options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache")
  apt-get -qq "${apt_options[@]}" update >&2
  (cd "$staging" && apt-get -qq "${apt_options[@]}" source "qt6-base=$debian_version" >&2)
  source=$(echo "$staging"/qt6-base-*/)
  # The configure line that made the prebuilt archive: only the modules and plugins the
  # program and its tests load, everything else off. Debian's source leaves out the tablet
  # header the windows plugin needs, and dynamicgl stays on without OpenGL and breaks it.
  cmake -S "$source" -B "$staging/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$repo/tools/windows/mingw-w64-x86_64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
    -DCMAKE_INSTALL_PREFIX="$staging/qt6-mingw" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
    -DFEATURE_icu=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF \
    -DFEATURE_testlib=ON -DFEATURE_widgets=ON -DFEATURE_sql_sqlite=OFF \
    -DINPUT_openssl=no -DFEATURE_tabletevent=OFF -DFEATURE_dynamicgl=OFF >&2
  cmake --build "$staging/build" --parallel "${KST_JOBS:-2}" >&2
  cmake --install "$staging/build" >&2
fi

rm -rf "$prefix"
mv "$staging/qt6-mingw" "$prefix"
touch "$prefix/.complete"
echo "Qt for Windows ready in ${SECONDS} s" >&2
echo "$prefix"
