#!/usr/bin/python3
# End-to-end tests of the Windows build under Wine: the programs, the tools against the Linux
# build's, the demo, its command line and the screensaver, each checked from outside.
import os
import re
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wine_support import (  # noqa: E402
    check, check_escape_ends, check_scene_shown, cpu_percent, log, make_prefix, press_key,
    running, screen_size, visible_window, wait_for_end, wait_for_window, window_geometry,
    wine_session)
from e2e_support import (  # noqa: E402  (on the path through wine_support)
    PICTURE_NAMES, make_rundir, run_cases, viewable_windows_named, wait_for, window_property)

SYSTEM_DLLS = re.compile(r"^(kernel32|user32|gdi32|advapi32|comctl32|winmm|opengl32|glu32|msvcrt|"
                         r"ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$")
# The installer's (makensis's) own, besides those: shortcuts and the system's known folders.
SETUP_DLLS = re.compile(r"^(ole32|shell32)\.dll$")
PICTURE_COUNT = 1 + len(PICTURE_NAMES)
BODY_COUNT = 5  # one failed picture, and so one box, per sphere when all sphere pictures are gone
SMALL_SCREEN = (800, 600)  # the display mode the demo asks for
LARGE_SCREEN = (1024, 768)  # one Wine cannot switch to 800x600
OBJDUMP = "x86_64-w64-mingw32-objdump"
TRACE_CASES = [
    "--seed 1 --frames 0 --dt 0.015 --particles",
    "--seed 7 --frames 100 --dt 0.015 --particles",
    "--seed 4294967295 --frames 60 --dt 0.02 --particles",
    "--seed 20240607 --frames 400 --dt 0.01",
]
# --root and --window-id: Windows has no other program's window to draw into on request;
# --wallpaper and --saver: its screensaver is velmorin.scr.
BAD_COMMAND_LINES = ["--bogus", "--seed", "--seed x", "--seed 4294967296", "--windowed=0x600",
                     "--windowed --desktop", "--fps --fps", "--max-fps -1", "--root",
                     "--window-id 0x600008", "--wallpaper", "--saver"]
SILENT_SAVER_LINES = ["/a", "/p 0", "/p x", "/p 4000000", "/p:", "/c:x", "/s 5", "/x"]
USAGE_LINE = "usage: velmorin [--windowed"


def saver_of(args):
    return os.path.join(os.path.dirname(args.demo), "velmorin.scr")


def read_bytes(path):
    with open(path, "rb") as handle:
        return handle.read()


def crlf_free(text):
    return text.replace("\r", "")


def write_figure(args, name, text):
    """A figure for the driver to print: the suite prints nothing of a case that passed."""
    log(f"figure: {text}")
    with open(os.path.join(args.shots, f"wine-{name}.txt"), "w") as handle:
        handle.write(text + "\n")


def make_background_only_folder(workdir, pictures, name):
    """A folder whose bitmap/ holds the background alone: a program that preferred it to the
    pictures it was pointed at would report the sphere pictures missing."""
    folder = os.path.join(workdir, name)
    os.makedirs(os.path.join(folder, "bitmap"))
    shutil.copy(os.path.join(pictures, "background.bmp"), os.path.join(folder, "bitmap"))
    return folder


def make_saver_folders(args, workdir):
    """The saver with the pictures beside it, and the folder it is started from."""
    saver_folder = os.path.join(workdir, "saver")
    os.makedirs(saver_folder)
    shutil.copy(saver_of(args), saver_folder)
    shutil.copytree(args.pictures, os.path.join(saver_folder, "bitmap"))
    start = make_background_only_folder(workdir, args.pictures, "saver-start")
    return os.path.join(saver_folder, "velmorin.scr"), start


def unpack_zip(args, workdir):
    check(os.path.isfile(args.zip), f"no {os.path.basename(args.zip)}: run cpack -G ZIP first")
    unpacked = os.path.join(workdir, "unpacked")
    os.makedirs(unpacked)
    result = subprocess.run(["cmake", "-E", "tar", "xf", args.zip], cwd=unpacked,
                            capture_output=True, text=True)
    check(result.returncode == 0, f"the zip does not unpack: {result.stderr}")
    return os.path.join(unpacked, os.path.basename(args.zip)[:-len(".zip")])


