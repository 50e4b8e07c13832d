#!/usr/bin/env python3
"""Fails on an include that runs against the layers: each folder may include only itself and the
folders listed for it, and window-system headers belong to the platform layer and the shells.

Usage: check_includes.py SOURCE_DIR"""
import pathlib
import re
import sys

# Folder (longest match wins) -> folders of ours it may include, besides itself.
ALLOWED = {
    "math": [],
    "sim": ["math"],
    "render": ["math", "sim"],
    "common": ["math", "sim"],
    "pictures": ["math"],
    # Of ours, the platform layer knows only the GL header.
    "platform": ["render/gl.h"],
    "app": ["math", "sim", "render", "common", "pictures"],
    "app/linux": ["app", "math", "sim", "render", "common", "platform"],
    "app/win32": ["app", "math", "sim", "render", "common"],
    "app/web": ["app", "math", "sim", "render", "common", "pictures"],
    "tools": ["math", "sim", "render", "common", "platform", "pictures"],
}
WINDOW_SYSTEM = re.compile(r"<(SDL2?/|windows\.h|windowsx\.h|X11/|emscripten|EGL/|GL/glx|wayland-)")
WINDOW_SYSTEM_HOMES = ("platform", "app/linux", "app/win32", "app/web")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"][^>"]+[>"])', re.MULTILINE)


def home_of(relative):
    folders = [f for f in ALLOWED if relative == f or relative.startswith(f + "/")]
    return max(folders, key=len) if folders else None


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    faults = []
    # Tests, benches and fuzz targets may reach anything they exercise: only the product counts.
    tops = sorted({folder.split("/")[0] for folder in ALLOWED})
    sources = [s for top in tops for s in sorted((root / top).rglob("*"))]
    for source in sources:
        if source.suffix not in (".h", ".c", ".cpp") or not source.is_file():
            continue
        relative = source.relative_to(root).as_posix()
        home = home_of(relative)
        for target in INCLUDE.findall(source.read_text(encoding="utf-8", errors="replace")):
            name = target[1:-1]
            if target.startswith("<"):
                if WINDOW_SYSTEM.match(target) and not home.startswith(WINDOW_SYSTEM_HOMES):
                    faults.append(f"{relative}: window-system header {target} outside the "
                                  "platform layer and the shells")
                continue
            if "/" not in name:
                continue  # a header beside the file
            target_home = home_of(name)
            if target_home != home and target_home not in ALLOWED[home] and name not in ALLOWED[home]:
                faults.append(f"{relative}: includes \"{name}\", which {home}/ may not use")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
