#!/usr/bin/python3
# End-to-end tests of the screensaver mode: the demo drawing into a window another program owns,
# under a stand-in host, XScreenSaver and xsecurelock, each on a private X server; and the X11
# forms of --wallpaper (the root window) and --saver (a blanker of its own).
import contextlib
import os
import pwd
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import (  # noqa: E402
    SIGNAL_NOTICE, Demo, TestFailure, Window, check, current_screen_size, log, make_rundir,
    read_bmp_rgb, run_cases, screenshot, start_xvfb, stop_process, top_level_windows, wait_for,
    wait_for_demo_window, wait_for_new_frame, window_info)
from e2e_demo import check_still_running_and_drawing, expect_clean_exit  # noqa: E402
from e2e_options import (  # noqa: E402
    background_corner_at, place_program, wait_for_background_corner, wait_for_background_cover)

HOST_X, HOST_Y = 40, 30  # where saver_host puts its window
TERM_DEADLINE = 1.0  # seconds from SIGTERM to the end of the process
CAP = 60  # frames a second a screensaver draws when not told otherwise
NOBODY = 65534


class Host:
    """The stand-in host: one window of its own, driven through its standard input."""

    def __init__(self, binary, display, width, height):
        self.proc = subprocess.Popen([binary, str(width), str(height)],
                                     env=dict(os.environ, DISPLAY=display), text=True,
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.id = int(self._answer("window").split()[1])
        self.width, self.height = width, height

    def _answer(self, expected):
        line = self.proc.stdout.readline()
        check(line.startswith(expected), f"saver_host said {line!r}, expected {expected!r}")
        return line

    def command(self, text, expected):
        self.proc.stdin.write(text + "\n")
        self.proc.stdin.flush()
        return self._answer(expected)

    def resize(self, width, height):
        self.command(f"resize {width} {height}", "resized")
        self.width, self.height = width, height

    @property
    def geometry(self):
        return Window(self.id, "saver-host", self.width, self.height, HOST_X, HOST_Y)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.stdin.close()
            stop_process(self.proc)


def background(args):
    return read_bmp_rgb(os.path.join(args.pictures, "background.bmp"))


def window_ids(display):
    return {w.id for w in top_level_windows(display)}


def cpu_seconds(pid):
    """User and system time the process has used so far."""
    with open(f"/proc/{pid}/stat") as handle:
        fields = handle.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def end_with_term(demo):
    """SIGTERM ends it with status 0 and the notice, within the deadline; returns the time."""
    started = time.monotonic()
    demo.send_signal(signal.SIGTERM)
    status = demo.wait_exit(10.0)
    elapsed = time.monotonic() - started
    check(status == 0, f"exit status {status} after SIGTERM")
    check(demo.stdout() == SIGNAL_NOTICE.format(signal.SIGTERM, 1),
          f"standard output {demo.stdout()!r}")
    check(elapsed <= TERM_DEADLINE, f"it took {elapsed:.2f} s to end after SIGTERM")
    return elapsed


def case_hosted_window(args, workdir):
    """Into the host's window: a moving scene, no window of its own, the screen mode and the
    pointer left alone, resizes followed, SIGTERM obeyed at once. The host's variable names
    the window, over a --window-id that names another."""
    picture = background(args)
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))
        host = Host(args.host, server.display, 480, 360)
        stack.callback(host.stop)
        before = window_ids(server.display)
        demo = Demo(args.demo, make_rundir(workdir, args.pictures), server.display,
                    args=["--window-id", "12345", "--background", "fixed"],
                    extra_env={"XSCREENSAVER_WINDOW": hex(host.id)})
        stack.callback(demo.stop)
        wait_for_background_corner(server.display, host.geometry, picture)
        wait_for_new_frame(server.display, screenshot(server.display))
        check(window_ids(server.display) == before, "the demo made a top-level window")
        check(current_screen_size(server.display) == (800, 600), "the screen mode changed")
        grab = host.command("grab", "grab").split()[1]
        check(grab == "0", f"another client could not grab the pointer (status {grab})")
        host.resize(640, 480)
        wait_for_background_corner(server.display, host.geometry, picture)
        elapsed = end_with_term(demo)
        check(demo.stderr() == "", f"complaints: {demo.stderr()!r}")
    log(f"drew into the host's window, followed its resize; SIGTERM ended it in {elapsed:.3f} s")


