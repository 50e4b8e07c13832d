#!/usr/bin/python3
# End-to-end tests of the demo on Wayland itself under a headless compositor: a window through
# SDL's Wayland backend, and the wallpaper and the saver on layer surfaces of every output.
import os
import pwd
import shutil
import signal
import socket
import struct
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import (  # noqa: E402
    SIGNAL_NOTICE, Demo, TestFailure, check, log, read_bmp_rgb, run_cases, stop_process,
    wait_for)

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


def grab(prefix, env, path, output=None):
    """The compositor's output (one of them, by name) as rows of RGB triples, through grim."""
    only = ["-o", output] if output else []
    subprocess.run(prefix + ["grim", "-t", "ppm"] + only + ["-"], env=env, check=True,
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


def wire(target, opcode, payload=b""):
    """One Wayland message: the object, the size and opcode, the arguments."""
    return struct.pack("<II", target, (8 + len(payload)) << 16 | opcode) + payload


def wire_string(text):
    data = text.encode() + b"\0"
    return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)


class Sway:
    """A headless compositor, the demo and the tools run as the unprivileged user; no bg."""

    def __init__(self, args, workdir):
        self.prefix, user = as_user()
        self.rundir, self.runtime = readable_copy(args, workdir, user)
        config = os.path.join(workdir, "sway.conf")
        with open(config, "w") as handle:
            handle.write(f"output * resolution {OUTPUT_WIDTH}x{OUTPUT_HEIGHT}\n"
                         "default_border none\n")
        os.chmod(config, 0o644)
        self.env = {"PATH": "/usr/bin:/bin", "HOME": workdir, "XDG_RUNTIME_DIR": self.runtime,
                    "WLR_BACKENDS": "headless", "WLR_RENDERER": "pixman",
                    "WLR_LIBINPUT_NO_DEVICES": "1"}
        self.proc = subprocess.Popen(self.prefix + ["sway", "-c", config], env=self.env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     start_new_session=True)

        def sockets():
            names = os.listdir(self.runtime)
            ipc = [n for n in names if n.startswith("sway-ipc")]
            wayland = [n for n in names if n.startswith("wayland-") and not n.endswith(".lock")]
            return ipc and wayland and (ipc[0], wayland[0])
        ipc, self.env["WAYLAND_DISPLAY"] = wait_for(sockets, 30, "the compositor's sockets")
        self.env["SWAYSOCK"] = os.path.join(self.runtime, ipc)

    def run(self, *command, check_rc=True):
        return subprocess.run(self.prefix + list(command), env=self.env, timeout=30,
                              stdout=subprocess.DEVNULL, check=check_rc).returncode

    def demo(self, *args, env=None):
        return Demo("./velmorin", self.rundir, "", wrapper=self.prefix, args=args,
                    extra_env=env or self.env)

    def wait_filled(self, output, size=(OUTPUT_WIDTH, OUTPUT_HEIGHT)):
        """The output's pixels once it shows a moving scene with no black, at the given size."""
        def filled_and_moving(previous=[None]):
            width, height, pixels = grab(self.prefix, self.env,
                                         os.path.join(self.rundir, "shot.ppm"), output)
            moved = previous[0] is not None and pixels != previous[0]
            previous[0] = pixels
            return moved and black_share(pixels) < 0.01 and (width, height) == size and pixels
        pixels = wait_for(filled_and_moving, 60, f"a moving scene filling {output}", 1.0)
        log(f"the scene fills {output} at {size[0]}x{size[1]} and moves")
        return pixels

    def virtual_pointer(self):
        """A virtual pointer, so that the seat (no devices) has one while the socket is open."""
        connection = socket.socket(socket.AF_UNIX)
        connection.connect(os.path.join(self.runtime, self.env["WAYLAND_DISPLAY"]))
        connection.sendall(wire(1, 1, struct.pack("<I", 2)) + wire(1, 0, struct.pack("<I", 3)))
        data = b""
        while struct.pack("<II", 3, 12 << 16) not in data:  # the sync's done
            data += connection.recv(65536)
        interface = wire_string("zwlr_virtual_pointer_manager_v1")
        name = struct.unpack_from("<I", data, data.index(interface) - 4)[0]
        bind = struct.pack("<I", name) + interface + struct.pack("<II", 1, 4)
        connection.sendall(wire(2, 0, bind) + wire(4, 0, struct.pack("<II", 0, 5)))  # any seat
        return connection

    def stop(self):
        stop_process(self.proc)