# --- The programs as built -------------------------------------------------------------------

def case_prefix(args, workdir):
    """The Wine prefix the other cases start from."""
    make_prefix(args.prefix, workdir)


def case_system_dlls_only(args, _workdir):
    """Every program needs no DLL but the system's."""
    programs = []
    for folder, subfolders, files in os.walk(args.build):
        # The Wine prefix holds Wine's own programs.
        subfolders[:] = [s for s in subfolders if s != "CMakeFiles" and
                         not os.path.join(folder, s).startswith(os.path.normpath(args.prefix))]
        programs += [os.path.join(folder, f) for f in files if f.endswith((".exe", ".scr"))]
    check(programs, f"no programs in {args.build}")
    for program in sorted(programs):
        headers = subprocess.run([OBJDUMP, "-p", program], capture_output=True, text=True,
                                 check=True).stdout
        for dll in re.findall(r"^\s*DLL Name: (\S+)", headers, re.MULTILINE):
            check(SYSTEM_DLLS.match(dll.lower()) or
                  (program.endswith("-setup.exe") and SETUP_DLLS.match(dll.lower())),
                  f"{program} imports {dll}")
    log(f"{len(programs)} programs checked")


def case_manifest(args, _workdir):
    """Both programs (one and the same) carry the manifest that makes Windows hand them the
    screen's real pixels."""
    with open(args.demo, "rb") as exe, open(saver_of(args), "rb") as scr:
        program = exe.read()
        check(program == scr.read(), "velmorin.scr is not velmorin.exe")
    sections = subprocess.run([OBJDUMP, "-h", args.demo], capture_output=True, text=True,
                              check=True).stdout
    check(" .rsrc " in sections, "velmorin.exe has no resources")
    check(b">PerMonitorV2, PerMonitor</dpiAwareness>" in program,
          "velmorin.exe does not declare per-monitor DPI awareness")


def case_zip_contents(args, workdir):
    """The zip holds the programs, the saver, the Linux build's pictures byte for byte and the
    documents, and nothing else."""
    folder = unpack_zip(args, workdir)
    name = os.path.basename(folder)
    pictures = sorted(p for p in os.listdir(args.pictures) if p.endswith(".bmp"))
    for picture in pictures:
        zipped = os.path.join(folder, "bitmap", picture)
        check(os.path.isfile(zipped) and
              read_bytes(zipped) == read_bytes(os.path.join(args.pictures, picture)),
              f"the zip's {picture} is not the Linux build's")
    expected = sorted([f"{name}/LICENSE.txt", f"{name}/README.md", f"{name}/velmorin.exe",
                       f"{name}/velmorin-bmp.exe", f"{name}/velmorin-trace.exe",
                       f"{name}/velmorin.scr"] + [f"{name}/bitmap/{p}" for p in pictures])
    unpacked = os.path.dirname(folder)
    entries = sorted(os.path.relpath(os.path.join(d, f), unpacked)
                     for d, _, files in os.walk(unpacked) for f in files)
    check(entries == expected, f"the zip holds: {entries}")
    log(f"{name}.zip: {os.path.getsize(args.zip) // 1024} KiB, {len(entries)} files")


def case_unit_tests(args, workdir):
    """The Windows unit tests, each through Wine (the cross build's test emulator)."""
    with wine_session(args.prefix, workdir, *SMALL_SCREEN) as (_display, wine):
        result = subprocess.run([args.ctest, "--test-dir", args.build, "-L", "unit",
                                 "--output-on-failure", "-j", "2", "--timeout", "120"],
                                env=wine.env, stdin=subprocess.DEVNULL, capture_output=True,
                                text=True)
        log(result.stdout[-3000:])
        check(result.returncode == 0, f"unit tests under Wine failed: {result.stderr[-500:]}")


