# Shared machinery of the end-to-end tests: private X servers, the demo as a child, and X checks.
import argparse
import array
import contextlib
import ctypes
import ctypes.util
import os
import random
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import traceback

PICTURE_NAMES = ("rock1", "rock3", "rock4", "rock5", "rock6", "water1", "water2", "water3",
                 "metal1", "metal2", "cloud1", "cloud2")
SIGNAL_NOTICE = "\n[dtest_exit_signal_handler] received INT/TERM signal {} [{} times], exiting...\n"

# Every demo these cases start reads its settings file from here, a folder that does not exist,
# so a settings file of whoever runs the tests never reaches them; a case that wants one names
# its own.
os.environ["XDG_CONFIG_HOME"] = os.path.join(tempfile.gettempdir(),
                                             f"velmorin-e2e-{os.getpid()}-no-config")

_PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)


class TestFailure(Exception):
    """A check that did not hold; the message says what was expected and what was seen."""


class CaseSkipped(Exception):
    """The case cannot run on this machine (CTest's SKIP_RETURN_CODE, 77); the message says why."""


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def log(message):
    print(message, flush=True)


def wait_for(condition, timeout, what, interval=0.1):
    """Polls condition() until it returns something truthy; fails naming `what` at the deadline.
    The machine is shared, so deadlines are generous and nothing here measures speed."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise TestFailure(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def _die_with_parent(sig):
    # Runs in the child between fork and exec: if this test is killed (a CTest timeout), its
    # servers and demos go with it instead of lingering on the shared machine.
    def setup():
        _libc.prctl(_PR_SET_PDEATHSIG, sig, 0, 0, 0)
    return setup


def install_termination_cleanup():
    """Turns SIGTERM/SIGINT/SIGHUP into an exception so that every `finally` still runs."""
    def handler(number, _frame):
        raise TestFailure(f"test interrupted by signal {number}")
    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, handler)


def stop_process(proc, sig=signal.SIGTERM, grace=5.0):
    """Ends a child we started: first politely, then for certain."""
    if proc is None or proc.poll() is not None:
        return
    try:
        proc.send_signal(sig)
        proc.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
    except ProcessLookupError:
        pass


# --- X servers ---------------------------------------------------------------------------------

def _display_in_use(number):
    return (os.path.exists(f"/tmp/.X11-unix/X{number}") or
            os.path.exists(f"/tmp/.X{number}-lock"))


def _lock_owner(number):
    try:
        with open(f"/tmp/.X{number}-lock") as lock:
            return int(lock.read().strip())
    except (OSError, ValueError):
        return None


class XServer:
    """One private X server on a display number nobody else holds; stopped on exit."""

    def __init__(self, command_for_display, name, workdir, startup_timeout=30.0):
        self.name = name
        self.workdir = workdir
        self.proc = None
        self.number = None
        self.log_path = os.path.join(workdir, f"{name}.log")
        # Parallel tests (and other users of the machine) scan the same range: start at a random
        # place and let the server's own lock decide who wins a number.
        candidates = list(range(120, 400))
        random.shuffle(candidates)
        tries = 0
        for number in candidates:
            if _display_in_use(number):
                continue
            tries += 1
            log_start = os.path.getsize(self.log_path) if os.path.exists(self.log_path) else 0
            if self._try_start(number, command_for_display(number), startup_timeout):
                self.number = number
                return
            # Someone took the number between our look and the server's start: take another.
            # Any other failure would only repeat itself.
            with open(self.log_path, errors="replace") as handle:
                handle.seek(log_start)
                lost_race = "already active" in handle.read()
            if not lost_race or tries >= 5:
                break
        # The test command installs every server it uses, so one that cannot start is a failure.
        raise TestFailure(f"{name} did not start (tried {tries} display numbers); its log ends:\n"
                          f"{self.log_tail()}")

    def _try_start(self, number, command, timeout):
        log_file = open(self.log_path, "ab")
        try:
            self.proc = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=log_file,
                                         stderr=subprocess.STDOUT, start_new_session=True,
                                         preexec_fn=_die_with_parent(signal.SIGTERM))
        except OSError as error:
            log_file.write(f"cannot run {command[0]}: {error}\n".encode())
            log_file.close()
            return False
        log_file.close()
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                return False  # lost the race for the number, or cannot run here at all
            if (os.path.exists(f"/tmp/.X11-unix/X{number}") and
                    _lock_owner(number) == self.proc.pid and self._answers(number)):
                return True
            time.sleep(0.1)
        stop_process(self.proc)
        return False

    @staticmethod
    def _answers(number):
        return subprocess.run(["xdpyinfo", "-display", f":{number}"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0

    @property
    def display(self):
        return f":{self.number}"

    def log_tail(self, lines=15):
        try:
            with open(self.log_path, errors="replace") as handle:
                return "".join(handle.readlines()[-lines:])
        except OSError:
            return "(no log)"

    def stop(self):
        stop_process(self.proc)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.stop()


def start_xvfb(workdir, width=800, height=600):
    return XServer(lambda n: ["Xvfb", f":{n}", "-screen", "0", f"{width}x{height}x24",
                              "-nolisten", "tcp", "-noreset"],
                   f"xvfb-{width}x{height}", workdir)


XORG_DUMMY_DRIVER = "/usr/lib/xorg/modules/drivers/dummy_drv.so"


def start_xorg_dummy(workdir):
    """Xorg with the dummy video driver: a server whose display mode can really change."""
    xorg = shutil.which("Xorg") or "/usr/lib/xorg/Xorg"
    # Missing packages are a broken set-up, not a sandbox that cannot run Xorg.
    check(os.path.exists(xorg), "Xorg is not installed (package xserver-xorg-core)")
    check(os.path.exists(XORG_DUMMY_DRIVER),
          "the dummy video driver is not installed (package xserver-xorg-video-dummy)")
    config = os.path.join(workdir, "xorg.conf")
    with open(config, "w") as handle:
        handle.write(XORG_DUMMY_CONFIG)
    return XServer(lambda n: [xorg, f":{n}", "-config", config, "-noreset", "-nolisten", "tcp",
                              "-novtswitch", "-sharevts",
                              "-logfile", os.path.join(workdir, f"Xorg.{n}.log")],
                   "xorg-dummy", workdir, startup_timeout=40.0)


# No input devices: xdotool types through the XTEST extension, which needs none.
XORG_DUMMY_CONFIG = """\
Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoAddGPU" "false"
    Option "DontVTSwitch" "true"