def case_wayland_fill(args, workdir):
    """--windowed on sway: the scene moves, the background leaves no black, SIGTERM's notice."""
    sway = Sway(args, workdir)
    demo = None
    try:
        demo = sway.demo("--windowed", env=dict(sway.env, SDL_VIDEODRIVER="wayland"))
        sway.wait_filled("HEADLESS-1")
        demo.send_signal(signal.SIGTERM)
        status = demo.wait_exit(10)
        check(status == 0, f"exit status {status} after SIGTERM, expected 0")
        notice = SIGNAL_NOTICE.format(int(signal.SIGTERM), 1)
        check(demo.stdout() == notice, f"standard output {demo.stdout()!r}, expected {notice!r}")
    finally:
        if demo is not None:
            demo.stop()
        sway.stop()


def sharpness(pixels):
    """Mean step of green within pixel pairs: next to none in a frame drawn at half size."""
    rows = [pixels[r + 1:r + OUTPUT_WIDTH * 3:3] for r in range(0, len(pixels), OUTPUT_WIDTH * 24)]
    steps = [abs(a - b) for green in rows for a, b in zip(green[::2], green[1::2])]
    return sum(steps) / len(steps)


def case_wallpaper_outputs(args, workdir):
    """--wallpaper fills an output added later, draws scale 2 sharp, ends 0 on SIGTERM."""
    sway = Sway(args, workdir)
    demo = sway.demo("--wallpaper")
    try:
        sway.wait_filled("HEADLESS-1")
        sway.run("swaymsg", "create_output")
        sway.wait_filled("HEADLESS-2")
        time.sleep(3)  # the background painted for the outputs' size is on show by now
        sharp = sharpness(sway.wait_filled("HEADLESS-1"))
        sway.run("swaymsg", "output", "HEADLESS-1", "scale", "2")
        time.sleep(2)  # the new scale's configure and frame
        at_scale = sharpness(sway.wait_filled("HEADLESS-1"))
        log(f"sharpness {sharp:.2f} at scale 1, {at_scale:.2f} at scale 2")
        check(at_scale > 0.75 * sharp, "at scale 2 the frame is drawn at the logical size and "
              "scaled up, not at the output's pixel size")
        demo.send_signal(signal.SIGTERM)
        status = demo.wait_exit(10)
        check(status == 0, f"exit status {status} after SIGTERM, expected 0")
    finally:
        demo.stop()
        sway.stop()


def case_wallpaper_sizes(args, workdir):
    """--wallpaper on two outputs of different sizes: each shows the background painted at its
    own size pixel for pixel, not the larger one's picture scaled."""
    sizes = {"HEADLESS-1": (OUTPUT_WIDTH, OUTPUT_HEIGHT), "HEADLESS-2": (1024, 768)}
    sway = Sway(args, workdir)
    demo = None
    try:
        sway.run("swaymsg", "create_output")
        sway.run("swaymsg", "output", "HEADLESS-2", "resolution", "1024x768")
        demo = sway.demo("--wallpaper", "--bodies", "1", "--spray", "0", "--seed", "3")
        for output, (width, height) in sizes.items():
            folder = os.path.join(workdir, f"painted-{width}x{height}")
            subprocess.run([args.painter, "--size", f"{width}x{height}", folder], check=True)
            rows = read_bmp_rgb(os.path.join(folder, "bitmap", "background.bmp"))
            painted = b"".join(bytes(c for pixel in row for c in pixel) for row in rows[::-1])
            shares = [0.0]

            def shows_painted():  # the one sphere covers a few pixels at most
                shot = grab(sway.prefix, sway.env, os.path.join(workdir, "shot.ppm"), output)
                same = sum(shot[2][i:i + 3] == painted[i:i + 3] for i in range(0, len(painted), 3))
                shares.append(same * 3 / len(painted))
                return shot[:2] == (width, height) and shares[-1] > 0.97
            try:
                wait_for(shows_painted, 60, f"{output} showing its own painted background", 2.0)
            except TestFailure:
                check(False, f"{output}: at best {max(shares):.0%} of the pixels are those "
                      f"of the background painted at {width}x{height}")
            log(f"{output} at {width}x{height}: {shares[-1]:.2%} of its pixels are the "
                "background painted at its size")
    finally:
        if demo is not None:
            demo.stop()
        sway.stop()


def cpu_seconds(pid, span):
    """Processor time (user and system) the process uses over `span` seconds."""
    def used():
        with open(f"/proc/{pid}/stat") as handle:
            fields = handle.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    start = used()
    time.sleep(span)
    return used() - start