def case_tools_match_linux(args, workdir):
    """The pictures, the BMP reader's report and the trace: the same bytes as on Linux."""
    linux_tools = os.path.join(args.linux_build, "tools")
    run_folder = os.path.join(workdir, "run")
    os.makedirs(run_folder)
    with wine_session(args.prefix, workdir, *SMALL_SCREEN) as (_display, wine):
        painted = wine.run(args.painter, ["."], run_folder, timeout=120)
        check(painted.status == 0, f"velmorin-pictures.exe: {painted.stdout} {painted.stderr}")
        linux_pictures = sorted(p for p in os.listdir(args.pictures) if p.endswith(".bmp"))
        for picture in linux_pictures:
            check(read_bytes(os.path.join(args.pictures, picture)) ==
                  read_bytes(os.path.join(run_folder, "bitmap", picture)),
                  f"picture {picture} differs from the Linux build's")
        check(len(linux_pictures) == PICTURE_COUNT,
              f"expected {PICTURE_COUNT} pictures in {args.pictures}, found {len(linux_pictures)}")
        # velmorin-bmp writes text mode, so its line ends are the system's.
        listed = [f"bitmap/{p}" for p in linux_pictures]
        report = wine.run(args.bmp, listed, run_folder, timeout=120)
        check(report.status == 0, "velmorin-bmp.exe refused a picture")
        linux_report = subprocess.run([os.path.join(linux_tools, "velmorin-bmp")] + listed,
                                      cwd=run_folder, capture_output=True, text=True)
        check(crlf_free(report.stdout) == linux_report.stdout, "velmorin-bmp output differs")
        # The trace sets its standard output to binary, so not even the line ends may differ.
        for trace_case in TRACE_CASES:
            linux_trace = subprocess.run([os.path.join(linux_tools, "velmorin-trace")] +
                                         trace_case.split(), capture_output=True,
                                         check=True).stdout
            trace = wine.run(args.trace, trace_case.split(), workdir, timeout=120)
            check(trace.status == 0, f"velmorin-trace.exe {trace_case} failed")
            check(read_bytes(trace.out_path) == linux_trace,
                  f"velmorin-trace {trace_case} differs from the Linux build's")
            log(f"velmorin-trace {trace_case}: {len(linux_trace)} bytes, identical")
        missing_option = wine.run(args.trace, ["--seed", "1"], workdir, timeout=120)
        check(missing_option.status == 2,
              f"velmorin-trace.exe with a missing option: status {missing_option.status}")


# --- The demo ----------------------------------------------------------------------------------

def case_demo_escape(args, workdir):
    """The demo shows its window and a moving scene, with no box, and ends on Escape."""
    run_folder = make_rundir(workdir, args.pictures)
    with wine_session(args.prefix, workdir, *SMALL_SCREEN) as (display, wine), \
            running(wine, args.demo, [], run_folder) as demo:
        wait_for_window(display, "Velmorin", demo)
        check_scene_shown(display, demo, "demo", workdir, args.shots)
        check(visible_window(display, "Error") is None,
              "an Error box appeared with every picture present")
        check_escape_ends(display, demo, "demo")


def case_missing_pictures_boxes(args, workdir):
    """Without its sphere pictures the demo shows one Error box each, then runs."""
    folder = make_background_only_folder(workdir, args.pictures, "missing")
    with wine_session(args.prefix, workdir, *SMALL_SCREEN) as (display, wine), \
            running(wine, args.demo, [], folder) as demo:
        boxes = 0
        deadline = time.monotonic() + 60
        while (visible_window(display, "Velmorin") is None or
               visible_window(display, "Error") is not None):
            check(demo.running(), "the demo ended while its pictures were missing")
            check(time.monotonic() < deadline,
                  f"boxes or window did not settle ({boxes} boxes dismissed)")
            box = visible_window(display, "Error")
            if box is None:
                time.sleep(0.2)
                continue
            press_key(display, box, "Return")
            while box in [w.id for w in viewable_windows_named(display, "Error")]:
                check(time.monotonic() < deadline, "Return did not dismiss the Error box")
                time.sleep(0.1)
            boxes += 1
        check(boxes == BODY_COUNT, f"expected {BODY_COUNT} Error boxes, dismissed {boxes}")
        check_scene_shown(display, demo, "missing", workdir, args.shots)
        check_escape_ends(display, demo, "missing")


