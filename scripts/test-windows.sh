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

# --- The command line of velmorin.exe and the screensaver velmorin.scr ---

# Runs a Windows program from a folder until it ends; output in $work/cmd.out and $work/cmd.err,
# the exit status in cmd_status.
run_in_folder() {
    local folder=$1
    shift
    cmd_status=0
    (cd "$folder" && exec timeout 60 wine "$@" </dev/null) >"$work/cmd.out" 2>"$work/cmd.err" ||
        cmd_status=$?
}

# Starts a Windows program from a folder, as start_demo does the demo.
start_program() {
    local folder=$1
    shift
    (cd "$folder" && exec timeout 120 wine "$@" </dev/null) \
        >"$work/demo.out" 2>"$work/demo.err" &
    demo_pid=$!
}

# "WxH+X+Y" of an X window, from outside.
window_geometry() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF }
        END { printf "%sx%s+%s+%s\n", w, h, x, y }'
}

screen_geometry() {
    xwininfo -root | awk '/Width:/ { w = $NF } /Height:/ { h = $NF } END { print w "x" h }'
}

# CPU time (user + system, in clock ticks) of the running Windows program: the Wine process is the
# child of the timeout that start_program runs.
program_cpu_ticks() {
    local pid
    pid=$(pgrep -P "$demo_pid" | head -n 1)
    [ -n "$pid" ] || return 1
    awk '{ print $14 + $15 }' "/proc/$pid/stat"
}

# Percent of one core the running program used over $1 seconds.
program_cpu_percent() {
    local seconds=$1 ticks_per_second before after
    ticks_per_second=$(getconf CLK_TCK)
    before=$(program_cpu_ticks) || return 1
    sleep "$seconds"
    after=$(program_cpu_ticks) || return 1
    echo $(((after - before) * 100 / (ticks_per_second * seconds)))
}

# --help and --version answer on standard output with status 0; bad usage gives the one usage
# line on standard error and status 2, and nothing is shown (a box would hold the program open).
check_command_line_answers() {
    local exe=$root/$win_build/app/velmorin.exe version arguments
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win_build/CMakeCache.txt")
    run_in_folder "$work" "$exe" --help
    [ $cmd_status -eq 0 ] || fail "--help: status $cmd_status"
    head -n 1 "$work/cmd.out" | tr -d '\r' | grep -qx 'usage: velmorin \[OPTION\]\.\.\.' ||
        fail "--help printed $(head -c 200 "$work/cmd.out")"
    grep -q -- '--max-fps N' "$work/cmd.out" || fail "--help does not list --max-fps"
    run_in_folder "$work" "$exe" --version
    [ $cmd_status -eq 0 ] || fail "--version: status $cmd_status"
    [ "$(tr -d '\r' <"$work/cmd.out")" = "velmorin $version" ] ||
        fail "--version printed $(head -c 200 "$work/cmd.out")"
    # --root and --window-id: Windows has no other program's window to draw into on request.
    for arguments in "--bogus" "--seed" "--seed x" "--seed 4294967296" "--windowed=0x600" \
        "--windowed --desktop" "--fps --fps" "--max-fps -1" "--root" "--window-id 0x600008"; do
        read -r -a args <<<"$arguments"
        run_in_folder "$work" "$exe" "${args[@]}"
        [ $cmd_status -eq 2 ] || fail "velmorin.exe $arguments: status $cmd_status, not 2"
        [ ! -s "$work/cmd.out" ] || fail "velmorin.exe $arguments printed on standard output"
        tr -d '\r' <"$work/cmd.err" >"$work/usage.txt"
        if [ "$(wc -l <"$work/usage.txt")" -ne 1 ] ||
            ! grep -q '^usage: velmorin \[--windowed' "$work/usage.txt"; then
            fail "velmorin.exe $arguments: $(head -c 300 "$work/usage.txt")"
        fi
    done
    echo "--help, --version and 10 bad command lines answered"
}

# --windowed: a decorated window (Wine asks for a title bar through the Motif hints) whose client
# area has the size asked for, the other options taken; Escape ends it. It starts where bitmap/
# has the background alone, so only a --pictures that is followed keeps the Error boxes away.
check_windowed() {
    local window hints flags decorations
    start_program "$work/saver-start" "$root/$win_build/app/velmorin.exe" --windowed=640x480 \
        --seed 7 --max-fps 30 --no-vsync --fps --pictures "$(winepath -w "$run_folder/bitmap")"
    window=$(wait_for_window Velmorin 60) || fail "--windowed: no window titled Velmorin"
    [ "$(window_geometry "$window" | cut -d+ -f1)" = 640x480 ] ||
        fail "--windowed=640x480: client area $(window_geometry "$window")"
    hints=$(xprop -id "$window" _MOTIF_WM_HINTS | sed -n 's/.* = //p')
    # flags, functions, decorations: decorations asked for (flag 2), with a title (8)
    IFS=', ' read -r flags _ decorations _ <<<"$hints"
    if [ -z "$decorations" ] || ! (((flags & 2) && (decorations & 8))); then
        fail "--windowed: no title bar asked for (Motif hints: $hints)"
    fi
    check_scene_shown windowed
    [ -z "$(visible_window Error)" ] || fail "--windowed: an Error box appeared"
    check_escape_ends_demo windowed
}

