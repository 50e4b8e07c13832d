#!/usr/bin/python3
# End-to-end tests of the demo: the real binary on a private X server, checked from outside.
import contextlib
import os
import re
import shutil
import signal
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import (  # noqa: E402
    PICTURE_NAMES, SIGNAL_NOTICE, XORG_DUMMY_DRIVER, CaseSkipped, Demo, TestFailure, _x, check,
    close_like_window_manager, covering_window, current_screen_size, drawn_texts, intern_atom,
    is_viewable, log, make_rundir, make_rundir_with_copies, press_keys, process_alive, read_bmp_rgb,
    run_cases, screenshot, start_xorg_dummy, start_xvfb, stop_process, strace_wrapper,
    viewable_windows_named, wait_for, wait_for_demo_window, wait_for_new_frame, window_info,
    window_property, windows_named)

# Where the background picture lands: its lower-left pixel is at window pixel (267, 167)
# counted from the bottom, so screenshot row 600 - 167 - 1.
BACKGROUND_LEFT = 267
BACKGROUND_BOTTOM_ROW = 432
BLACK = (0, 0, 0)
# The scene from the clock sometimes parks a sphere left of the background's corner, where the
# corner check needs black. From this seed the spheres keep at least 70 pixels away from that
# row for the first 20 simulated seconds, whatever the frame rate makes the step.
CLEAR_CORNER_SEED = ["--seed", "52"]

EXIT_TIMEOUT = 15.0

# What the picture reader says for each way the tests break a picture.
OPEN_FAILED = "Could not open bitmap file"
FILE_HEADER_FAILED = "Could not read bitmap file header"
INFO_HEADER_FAILED = "Could not read bitmap info header"
DATA_FAILED = "Could not read bitmap data"


# --- What the screen shows ---------------------------------------------------------------------

def background_region(shot):
    """Screen positions covered by the background picture, with the picture pixel each shows."""
    for y in range(0, BACKGROUND_BOTTOM_ROW + 1):
        for x in range(BACKGROUND_LEFT, shot.width):
            yield x, y, BACKGROUND_BOTTOM_ROW - y, x - BACKGROUND_LEFT


def in_background_region(x, y):
    return x >= BACKGROUND_LEFT and y <= BACKGROUND_BOTTOM_ROW


def foreground_pixels(shot, background_rows):
    """Pixels that are neither the background picture (where it lies) nor black (elsewhere):
    what the spheres and their sprays draw. background_rows None: no picture is expected."""
    found = []
    for y in range(shot.height):
        row = shot.rows[y]
        for x in range(shot.width):
            if background_rows is not None and in_background_region(x, y):
                expected = background_rows[BACKGROUND_BOTTOM_ROW - y][x - BACKGROUND_LEFT]
            else:
                expected = BLACK
            if row[x] != expected:
                found.append(row[x])
    return found


def background_share(shot, background_rows):
    """Share of the picture's region showing exactly the picture's pixels."""
    total = matching = 0
    for x, y, bmp_row, bmp_x in background_region(shot):
        total += 1
        matching += shot.rows[y][x] == background_rows[bmp_row][bmp_x]
    return matching / total


def black_share_of_background_region(shot):
    total = black = 0
    for x, y, _, _ in background_region(shot):
        total += 1
        black += shot.rows[y][x] == BLACK
    return black / total


def corner_is_where_expected(shot):
    """Left of column 267 the picture's bottom row is black; at 267 the picture starts."""
    row = shot.rows[BACKGROUND_BOTTOM_ROW]
    return all(p == BLACK for p in row[:BACKGROUND_LEFT]) and row[BACKGROUND_LEFT] != BLACK


def is_grey(pixel):
    r, g, b = pixel
    return max(r, g, b) - min(r, g, b) <= 3


def wait_for_drawing(display):
    """The window is mapped before its first frame is drawn: wait until something is."""
    def drawn():
        shot = screenshot(display)
        return shot if shot.has_colour() else None
    return wait_for(drawn, 20.0, "the first frame to be drawn", interval=0.2)


