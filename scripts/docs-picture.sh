#!/usr/bin/env bash
# Regenerates docs/velmorin.png, the picture at the top of the README: one frame of the demo from
# a fixed seed, rendered offscreen by velmorin-capture at 1280x720 with the background filling
# the frame, as on a wide screen, and scaled to 640x360. It is the one generated file the
# repository keeps; run this after changing what the demo draws.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORIN_BUILD_PACKAGES[@]}" imagemagick

# A seed and frame count at which all five spheres are over the background.
seed=42
frames=600
dt=0.015

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target velmorin-capture pictures >/dev/null

frame=$(mktemp --suffix=.png)
trap 'rm -f "$frame"' EXIT
build/tools/velmorin-capture --seed "$seed" --frames "$frames" --dt "$dt" --dir build \
    --size 1280x720 --background fill --out "$frame"
mkdir -p docs
# -strip leaves out the time stamps, so an unchanged frame gives an unchanged file.
/usr/bin/convert "$frame" -resize 640x360 -strip docs/velmorin.png
echo "Wrote docs/velmorin.png ($(stat -c %s docs/velmorin.png) bytes)"
