#!/usr/bin/env bash
# Builds the Debian package velmorin_<version>_amd64.deb in its own build folder: installed into
# /usr with the programs in /usr/games, as Debian's games are, and built with Debian's
# hardening flags. Prints the package's path on the last line.
# Usage: scripts/package.sh [build-dir]   (default build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORIN_BUILD_PACKAGES[@]}" "${VELMORIN_PACKAGE_PACKAGES[@]}"

build=${1:-build-package}
# CMake takes the flags from the environment when it first configures the folder.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)"
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CFLAGS CXXFLAGS LDFLAGS

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORIN_WERROR=ON \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
    -DVELMORIN_BUILD_TESTS=OFF -DVELMORIN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" >&2
rm -f "$build"/velmorin_*.deb
(cd "$build" && cpack -G DEB) >&2
package=$(ls "$build"/velmorin_*_amd64.deb)
case $package in
/*) echo "$package" ;;
*) echo "$PWD/$package" ;;
esac