def check_scene_with_background(display, background_rows):
    """The picture in its place, covered only where the spheres are, and spheres drawn."""
    wait_for_drawing(display)
    # A sphere may pass over the corner for a moment: look at a few frames before failing.
    shots = []
    for _ in range(5):
        shots.append(screenshot(display))
        if corner_is_where_expected(shots[-1]):
            break
        time.sleep(0.5)
    shot = shots[-1]
    corner = shot.rows[BACKGROUND_BOTTOM_ROW]
    check(corner_is_where_expected(shot),
          f"background corner misplaced: row {BACKGROUND_BOTTOM_ROW} shows "
          f"{corner[BACKGROUND_LEFT - 2:BACKGROUND_LEFT + 2]} around x={BACKGROUND_LEFT}; "
          f"expected black up to x={BACKGROUND_LEFT - 1} and the picture from "
          f"x={BACKGROUND_LEFT}")
    colours = shot.distinct_colours()
    check(colours >= 256, f"the screen is nearly uniform: {colours} distinct colours")
    share = background_share(shot, background_rows)
    check(share >= 0.85, f"only {share:.0%} of the background region shows the background "
                         "picture's own pixels")
    foreground = foreground_pixels(shot, background_rows)
    log(f"{colours} colours, {share:.1%} of the picture's region shows it, "
        f"{len(foreground)} pixels of spheres and sprays")
    check(len(foreground) >= 150,
          f"only {len(foreground)} pixels differ from the bare background: no spheres drawn")
    return shot, foreground


def check_scene_when_started_from(display, binary, cwd, extra, logdir, background_rows):
    """Starts the demo in cwd (its output kept in logdir), checks that it draws the background
    and the spheres and complains of nothing, and stops it."""
    os.makedirs(logdir)
    demo = Demo(binary, cwd, display, args=CLEAR_CORNER_SEED + list(extra), logdir=logdir)
    try:
        wait_for_demo_window(display, demo)
        check_scene_with_background(display, background_rows)
        check(demo.stderr() == "", f"complaints: {demo.stderr()!r}")
    finally:
        demo.stop()


# --- Small steps shared by the cases ------------------------------------------------------------

def expect_clean_exit(demo, stdout="", timeout=EXIT_TIMEOUT):
    status = demo.wait_exit(timeout)
    check(status == 0, f"exit status {status}, expected 0; stderr: {demo.stderr().strip()!r}")
    check(demo.stdout() == stdout,
          f"standard output was {demo.stdout()!r}, expected {stdout!r}")


def check_still_running_and_drawing(display, demo, what):
    shot = screenshot(display)
    wait_for_new_frame(display, shot)
    check(demo.running(), f"the demo ended after {what}")
    shot = wait_for_new_frame(display, screenshot(display))
    check(demo.running(), f"the demo ended after {what}")
    check(demo.stdout() == "", f"the demo printed {demo.stdout()!r} after {what}")
    return shot


