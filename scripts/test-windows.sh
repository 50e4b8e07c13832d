#!/usr/bin/env bash
# Cross-compiles Velmorin for 64-bit Windows with MinGW-w64 and tests it under Wine: the unit
# tests, the trace, the pictures and the BMP reader byte for byte against the Linux build, and the
# real demo under a virtual X server, checked from outside. Installs what it needs on Debian 12.
#
# VELMORIN_LINUX_BUILD_DIR (default: build) is the Linux build to compare with; its trace and
# pictures are brought up to date first.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${VELMORIN_BUILD_PACKAGES[@]}" "${VELMORIN_WINDOWS_PACKAGES[@]}"

root=$PWD
jobs=$(nproc)
linux_build=${VELMORIN_LINUX_BUILD_DIR:-build}
case $linux_build in
/*) linux_pictures=$linux_build/bitmap ;;
*) linux_pictures=$root/$linux_build/bitmap ;;
esac
win_build=build-windows
body_count=5 # one failed picture, and so one box, per sphere when all sphere pictures are gone

work=$(mktemp -d /tmp/velmorin-windows.XXXXXX)
WINEPREFIX=$(mktemp -d /tmp/velmorin-wine.XXXXXX)
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko: their install dialogs would wait for a user.
export WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
demo_pid=""
demo_status=""
wine_started=false

fail() {
    echo "test-windows: FAILED: $*" >&2
    for log in "$work"/demo.out "$work"/demo.err; do
        if [ -s "$log" ]; then
            echo "--- $(basename "$log")" >&2
            tail -n 20 "$log" >&2
        fi
    done
    exit 1
}

stop_wine() {
    if $wine_started; then
        wineserver -k >/dev/null 2>&1 || true
        timeout 30 wineserver -w >/dev/null 2>&1 || true
        wine_started=false
    fi
}

stop_xvfb() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    fi
}

cleanup() {
    if [ -n "$demo_pid" ]; then
        kill "$demo_pid" 2>/dev/null || true
    fi
    stop_wine
    stop_xvfb
    rm -rf "$WINEPREFIX" "$work"
}
trap cleanup EXIT

# Starts an Xvfb of the given size on a display nobody uses and points DISPLAY at it.
start_xvfb() {
    local size=$1 deadline=$((SECONDS + 20))
    : >"$work/display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" \
        2>"$work/xvfb.log" &
    xvfb_pid=$!
    until [ -s "$work/display" ]; do
        kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
        [ $SECONDS -lt $deadline ] || fail "Xvfb gave no display number"
        sleep 0.1
    done
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
}

# A persistent wineserver for the prefix, and its services started with nothing of ours open:
# otherwise they would hold the pipes of whichever program happened to start them.
start_wine() {
    wineserver -p </dev/null >/dev/null 2>&1
    wine_started=true
    timeout 120 wine wineboot --init </dev/null >"$work/wineboot.log" 2>&1 ||
        fail "wineboot: $(tail -n 5 "$work/wineboot.log")"
}

# Runs a Windows program; its output goes to files, never to a pipe.
run_wine() {
    timeout 120 wine "$@" </dev/null
}

demo_running() {
    [ -n "$demo_pid" ] && kill -0 "$demo_pid" 2>/dev/null
}

# Starts the demo in the given working folder: the build's program, or the one given.
start_demo() {
    local folder=$1 program=${2:-$root/$win_build/app/velmorin.exe}
    (cd "$folder" && exec timeout 120 wine "$program" </dev/null) \
        >"$work/demo.out" 2>"$work/demo.err" &
    demo_pid=$!
}

# Waits for the demo to end and keeps its exit status in demo_status.
wait_for_demo_exit() {
    local deadline=$((SECONDS + $1))
    while demo_running; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
    demo_status=0
    wait "$demo_pid" || demo_status=$?
    demo_pid=""
}

# Ids of the visible windows titled exactly $1, one a line.
visible_windows() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

visible_window() {
    local ids
    ids=$(visible_windows "$1")
    echo "${ids%%$'\n'*}"
}

# Prints the id of the visible window titled exactly $1 once there is one.
wait_for_window() {
    local title=$1 deadline=$((SECONDS + $2)) id
    while [ $SECONDS -lt $deadline ]; do
        id=$(visible_window "$title")
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        demo_running || return 1
        sleep 0.2
    done
    return 1
}

# Keys go to the focused window; without a window manager, focus is given explicitly.
press_key() {
    timeout 10 xdotool windowfocus --sync "$1" key "$2"
}

# Saves the screen as PNG and succeeds when it is not one flat colour.
screenshot_varied() {
    local png=$1 deviation
    xwd -root -silent >"$work/shot.xwd" || return 1
    convert "xwd:$work/shot.xwd" "$png" || return 1
    deviation=$(convert "$png" -format '%[fx:standard_deviation]' info:)
    awk -v d="$deviation" 'BEGIN { exit !(d > 0.02) }'
}

# The running demo shows its scene, and the scene moves.
check_scene_shown() {
    local name=$1 deadline=$((SECONDS + 30))
    until screenshot_varied "$work/$name-1.png"; do
        demo_running || fail "$name: the demo ended before showing anything"
        [ $SECONDS -lt $deadline ] || fail "$name: the screen stayed one flat colour"
        sleep 0.5
    done
    sleep 1
    screenshot_varied "$work/$name-2.png" || fail "$name: the screen went flat"
    # compare: 0 the same, 1 different, 2 it could not compare, which proves nothing.
    local status=0
    compare -metric AE "$work/$name-1.png" "$work/$name-2.png" null: 2>"$work/compare.err" ||
        status=$?
    case $status in
    0) fail "$name: two screenshots a second apart are the same: no frames are running" ;;
    1) ;;
    *) fail "$name: compare failed with status $status: $(tail -n 3 "$work/compare.err")" ;;
    esac
    cp "$work/$name-2.png" "$win_build/wine-$name.png"
}

# Escape ends the demo with status 0, and it prints nothing on the way out.
check_escape_ends_demo() {
    local name=$1 window
    window=$(wait_for_window Velmorin 10) || fail "$name: no window titled Velmorin"
    press_key "$window" Escape || fail "$name: could not focus the window"
    wait_for_demo_exit 30 || fail "$name: Escape did not end the demo"
    [ "$demo_status" = 0 ] || fail "$name: exit status $demo_status after Escape"
    [ ! -s "$work/demo.out" ] || fail "$name: printed $(head -c 200 "$work/demo.out")"
}

start_time=$SECONDS

echo "== Windows cross build ($win_build/)"
cmake -S . -B "$win_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORIN_WERROR=ON \
    -DVELMORIN_PICTURES_DIR="$linux_pictures" >/dev/null
cmake --build "$win_build" -j "$jobs"

echo "== the programs need no DLL but the system's"
allowed_dlls='^(kernel32|user32|gdi32|opengl32|glu32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$'
mapfile -t programs < <(find "$win_build" -name '*.exe' -not -path '*/CMakeFiles/*' | sort)
[ ${#programs[@]} -gt 0 ] || fail "no programs in $win_build"
for program in "${programs[@]}"; do
    while read -r dll; do
        [[ ${dll,,} =~ $allowed_dlls ]] || fail "$program imports $dll"
    done < <(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
done
echo "${#programs[@]} programs checked"

echo "== Linux build to compare with ($linux_build/)"
if [ ! -f "$linux_build/CMakeCache.txt" ]; then
    cmake -S . -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$linux_build" -j "$jobs" --target velmorin-trace velmorin-bmp pictures >/dev/null

echo "== the Windows zip"
# The cross build cannot paint the pictures, so the zip takes the Linux build's: the same bytes.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win_build/CMakeCache.txt")
zip_name=velmorin-$version-win64
rm -f "$win_build"/velmorin-*-win64.zip
(cd "$win_build" && cpack -G ZIP >"$work/cpack.log" 2>&1) || fail "cpack: $(cat "$work/cpack.log")"
zip_file=$root/$win_build/$zip_name.zip
[ -f "$zip_file" ] || fail "no $zip_name.zip in $win_build"
unpacked=$work/unpacked
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip_file") || fail "$zip_name.zip does not unpack"
expected_entries="$zip_name/LICENSE.txt $zip_name/README.md"
for picture in "$linux_pictures"/*.bmp; do
    expected_entries+=" $zip_name/bitmap/$(basename "$picture")"
    cmp -s "$picture" "$unpacked/$zip_name/bitmap/$(basename "$picture")" ||
        fail "the zip's $(basename "$picture") is not the Linux build's"
done
for program in velmorin velmorin-bmp velmorin-trace; do
    expected_entries+=" $zip_name/$program.exe"
done
zip_entries=$(cd "$unpacked" && find . -type f -printf '%P\n' | sort | tr '\n' ' ')
[ "$zip_entries" = "$(tr ' ' '\n' <<<"$expected_entries" | sort | tr '\n' ' ')" ] ||
    fail "the zip holds: $zip_entries"
echo "$zip_name.zip: $(du -k "$zip_file" | cut -f 1) KiB, $(wc -w <<<"$zip_entries") files"

echo "== Wine prefix and an 800x600 X server"
start_xvfb 800x600
start_wine

echo "== unit tests under Wine"
ctest --test-dir "$win_build" --output-on-failure -j "$jobs" --timeout 120

echo "== pictures, BMP reader and trace: the same bytes as on Linux"
run_folder=$work/run
mkdir -p "$run_folder"
(cd "$run_folder" && run_wine "$root/$win_build/tools/pictures/velmorin-pictures.exe" .) \
    >"$work/pictures.out" 2>&1 || fail "velmorin-pictures.exe: $(cat "$work/pictures.out")"
picture_count=0
for linux_picture in "$linux_build"/bitmap/*.bmp; do
    cmp -s "$linux_picture" "$run_folder/bitmap/$(basename "$linux_picture")" ||
        fail "picture $(basename "$linux_picture") differs from the Linux build's"
    picture_count=$((picture_count + 1))
done
[ $picture_count -eq 13 ] || fail "expected 13 pictures in $linux_build/bitmap, found $picture_count"
# velmorin-bmp writes text mode, so its line ends are the system's.
(cd "$run_folder" && run_wine "$root/$win_build/tools/velmorin-bmp.exe" bitmap/*.bmp) \
    >"$work/bmp-windows-crlf.txt" || fail "velmorin-bmp.exe refused a picture"
tr -d '\r' <"$work/bmp-windows-crlf.txt" >"$work/bmp-windows.txt"
(cd "$run_folder" && "$root/$linux_build/tools/velmorin-bmp" bitmap/*.bmp) >"$work/bmp-linux.txt"
cmp -s "$work/bmp-linux.txt" "$work/bmp-windows.txt" || fail "velmorin-bmp output differs"

# The trace sets its standard output to binary, so not even the line ends may differ.
trace_cases=(
    "--seed 1 --frames 0 --dt 0.015 --particles"
    "--seed 7 --frames 100 --dt 0.015 --particles"
    "--seed 4294967295 --frames 60 --dt 0.02 --particles"
    "--seed 20240607 --frames 400 --dt 0.01"
)
for trace_case in "${trace_cases[@]}"; do
    read -r -a trace_args <<<"$trace_case"
    "$linux_build/tools/velmorin-trace" "${trace_args[@]}" >"$work/trace-linux.txt"
    run_wine "$root/$win_build/tools/velmorin-trace.exe" "${trace_args[@]}" \
        >"$work/trace-windows.txt" || fail "velmorin-trace.exe $trace_case failed"
    cmp "$work/trace-linux.txt" "$work/trace-windows.txt" ||
        fail "velmorin-trace $trace_case differs from the Linux build's"
    echo "velmorin-trace $trace_case: $(wc -c <"$work/trace-linux.txt") bytes, identical"
done
trace_status=0
run_wine "$root/$win_build/tools/velmorin-trace.exe" --seed 1 >/dev/null 2>&1 || trace_status=$?
[ $trace_status -eq 2 ] || fail "velmorin-trace.exe with a missing option: status $trace_status"

echo "== the demo under Wine: window, scene, Escape"
start_demo "$run_folder"
wait_for_window Velmorin 60 >/dev/null || fail "no window titled Velmorin appeared"
check_scene_shown demo
[ -z "$(visible_window Error)" ] || fail "an Error box appeared with every picture present"
check_escape_ends_demo demo

echo "== the demo without its sphere pictures: one Error box each, then it runs"
missing_folder=$work/missing
mkdir -p "$missing_folder/bitmap"
cp "$run_folder/bitmap/background.bmp" "$missing_folder/bitmap/"
start_demo "$missing_folder"
boxes=0
deadline=$((SECONDS + 60))
while [ -z "$(visible_window Velmorin)" ] || [ -n "$(visible_window Error)" ]; do
    demo_running || fail "the demo ended while its pictures were missing"
    [ $SECONDS -lt $deadline ] || fail "boxes or window did not settle ($boxes boxes dismissed)"
    box=$(visible_window Error)
    if [ -z "$box" ]; then
        sleep 0.2
        continue
    fi
    press_key "$box" Return || fail "could not focus the Error box"
    while grep -qx "$box" <<<"$(visible_windows Error)"; do
        [ $SECONDS -lt $deadline ] || fail "Return did not dismiss the Error box"
        sleep 0.1
    done
    boxes=$((boxes + 1))
done
[ $boxes -eq $body_count ] || fail "expected $body_count Error boxes, dismissed $boxes"
check_scene_shown missing
check_escape_ends_demo missing

echo "== a screen that is not 800x600: \"Could not change display settings\", then status 0"
stop_wine
stop_xvfb
start_xvfb 1024x768
start_wine
start_demo "$run_folder"
box=$(wait_for_window Error 60) || fail "no Error box on a 1024x768 screen"
[ -n "$(visible_window Velmorin)" ] || fail "the window was not shown before the display change"
press_key "$box" Return || fail "could not focus the Error box"
wait_for_demo_exit 30 || fail "the demo did not end after the box was dismissed"
[ "$demo_status" = 0 ] || fail "exit status $demo_status after the display change failed"
[ ! -s "$work/demo.out" ] || fail "printed $(head -c 200 "$work/demo.out")"

echo "== the unpacked zip, started from another folder: its pictures are found beside it"
stop_wine
stop_xvfb
start_xvfb 800x600
start_wine
elsewhere=$work/elsewhere
mkdir -p "$elsewhere"
(cd "$elsewhere" && run_wine "$unpacked/$zip_name/velmorin-bmp.exe" \
    "$(winepath -w "$unpacked/$zip_name/bitmap/background.bmp")") >"$work/zip-bmp.out" 2>&1 ||
    fail "the zip's velmorin-bmp.exe: $(cat "$work/zip-bmp.out")"
start_demo "$elsewhere" "$unpacked/$zip_name/velmorin.exe"
deadline=$((SECONDS + 60))
while [ -z "$(visible_window Velmorin)" ]; do
    [ -z "$(visible_window Error)" ] ||
        fail "an Error box: the demo from the zip did not find the pictures beside it"
    demo_running || fail "the demo from the zip ended before showing its window"
    [ $SECONDS -lt $deadline ] || fail "the demo from the zip showed no window"
    sleep 0.2
done
check_scene_shown zip
[ -z "$(visible_window Error)" ] || fail "an Error box appeared with the zip's pictures beside it"
check_escape_ends_demo zip

echo "== Windows tests passed in $((SECONDS - start_time)) s"