EndSection

Section "Device"
    Identifier "dummy-card"
    Driver "dummy"
    VideoRam 16384
EndSection

Section "Monitor"
    Identifier "dummy-monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
    Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
    Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
    Modeline "640x480" 25.18 640 656 752 800 480 490 492 525 -hsync -vsync
EndSection

Section "Screen"
    Identifier "dummy-screen"
    Device "dummy-card"
    Monitor "dummy-monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1024x768" "800x600" "640x480"
        Virtual 1024 768
    EndSubSection
EndSection
"""


# --- The demo ----------------------------------------------------------------------------------

class Demo:
    """The real demo, started from `rundir` (which holds bitmap/) on the given X display."""

    def __init__(self, binary, rundir, display, wrapper=(), extra_env=None, args=(), logdir=None,
                 pass_fds=()):
        self.rundir = rundir
        # The output goes to logdir when the run folder must stay as it is (/, an empty one).
        self.stdout_path = os.path.join(logdir or rundir, "stdout.txt")
        self.stderr_path = os.path.join(logdir or rundir, "stderr.txt")
        env = dict(os.environ)
        env["DISPLAY"] = display
        env.pop("WAYLAND_DISPLAY", None)
        # Painted backgrounds are cached under the run's own folder, never the user's.
        env["XDG_CACHE_HOME"] = os.path.join(logdir or rundir, "cache")
        env.update(extra_env or {})
        with open(self.stdout_path, "wb") as out, open(self.stderr_path, "wb") as err:
            self.proc = subprocess.Popen(list(wrapper) + [binary] + list(args), cwd=rundir, env=env,
                                         stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                         start_new_session=True, pass_fds=pass_fds,
                                         preexec_fn=_die_with_parent(signal.SIGKILL))
        self.pid = self.proc.pid
        self.binary = os.path.realpath(binary)
        self._boxes_seen = set()

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TestFailure(f"the demo was still running {timeout:.0f} s after it should have "
                              "ended") from None

    def stdout(self):
        with open(self.stdout_path, "rb") as handle:
            return handle.read().decode("utf-8", "replace")

    def stderr(self):
        with open(self.stderr_path, "rb") as handle:
            return handle.read().decode("utf-8", "replace")

    def send_signal(self, sig):
        self.proc.send_signal(sig)

    def box_pids(self):
        """Live processes below the demo in a process group other than its own: the demo shows
        each error box from a child that makes a group of its own (and SDL forks once more)."""
        pids = {pid for pid in descendants(self.pid)
                if process_alive(pid) and _process_group(pid) not in (None, self.pid)}
        self._boxes_seen |= pids
        return pids

    def stop(self):
        """Kills the demo and everything below it: a wrapper's child (strace detaches it when
        it dies) and error boxes (in process groups of their own) would otherwise live on."""
        # A box the demo failed to take down is no longer below it once the demo has ended.
        leftovers = [pid for pid in self._boxes_seen
                     if process_alive(pid) and _command_of(pid) == self.binary]
        if self.proc.poll() is None:
            leftovers += [self.pid] + descendants(self.pid)
            with contextlib.suppress(ProcessLookupError, PermissionError):
                os.killpg(self.pid, signal.SIGKILL)  # its own group, in a session of its own
        for pid in leftovers:
            with contextlib.suppress(ProcessLookupError):
                os.kill(pid, signal.SIGKILL)
        self.proc.wait()


def _parents():
    """{pid: parent pid} of every process on the machine."""
    parents = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as handle:
                parents[int(entry)] = int(handle.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
    return parents


def _command_of(pid):
    try:
        return os.path.realpath(f"/proc/{pid}/exe")
    except OSError:
        return None


def _process_group(pid):
    try:
        with open(f"/proc/{pid}/stat") as handle:
            return int(handle.read().rsplit(")", 1)[1].split()[2])
    except (OSError, IndexError, ValueError):
        return None


def descendants(pid):
    parents = _parents()
    found, frontier = [], [pid]
    while frontier:
        children = [p for p, parent in parents.items() if parent in frontier]
        found.extend(children)
        frontier = children
    return found


def process_alive(pid):
    """True while pid exists and is not a zombie."""
    try:
        with open(f"/proc/{pid}/stat") as handle:
            return handle.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def make_rundir(workdir, pictures, name="run"):
    """A folder to start the demo in, whose bitmap/ is the build's pictures."""
    rundir = os.path.join(workdir, name)
    os.makedirs(rundir)
    os.symlink(os.path.abspath(pictures), os.path.join(rundir, "bitmap"))
    return rundir