def case_display_mode_refused(args, workdir):
    """On a screen that cannot be switched to 800x600: "Could not change display settings",
    then status 0."""
    run_folder = make_rundir(workdir, args.pictures)
    with wine_session(args.prefix, workdir, *LARGE_SCREEN) as (display, wine), \
            running(wine, args.demo, [], run_folder) as demo:
        box = wait_for_window(display, "Error", demo)
        check(visible_window(display, "Velmorin") is not None,
              "the window was not shown before the display change")
        press_key(display, box, "Return")
        status = wait_for_end(demo, 30, "the demo did not end after the box was dismissed")
        check(status == 0, f"exit status {status} after the display change failed")
        check(demo.stdout() == "", f"printed {demo.stdout()[:200]!r}")


def case_zip_runs_elsewhere(args, workdir):
    """The unpacked zip, started from another folder, finds its pictures beside it."""
    folder = unpack_zip(args, workdir)
    elsewhere = os.path.join(workdir, "elsewhere")
    os.makedirs(elsewhere)
    with wine_session(args.prefix, workdir, *SMALL_SCREEN) as (display, wine):
        background = wine.windows_path(os.path.join(folder, "bitmap", "background.bmp"))
        report = wine.run(os.path.join(folder, "velmorin-bmp.exe"), [background], elsewhere)
        check(report.status == 0, f"the zip's velmorin-bmp.exe: {report.stdout}{report.stderr}")
        with running(wine, os.path.join(folder, "velmorin.exe"), [], elsewhere) as demo:
            def shown():
                check(visible_window(display, "Error") is None,
                      "an Error box: the demo from the zip did not find the pictures beside it")
                check(demo.running(), "the demo from the zip ended before showing its window")
                return visible_window(display, "Velmorin")
            wait_for(shown, 60, "the demo from the zip to show its window", interval=0.2)
            check_scene_shown(display, demo, "zip", workdir, args.shots)
            check(visible_window(display, "Error") is None,
                  "an Error box appeared with the zip's pictures beside it")
            check_escape_ends(display, demo, "zip")


# --- The command line of velmorin.exe ------------------------------------------------------------

def case_command_line_usage(args, workdir):
    """--help and --version answer on standard output with status 0; bad usage gives the one
    usage line on standard error and status 2, and nothing is shown (a box would hold the
    program open)."""
    with wine_session(args.prefix, workdir, *LARGE_SCREEN) as (_display, wine):
        result = wine.run(args.demo, ["--help"], workdir)
        check(result.status == 0, f"--help: status {result.status}")
        lines = crlf_free(result.stdout).split("\n")
        check(lines[0] == "usage: velmorin [OPTION]...", f"--help printed {result.stdout[:200]!r}")
        check("--max-fps N" in result.stdout, "--help does not list --max-fps")
        result = wine.run(args.demo, ["--version"], workdir)
        check(result.status == 0, f"--version: status {result.status}")
        check(crlf_free(result.stdout).rstrip("\n") == f"velmorin {args.project_version}",
              f"--version printed {result.stdout[:200]!r}")
        for arguments in BAD_COMMAND_LINES:
            result = wine.run(args.demo, arguments.split(), workdir)
            check(result.status == 2, f"velmorin.exe {arguments}: status {result.status}, not 2")
            check(result.stdout == "", f"velmorin.exe {arguments} printed on standard output")
            usage = crlf_free(result.stderr).splitlines()
            check(len(usage) == 1 and usage[0].startswith(USAGE_LINE),
                  f"velmorin.exe {arguments}: {result.stderr[:300]!r}")
    log(f"--help, --version and {len(BAD_COMMAND_LINES)} bad command lines answered")


def case_windowed(args, workdir):
    """--windowed: a decorated window (Wine asks for a title bar through the Motif hints) whose
    client area has the size asked for, the other options taken; Escape ends it. It starts where
    bitmap/ has the background alone, so only a --pictures that is followed keeps the boxes away."""
    start = make_background_only_folder(workdir, args.pictures, "start")
    with wine_session(args.prefix, workdir, *LARGE_SCREEN) as (display, wine):
        options = ["--windowed=640x480", "--seed", "7", "--max-fps", "30", "--no-vsync", "--fps",
                   "--pictures", wine.windows_path(args.pictures)]
        with running(wine, args.demo, options, start) as demo:
            window = wait_for_window(display, "Velmorin", demo)
            geometry = window_geometry(display, window)
            check(geometry.split("+")[0] == "640x480",
                  f"--windowed=640x480: client area {geometry}")
            hints = window_property(display, window, "_MOTIF_WM_HINTS").partition(" = ")[2]
            # flags, functions, decorations: decorations asked for (flag 2), with a title (8)
            fields = [int(f, 0) for f in hints.replace(",", " ").split()]
            check(len(fields) >= 3 and fields[0] & 2 and fields[2] & 8,
                  f"--windowed: no title bar asked for (Motif hints: {hints})")
            check_scene_shown(display, demo, "windowed", workdir, args.shots)
            check(visible_window(display, "Error") is None, "--windowed: an Error box appeared")
            check_escape_ends(display, demo, "windowed")


