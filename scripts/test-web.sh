#!/usr/bin/env bash
# The browser build's tests: the simulation compiled to WebAssembly and run under node prints the
# native trace byte for byte, and the page in headless Chromium loads cleanly, moves, stops on
# Escape and draws the frames velmorin-capture draws. Builds build-web/ (scripts/web.sh) and the
# native tools in build/ as needed; installs Emscripten and Chromium when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORIN_BUILD_PACKAGES[@]}" "${VELMORIN_WEB_PACKAGES[@]}" \
    "${VELMORIN_WEB_TEST_PACKAGES[@]}"
source scripts/web_env.sh

echo "== building the site (build-web/) and the native tools (build/)"
./scripts/web.sh >/dev/null
if [ ! -f build/build.ninja ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORIN_WERROR=ON >/dev/null
fi
cmake --build build -j "$(web_jobs)" --target velmorin-trace velmorin-capture pictures >/dev/null

echo "== velmorin-trace in WebAssembly under node against the native build"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
for args in "--seed 7 --frames 400 --dt 0.015 --particles" \
            "--seed 4294967295 --frames 20000 --dt 0.02" \
            "--seed 0 --frames 300 --dt 0 --particles" \
            "--seed 123 --frames 3000 --dt 0.25" \
            "--seed 5 --frames x"; do
    # shellcheck disable=SC2086 # the arguments are meant to split
    native_status=0; ./build/tools/velmorin-trace $args >"$scratch/native" 2>&1 || native_status=$?
    # shellcheck disable=SC2086
    web_status=0; $VELMORIN_NODE build-web/tools/velmorin-trace.js $args >"$scratch/web" 2>&1 ||
        web_status=$?
    if cmp -s "$scratch/native" "$scratch/web" && [ "$native_status" = "$web_status" ]; then
        echo "ok   $args ($(wc -l <"$scratch/native") lines, status $web_status)"
    else
        echo "FAIL $args: the outputs or statuses ($native_status, $web_status) differ"
        failed=1
    fi
done

echo "== the page in headless Chromium"
node tests/web/page_test.mjs build-web/site build/tools/velmorin-capture build build-web/page-test ||
    failed=1
echo "site folder: $(du -sb build-web/site | cut -f1) bytes"
exit "$failed"
