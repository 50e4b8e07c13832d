#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, then the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer. Installs what it needs on Debian 12.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORIN_BUILD_PACKAGES[@]}" "${VELMORIN_TEST_PACKAGES[@]}"

jobs=$(nproc)

echo "== build and test (build/)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORIN_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== unit tests under ASan and UBSan (build-sanitize/)"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMORIN_WERROR=ON \
    -DVELMORIN_SANITIZE=ON -DVELMORIN_BUILD_BENCH=OFF >/dev/null
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -L unit

echo "== all tests passed"