def case_desktop(args, workdir):
    """--desktop on a screen that cannot be switched to 800x600: borderless over the whole
    screen at its own size, and no "Could not change display settings" box."""
    run_folder = make_rundir(workdir, args.pictures)
    with wine_session(args.prefix, workdir, *LARGE_SCREEN) as (display, wine), \
            running(wine, args.demo, ["--desktop"], run_folder) as demo:
        screen = screen_size(display)
        window = wait_for_window(display, "Velmorin", demo)
        geometry = window_geometry(display, window)
        check(geometry == f"{screen}+0+0", f"--desktop: window {geometry} on a {screen} screen")
        check_scene_shown(display, demo, "desktop", workdir, args.shots)
        check(visible_window(display, "Error") is None, "--desktop: an Error box appeared")
        now = screen_size(display)
        check(now == screen, f"--desktop: the screen became {now}")
        write_figure(args, "cpu-desktop",
                     f"--desktop (capped at the refresh rate) at {screen} {cpu_percent(demo, 3)}%")
        check_escape_ends(display, demo, "desktop")


# --- The screensaver velmorin.scr ------------------------------------------------------------

def xdotool(display, *command):
    subprocess.run(["xdotool", *command], env=dict(os.environ, DISPLAY=display), check=True,
                   stdin=subprocess.DEVNULL, capture_output=True, timeout=10)


def check_saver_ends(args, workdir, display, wine, saver, start, form, ending, figure=True):
    """velmorin.scr FORM, started from another folder: topmost over the whole screen, the
    pictures found beside it, no box; ends on the given kind of input with status 0."""
    screen = screen_size(display)
    xdotool(display, "mousemove", "300", "200")  # where the saver's first report will say it is
    with running(wine, saver, [form], start) as program:
        window = wait_for_window(display, "Velmorin", program)
        geometry = window_geometry(display, window)
        check(geometry == f"{screen}+0+0", f"{form}: window {geometry} on a {screen} screen")
        check("_NET_WM_STATE_ABOVE" in window_property(display, window, "_NET_WM_STATE"),
              f"{form}: not topmost")
        check_scene_shown(display, program, "saver-" + re.sub("[^a-zA-Z]", "", form), workdir,
                          args.shots)
        check(visible_window(display, "Error") is None, f"{form}: an Error box appeared")
        check(program.stderr() == "", f"{form}: reported {program.stderr()[:300]!r}")
        if ending == "key" and figure:
            write_figure(args, "cpu-saver",
                         f"saver (capped at 60 fps) at {screen} {cpu_percent(program, 3)}%")
            press_key(display, window, "space")
        elif ending == "mouse":
            # The first report and a few pixels of jitter do not count.
            xdotool(display, "mousemove", "302", "201")
            time.sleep(0.5)
            xdotool(display, "mousemove", "298", "203")
            time.sleep(2)
            check(program.running(), f"{form}: ended on a mouse jitter of 2 pixels")
            xdotool(display, "mousemove", "600", "500")
        else:
            xdotool(display, "click", "1")
        status = wait_for_end(program, 30, f"{form}: did not end on a {ending}")
        check(status == 0, f"{form}: exit status {status} after a {ending}")
        now = screen_size(display)
        check(now == screen, f"{form}: the screen became {now}")
        check(program.stdout() == "", f"{form}: printed {program.stdout()[:200]!r}")


