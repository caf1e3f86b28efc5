#!/usr/bin/env python3
"""Whole-process CPU per frame of the game screen at 60 frames per second, headless on the
software renderer (Mesa's llvmpipe), for a 10 x 10 and a 20 x 15 board of three colours.

    python3 bench/frame_cpu.py [--exe build/quiltora] [--runs 3]

The game runs paced at 60 frames per second, as a player sees it, with a level started by
--level. Each board is run twice, ending after F1 and after F2 frames, both well past the opening
fly-in; the difference of the two runs' CPU time (user and system, every thread of the process,
the renderer's included) over F2 - F1 frames is the cost of a frame of play, without the start-up.
The 10 x 10 board is a three-colour level made here in a copy of data/ (hard links to every
other file); the 20 x 15 board is the hundredth level. A run with an error or warning line, or
that ends on a blank frame, stops the benchmark (bench/gamerun.py). Goal: at most 2.8 ms a frame on the 10 x 10 board.
"""
import argparse
import os
import tempfile

import gamerun
from cpu_per_frame import frame_costs, report

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
F1, F2 = 900, 1500

# A 10 x 10 picture of three colours (palette ids 1, 6 and 4): 1, 2, 3 mark the layers.
BOARD_10 = [
    "..111111..",
    ".12222221.",
    "1223333221",
    "1233..3321",
    "123.33.321",
    "123.33.321",
    "1233..3321",
    "1223333221",
    ".12222221.",
    "..111111..",
]
COLOURS_10 = [1, 6, 4]


def board_30x20():
    """A 30 x 20 picture of three colours in short runs (cells drawn by a Park-Miller generator),
    so that its lines hold many clue numbers: a large board's full draw."""
    state, rows = 1, []
    for _ in range(20):
        row = ""
        for _ in range(30):
            state = state * 48271 % 2147483647
            row += ".123"[state % 4]
        rows.append(row)
    return rows


def level_text(rows, colours, size):
    lines = ["Level{", "\tData{", "\t\tDims = %d, %d" % (len(rows[0]), len(rows)), "\t\tSize = %d" % size,
             '\t\tColors = "%s"' % " ".join(str(c) for c in colours), "\t\tPosition = 0, 0"]
    for entry in ("Seconds", "Score", "Mistakes", "TilesUncovered", "TilesCrossed"):
        lines.append("\t\t%s = 0" % entry)
    lines += ["\t}", "\tTiles{"]
    for y, row in enumerate(rows):
        ids = [str(colours[int(c) - 1]) if c != "." else "0" for c in row]
        lines.append("\t\tRow%d = %s" % (y, ", ".join(ids)))
    lines += ["\t}", "}"]
    return "\n".join(lines) + "\n"


def data_copy(tmp):
    """data/ (bench/gamerun.py's copy) with level 10 made the 10 x 10 three-colour board and
    level 11 the 30 x 20 one."""
    picross = "Game/Levels/Picross/"
    return gamerun.data_copy(os.path.join(tmp, "data"),
                             {picross + "Level-10.PACLevel": level_text(BOARD_10, COLOURS_10, 8),
                              picross + "Level-11.PACLevel": level_text(board_30x20(), COLOURS_10, 0)})


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", default=os.path.join(ROOT, "build", "quiltora"))
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as tmp:
        data = data_copy(tmp)
        for label, level in (("10x10, 3 colours", 10), ("20x15, 3 colours", 100)):
            per_frame = frame_costs(args.exe, data,
                                    lambda frames: ["--level", str(level), "--frames", str(frames)],
                                    F1, F2, args.runs)
            report(label, per_frame, 18)


if __name__ == "__main__":
    main()