def make_rundir_with_copies(workdir, pictures, name):
    """A folder with a private copy of the pictures, for tests that break some of them."""
    rundir = os.path.join(workdir, name)
    shutil.copytree(pictures, os.path.join(rundir, "bitmap"))
    return rundir


def check_pictures_folder(pictures):
    for name in ("background",) + PICTURE_NAMES:
        path = os.path.join(pictures, f"{name}.bmp")
        if not os.path.isfile(path):
            raise TestFailure(f"{path} is missing: build the `pictures` target first")


# --- Looking at the X display from outside -----------------------------------------------------

class Window:
    def __init__(self, wid, name, width, height, x, y):
        self.id, self.name, self.width, self.height, self.x, self.y = wid, name, width, height, x, y

    def __repr__(self):
        return f"<window {self.id} {self.name!r} {self.width}x{self.height}+{self.x}+{self.y}>"


_TREE_LINE = re.compile(r'^\s*(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)):.*?'
                        r'\s(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s')


def _x(display, *command, check_rc=True):
    result = subprocess.run(list(command), env=dict(os.environ, DISPLAY=display),
                            stdin=subprocess.DEVNULL, capture_output=True, text=True)
    if check_rc and result.returncode != 0:
        raise TestFailure(f"{' '.join(command)} failed ({result.returncode}): "
                          f"{result.stderr.strip()}")
    return result


def top_level_windows(display):
    """Every child of the root window, mapped or not (xwininfo sees UTF-8 titles too)."""
    out = _x(display, "xwininfo", "-root", "-children").stdout
    windows = []
    for line in out.splitlines():
        match = _TREE_LINE.match(line + " ")
        if match:
            wid, name, w, h, x, y = match.groups()
            windows.append(Window(int(wid, 16), name, int(w), int(h), int(x), int(y)))
    return windows


def windows_named(display, name):
    return [w for w in top_level_windows(display) if w.name == name]


def window_info(display, window_id):
    return _x(display, "xwininfo", "-id", str(window_id)).stdout