def case_saver_fullscreen(args, workdir):
    """/s, /S and -s each run the saver over the whole screen; a real mouse move, a key and a
    click each end it."""
    saver, start = make_saver_folders(args, workdir)
    with wine_session(args.prefix, workdir, *LARGE_SCREEN) as (display, wine):
        for form, ending in (("/s", "mouse"), ("/S", "key"), ("-s", "click")):
            check_saver_ends(args, workdir, display, wine, saver, start, form, ending)


def case_saver_no_pictures(args, workdir):
    """A saver with no pictures anywhere says so on standard error, never in a box, and runs
    on."""
    _, start = make_saver_folders(args, workdir)
    bare = os.path.join(workdir, "saver-bare")
    os.makedirs(bare)
    shutil.copy(saver_of(args), bare)
    with wine_session(args.prefix, workdir, *LARGE_SCREEN) as (display, wine), \
            running(wine, os.path.join(bare, "velmorin.scr"), ["/s"], start) as saver:
        window = wait_for_window(display, "Velmorin", saver)
        time.sleep(2)
        check(saver.running(), "saver without pictures: ended by itself")
        check(visible_window(display, "Error") is None,
              "saver without pictures: an Error box appeared")
        check(re.search("^Error: ", saver.stderr(), re.MULTILINE),
              "saver without pictures: no error on stderr")
        press_key(display, window, "space")
        status = wait_for_end(saver, 30, "saver without pictures: did not end on a key")
        check(status == 0, f"saver without pictures: exit status {status}")


def run_in_host(args, wine, saver, start, form):
    """What the stand-in for the system's saver dialog reported of the saver in `form`."""
    result = wine.run(args.scr_host, [wine.windows_path(saver), form], start)
    check(result.status == 0, f"{form}: {crlf_free(result.stderr)}")
    return crlf_free(result.stdout).splitlines()


def case_saver_preview(args, workdir):
    """The preview (/p HWND and /p:HWND) in a host window: a child of the host's client size,
    ending when the host closes."""
    saver, start = make_saver_folders(args, workdir)
    with wine_session(args.prefix, workdir, *LARGE_SCREEN) as (_display, wine):
        for form in ("preview", "preview-colon"):
            report = run_in_host(args, wine, saver, start, form)
            check("host 152x112" in report, f"{form}: {report}")
            check("child 152x112" in report, f"{form}: the preview does not fill the host: "
                  f"{report}")
            check("exit 0" in report, f"{form}: {report}")


SETTINGS_KEY = r"HKCU\Software\Velmorin"
# The dialog from the keyboard: the spheres' trackbar has the focus; End, Home and Page Down move
# a trackbar, Down picks the next background, space ticks the frame rate's box and unticks the
# following view's and the renewal's, Return is OK.
SETTINGS_KEYS = ["End", "Tab", "End", "Tab", "Home", "Next", "Next", "Tab", "Down", "Tab",
                 "space", "Tab", "space", "Tab", "space", "Return"]
SETTINGS_CHOSEN = {"Bodies": 20, "SpeedPercent": 400, "Spray": 20, "Background": 1,
                   "ShowFps": 1, "MaxFps": 60, "View": 1, "Renew": 1}
SETTINGS_DEFAULTS = {"Bodies": 5, "SpeedPercent": 100, "Spray": 100, "Background": 0,
                     "ShowFps": 0, "MaxFps": 60, "View": 0, "Renew": 0}
# Read back with no spheres and the frame cap stored as text: the least spheres, the usual cap.
SETTINGS_LOG_LINE = ('"velmorin: bodies=1 speed=4 spray=20 background=none max-fps=60 '
                     'fps=on view=fixed renew=never\\n"')


def registry_dwords(wine, workdir):
    """The saver's DWORD values in the registry, by name."""
    result = wine.run("reg", ["query", SETTINGS_KEY], workdir)
    check(result.status == 0, f"reg query {SETTINGS_KEY}: {result.stdout}{result.stderr}")
    found = re.findall(r"^\s*(\w+)\s+REG_DWORD\s+0x([0-9a-fA-F]+)\s*$",
                       crlf_free(result.stdout), re.MULTILINE)
    return {name: int(value, 16) for name, value in found}


