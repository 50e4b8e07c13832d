# Wine for the end-to-end tests of the Windows build: a private prefix, wineserver and X server
# per test, Windows programs run to their end or started and watched from outside.
import contextlib
import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app"))
from e2e_support import (  # noqa: E402
    Demo, Screenshot, TestFailure, check, log, start_xvfb, viewable_windows_named, wait_for,
    window_info)

WINE_SETTINGS = {
    "WINEARCH": "win64",
    "WINEDEBUG": "-all",
    # No Mono or Gecko: their install dialogs would wait for a user. No winemenubuilder: a Start
    # menu entry made in the prefix must not become a menu entry of this machine's user.
    "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
}
BOOT_TIMEOUT = 120  # seconds; a first boot on a busy machine is slow
STOP_TIMEOUT = 30
SCENE_TIMEOUT = 30
MIN_DEVIATION = 0.02  # below this the screen counts as one flat colour


# Wine's own programs and libraries in a prefix: written once when the prefix is made, only read
# after that, so the tests' copies share them with the template.
SHARED_SUFFIXES = (".dll", ".exe", ".drv", ".sys", ".ocx", ".cpl", ".acm", ".ax", ".tlb", ".com")
TEMPLATE_STAMP = ".velmorin-wine-version"  # the Wine that made a template prefix


def _link_or_copy(source, target):
    if source.lower().endswith(SHARED_SUFFIXES):
        with contextlib.suppress(OSError):  # another file system: copied after all
            os.link(source, target)
            return target
    return shutil.copy2(source, target)


class Wine:
    """A wineserver for one prefix, kept running with its services started by wineboot before
    any program of ours: otherwise they would hold the pipes of whichever program started them."""

    def __init__(self, prefix, display, logdir):
        self.prefix = prefix
        self.logdir = logdir
        self.env = dict(os.environ, WINEPREFIX=prefix, DISPLAY=display, **WINE_SETTINGS)
        self.env.pop("WAYLAND_DISPLAY", None)
        self._server("-p")
        self.started = True
        boot = self.run("wineboot", ["--init"], logdir, timeout=BOOT_TIMEOUT)
        check(boot.status == 0, f"wineboot: status {boot.status}: {boot.stderr[-500:]}")

    def _server(self, *args, timeout=STOP_TIMEOUT):
        subprocess.run(["wineserver", *args], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout)

    def stop(self):
        if self.started:
            self.started = False
            with contextlib.suppress(subprocess.TimeoutExpired):
                self._server("-k")
                self._server("-w")

    def run(self, program, args, cwd, timeout=60):
        """Runs a Windows program to its end. Its output goes to files, never to a pipe that a
        process it started might keep open; line ends are left as the program wrote them."""
        out_path = os.path.join(self.logdir, "run.out")
        err_path = os.path.join(self.logdir, "run.err")
        with open(out_path, "wb") as out, open(err_path, "wb") as err:
            try:
                status = subprocess.run(["wine", program, *args], cwd=cwd, env=self.env,
                                        stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                        timeout=timeout).returncode
            except subprocess.TimeoutExpired:
                raise TestFailure(f"{os.path.basename(program)} {' '.join(args)}: still "
                                  f"running after {timeout} s") from None
        return RunResult(status, out_path, err_path)

    def start(self, program, args, cwd, winedebug=None):
        """Starts a Windows program and leaves it running, watched like the Linux demo; winedebug
        names Wine's channels to print on its standard error (e.g. what it sends the debugger)."""
        env = self.env if winedebug is None else dict(self.env, WINEDEBUG=winedebug)
        return Demo(program, cwd, self.env["DISPLAY"], wrapper=["wine"], extra_env=env,
                    args=args, logdir=self.logdir)

    def windows_path(self, path):
        result = subprocess.run(["winepath", "-w", path], env=self.env, capture_output=True,
                                text=True, stdin=subprocess.DEVNULL, timeout=60)
        check(result.returncode == 0 and result.stdout.strip(), f"winepath -w {path} failed")
        return result.stdout.strip()


class RunResult:
    def __init__(self, status, out_path, err_path):
        self.status = status
        self.out_path, self.err_path = out_path, err_path
        with open(out_path, "rb") as out, open(err_path, "rb") as err:
            self.stdout = out.read().decode("utf-8", "replace")
            self.stderr = err.read().decode("utf-8", "replace")


def make_prefix(prefix, logdir):
    """The template prefix the tests copy: booted once, and again only for another Wine. It is
    made beside its final place and moved there whole, so that an interrupted boot leaves no half
    prefix behind."""
    version = subprocess.run(["wine", "--version"], capture_output=True, text=True,
                             check=True).stdout.strip()
    stamp = os.path.join(prefix, TEMPLATE_STAMP)
    if os.path.isfile(stamp):
        with open(stamp) as handle:
            if handle.read().strip() == version:
                log(f"{prefix} was made by {version}: kept")
                return
    building = prefix + ".new"
    shutil.rmtree(building, ignore_errors=True)
    with start_xvfb(logdir) as server:
        wine = Wine(building, server.display, logdir)
        wine.stop()
    with open(os.path.join(building, TEMPLATE_STAMP), "w") as handle:
        handle.write(version + "\n")
    shutil.rmtree(prefix, ignore_errors=True)
    os.rename(building, prefix)