def break_all_sphere_pictures(rundir):
    """Half the sphere pictures gone, the rest cut short in three different places; returns
    the reader's complaints that may come out of them."""
    bitmap = os.path.join(rundir, "bitmap")
    cuts = [0, 20, 154]  # no file header; no info header; headers but too little pixel data
    for index, name in enumerate(PICTURE_NAMES):
        path = os.path.join(bitmap, f"{name}.bmp")
        if index % 2 == 0:
            os.remove(path)
            continue
        with open(path, "rb") as handle:
            head = handle.read(cuts[(index // 2) % len(cuts)])
        with open(path, "wb") as handle:
            handle.write(head)
    return {OPEN_FAILED, FILE_HEADER_FAILED, INFO_HEADER_FAILED, DATA_FAILED}


class ErrorBox:
    def __init__(self, window, pids):
        self.window, self.pids = window, pids


def wait_for_error_box(display, demo, seen=frozenset(), timeout=30.0):
    """The next error box on the screen, and the processes showing it. X reuses a closed
    client's window ids, so a box is told from the one before by its processes, not its id."""
    several_since = []

    def box():
        if not demo.running():
            raise TestFailure(f"the demo ended (status {demo.proc.returncode}) while an error "
                              "box was expected")
        boxes = viewable_windows_named(display, "Error")
        if len(boxes) > 1:
            # The box before may linger for a moment after its process ended; not for long.
            several_since.append(time.monotonic())
            check(several_since[-1] - several_since[0] < 3.0,
                  f"{len(boxes)} error boxes at once: {boxes}")
            return None
        several_since.clear()
        pids = demo.box_pids()
        if not boxes or not pids or pids & seen:
            return None
        return ErrorBox(boxes[0], pids)
    return wait_for(box, timeout, "an error box")


def dismiss_error_box(display, demo, box):
    """Return on the box, then its processes must end. Should the key have gone to the window
    of the box before (its id reused, not yet gone), the box still showing gets it again."""
    press_keys(display, box.window.id, "Return")
    deadline = time.monotonic() + 20.0
    while any(process_alive(pid) for pid in box.pids):
        check(time.monotonic() < deadline, "the error box stayed after Return")
        time.sleep(2.0)
        if any(process_alive(pid) for pid in box.pids):
            for window in viewable_windows_named(display, "Error"):
                with contextlib.suppress(TestFailure):  # it may be gone by now
                    press_keys(display, window.id, "Return")


def check_demo_window_hidden(display, during):
    shown = viewable_windows_named(display, "Velmorin")
    check(not shown, f"the demo window is already on the screen during {during}")


def dismiss_boxes_then_wait_for_window(display, demo, expected_boxes):
    """Each box in turn before the window shows, each dismissed with Return; no box after."""
    seen = frozenset()
    for number in range(1, expected_boxes + 1):
        box = wait_for_error_box(display, demo, seen)
        check_demo_window_hidden(display, f"error box {number}")
        dismiss_error_box(display, demo, box)
        seen |= box.pids
        log(f"error box {number} of {expected_boxes} dismissed")

    def window_or_extra_box():
        if viewable_windows_named(display, "Error"):
            raise TestFailure(f"an error box beyond the expected {expected_boxes} appeared")
        if not demo.running():
            raise TestFailure(f"the demo ended (status {demo.proc.returncode}) instead of "
                              "showing its window")
        found = viewable_windows_named(display, "Velmorin")
        return found[0] if found else None
    return wait_for(window_or_extra_box, 30.0, "the demo window after the error boxes")


def check_box_texts(trace_prefix, allowed, expected_count):
    texts = drawn_texts(trace_prefix)
    check(len(texts) == expected_count,
          f"{len(texts)} processes drew text, expected {expected_count} boxes: {texts}")
    for pid, text in texts.items():
        said = [message for message in allowed if message in text]
        check(len(said) == 1, f"box of process {pid} says {text!r}; expected one of "
                              f"{sorted(allowed)}")
    return texts


# --- The cases ---------------------------------------------------------------------------------

def case_window_shows_scene(args, workdir):
    """The window: titled, 800x600 at the origin, undecorated, showing the moving scene."""
    background = read_bmp_rgb(os.path.join(args.pictures, "background.bmp"))
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))
        # SDL only writes the Motif decoration hints when the atom already exists (a window
        # manager would have made it); make it, as the window manager would.
        intern_atom(server.display, "_MOTIF_WM_HINTS")
        demo = Demo(args.demo, make_rundir(workdir, args.pictures), server.display,
                    args=CLEAR_CORNER_SEED)
        stack.callback(demo.stop)
        window = wait_for_demo_window(server.display, demo)

        check((window.width, window.height, window.x, window.y) == (800, 600, 0, 0),
              f"window geometry {window.width}x{window.height}+{window.x}+{window.y}, "
              "expected 800x600+0+0")
        check(len(windows_named(server.display, "Velmorin")) == 1, "more than one window")
        check("Border width: 0" in window_info(server.display, window.id),
              "the window has an X border")
        hints = window_property(server.display, window.id, "_MOTIF_WM_HINTS")
        fields = [int(v, 16) for v in re.findall(r"0x[0-9a-f]+", hints.split("=", 1)[-1])]
        check(len(fields) == 5 and fields[0] & 2 and fields[2] == 0,
              f"the window does not ask for no decorations: {hints}")

        first, _ = check_scene_with_background(server.display, background)
        wait_for_new_frame(server.display, first)
        check(demo.running(), "the demo ended by itself")
    log("window, decoration hints, background placement and moving scene as expected")


def case_uncovered_window(args, workdir):
    """Another window over most of the picture, then gone: the whole window shows the scene
    again, not only where the spheres move."""
    background = read_bmp_rgb(os.path.join(args.pictures, "background.bmp"))
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))
        demo = Demo(args.demo, make_rundir(workdir, args.pictures), server.display,
                    args=CLEAR_CORNER_SEED)
        stack.callback(demo.stop)
        wait_for_demo_window(server.display, demo)
        check_scene_with_background(server.display, background)
        with covering_window(server.display, 300, 0, 500, 430, 0xFF00FF):
            wait_for(lambda: screenshot(server.display).pixel(550, 200) == (255, 0, 255), 10.0,
                     "the covering window to be shown")
        time.sleep(1.0)  # frames drawn since
        share = background_share(screenshot(server.display), background)
        check(share >= 0.85, f"uncovered, only {share:.0%} of the background region shows the "
                             "picture again")


