#!/usr/bin/python3
# The installed demo, started from / and from an empty folder on a private X server, draws the
# background and the textured spheres: it found the installed pictures by itself.
import os
import sys

sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app"))
from e2e_support import (  # noqa: E402
    log, read_bmp_rgb, run_cases, start_xvfb)
from e2e_demo import check_scene_when_started_from  # noqa: E402


def case_installed(args, workdir):
    """args.demo is the installed program; args.pictures the build's own pictures, to compare."""
    background = read_bmp_rgb(os.path.join(args.pictures, "background.bmp"))
    empty = os.path.join(workdir, "empty")
    os.makedirs(empty)
    with start_xvfb(workdir) as server:
        for index, cwd in enumerate(["/", empty]):
            check_scene_when_started_from(server.display, args.demo, cwd, [],
                                          os.path.join(workdir, f"log-{index}"), background)
            log(f"{args.demo} from {cwd}: background and spheres drawn")


if __name__ == "__main__":
    sys.exit(run_cases({"installed": case_installed}, sys.argv[1:]))