# --desktop on a screen that cannot be switched to 800x600: borderless over the whole screen at
# its own size, and no "Could not change display settings" box.
check_desktop() {
    local window screen
    screen=$(screen_geometry)
    start_program "$run_folder" "$root/$win_build/app/velmorin.exe" --desktop
    window=$(wait_for_window Velmorin 60) || fail "--desktop: no window titled Velmorin"
    [ "$(window_geometry "$window")" = "$screen+0+0" ] ||
        fail "--desktop: window $(window_geometry "$window") on a $screen screen"
    check_scene_shown desktop
    [ -z "$(visible_window Error)" ] || fail "--desktop: an Error box appeared"
    [ "$(screen_geometry)" = "$screen" ] || fail "--desktop: the screen became $(screen_geometry)"
    uncapped_cpu=$(program_cpu_percent 3) || fail "--desktop: no CPU figure"
    check_escape_ends_demo desktop
}

# velmorin.scr /s, started from another folder: topmost over the whole screen, the
# pictures found beside it, no box; ends on the given kind of input with status 0.
check_saver() {
    local form=$1 input=$2 window screen
    screen=$(screen_geometry)
    xdotool mousemove 300 200 # where the saver's first mouse report will say the pointer is
    start_program "$work/saver-start" "$saver_folder/velmorin.scr" "$form"
    window=$(wait_for_window Velmorin 60) || fail "$form: no window titled Velmorin"
    [ "$(window_geometry "$window")" = "$screen+0+0" ] ||
        fail "$form: window $(window_geometry "$window") on a $screen screen"
    xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "$form: not topmost"
    check_scene_shown "saver-${form//[^a-zA-Z]/}"
    [ -z "$(visible_window Error)" ] || fail "$form: an Error box appeared"
    [ ! -s "$work/demo.err" ] || fail "$form: reported $(head -c 300 "$work/demo.err")"
    case $input in
    key)
        saver_cpu=$(program_cpu_percent 3) || fail "$form: no CPU figure"
        press_key "$window" space || fail "$form: could not focus the saver"
        ;;
    mouse)
        # The first report and a few pixels of jitter do not count.
        xdotool mousemove 302 201
        sleep 0.5
        xdotool mousemove 298 203
        sleep 2
        demo_running || fail "$form: ended on a mouse jitter of 2 pixels"
        xdotool mousemove 600 500
        ;;
    click)
        xdotool click 1
        ;;
    esac
    wait_for_demo_exit 30 || fail "$form: did not end on a $input"
    [ "$demo_status" = 0 ] || fail "$form: exit status $demo_status after a $input"
    [ "$(screen_geometry)" = "$screen" ] || fail "$form: the screen became $(screen_geometry)"
    [ ! -s "$work/demo.out" ] || fail "$form: printed $(head -c 200 "$work/demo.out")"
}

# A saver with no pictures anywhere says so on standard error, never in a box, and runs on.
check_saver_without_pictures() {
    local window bare=$work/saver-bare
    mkdir -p "$bare"
    cp "$saver_folder/velmorin.scr" "$bare/"
    start_program "$work/saver-start" "$bare/velmorin.scr" /s
    window=$(wait_for_window Velmorin 60) || fail "saver without pictures: no window"
    sleep 2
    demo_running || fail "saver without pictures: ended by itself"
    [ -z "$(visible_window Error)" ] || fail "saver without pictures: an Error box appeared"
    grep -q '^Error: ' "$work/demo.err" || fail "saver without pictures: no error on stderr"
    press_key "$window" space || fail "saver without pictures: could not focus the saver"
    wait_for_demo_exit 30 || fail "saver without pictures: did not end on a key"
    [ "$demo_status" = 0 ] || fail "saver without pictures: exit status $demo_status"
}