def case_keys(args, workdir):
    """Space, Return and the arrows change nothing; Escape ends the demo quietly."""
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))
        demo = Demo(args.demo, make_rundir(workdir, args.pictures), server.display)
        stack.callback(demo.stop)
        window = wait_for_demo_window(server.display, demo)
        for key in ("space", "Return", "Left", "Right", "Up", "Down"):
            press_keys(server.display, window.id, key)
            check_still_running_and_drawing(server.display, demo, f"the key {key}")
        check(is_viewable(server.display, window.id), "the window went away after the keys")
        press_keys(server.display, window.id, "Escape")
        expect_clean_exit(demo)
        check("Error" not in demo.stderr(), f"complaints on stderr: {demo.stderr()!r}")
    log("ignored keys left it running and drawing; Escape ended it with 0 and no output")


def case_window_close(args, workdir):
    """A window manager's close request ends the demo with status 0."""
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))
        demo = Demo(args.demo, make_rundir(workdir, args.pictures), server.display)
        stack.callback(demo.stop)
        window = wait_for_demo_window(server.display, demo)
        wait_for_new_frame(server.display, screenshot(server.display))
        close_like_window_manager(server.display, window.id)
        expect_clean_exit(demo)
    log("WM_DELETE_WINDOW ended it with 0 and no output")


def case_exit_signals(args, workdir):
    """TERM, INT, HUP and ABRT from another process each end it with 0 and the notice."""
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))
        for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP, signal.SIGABRT):
            demo = Demo(args.demo, make_rundir(workdir, args.pictures, f"run-{sig.name}"),
                        server.display)
            try:
                wait_for_demo_window(server.display, demo)
                wait_for_new_frame(server.display, screenshot(server.display))
                demo.send_signal(sig)
                expect_clean_exit(demo, SIGNAL_NOTICE.format(int(sig), 1))
            finally:
                demo.stop()
            log(f"{sig.name} ({int(sig)}): status 0 and the notice")


def case_broken_pictures(args, workdir):
    """One error box per picture that cannot be read, before the window; then it runs."""
    background = read_bmp_rgb(os.path.join(args.pictures, "background.bmp"))
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))

        # Every sphere picture unreadable: each of the five bodies fails to get one.
        rundir = make_rundir_with_copies(workdir, args.pictures, "spheres-broken")
        allowed = break_all_sphere_pictures(rundir)
        trace = os.path.join(workdir, "trace-spheres")
        demo = Demo(args.demo, rundir, server.display, wrapper=strace_wrapper(trace),
                    args=CLEAR_CORNER_SEED)
        stack.callback(demo.stop)
        dismiss_boxes_then_wait_for_window(server.display, demo, 5)
        shot, foreground = check_scene_with_background(server.display, background)
        grey = sum(1 for p in foreground if is_grey(p)) / len(foreground)
        log(f"{grey:.1%} of the sphere and spray pixels are grey")
        # Untextured spheres are lit white-on-grey; only the spray points bring colour.
        check(grey >= 0.6, f"only {grey:.0%} of the sphere pixels are grey: the spheres look "
                           "textured although no sphere picture could be read")
        wait_for_new_frame(server.display, shot)
        press_keys(server.display, viewable_windows_named(server.display, "Velmorin")[0].id,
                   "Escape")
        expect_clean_exit(demo)
        check_box_texts(trace, allowed, 5)
        log("five boxes, each naming a reading failure, then plain spheres on the background")

        # Only the background missing: one box, then spheres on black.
        rundir = make_rundir_with_copies(workdir, args.pictures, "background-missing")
        os.remove(os.path.join(rundir, "bitmap", "background.bmp"))
        trace = os.path.join(workdir, "trace-background")
        demo = Demo(args.demo, rundir, server.display, wrapper=strace_wrapper(trace))
        stack.callback(demo.stop)
        window = dismiss_boxes_then_wait_for_window(server.display, demo, 1)
        shot = wait_for_drawing(server.display)
        black = black_share_of_background_region(shot)
        check(black >= 0.85, f"only {black:.0%} of where the background would be is black")
        foreground = foreground_pixels(shot, None)
        check(len(foreground) >= 150, f"only {len(foreground)} non-black pixels: no spheres")
        wait_for_new_frame(server.display, shot)
        press_keys(server.display, window.id, "Escape")
        expect_clean_exit(demo)
        check_box_texts(trace, {OPEN_FAILED}, 1)
        log("one box for the missing background, then spheres on black")