def registry_set(wine, workdir, name, kind, value):
    result = wine.run("reg", ["add", SETTINGS_KEY, "/v", name, "/t", kind, "/d", value, "/f"],
                      workdir)
    check(result.status == 0, f"reg add {name}: {result.stdout}{result.stderr}")


def case_saver_settings(args, workdir):
    """The settings dialog: owned by the host window from /c:HWND, OK storing what it shows; from
    the keyboard (/c), Enter storing the choices; with no argument, Escape storing nothing. The
    saver (/s) then runs with what is stored, brought into range where it is not usable, and
    says so in the debugger's log. Defaults then OK stores every default again."""
    saver, start = make_saver_folders(args, workdir)
    with wine_session(args.prefix, workdir, *LARGE_SCREEN) as (display, wine):
        report = run_in_host(args, wine, saver, start, "settings")
        check(report[:3] == ["dialog Velmorin Settings", "owner host", "exit 0"],
              f"settings: {report}")
        stored = registry_dwords(wine, workdir)
        check(stored == SETTINGS_DEFAULTS, f"settings: OK at once stored {stored}")
        for form, keys, expected in ((["/c"], SETTINGS_KEYS, SETTINGS_CHOSEN),
                                     ([], ["Home", "Escape"], SETTINGS_CHOSEN)):
            with running(wine, saver, form, start) as program:
                dialog = wait_for_window(display, "Velmorin Settings", program)
                check(visible_window(display, "Velmorin") is None,
                      f"{form}: the scene was shown too")
                xdotool(display, "windowfocus", "--sync", str(dialog), "key", "--delay", "100",
                        *keys)
                status = wait_for_end(program, 30, f"{form}: {keys[-1]} did not end the dialog")
                check(status == 0, f"{form}: exit status {status}")
            stored = registry_dwords(wine, workdir)
            check(stored == expected, f"{form} {' '.join(keys)}: stored {stored}")
        registry_set(wine, workdir, "Bodies", "REG_DWORD", "0")
        registry_set(wine, workdir, "MaxFps", "REG_SZ", "7")  # as short as a DWORD
        with running(wine, saver, ["/s"], start, winedebug="warn+debugstr") as program:
            window = wait_for_window(display, "Velmorin", program)
            check(SETTINGS_LOG_LINE in program.stderr(),
                  f"/s: no {SETTINGS_LOG_LINE} in the log: {program.stderr()[-600:]!r}")
            press_key(display, window, "space")
            wait_for_end(program, 30, "/s: did not end on a key")
        # Defaults, then the background's mnemonic to take the focus off the button, then OK:
        # every value, the broken ones included, is stored again as a DWORD at its default.
        with running(wine, saver, ["/c"], start) as program:
            dialog = wait_for_window(display, "Velmorin Settings", program)
            xdotool(display, "windowfocus", "--sync", str(dialog), "key", "--delay", "100",
                    "alt+d", "alt+b", "Return")
            wait_for_end(program, 30, "/c: Defaults and Return did not end the dialog")
        stored = registry_dwords(wine, workdir)
        check(stored == SETTINGS_DEFAULTS, f"/c Defaults then OK: stored {stored}")


def case_saver_silent_ends(args, workdir):
    """/a and unreadable ids end at once, silently, with status 0."""
    saver, start = make_saver_folders(args, workdir)
    with wine_session(args.prefix, workdir, *LARGE_SCREEN) as (_display, wine):
        for arguments in SILENT_SAVER_LINES:
            result = wine.run(saver, arguments.split(), start)
            check(result.status == 0, f"velmorin.scr {arguments}: status {result.status}")
            check(result.stdout == "" and result.stderr == "",
                  f"velmorin.scr {arguments}: not silent")
    log(f"{len(SILENT_SAVER_LINES)} command lines ended silently")


# --- The installer -----------------------------------------------------------------------------

INSTALL_KEY = r"HKLM\Software\Velmorin"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmorin"
UNINSTALL_VALUES = ["DisplayName", "DisplayVersion", "Publisher", "DisplayIcon", "EstimatedSize",
                    "UninstallString", "QuietUninstallString"]
INSTALLED_FILES = ["velmorin.exe", "velmorin-trace.exe", "velmorin-bmp.exe", "velmorin.ico",
                   "README.md", "LICENSE.txt", "uninstall.exe"]