def case_wallpaper_rests(args, workdir):
    """Covered by a fullscreen window it rests, then moves on; the compositor gone, status 0."""
    sway = Sway(args, workdir)
    demo, cover = sway.demo("--wallpaper"), None
    try:
        sway.wait_filled("HEADLESS-1")
        shown = cpu_seconds(demo.pid, 4)
        cover = sway.demo("--windowed", env=dict(sway.env, SDL_VIDEODRIVER="wayland"))
        wait_for(lambda: sway.run("swaymsg", "[title=Velmorin]", "fullscreen", "enable",
                                  check_rc=False) == 0, 30, "the covering window")
        time.sleep(2)
        covered = cpu_seconds(demo.pid, 4)
        log(f"wallpaper processor time over 4 s: {shown:.2f} s shown, {covered:.2f} s covered")
        check(covered < 0.2 * shown, "the wallpaper kept drawing under a fullscreen window")
        cover.stop()
        sway.wait_filled("HEADLESS-1")
        sway.stop()
        status = demo.wait_exit(10)
        check(status == 0, f"exit status {status} once the compositor went, expected 0")
    finally:
        for program in (cover, demo):
            if program is not None:
                program.stop()
        sway.stop()


def case_saver_input(args, workdir):
    """--saver ends with status 0 on a key, and on a pointer move beyond a few pixels."""
    sway = Sway(args, workdir)
    pointer = sway.virtual_pointer()
    move = ["swaymsg", "seat", "-", "cursor", "move"]  # wtype brings a keyboard: wait for it
    stirs = {"key": [["wtype", "-s", "500", "x"]], "pointer": [move + ["2"] * 2, move + ["40"] * 2]}
    try:
        for name, commands in stirs.items():
            demo = sway.demo("--saver")
            try:
                sway.wait_filled("HEADLESS-1")
                for command in commands:
                    check(demo.running(), f"{name}: the saver ended before the last stir")
                    sway.run(*command)
                    time.sleep(1)
                status = demo.wait_exit(10)
                check(status == 0, f"{name}: exit status {status}, expected 0")
            finally:
                demo.stop()
    finally:
        pointer.close()
        sway.stop()


def case_no_layer_shell(args, workdir):
    """WAYLAND_SOCKET to a compositor without layer surfaces: one line on stderr, status 1."""
    prefix, user = as_user()
    rundir, _ = readable_copy(args, workdir, user)
    for mode in ("--wallpaper", "--saver"):
        server, client = socket.socketpair()
        server.settimeout(10)
        env = {"PATH": "/usr/bin:/bin", "WAYLAND_SOCKET": str(client.fileno())}
        demo = Demo("./velmorin", rundir, "", wrapper=prefix, extra_env=env, args=[mode],
                    pass_fds=(client.fileno(),))
        client.close()
        try:
            data = b""
            while chunk := server.recv(4096):  # answers the registry and every sync
                data += chunk
                while len(data) >= 12 and len(data) >= struct.unpack_from("<I", data, 4)[0] >> 16:
                    target, header, new_id = struct.unpack_from("<III", data)
                    data = data[header >> 16:]
                    if target == 1 and header & 0xFFFF == 1:  # get_registry
                        server.sendall(wire(new_id, 0, struct.pack("<I", 1) +
                                            wire_string("wl_compositor") + struct.pack("<I", 4)))
                    elif target == 1:  # sync: done, and its id free again
                        server.sendall(wire(new_id, 0, b"\0" * 4) +
                                       wire(1, 1, struct.pack("<I", new_id)))
            status = demo.wait_exit(10)
            lines = demo.stderr().splitlines()
            check(status == 1 and len(lines) == 1 and "layer" in lines[0],
                  f"{mode}: status {status}, standard error {lines!r}; expected 1 and one line")
        finally:
            server.close()
            demo.stop()


if __name__ == "__main__":
    sys.exit(run_cases({"wayland_fill": case_wayland_fill,
                        "wallpaper_outputs": case_wallpaper_outputs,
                        "wallpaper_sizes": case_wallpaper_sizes,
                        "wallpaper_rests": case_wallpaper_rests,
                        "saver_input": case_saver_input,
                        "no_layer_shell": case_no_layer_shell}, sys.argv[1:],
                      lambda parser: parser.add_argument("--painter",
                                                         help="the velmorin-pictures binary")))