def case_display_mode_switch(args, workdir):
    """On a server with real modes: 800x600 while it runs, the old mode back however it ends."""
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xorg_dummy(workdir))
        display = server.display
        check(current_screen_size(display) == (1024, 768),
              f"Xorg started at {current_screen_size(display)}, expected 1024x768")

        def run_and_end(name, end):
            demo = Demo(args.demo, make_rundir(workdir, args.pictures, f"run-{name}"), display)
            try:
                window = wait_for_demo_window(display, demo)
                wait_for(lambda: current_screen_size(display) == (800, 600), 15.0,
                         "the display to switch to 800x600")
                wait_for_new_frame(display, screenshot(display))
                check(current_screen_size(display) == (800, 600),
                      f"display at {current_screen_size(display)} while running")
                expected_stdout = end(demo, window)
                expect_clean_exit(demo, expected_stdout)
            finally:
                demo.stop()
            size = current_screen_size(display)
            check(size == (1024, 768), f"after {name} the display stayed at {size[0]}x{size[1]}")
            log(f"{name}: 800x600 while running, 1024x768 again after")

        def escape(demo, window):
            press_keys(display, window.id, "Escape")
            return ""

        def close(demo, window):
            close_like_window_manager(display, window.id)
            return ""

        def terminate(demo, window):
            demo.send_signal(signal.SIGTERM)
            return SIGNAL_NOTICE.format(int(signal.SIGTERM), 1)

        run_and_end("Escape", escape)
        run_and_end("window close", close)
        run_and_end("SIGTERM", terminate)


# A second screen right of the first (1024x768 at 60 Hz): 640x480 at 120 Hz, its pixel clock
# in MHz over 800 by 500 pixels a frame, blanking included.
SECOND_SCREEN_MODE = ("640x480_120", "48", "640", "656", "752", "800", "480", "490", "492", "500")
SECOND_SCREEN_HZ = 48e6 / (800 * 500)


def case_refresh_rate_follows_display(args, workdir):
    """A window moved onto a screen at 120 Hz reads 120 Hz there, not the first screen's 60."""
    if not os.path.exists(XORG_DUMMY_DRIVER):
        raise CaseSkipped("no dummy video driver (package xserver-xorg-video-dummy)")
    with contextlib.ExitStack() as stack:
        display = stack.enter_context(start_xorg_dummy(workdir)).display
        _x(display, "xrandr", "--newmode", *SECOND_SCREEN_MODE)
        _x(display, "xrandr", "--addmode", "DUMMY1", SECOND_SCREEN_MODE[0])
        _x(display, "xrandr", "--output", "DUMMY1", "--mode", SECOND_SCREEN_MODE[0],
           "--right-of", "DUMMY0")
        # The driver counts an output connected once it shows a mode, but the server says so to
        # clients only after someone probes the outputs again, as a plain query does.
        _x(display, "xrandr")
        probe = subprocess.Popen([args.probe], env=dict(os.environ, DISPLAY=display),
                                 stdout=subprocess.PIPE, text=True)
        stack.callback(stop_process, probe)
        first = probe.stdout.readline().strip()
        check(first == "60", f"on the first screen the probe read {first!r} Hz, expected 60")
        window = wait_for(lambda: viewable_windows_named(display, "refresh probe"), 30.0,
                          "the probe's window")[0]
        _x(display, "xdotool", "windowmove", str(window.id), "1100", "100")  # wholly on DUMMY1
        moved = probe.stdout.readline().strip()
        check(moved == str(round(SECOND_SCREEN_HZ)),
              f"on the second screen the probe read {moved!r} Hz, expected {SECOND_SCREEN_HZ:g}")
        log(f"{first} Hz on the first screen, {moved} Hz once moved onto the second")


def case_display_mode_refused(args, workdir):
    """Where 800x600 does not exist the demo says so in a box and ends with 0 after Return."""
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir, 1024, 768))
        trace = os.path.join(workdir, "trace")
        demo = Demo(args.demo, make_rundir(workdir, args.pictures), server.display,
                    wrapper=strace_wrapper(trace))
        stack.callback(demo.stop)
        dismiss_error_box(server.display, demo, wait_for_error_box(server.display, demo))
        expect_clean_exit(demo)
        check_box_texts(trace, {"Could not change display settings"}, 1)
    log("the box said it could not change the display settings; status 0 after Return")