def is_viewable(display, window_id):
    result = _x(display, "xwininfo", "-id", str(window_id), check_rc=False)
    return result.returncode == 0 and "Map State: IsViewable" in result.stdout


def viewable_windows_named(display, name):
    return [w for w in windows_named(display, name) if is_viewable(display, w.id)]


def wait_for_demo_window(display, demo, timeout=30.0):
    """The demo's window once it is on the screen; fails at once if the demo died instead."""
    def shown():
        if not demo.running():
            raise TestFailure(f"the demo ended (status {demo.proc.returncode}) before its window "
                              f"was shown; stderr: {demo.stderr().strip()!r}")
        found = viewable_windows_named(display, "Velmorin")
        return found[0] if len(found) == 1 else None
    return wait_for(shown, timeout, "the Velmorin window to be shown")


def press_keys(display, window_id, *keys):
    # No window manager runs, so nobody gives the window the focus: the test does it.
    _x(display, "xdotool", "windowfocus", "--sync", str(window_id), "key", *keys)


def window_property(display, window_id, name):
    return _x(display, "xprop", "-id", str(window_id), name).stdout.strip()


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


class _Xlib:
    """Just the few Xlib calls the command-line tools do not offer."""

    def __init__(self, display):
        self.lib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.lib.XOpenDisplay.restype = ctypes.c_void_p
        self.lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.lib.XInternAtom.restype = ctypes.c_ulong
        self.lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.lib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                        ctypes.c_long, ctypes.c_void_p]
        self.lib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.dpy = self.lib.XOpenDisplay(display.encode())
        if not self.dpy:
            raise TestFailure(f"cannot open display {display}")

    def atom(self, name):
        return self.lib.XInternAtom(self.dpy, name.encode(), 0)

    def close(self):
        self.lib.XSync(self.dpy, 0)
        self.lib.XCloseDisplay(self.dpy)


def intern_atom(display, name):
    """Makes the atom exist on the server (atoms live as long as the server does)."""
    xlib = _Xlib(display)
    try:
        xlib.atom(name)
    finally:
        xlib.close()


def close_like_window_manager(display, window_id):
    """Sends WM_PROTOCOLS/WM_DELETE_WINDOW, what a window manager's close button does
    (xdotool's windowclose would destroy the window instead)."""
    xlib = _Xlib(display)
    try:
        event = _XEvent()
        event.xclient.type = 33  # ClientMessage
        event.xclient.send_event = 1
        event.xclient.display = xlib.dpy
        event.xclient.window = window_id
        event.xclient.message_type = xlib.atom("WM_PROTOCOLS")
        event.xclient.format = 32
        event.xclient.data[0] = xlib.atom("WM_DELETE_WINDOW")
        event.xclient.data[1] = 0  # CurrentTime
        if xlib.lib.XSendEvent(xlib.dpy, window_id, 0, 0, ctypes.byref(event)) == 0:
            raise TestFailure("XSendEvent refused the WM_DELETE_WINDOW message")
    finally:
        xlib.close()


