#!/usr/bin/env bash
# Builds the demo when needed and runs it. Until the window shell exists it runs the headless
# trace of the simulation instead.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORIN_BUILD_PACKAGES[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target velmorin-trace
echo "The window is not built yet: running the headless trace of the simulation (seed 1, 5 frames)." >&2
./build/tools/velmorin-trace --seed 1 --frames 5 --dt 0.015