def case_host_destroys_window(args, workdir):
    """When the host destroys its window the demo ends by itself, with status 0."""
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))
        host = Host(args.host, server.display, 400, 300)
        stack.callback(host.stop)
        demo = Demo(args.demo, make_rundir(workdir, args.pictures), server.display,
                    args=["--window-id", str(host.id)])
        stack.callback(demo.stop)
        wait_for_background_cover(server.display, host.geometry)
        host.command("destroy", "destroyed")
        expect_clean_exit(demo)
    log("ended with 0 when its window went away")


def case_root_window(args, workdir, mode="--root"):
    """--root without the host's variable draws on the root window itself; so does --wallpaper,
    which a stray host variable does not divert."""
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))
        before = window_ids(server.display)
        demo = Demo(args.demo, make_rundir(workdir, args.pictures), server.display, args=[mode],
                    extra_env={"XSCREENSAVER_WINDOW": "0x5"} if mode == "--wallpaper" else {})
        stack.callback(demo.stop)
        root = Window(0, "root", 800, 600, 0, 0)
        wait_for_background_cover(server.display, root)
        wait_for_new_frame(server.display, screenshot(server.display))
        check(window_ids(server.display) == before, "the demo made a top-level window")
        end_with_term(demo)
    log(f"{mode} drew on the root window")


def case_standalone_saver(args, workdir):
    """--saver: an override-redirect window over the whole 1024x768 screen holding the pointer,
    which a one-pixel move leaves running and a key, a click or a real move ends with status 0."""
    endings = [("a key", ["key", "a"]), ("a click", ["click", "1"]),
               ("a move", ["mousemove_relative", "--", "0", "-20"])]
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir, 1024, 768))
        other = Host(args.host, server.display, 200, 100)  # a program under the saver
        stack.callback(other.stop)
        for what, command in endings:
            demo = Demo(args.demo, make_rundir(workdir, args.pictures, what.replace(" ", "-")),
                        server.display, args=["--saver"])
            stack.callback(demo.stop)
            window = wait_for_demo_window(server.display, demo)
            check((window.x, window.y, window.width, window.height) == (0, 0, 1024, 768),
                  f"the saver's window is {window}, not the whole screen")
            check("Override Redirect State: yes" in window_info(server.display, window.id),
                  "a window manager could stack windows over the saver")
            grab = other.command("grab", "grab").split()[1]
            check(grab == "1", f"another program could grab the pointer (status {grab})")
            wait_for_background_cover(server.display, Window(0, "root", 1024, 768, 0, 0))
            subprocess.run(["xdotool", "mousemove_relative", "1", "0"], check=True,
                           env=dict(os.environ, DISPLAY=server.display))
            check_still_running_and_drawing(server.display, demo, "a one-pixel move")
            subprocess.run(["xdotool"] + command, check=True,
                           env=dict(os.environ, DISPLAY=server.display))
            expect_clean_exit(demo)
    log("covered the screen; a one-pixel move left it running; a key, a click, a move ended it")