INSTALLED_SAVER = r"C:\windows\system32\velmorin.scr"


def registry_values(wine, workdir, key):
    """The values of a registry key, by name, as reg prints them; None when there is no key."""
    result = wine.run("reg", ["query", key], workdir)
    return None if result.status != 0 else dict(re.findall(
        r"^\s+(\w+)\s+REG_\w+\s+(.*?)\s*$", crlf_free(result.stdout), re.MULTILINE))


def case_installer(args, workdir):
    """The setup program with /S: the programs, pictures and icon in the program files folder,
    the saver in the system folder running with the pictures from there, a Start menu entry and
    an entry in the installed programs. Its uninstaller with /S takes all of it away again and
    keeps the user's settings; with /PURGE they go too."""
    check(os.path.isfile(args.installer), f"no {args.installer}: build the target installer")
    start = make_background_only_folder(workdir, args.pictures, "saver-start")
    pictures = sorted(p for p in os.listdir(args.pictures) if p.endswith(".bmp"))
    with wine_session(args.prefix, workdir, *LARGE_SCREEN) as (display, wine):
        drive = os.path.join(wine.prefix, "drive_c")
        program = os.path.join(drive, "Program Files", "Velmorin")
        written = [os.path.join(drive, "windows", "system32", "velmorin.scr"), program,
                   os.path.join(drive, "ProgramData", "Microsoft", "Windows", "Start Menu",
                                "Programs", "Velmorin.lnk")]
        registry_set(wine, workdir, "Bodies", "REG_DWORD", "7")  # the user's own choice
        for purge in (False, True):
            result = wine.run(args.installer, ["/S"], workdir, timeout=120)
            check(result.status == 0, f"setup /S: status {result.status}")
            missing = [f for f in INSTALLED_FILES + [f"bitmap/{p}" for p in pictures]
                       if not os.path.isfile(os.path.join(program, f))]
            missing += [path for path in written if not os.path.exists(path)]
            check(not missing, f"setup /S did not install {missing}")
            entry = registry_values(wine, workdir, UNINSTALL_KEY) or {}
            check(all(entry.get(name) for name in UNINSTALL_VALUES) and
                  entry["DisplayVersion"] == args.project_version,
                  f"the installed programs' entry: {entry}")
            if not purge:
                check_saver_ends(args, workdir, display, wine, INSTALLED_SAVER, start, "/s",
                                 "key", figure=False)
            # The uninstaller goes on from a copy of itself in the temporary folder, and removes
            # its entry last.
            uninstaller = wine.windows_path(os.path.join(program, "uninstall.exe"))
            wine.run(uninstaller, ["/S"] + (["/PURGE"] if purge else []), workdir)
            wait_for(lambda: registry_values(wine, workdir, UNINSTALL_KEY) is None, 120,
                     "the uninstaller to remove its entry")
            left = [path for path in written if os.path.exists(path)]
            check(not left, f"uninstall /S left {left}")
            check(registry_values(wine, workdir, INSTALL_KEY) is None, f"{INSTALL_KEY} is left")
            kept = registry_values(wine, workdir, SETTINGS_KEY)
            check(kept is None if purge else kept == {"Bodies": "0x7"},
                  f"the user's settings after uninstall {'/PURGE' if purge else ''}: {kept}")


def add_arguments(parser):
    parser.add_argument("--build", required=True, help="the cross build's folder")
    parser.add_argument("--prefix", required=True, help="the template Wine prefix")
    parser.add_argument("--shots", required=True, help="where screenshots and figures go")
    parser.add_argument("--linux-build", required=True, help="the Linux build to compare with")
    parser.add_argument("--ctest", required=True)
    parser.add_argument("--trace", required=True)
    parser.add_argument("--bmp", required=True)
    parser.add_argument("--painter", required=True, help="velmorin-pictures.exe")
    parser.add_argument("--scr-host", required=True)
    parser.add_argument("--zip", required=True)
    parser.add_argument("--installer", required=True)
    parser.add_argument("--project-version", required=True)


if __name__ == "__main__":
    cases = {name[len("case_"):]: case for name, case in globals().items()
             if name.startswith("case_")}
    sys.exit(run_cases(cases, sys.argv[1:], add_arguments))
