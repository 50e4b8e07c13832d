#!/usr/bin/env bash
# Builds the browser version into build-web/site/: index.html and what it loads (the script and
# the WebAssembly program, and the painter that paints the pictures in the page). Any static web
# server can serve that folder.
# Installs Emscripten with apt-get when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORIN_WEB_PACKAGES[@]}"
source scripts/web_env.sh

emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMORIN_WERROR=ON \
    -DVELMORIN_BUILD_TESTS=OFF -DVELMORIN_BUILD_BENCH=OFF >/dev/null
site=build-web/site
rm -f "$site/index.data" # the pictures, packed by builds from before they were painted in the page
cmake --build build-web -j "$(web_jobs)" --target velmorin velmorin-trace

echo
echo "Built $site/ ($(du -sh "$site" | cut -f1)):"
ls -l "$site" | tail -n +2
echo
echo "Serve it with any static web server, for example:"
echo "    python3 -m http.server 8000 --directory $site"
echo "then open http://localhost:8000/ (Escape stops it; any key starts it again)."
echo "Fixed steps for comparisons: http://localhost:8000/?seed=7&frames=200&dt=0.015"
