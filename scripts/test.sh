#!/usr/bin/env bash
# Builds everything and runs every test: the normal build, then the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, a fuzz run, the Debian package installed and
# purged again, the Windows cross build under Wine, and the browser build under node and headless
# Chromium. Installs what it needs on Debian 12.
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
# The GL driver's own leftovers are suppressed; everything of ours must be released. The driver
# runs no thread of its own (llvmpipe rasterises on the caller's, no shader cache writer): one
# still running when the leak checker stops every thread at exit can take the checker down. The
# programs that hold a GL context to the end leave the leak check out altogether
# (tests/render/no_leak_check_at_exit.cpp): its tracer can crash on the driver's state there.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0 \
    LP_NUM_THREADS=0 MESA_SHADER_CACHE_DISABLE=true \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -L unit

echo "== fuzzing the BMP reader for a minute (build-fuzz/)"
./scripts/fuzz.sh 60

echo "== the Debian package: build, lintian, install, run, purge (build-package/)"
./scripts/test-package.sh

echo "== the Windows build under Wine (build-windows/)"
./scripts/test-windows.sh

echo "== the browser build: WebAssembly under node and the page in headless Chromium (build-web/)"
./scripts/test-web.sh

echo "== all tests passed"