def bench_cpu_per_frame(args, display, window_id):
    """Milliseconds of processor time one whole frame costs, uncapped in the same window (a frame
    drawn in part costs what moved, which an uncapped frame's tiny step makes next to nothing)."""
    check(args.bench and os.path.exists(args.bench), f"no start-up benchmark at {args.bench}")
    out = subprocess.run([args.bench, "--seconds", "3", "--", "--window-id", str(window_id),
                          "--max-fps", "0", "--no-vsync"], cwd=os.path.dirname(args.pictures),
                         env=dict(os.environ, DISPLAY=display, VELMORIN_FULL_FRAMES="1"),
                         capture_output=True, text=True, timeout=60).stdout
    match = re.search(r"cpu per second\s+([\d.]+) s\s+\(([\d.]+) ms of cpu per frame", out)
    check(match is not None, f"the benchmark printed no CPU figures:\n{out}")
    return float(match.group(1)), float(match.group(2))


def case_cpu_ceiling(args, workdir):
    """In saver mode the processor rests: at most twice what 60 frames a second cost."""
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))
        host = Host(args.host, server.display, 800, 600)
        stack.callback(host.stop)
        uncapped_per_second, per_frame_ms = bench_cpu_per_frame(args, server.display, host.id)
        demo = Demo(args.demo, make_rundir(workdir, args.pictures), server.display,
                    args=["--window-id", str(host.id)])
        stack.callback(demo.stop)
        wait_for_background_cover(server.display, host.geometry)
        time.sleep(1.0)  # past the start-up's one-off costs
        start_cpu, start = cpu_seconds(demo.pid), time.monotonic()
        time.sleep(4.0)
        used = (cpu_seconds(demo.pid) - start_cpu) / (time.monotonic() - start)
        check(demo.running(), "the demo ended by itself")
    ceiling = 2 * CAP * per_frame_ms / 1000
    log(f"saver mode: {used:.3f} s of CPU a second; uncapped: {uncapped_per_second:.3f}; "
        f"one frame costs {per_frame_ms:.3f} ms, so the ceiling is {ceiling:.3f}")
    check(used <= ceiling, f"{used:.3f} s of CPU a second, above {ceiling:.3f}")


def as_nobody(home):
    """A command prefix running as the unprivileged user, with a home of its own."""
    return ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups",
            "env", f"HOME={home}", f"USER={pwd.getpwuid(NOBODY).pw_name}"]


def case_xscreensaver(args, workdir):
    """The real XScreenSaver daemon runs the demo: -activate puts the scene on the screen,
    -deactivate ends it."""
    home = tempfile.mkdtemp(prefix="home-", dir=workdir)
    os.chmod(workdir, 0o755)
    os.chown(home, NOBODY, NOBODY)
    # The daemon runs the demo as nobody, who may not reach the build (a checkout in a folder
    # private to its owner): it gets copies in the test's own folder, which goes afterwards.
    demo = place_program(args.demo, os.path.join(workdir, "saver"))
    pictures = os.path.join(workdir, "saver", "bitmap")
    shutil.copytree(args.pictures, pictures)
    with open(os.path.join(home, ".xscreensaver"), "w") as config:
        config.write("mode: one\nselected: 0\ntimeout: 0:30:00\nlock: False\nsplash: False\n"
                     "fade: False\nunfade: False\ndpmsEnabled: False\n"
                     f"programs: GL: {demo} --root --pictures {pictures}\n")
    os.chown(os.path.join(home, ".xscreensaver"), NOBODY, NOBODY)
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))
        env = dict(os.environ, DISPLAY=server.display)
        env.pop("XSCREENSAVER_WINDOW", None)
        daemon = subprocess.Popen(as_nobody(home) + ["xscreensaver", "-no-splash", "-verbose"], env=env,
                                  stdout=open(os.path.join(workdir, "xscreensaver.log"), "w"),
                                  stderr=subprocess.STDOUT, start_new_session=True)
        stack.callback(lambda: kill_group(daemon))
        command = as_nobody(home) + ["xscreensaver-command"]
        wait_for(lambda: subprocess.run(command + ["-time"], env=env, capture_output=True)
                 .returncode == 0, 30.0, "the daemon to answer")
        activated = time.monotonic()
        subprocess.run(command + ["-activate"], env=env, check=True, capture_output=True)
        root = Window(0, "root", 800, 600, 0, 0)
        wait_for_background_cover(server.display, root)
        first_frame = time.monotonic() - activated
        running = lambda: demo_pids(demo, server.display)  # noqa: E731
        pid = wait_for(running, 10.0, "the demo's process")[0]
        subprocess.run(command + ["-deactivate"], env=env, check=True, capture_output=True)
        wait_for(lambda: not running(), 15.0, "the demo to end after -deactivate")
    log(f"activated: scene on screen {first_frame:.2f} s later (demo {pid}); deactivated: ended")


