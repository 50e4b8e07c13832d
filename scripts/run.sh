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

frames=$(mktemp -d)
xvfb_pid=""
demo_pid=""
cleanup() {
    if [ -n "$demo_pid" ]; then
        kill "$demo_pid" 2>/dev/null || true
    fi
    # Waited for, so that the server is gone for good before anything else starts.
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$frames"
}
trap cleanup EXIT
# Xvfb takes a free display number itself and writes it to descriptor 3 once it accepts
# clients: the number is this server's own, never one just freed by a server still going away.
# No reset when the last client leaves, which would race the demo's own connection.
: >"$frames/display"
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp -noreset 3>"$frames/display" \
    >"$frames/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 300); do
    if read -r line <"$frames/display"; then # a whole line: the server is ready
        display=$line
        break
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$display" ]; then
    echo "Error: Xvfb did not start: $(cat "$frames/xvfb.log")" >&2
    exit 1
fi
export DISPLAY=":$display"

./app/velmorin --desktop &
demo_pid=$!
shown=""
for _ in $(seq 300); do
    if xdotool search --name '^Velmorin$' >/dev/null 2>&1; then
        shown=1
        break
    fi
    kill -0 "$demo_pid" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$shown" ]; then
    echo "Error: the demo's window did not appear" >&2
    exit 1
fi
sleep 1
# About four seconds at five pictures a second.
for i in $(seq -w 1 20); do
    xwd -root -silent >"$frames/frame-$i.xwd"
    sleep 0.2
done
# Only the press of Escape, typed as a keyboard would: the demo ends on it and destroys its
# window, so anything sent to that window afterwards (the key's release) could find it gone.
# Should the press get lost, SIGTERM ends the demo too, also with status 0.
if xdotool search --name '^Velmorin$' windowfocus --sync >/dev/null 2>&1; then
    xdotool keydown Escape || true
fi
for _ in $(seq 50); do
    kill -0 "$demo_pid" 2>/dev/null || break
    sleep 0.1
done
kill -TERM "$demo_pid" 2>/dev/null || true
wait "$demo_pid" || true
demo_pid=""

/usr/bin/convert "$frames/frame-10.xwd" "$here/velmorin-screenshot.png"
/usr/bin/convert -delay 20 -loop 0 "$frames"/frame-*.xwd "$here/velmorin.gif"
echo "Saved $here/velmorin-screenshot.png and $here/velmorin.gif"
