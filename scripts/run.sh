#!/usr/bin/env bash
# Builds the demo when needed and runs it from the folder that holds its pictures. Without a
# display it runs the demo for a few seconds under a virtual 1280x720 X server instead, over the
# whole screen with the background filling it, and saves a screenshot and an animated GIF of it
# into the current folder.
set -euo pipefail
here=$(pwd)
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
source scripts/deps.sh
ensure_packages "${VELMORIN_BUILD_PACKAGES[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target velmorin pictures >/dev/null

has_display() {
    if [ -n "${WAYLAND_DISPLAY:-}" ]; then
        return 0
    fi
    [ -n "${DISPLAY:-}" ] || return 1
    # Trust DISPLAY when there is nothing to ask the server with.
    ! command -v xdpyinfo >/dev/null || xdpyinfo >/dev/null 2>&1
}

cd build
if has_display; then
    exec ./app/velmorin
fi

echo "No display found: running the demo for a few seconds under Xvfb and recording it." >&2
ensure_packages xvfb xauth xdotool x11-apps x11-utils imagemagick

display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x720x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
frames=$(mktemp -d)
demo_pid=""
cleanup() {
    [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$frames"
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

./app/velmorin --desktop &
demo_pid=$!
for _ in $(seq 100); do
    xdotool search --name '^Velmorin$' >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 1
# About four seconds at five pictures a second.
for i in $(seq -w 1 20); do
    xwd -root -silent >"$frames/frame-$i.xwd"
    sleep 0.2
done
xdotool search --name '^Velmorin$' windowfocus --sync key Escape
wait "$demo_pid" || true
demo_pid=""

/usr/bin/convert "$frames/frame-10.xwd" "$here/velmorin-screenshot.png"
/usr/bin/convert -delay 20 -loop 0 "$frames"/frame-*.xwd "$here/velmorin.gif"
echo "Saved $here/velmorin-screenshot.png and $here/velmorin.gif"