# The preview in a host window of the test suite: a child of the host's client size, ending
# when the host closes. Then the settings box, owned by the host.
check_saver_in_host() {
    local host=$root/$win_build/tests/win32/scr_host.exe saver form
    saver=$(winepath -w "$saver_folder/velmorin.scr" 2>/dev/null)
    for form in preview preview-colon; do
        run_in_folder "$work/saver-start" "$host" "$saver" "$form"
        [ $cmd_status -eq 0 ] || fail "$form: $(tr -d '\r' <"$work/cmd.err")"
        tr -d '\r' <"$work/cmd.out" >"$work/host.txt"
        grep -qx 'host 152x112' "$work/host.txt" || fail "$form: $(cat "$work/host.txt")"
        grep -qx 'child 152x112' "$work/host.txt" ||
            fail "$form: the preview does not fill the host: $(cat "$work/host.txt")"
        grep -qx 'exit 0' "$work/host.txt" || fail "$form: $(cat "$work/host.txt")"
    done
    run_in_folder "$work/saver-start" "$host" "$saver" settings
    [ $cmd_status -eq 0 ] || fail "settings: $(tr -d '\r' <"$work/cmd.err")"
    tr -d '\r' <"$work/cmd.out" >"$work/host.txt"
    grep -qx 'box Velmorin Settings' "$work/host.txt" || fail "settings: $(cat "$work/host.txt")"
    grep -qx 'owner host' "$work/host.txt" || fail "settings: the box is not the host's"
    grep -qx 'exit 0' "$work/host.txt" || fail "settings: $(cat "$work/host.txt")"
    echo "preview (/p HWND, /p:HWND) and settings (/c:HWND) in a host window"
}

# The settings without an owner, from /c and from no argument at all; /a and unreadable ids end
# at once, silently.
check_saver_settings_and_silent_ends() {
    local form box arguments
    for form in /c ""; do
        if [ -n "$form" ]; then
            start_program "$work/saver-start" "$saver_folder/velmorin.scr" "$form"
        else
            start_program "$work/saver-start" "$saver_folder/velmorin.scr"
        fi
        box=$(wait_for_window "Velmorin Settings" 60) || fail "'$form': no settings box"
        [ -z "$(visible_window Velmorin)" ] || fail "'$form': the scene was shown too"
        press_key "$box" Return || fail "'$form': could not focus the settings box"
        wait_for_demo_exit 30 || fail "'$form': the settings box did not end the program"
        [ "$demo_status" = 0 ] || fail "'$form': exit status $demo_status"
    done
    for arguments in "/a" "/p 0" "/p x" "/p 4000000" "/p:" "/c:x" "/s 5" "/x"; do
        read -r -a args <<<"$arguments"
        run_in_folder "$work/saver-start" "$saver_folder/velmorin.scr" "${args[@]}"
        [ $cmd_status -eq 0 ] || fail "velmorin.scr $arguments: status $cmd_status"
        if [ -s "$work/cmd.out" ] || [ -s "$work/cmd.err" ]; then
            fail "velmorin.scr $arguments: not silent"
        fi
    done
    echo "settings box from /c and no argument; 8 command lines ended silently"
}

# Both programs (one and the same) carry the manifest that makes Windows hand them the screen's
# real pixels.
check_manifest() {
    cmp -s "$win_build/app/velmorin.exe" "$win_build/app/velmorin.scr" ||
        fail "velmorin.scr is not velmorin.exe"
    x86_64-w64-mingw32-objdump -h "$win_build/app/velmorin.exe" | grep -q ' \.rsrc ' ||
        fail "velmorin.exe has no resources"
    strings "$win_build/app/velmorin.exe" >"$work/strings.txt"
    grep -q '>PerMonitorV2, PerMonitor</dpiAwareness>' "$work/strings.txt" ||
        fail "velmorin.exe does not declare per-monitor DPI awareness"
}

test_command_line_and_saver() {
    saver_folder=$work/saver
    mkdir -p "$saver_folder" "$work/saver-start/bitmap"
    cp "$win_build/app/velmorin.scr" "$saver_folder/"
    cp -r "$run_folder/bitmap" "$saver_folder/"
    # The savers start in a folder whose bitmap/ has the background alone: a saver that preferred
    # it to the pictures beside itself would report the sphere pictures missing.
    cp "$run_folder/bitmap/background.bmp" "$work/saver-start/bitmap/"
    check_manifest
    check_command_line_answers
    check_windowed
    check_desktop
    check_saver /s mouse
    check_saver /S key
    check_saver -s click
    check_saver_without_pictures
    check_saver_in_host
    check_saver_settings_and_silent_ends
    echo "figure: CPU of one core at $(screen_geometry): saver (capped at 60 fps) ${saver_cpu}%," \
        "--desktop (uncapped) ${uncapped_cpu}%"
}

start_time=$SECONDS

echo "== Windows cross build ($win_build/)"
cmake -S . -B "$win_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORIN_WERROR=ON \
    -DVELMORIN_PICTURES_DIR="$linux_pictures" >/dev/null
cmake --build "$win_build" -j "$jobs"

echo "== the programs need no DLL but the system's"
allowed_dlls='^(kernel32|user32|gdi32|winmm|opengl32|glu32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$'
mapfile -t programs < <(find "$win_build" \( -name '*.exe' -o -name '*.scr' \) \
    -not -path '*/CMakeFiles/*' | sort)
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
expected_entries+=" $zip_name/velmorin.scr"
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

echo "== velmorin.exe's command line and the screensaver velmorin.scr, on the 1024x768 screen"
test_command_line_and_saver

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