def case_signal_during_error_box(args, workdir):
    """A signal ends the demo even while a box waits, and takes the box down with it."""
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))

        def signal_box(rundir, boxes_before, sig):
            demo = Demo(args.demo, rundir, server.display)
            try:
                seen = frozenset()
                for _ in range(boxes_before):
                    box = wait_for_error_box(server.display, demo, seen)
                    dismiss_error_box(server.display, demo, box)
                    seen |= box.pids
                box_processes = wait_for_error_box(server.display, demo, seen).pids
                demo.send_signal(sig)
                expect_clean_exit(demo, SIGNAL_NOTICE.format(int(sig), 1))
                # Checked before the cleanup below, which would kill a box left behind.
                wait_for(lambda: not windows_named(server.display, "Error"), 10.0,
                         "the error box to leave the screen")
                wait_for(lambda: not any(process_alive(p) for p in box_processes), 10.0,
                         f"the box processes {box_processes} to end")
                check(not windows_named(server.display, "Velmorin"), "the demo window remains")
            finally:
                demo.stop()
            log(f"{sig.name} during error box {boxes_before + 1}: status 0, notice, no box left")

        rundir = make_rundir_with_copies(workdir, args.pictures, "background-missing")
        os.remove(os.path.join(rundir, "bitmap", "background.bmp"))
        signal_box(rundir, 0, signal.SIGTERM)

        rundir = make_rundir_with_copies(workdir, args.pictures, "spheres-broken")
        break_all_sphere_pictures(rundir)
        signal_box(rundir, 2, signal.SIGINT)


def case_valgrind_full_run(args, workdir):
    """Start, frames, Escape under memcheck: no memory error, no definite leak of our own."""
    if shutil.which("valgrind") is None:
        raise TestFailure("valgrind is not installed (package valgrind)")
    log_path = os.path.join(workdir, "memcheck.log")
    wrapper = ["valgrind", "--tool=memcheck", "--leak-check=full",
               "--errors-for-leak-kinds=definite", "--error-exitcode=99",
               # The GL driver is unloaded before the leak check: keep its names for the
               # suppressions to match.
               "--keep-debuginfo=yes", "--child-silent-after-fork=yes", "--num-callers=40",
               f"--suppressions={args.suppressions}", f"--log-file={log_path}"]
    # softpipe draws without compiling code at run time, which keeps memcheck fast enough.
    env = {"LIBGL_ALWAYS_SOFTWARE": "1", "GALLIUM_DRIVER": "softpipe"}
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))
        demo = Demo(args.demo, make_rundir(workdir, args.pictures), server.display,
                    wrapper=wrapper, extra_env=env)
        stack.callback(demo.stop)
        window = wait_for_demo_window(server.display, demo, timeout=90.0)
        # A few seconds of frames, so that the steady state of drawing is checked too.
        shown = time.monotonic()
        shot = screenshot(server.display)
        while time.monotonic() - shown < 3.0:
            shot = wait_for_new_frame(server.display, shot, timeout=30.0)
        press_keys(server.display, window.id, "Escape")
        status = demo.wait_exit(60.0)
    with open(log_path, errors="replace") as handle:
        report = handle.read()
    summary = re.findall(r"ERROR SUMMARY: (\d+) errors", report)
    definite = re.findall(r"definitely lost: ([\d,]+) bytes", report)
    if status != 0 or summary != ["0"] or any(d != "0" for d in definite):
        log(report[-20000:])
    check(status == 0, f"exit status {status} under memcheck (99: memcheck found errors)")
    check(summary == ["0"], f"memcheck error summaries: {summary}")
    check(all(d == "0" for d in definite), f"definitely lost: {definite}")
    check(demo.stdout() == "", f"standard output was {demo.stdout()!r}")
    log("memcheck: no errors, no definite leaks")


CASES = {
    "window_shows_scene": case_window_shows_scene,
    "keys": case_keys,
    "uncovered_window": case_uncovered_window,
    "window_close": case_window_close,
    "exit_signals": case_exit_signals,
    "broken_pictures": case_broken_pictures,
    "display_mode_switch": case_display_mode_switch,
    "display_mode_refused": case_display_mode_refused,
    "refresh_rate_follows_display": case_refresh_rate_follows_display,
    "signal_during_error_box": case_signal_during_error_box,
    "valgrind_full_run": case_valgrind_full_run,
}

if __name__ == "__main__":
    sys.exit(run_cases(CASES, sys.argv[1:],
                       lambda parser: parser.add_argument("--probe", help="the refresh probe")))
