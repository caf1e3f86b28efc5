#!/usr/bin/env python3
"""Launcher start-up benchmark: with the launcher switched on, how soon the first frame comes
when the installed package is the shipped one and when it is a costly one: two 1448 x 1448
arithmetic-coded progressive JPEGs of 256 scans each (4.19 million pixels, within the package's
pixel budget; it once held every start 1.3 s before its first frame). Runs the game headless
(software renderer, real clock), the two packages interleaved, and reports the medians of
process start to first frame and their ratio (goal: at most 1.25).

    bench/launcher_start.py [build/quiltora] [runs]

Needs build/bench/costly_jpeg (built with the benchmarks). Standard library only. Each run lasts
FRAMES frames; one that prints an error or warning line, or ends on a blank frame, stops the
benchmark (bench/gamerun.py).
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

import gamerun

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SIDE, SCANS = 1448, 256
# Frames a run lasts: the launcher's screen stays black until its package is in, so a run goes on
# until it shows (a run that ends on a blank frame measured nothing).
FRAMES = 240


def data_folder(base):
    """data/ (bench/gamerun.py's copy) with the marker that switches the launcher on."""
    return gamerun.data_copy(os.path.join(base, "data"), {"Launcher": ""})


def costly_package(user, costly_jpeg):
    package = os.path.join(user, ".Velkaro", "Quiltora-2", "launcher", "package")
    os.makedirs(package)
    lines = ["<HEADER>", "HEADERVARS|5", "ICONVARS|3", "BANERVARS|4", "ALTBANERVARS|3", "VERSION|1"]
    for i in range(2):
        picture = "costly%d.jpg" % i
        subprocess.run([costly_jpeg, os.path.join(package, picture), str(SIDE), str(SIDE), str(SCANS)], check=True)
        lines += ["<ICON>", "APPID|costly%d" % i, "URL|https://games.quiltora.invalid/", "GFX|" + picture]
    with open(os.path.join(package, "launcher.dat"), "w") as f:
        f.write("\n".join(lines) + "\n")


def first_frame_ms(exe, data, user):
    start = time.monotonic() * 1000.0
    out, _ = gamerun.measured(gamerun.run_game, exe, ["--frames", str(FRAMES)], data=data, user=user,
                              label="the launcher")
    for line in out.splitlines():
        parts = line.split()
        if parts[:2] == ["timing", "first-frame"]:
            return float(parts[2]) - start
    raise RuntimeError("no first frame:\n" + out)


def main():
    exe = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "quiltora")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    costly_jpeg = os.path.join(ROOT, "build", "bench", "costly_jpeg")
    base = tempfile.mkdtemp()
    try:
        data = data_folder(base)
        shipped_user, costly_user = os.path.join(base, "shipped"), os.path.join(base, "costly")
        costly_package(costly_user, costly_jpeg)
        first_frame_ms(exe, data, shipped_user)  # installs the shipped package
        shipped, costly = [], []
        for _ in range(runs):
            shipped.append(first_frame_ms(exe, data, shipped_user))
            costly.append(first_frame_ms(exe, data, costly_user))
        s, c = statistics.median(shipped), statistics.median(costly)
        print("runs: %d each, interleaved (medians, range)" % runs)
        print("first frame, shipped package: %7.1f ms (%.1f to %.1f)" % (s, min(shipped), max(shipped)))
        print("first frame, costly package:  %7.1f ms (%.1f to %.1f)" % (c, min(costly), max(costly)))
        print("ratio: %.2f (goal: at most 1.25)" % (c / s))
    finally:
        shutil.rmtree(base)


if __name__ == "__main__":
    main()