def environment_of(pid):
    with open(f"/proc/{pid}/environ", "rb") as handle:
        pairs = (v.split(b"=", 1) for v in handle.read().split(b"\0") if b"=" in v)
        return {k.decode(): v.decode() for k, v in pairs}


def demo_pids(binary, display):
    """Processes running the demo's binary on this test's display (a daemon starts them, so
    they are not our children, and other tests may be running demos of their own)."""
    target = os.path.realpath(binary)
    found = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            with contextlib.suppress(OSError):
                if (os.path.realpath(f"/proc/{entry}/exe") == target and
                        environment_of(entry).get("DISPLAY", "").split(".")[0] == display):
                    found.append(int(entry))
    return found


def kill_group(proc):
    """Ends a daemon and every helper it started (they share its session and group)."""
    with contextlib.suppress(ProcessLookupError, PermissionError):
        os.killpg(proc.pid, signal.SIGTERM)
    with contextlib.suppress(subprocess.TimeoutExpired):
        proc.wait(timeout=5)
    with contextlib.suppress(ProcessLookupError, PermissionError):
        os.killpg(proc.pid, signal.SIGKILL)
    proc.wait()


def case_xsecurelock(args, workdir):
    """xsecurelock runs the demo as its saver, naming its window in decimal."""
    wrapper = os.path.join(workdir, "saver-velmorin")
    with open(wrapper, "w") as script:
        script.write(f"#!/bin/sh\nexec {os.path.abspath(args.demo)} "
                     f"--pictures {os.path.abspath(args.pictures)}\n")
    os.chmod(wrapper, 0o755)
    with contextlib.ExitStack() as stack:
        server = stack.enter_context(start_xvfb(workdir))
        env = dict(os.environ, DISPLAY=server.display, XSECURELOCK_SAVER=wrapper,
                   XSECURELOCK_NO_COMPOSITE="1")
        env.pop("XSCREENSAVER_WINDOW", None)
        locker = subprocess.Popen(["xsecurelock"], env=env, start_new_session=True,
                                  stdout=open(os.path.join(workdir, "xsecurelock.log"), "w"),
                                  stderr=subprocess.STDOUT)
        stack.callback(lambda: kill_group(locker))
        root = Window(0, "root", 800, 600, 0, 0)
        wait_for_background_cover(server.display, root)
        running = lambda: demo_pids(args.demo, server.display)  # noqa: E731
        pid = wait_for(running, 10.0, "the demo's process")[0]
        window = environment_of(pid).get("XSCREENSAVER_WINDOW", "")
        check(window.isdigit(), f"xsecurelock passed the window as {window!r}")
        kill_group(locker)
        wait_for(lambda: not running(), 15.0, "the demo to end with the locker")
    log(f"xsecurelock's window {window} (decimal) shows the scene")


CASES = {
    "hosted_window": case_hosted_window,
    "host_destroys_window": case_host_destroys_window,
    "root_window": case_root_window,
    "wallpaper_root": lambda args, workdir: case_root_window(args, workdir, "--wallpaper"),
    "standalone_saver": case_standalone_saver,
    "cpu_ceiling": case_cpu_ceiling,
    "xscreensaver": case_xscreensaver,
    "xsecurelock": case_xsecurelock,
}

if __name__ == "__main__":
    sys.exit(run_cases(CASES, sys.argv[1:]))