@contextlib.contextmanager
def covering_window(display, x, y, width, height, pixel):
    """A window of one colour over that part of the screen while the block runs (no window
    manager runs: it lies exactly there, on top)."""
    xlib = _Xlib(display)
    lib = xlib.lib
    lib.XDefaultRootWindow.restype = lib.XCreateSimpleWindow.restype = ctypes.c_ulong
    lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    lib.XCreateSimpleWindow.argtypes = ([ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 +
                                        [ctypes.c_uint] * 3 + [ctypes.c_ulong] * 2)
    lib.XMapRaised.argtypes = lib.XDestroyWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    window = lib.XCreateSimpleWindow(xlib.dpy, lib.XDefaultRootWindow(xlib.dpy), x, y, width,
                                     height, 0, pixel, pixel)
    lib.XMapRaised(xlib.dpy, window)
    lib.XSync(xlib.dpy, 0)
    try:
        yield
    finally:
        lib.XDestroyWindow(xlib.dpy, window)
        xlib.close()


def current_screen_size(display):
    out = _x(display, "xrandr", "--current").stdout
    match = re.search(r"current (\d+) x (\d+)", out)
    check(match is not None, f"xrandr printed no current size:\n{out}")
    return int(match.group(1)), int(match.group(2))


# --- Screenshots -------------------------------------------------------------------------------

class Screenshot:
    """The root window's pixels as (r, g, b) tuples, row 0 at the top. Decoded only when a
    check looks at them: waiting for the next frame just compares the raw bytes."""

    def __init__(self, data):
        # The header is 25 big-endian 32-bit fields; the pixels follow the name and colormap.
        (header_size, _version, pixmap_format, _depth, self.width, self.height, _xoffset,
         self._byte_order, _unit, _bit_order, _pad, bits_per_pixel, self._bytes_per_line,
         _visual_class, red_mask, green_mask, blue_mask, _bits_per_rgb, _entries,
         ncolors) = struct.unpack(">20I", data[:80])
        # With windows of several visuals on the screen, xwd packs pixels in three bytes.
        check(pixmap_format == 2 and bits_per_pixel in (24, 32),
              f"unexpected screenshot format {pixmap_format}/{bits_per_pixel} bpp")
        self._masks = (red_mask, green_mask, blue_mask)
        self._pixels = data[header_size + 12 * ncolors:]
        if bits_per_pixel == 24:
            self._pixels = self._widen_to_32_bits(self._pixels)
        self._rows = None

    def _widen_to_32_bits(self, packed):
        """Three-byte pixels as four-byte ones, so that everything else reads one layout."""
        check(self._byte_order == 0, "three-byte pixels in most-significant-byte-first order")
        line = 4 * self.width
        wide = bytearray(line * self.height)
        for y in range(self.height):
            start = y * self._bytes_per_line
            for channel in range(3):
                wide[y * line + channel:(y + 1) * line:4] = \
                    packed[start + channel:start + 3 * self.width:3]
        self._bytes_per_line = line
        return bytes(wide)

    @property
    def rows(self):
        if self._rows is None:
            order = "<" if self._byte_order == 0 else ">"
            (rm, gm, bm) = self._masks
            rs, gs, bs = ((m & -m).bit_length() - 1 for m in self._masks)
            self._rows = []
            for y in range(self.height):
                values = struct.unpack_from(f"{order}{self.width}I", self._pixels,
                                            y * self._bytes_per_line)
                self._rows.append([((v & rm) >> rs, (v & gm) >> gs, (v & bm) >> bs)
                                   for v in values])
        return self._rows

    def has_colour(self):
        """Anything but black anywhere (the pad byte of each pixel does not count)."""
        mask = self._masks[0] | self._masks[1] | self._masks[2]
        values = array.array("I", self._pixels[:self.height * self._bytes_per_line])
        if (self._byte_order == 0) != (sys.byteorder == "little"):
            values.byteswap()
        return any(v & mask for v in values)

    def pixel(self, x, y):
        return self.rows[y][x]

    def distinct_colours(self):
        return len({p for row in self.rows for p in row})

    def __eq__(self, other):
        return self._pixels == other._pixels


def screenshot(display):
    data = subprocess.run(["xwd", "-root", "-silent"], env=dict(os.environ, DISPLAY=display),
                          capture_output=True, check=True).stdout
    return Screenshot(data)


def read_bmp_rgb(path):
    """A 24-bit bottom-up BMP as rows of (r, g, b), row 0 at the bottom, as GL draws it."""
    with open(path, "rb") as handle:
        data = handle.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    check(bits == 24 and height > 0, f"{path}: not a bottom-up 24-bit BMP")
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for r in range(height):
        base = offset + r * stride
        row = data[base:base + width * 3]
        rows.append([(row[i + 2], row[i + 1], row[i]) for i in range(0, width * 3, 3)])
    return rows


def wait_for_new_frame(display, previous, timeout=15.0):
    """The scene moves all the time: some later screenshot must differ from `previous`."""
    def changed():
        shot = screenshot(display)
        return shot if shot != previous else None
    return wait_for(changed, timeout, "the picture on the screen to change", interval=0.5)


# --- What an error box says --------------------------------------------------------------------

def strace_wrapper(prefix):
    """Runs the demo under strace, recording what each process writes (to the X server too):
    the error boxes draw their text with core X requests, which is how the test reads them."""
    if shutil.which("strace") is None:
        raise TestFailure("strace is not installed (package strace)")
    return ["strace", "-f", "-ff", "-qq", "-xx", "-s", "1000000", "-o", prefix,
            "-e", "trace=write,writev,sendmsg"]


_SYSCALL = re.compile(r'^(write|writev|sendmsg)\((\d+), (.*)\) = (-?\d+)')
_BYTES = re.compile(r'"((?:\\x[0-9a-f]{2})*)"')


def _streams_of(trace_file):
    """Bytes written per file descriptor, in order, from one process's strace -xx log."""
    streams = {}
    with open(trace_file, errors="replace") as handle:
        for line in handle:
            match = _SYSCALL.match(line)
            if not match:
                continue
            written = int(match.group(4))
            if written <= 0:
                continue
            chunk = b"".join(bytes.fromhex(s.replace("\\x", ""))
                             for s in _BYTES.findall(match.group(3)))
            streams.setdefault(int(match.group(2)), bytearray()).extend(chunk[:written])
    return streams


def _text_of_x_stream(stream):
    """Text drawn by the requests of one X connection (PolyText and ImageText, 8 and 16 bit)."""
    if len(stream) < 12 or stream[0] != 0x6C or stream[2] != 11:
        return ""  # not a little-endian X11 connection set-up
    name_len, data_len = struct.unpack_from("<HH", stream, 6)
    pos = 12 + (name_len + 3) // 4 * 4 + (data_len + 3) // 4 * 4
    text = []
    while pos + 4 <= len(stream):
        opcode, data_byte, length = struct.unpack_from("<BBH", stream, pos)
        header = 4
        if length == 0:  # BIG-REQUESTS: the real length follows
            if pos + 8 > len(stream):
                break
            length = struct.unpack_from("<I", stream, pos + 4)[0]
            header = 8
        if length == 0:
            break
        request = stream[pos:pos + 4 * length]
        body = request[header + 12:]
        if opcode in (74, 75):  # PolyText8, PolyText16
            width = 1 if opcode == 74 else 2
            i = 0
            while i + 1 < len(body):
                count = body[i]
                if count == 255:  # font shift
                    i += 5
                    continue
                chars = body[i + 2:i + 2 + count * width]
                text.append(bytes(chars[width - 1::width]).decode("latin-1"))
                i += 2 + count * width
        elif opcode in (76, 77):  # ImageText8, ImageText16
            width = 1 if opcode == 76 else 2
            chars = body[:data_byte * width]
            text.append(bytes(chars[width - 1::width]).decode("latin-1"))
        pos += 4 * length
    return "".join(text)


def drawn_texts(prefix):
    """{pid: text} for every traced process that drew any text on an X connection."""
    texts = {}
    folder, base = os.path.split(prefix)
    for entry in os.listdir(folder):
        if not entry.startswith(base + "."):
            continue
        pid = int(entry.rsplit(".", 1)[1])
        drawn = "".join(_text_of_x_stream(s)
                        for s in _streams_of(os.path.join(folder, entry)).values())
        if drawn:
            texts[pid] = drawn
    return texts


# --- Running a test case -----------------------------------------------------------------------

def run_cases(cases, argv, add_arguments=None):
    """Runs the one case named on the command line in a temporary folder (kept when the case
    fails, for a look); every server and demo it started is stopped whatever happens.
    add_arguments(parser) adds the options a suite of its own needs."""
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(cases))
    parser.add_argument("--demo", required=True, help="the velmorin binary")
    parser.add_argument("--pictures", required=True, help="the build's bitmap folder")
    parser.add_argument("--suppressions", help="valgrind suppressions file")
    parser.add_argument("--host", help="the stand-in screensaver host program")
    parser.add_argument("--bench", help="the start-up benchmark program")
    if add_arguments:
        add_arguments(parser)
    args = parser.parse_args(argv)
    install_termination_cleanup()
    workdir = tempfile.mkdtemp(prefix=f"velmorin-e2e-{args.case}-")
    started = time.monotonic()
    status = 1
    try:
        check_pictures_folder(args.pictures)
        cases[args.case](args, workdir)
        log(f"PASS: {args.case} ({time.monotonic() - started:.1f} s)")
        status = 0
    except TestFailure as failure:
        log(f"FAIL: {failure}")
    except CaseSkipped as reason:
        log(f"SKIP: {reason}")
        status = 77
    except Exception:  # a tool that broke: still a failure, with its traceback
        traceback.print_exc(file=sys.stdout)
        log("FAIL: unexpected error")
    if status == 1 or os.environ.get("VELMORIN_E2E_KEEP"):
        log(f"(files kept for a look: {workdir})")
    else:
        shutil.rmtree(workdir, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit("this module is imported by the end-to-end test scripts")