@contextlib.contextmanager
def wine_session(template, workdir, width=800, height=600):
    """An X server of the given size and a Wine of its own on a copy of the template prefix."""
    check(os.path.isdir(template), f"no Wine prefix at {template}: run the wine_prefix test")
    prefix = os.path.join(workdir, "prefix")
    shutil.copytree(template, prefix, symlinks=True, copy_function=_link_or_copy)
    with start_xvfb(workdir, width, height) as server:
        wine = Wine(prefix, server.display, workdir)
        try:
            yield server.display, wine
        finally:
            wine.stop()


@contextlib.contextmanager
def running(wine, program, args, cwd, winedebug=None):
    """A Windows program for the length of the block; what it printed is shown if the block
    fails, and it is stopped whatever happens."""
    program_run = wine.start(program, args, cwd, winedebug)
    try:
        yield program_run
    except BaseException:
        for name, text in (("stdout", program_run.stdout()), ("stderr", program_run.stderr())):
            if text.strip():
                log(f"--- its {name}:\n{text[-2000:]}")
        raise
    finally:
        program_run.stop()


def visible_window(display, title):
    """The id of a visible window titled exactly `title`, or None."""
    found = viewable_windows_named(display, title)
    return found[0].id if found else None


def wait_for_window(display, title, program_run, timeout=60.0):
    def shown():
        check(program_run.running(), f"the program ended (status {program_run.proc.returncode}) "
              f"before a window titled {title} was shown")
        return visible_window(display, title)
    return wait_for(shown, timeout, f"a window titled {title}", interval=0.2)


def wait_for_end(program_run, timeout, what):
    """The program's exit status once it ended; fails with `what` if it did not in time."""
    try:
        return program_run.proc.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        raise TestFailure(what) from None


def window_geometry(display, window_id):
    """"WxH+X+Y" of an X window, its position relative to the screen."""
    info = window_info(display, window_id)
    return "{}x{}+{}+{}".format(*(_field(info, name) for name in (
        "Width", "Height", "Absolute upper-left X", "Absolute upper-left Y")))


def screen_size(display):
    """"WxH" of the screen, from outside."""
    info = subprocess.run(["xwininfo", "-root"], env=dict(os.environ, DISPLAY=display),
                          capture_output=True, text=True, check=True).stdout
    return "{}x{}".format(*(_field(info, name) for name in ("Width", "Height")))


def _field(xwininfo_output, name):
    for line in xwininfo_output.splitlines():
        key, _, value = line.strip().partition(":")
        if key == name:
            return value.strip()
    raise TestFailure(f"xwininfo printed no {name}")


def _varied_screenshot(display, png):
    """The screen, saved as PNG, and whether it is more than one flat colour."""
    data = subprocess.run(["xwd", "-root", "-silent"], env=dict(os.environ, DISPLAY=display),
                          capture_output=True, check=True).stdout
    xwd = png + ".xwd"
    with open(xwd, "wb") as handle:
        handle.write(data)
    deviation = subprocess.run(["convert", f"xwd:{xwd}", "-write", f"png:{png}", "-format",
                                "%[fx:standard_deviation]", "info:"], capture_output=True,
                               text=True, check=True).stdout
    return Screenshot(data), float(deviation) > MIN_DEVIATION


def check_scene_shown(display, program_run, name, workdir, shots_dir):
    """The running program shows its scene, and the scene moves; the last screenshot is kept
    as wine-NAME.png in shots_dir."""
    first_png = os.path.join(workdir, f"{name}-1.png")
    deadline = time.monotonic() + SCENE_TIMEOUT
    while True:
        first, varied = _varied_screenshot(display, first_png)
        if varied:
            break
        check(program_run.running(), f"{name}: the program ended before showing anything")
        check(time.monotonic() < deadline, f"{name}: the screen stayed one flat colour")
        time.sleep(0.5)
    time.sleep(1)
    second_png = os.path.join(workdir, f"{name}-2.png")
    second, varied = _varied_screenshot(display, second_png)
    check(varied, f"{name}: the screen went flat")
    check(first != second, f"{name}: two screenshots a second apart are the same: no frames "
          "are running")
    shutil.copyfile(second_png, os.path.join(shots_dir, f"wine-{name}.png"))


def check_escape_ends(display, program_run, name):
    """Escape ends the program with status 0, and it prints nothing on the way out."""
    window = wait_for_window(display, "Velmorin", program_run, timeout=10)
    press_key(display, window, "Escape")
    status = wait_for_end(program_run, 30, f"{name}: Escape did not end the program")
    check(status == 0, f"{name}: exit status {status} after Escape")
    check(program_run.stdout() == "", f"{name}: printed {program_run.stdout()[:200]!r}")


def press_key(display, window_id, key):
    # No window manager runs, so focus is given explicitly; a hung focus must not hang the test.
    subprocess.run(["xdotool", "windowfocus", "--sync", str(window_id), "key", key],
                   env=dict(os.environ, DISPLAY=display), stdin=subprocess.DEVNULL,
                   capture_output=True, check=True, timeout=10)


def cpu_percent(program_run, seconds):
    """Percent of one core the running program used over the given seconds."""
    def ticks():
        with open(f"/proc/{program_run.pid}/stat") as handle:
            fields = handle.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])  # utime and stime
    before = ticks()
    time.sleep(seconds)
    return (ticks() - before) * 100 // (os.sysconf("SC_CLK_TCK") * seconds)
