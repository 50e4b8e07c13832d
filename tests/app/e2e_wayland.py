#!/usr/bin/python3
# End-to-end test of the demo on Wayland itself, through SDL's Wayland backend: a headless
# compositor tiles the window over its whole output, and the scene must fill it.
import os
import pwd
import shutil
import signal
import subprocess
import sys

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import (  # noqa: E402
    SIGNAL_NOTICE, Demo, check, log, run_cases, stop_process, wait_for)

OUTPUT_WIDTH, OUTPUT_HEIGHT = 1280, 720
# The compositor refuses to run as root; an unprivileged account runs it and the demo.
UNPRIVILEGED = "nobody"


def as_user():
    """The command prefix and the user that run the compositor, the screenshots and the demo."""
    if os.geteuid() != 0:
        return [], pwd.getpwuid(os.geteuid())
    user = pwd.getpwnam(UNPRIVILEGED)
    return ["setpriv", f"--reuid={user.pw_uid}", f"--regid={user.pw_gid}", "--clear-groups"], user


def readable_copy(args, workdir, user):
    """The program and its pictures where the unprivileged user can read them, whatever the
    checkout's own permissions."""
    os.chmod(workdir, 0o755)
    rundir = os.path.join(workdir, "run")
    os.mkdir(rundir)
    shutil.copy2(args.demo, rundir)
    shutil.copytree(args.pictures, os.path.join(rundir, "bitmap"))
    runtime = os.path.join(workdir, "xdg-runtime")
    os.mkdir(runtime, 0o700)
    os.chown(runtime, user.pw_uid, user.pw_gid)
    for folder, _, files in os.walk(rundir):
        os.chmod(folder, 0o755)
        for name in files:
            os.chmod(os.path.join(folder, name), 0o755)
    return rundir, runtime


def grab(prefix, env, path):
    """The compositor's output as rows of RGB triples, through grim's PPM output."""
    subprocess.run(prefix + ["grim", "-t", "ppm", "-"], env=env, check=True,
                   stdout=open(path, "wb"), timeout=30)
    with open(path, "rb") as handle:
        data = handle.read()
    fields = data.split(maxsplit=4)
    check(fields[0] == b"P6", f"grim wrote {fields[0]!r}, not a PPM picture")
    width, height = int(fields[1]), int(fields[2])
    pixels = fields[4][:width * height * 3]
    return width, height, pixels


def black_share(pixels):
    triples = len(pixels) // 3
    black = sum(1 for i in range(0, len(pixels), 3) if pixels[i:i + 3] == b"\0\0\0")
    return black / triples


def case_wayland_fill(args, workdir):
    """--windowed on sway: the scene moves, the background leaves no black, SIGTERM's notice."""
    prefix, user = as_user()
    rundir, runtime = readable_copy(args, workdir, user)
    config = os.path.join(workdir, "sway.conf")
    with open(config, "w") as handle:
        handle.write(f"output HEADLESS-1 resolution {OUTPUT_WIDTH}x{OUTPUT_HEIGHT}\n"
                     "default_border none\n")
    os.chmod(config, 0o644)
    env = {"PATH": "/usr/bin:/bin", "HOME": workdir, "XDG_RUNTIME_DIR": runtime,
           "WLR_BACKENDS": "headless", "WLR_RENDERER": "pixman", "WLR_LIBINPUT_NO_DEVICES": "1"}
    compositor = subprocess.Popen(prefix + ["sway", "-c", config], env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                  start_new_session=True)
    demo = None
    try:
        socket = wait_for(lambda: [n for n in os.listdir(runtime) if n.startswith("wayland-")
                                   and not n.endswith(".lock")], 30, "the compositor's socket")[0]
        env["WAYLAND_DISPLAY"] = socket
        demo_env = dict(env, SDL_VIDEODRIVER="wayland")
        demo = Demo("./velmorin", rundir, "", wrapper=prefix, extra_env=demo_env,
                    args=["--windowed"])
        shot = os.path.join(workdir, "shot.ppm")

        def filled_and_moving(previous=[None]):
            width, height, pixels = grab(prefix, env, shot)
            moved = previous[0] is not None and pixels != previous[0]
            previous[0] = pixels
            return moved and black_share(pixels) < 0.01 and (width, height)

        size = wait_for(filled_and_moving, 60, "a moving scene that fills the output", 1.0)
        log(f"the scene fills the {size[0]}x{size[1]} output and moves")
        demo.send_signal(signal.SIGTERM)
        status = demo.wait_exit(10)
        check(status == 0, f"exit status {status} after SIGTERM, expected 0")
        notice = SIGNAL_NOTICE.format(int(signal.SIGTERM), 1)
        check(demo.stdout() == notice, f"standard output {demo.stdout()!r}, expected {notice!r}")
    finally:
        if demo is not None:
            demo.stop()
        stop_process(compositor)


if __name__ == "__main__":
    sys.exit(run_cases({"wayland_fill": case_wayland_fill}, sys.argv[1:]))
