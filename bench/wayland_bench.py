#!/usr/bin/python3
# The wallpaper's figures under a headless compositor at 1920x1080: the time from start to its
# first committed frame, and its processor use paced at 30 frames a second, shown and covered
# by a fullscreen window. Run by scripts/bench.sh; the compositor comes from the Wayland tests.
import argparse
import os
import shutil
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "app"))
import e2e_wayland  # noqa: E402
from e2e_support import wait_for  # noqa: E402

SIZE = (1920, 1080)
SETTLE_SECONDS = 3  # the background is painted for the output's size meanwhile
SPAN_SECONDS = 5


def first_commit_seconds(sway):
    """Seconds from starting the wallpaper to its first buffer committed, as the client's own
    protocol log (WAYLAND_DEBUG) records the attach and the commit that follows it."""
    started = time.monotonic()
    demo = sway.demo("--wallpaper", env=dict(sway.env, WAYLAND_DEBUG="client"))
    try:
        def committed():
            log = demo.stderr()
            attach = log.find(".attach(")  # only surfaces take buffers
            return attach >= 0 and log.find(".commit()", attach) > 0
        wait_for(committed, 30, "the first committed frame", interval=0.002)
        return time.monotonic() - started
    finally:
        demo.stop()


def cpu_share(demo):
    return e2e_wayland.cpu_seconds(demo.pid, SPAN_SECONDS) / SPAN_SECONDS


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--demo", required=True)
    parser.add_argument("--pictures", required=True)
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    e2e_wayland.OUTPUT_WIDTH, e2e_wayland.OUTPUT_HEIGHT = SIZE
    workdir = tempfile.mkdtemp(prefix="velmorin-wayland-bench-")
    sway = e2e_wayland.Sway(args, workdir)
    demo = cover = None
    try:
        times = sorted(first_commit_seconds(sway) for _ in range(args.runs))
        print(f"time to first committed frame  {times[len(times) // 2]:.3f} s "
              f"(median of {args.runs}; target < 1 s)")
        demo = sway.demo("--wallpaper")
        sway.wait_filled("HEADLESS-1", SIZE)
        time.sleep(SETTLE_SECONDS)
        print(f"--wallpaper shown (paced at 30)  {cpu_share(demo):.3f} of a core")
        cover = sway.demo("--windowed", env=dict(sway.env, SDL_VIDEODRIVER="wayland"))
        wait_for(lambda: sway.run("swaymsg", "[title=Velmorin]", "fullscreen", "enable",
                                  check_rc=False) == 0, 30, "the covering window")
        time.sleep(SETTLE_SECONDS)
        print(f"--wallpaper under a fullscreen window  {cpu_share(demo):.3f} of a core "
              "(goal: close to none)")
    finally:
        for program in (cover, demo):
            if program is not None:
                program.stop()
        sway.stop()
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    main()
