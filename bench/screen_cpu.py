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

from cpu_per_frame import frame_costs, report

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
F1 = 60


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", default=os.path.join(ROOT, "build", "quiltora"))
    parser.add_argument("--data", default=os.path.join(ROOT, "data"))
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--frames", type=int, default=600)
    args = parser.parse_args()
    for label, extra in (("main menu", []), ("level 1 board", ["--level", "1"])):
        per_frame = frame_costs(args.exe, args.data, lambda frames: ["--menu-frames", str(frames)] + extra,
                                F1, F1 + args.frames, args.runs)
        report(label, per_frame, 14)


if __name__ == "__main__":
    main()
