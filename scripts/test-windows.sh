#!/usr/bin/env bash
# Cross-compiles Velmorin for 64-bit Windows with MinGW-w64, makes the zip and the installer
# (makensis), and runs the Windows tests: the CTest cases labelled wine in the cross build
# (tests/win32/e2e_wine.py), each under Wine on a virtual X server and a Wine prefix of its own,
# checked from outside. Installs what it needs on Debian 12.
#
# VELMORIN_LINUX_BUILD_DIR (default: build) is the Linux build whose tools and pictures the
# Windows ones must match; they are brought up to date first. Arguments go to ctest, e.g.
# `-R wine_windowed` for one case.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORIN_BUILD_PACKAGES[@]}" "${VELMORIN_WINDOWS_PACKAGES[@]}" python3

jobs=$(nproc)
linux_build=${VELMORIN_LINUX_BUILD_DIR:-build}
case $linux_build in
/*) ;;
*) linux_build=$PWD/$linux_build ;;
esac
win_build=build-windows
start_time=$SECONDS

echo "== Linux build to compare with ($linux_build/)"
if [ ! -f "$linux_build/CMakeCache.txt" ]; then
    cmake -S . -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$linux_build" -j "$jobs" --target velmorin-trace velmorin-bmp pictures icon \
    >/dev/null

echo "== Windows cross build ($win_build/)"
cmake -S . -B "$win_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORIN_WERROR=ON \
    -DVELMORIN_PICTURES_DIR="$linux_build/bitmap" -DVELMORIN_LINUX_BUILD_DIR="$linux_build" \
    -DVELMORIN_WINDOWS_ICON="$linux_build/icon/velmorin.ico" >/dev/null
cmake --build "$win_build" -j "$jobs"

echo "== the Windows zip"
# The cross build cannot paint the pictures, so the zip takes the Linux build's: the same bytes.
rm -f "$win_build"/velmorin-*-win64.zip
if ! (cd "$win_build" && cpack -G ZIP >cpack.log 2>&1); then
    cat "$win_build/cpack.log" >&2
    exit 1
fi

echo "== the Windows installer"
rm -f "$win_build"/velmorin-*-setup.exe
if ! cmake --build "$win_build" --target installer >"$win_build/installer.log" 2>&1; then
    cat "$win_build/installer.log" >&2
    exit 1
fi

echo "== the tests under Wine"
rm -f "$win_build"/wine-cpu-*.txt
ctest --test-dir "$win_build" -L wine --output-on-failure -j "$jobs" "$@"

# Measured by the cases, printed here: ctest shows nothing of a case that passed.
if [ -f "$win_build/wine-cpu-saver.txt" ] && [ -f "$win_build/wine-cpu-desktop.txt" ]; then
    echo "figure: CPU of one core: $(cat "$win_build/wine-cpu-saver.txt")," \
        "$(cat "$win_build/wine-cpu-desktop.txt")"
fi
echo "== Windows tests passed in $((SECONDS - start_time)) s"
