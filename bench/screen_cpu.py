#!/usr/bin/env python3
"""Whole-process CPU per frame of the main menu and of the first level's game board at a paced
60 frames per second, headless on the software renderer (Mesa's llvmpipe).

    /usr/bin/python3 bench/screen_cpu.py [--exe build/quiltora] [--runs 3] [--frames 600]

Each screen is run twice: ending F1 = 60 frames after the main menu came and ending F1 + frames
later (the board: --level 1 starts the first level when the main menu comes). The difference of
the two runs' CPU time (user and system, every thread of the process, the renderer's included)
over the frames between is the cost of a frame on that screen, without the start-up.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
F1 = 60


def cpu_seconds(exe, data, extra, frames):
    user = tempfile.mkdtemp(prefix="quiltora-bench-")
    env = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy")
    try:
        proc = subprocess.Popen([exe, "--data", data, "--user-dir", user, "--menu-frames", str(frames)] + extra,
                                env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(proc.pid, 0)
        if status != 0:
            sys.exit("the game failed (status %d)" % status)
        return usage.ru_utime + usage.ru_stime
    finally:
        shutil.rmtree(user, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", default=os.path.join(ROOT, "build", "quiltora"))
    parser.add_argument("--data", default=os.path.join(ROOT, "data"))
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--frames", type=int, default=600)
    args = parser.parse_args()
    for label, extra in (("main menu", []), ("level 1 board", ["--level", "1"])):
        per_frame = []
        for _ in range(args.runs):
            short = cpu_seconds(args.exe, args.data, extra, F1)
            long = cpu_seconds(args.exe, args.data, extra, F1 + args.frames)
            per_frame.append((long - short) / args.frames * 1000.0)
        per_frame.sort()
        print("%-14s %.2f ms CPU a frame (median of %d; runs %s)" % (
            label, per_frame[len(per_frame) // 2], len(per_frame), ", ".join("%.2f" % v for v in per_frame)))


if __name__ == "__main__":
    main()
