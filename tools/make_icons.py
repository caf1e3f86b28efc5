#!/usr/bin/env python3
"""Draws the game's icon for the desktop's menus: a navy panel with a cream stitched rim holding a
5 x 5 board in play, a heart of red quilt patches uncovered among covered and crossed-out tiles.

    /usr/bin/python3 tools/make_icons.py [output folder]     (default: dist/icons)

Each size is drawn on its own canvas (no scaling of one picture), so the small ones stay sharp;
the stitches are drawn from 128 pixels up and the crosses from 64, where they do not blur. Writes
<folder>/<N>x<N>/com.velkaro.Quiltora.png for N = 48, 64, 128 and 256, the folders of the hicolor
icon theme that the install puts them in. The palette and the patch are those of tools/artlib.py.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import CREAM, PATCHES, patch, rgb, rounded, save_png, stitch, surface, vertical  # noqa: E402

APP_ID = "com.velkaro.Quiltora"
SIZES = (48, 64, 128, 256)

# The board: H a heart tile (uncovered), X crossed out, . still covered.
BOARD = [
    ".H.HX",
    "HHHHH",
    "HHHHH",
    "XHHH.",
    ".XH.X",
]
COVERED = rgb("EEEAF4")
COVERED_EDGE = rgb("C9C1D8")
CROSS = rgb("7A6D90")


def cross(cr, x, y, s):
    cr.set_source_rgb(*CROSS)
    cr.set_line_width(s * 0.11)
    cr.set_line_cap(1)  # round
    a, b = s * 0.3, s * 0.7
    cr.move_to(x + a, y + a)
    cr.line_to(x + b, y + b)
    cr.move_to(x + b, y + a)
    cr.line_to(x + a, y + b)
    cr.stroke()


def icon(n, path):
    s, cr = surface(n, n)
    fine = n >= 128  # room for the stitches
    small = n < 64  # no room for the crosses either
    # The panel: a soft shadow, the navy body with a cream rim, a stitch inside the rim.
    m = n * 0.03
    r = n * 0.2
    rounded(cr, m, m + n * 0.025, n - 2 * m, n - 2 * m, r)
    cr.set_source_rgba(0, 0, 0, 0.30)
    cr.fill()
    rounded(cr, m, m, n - 2 * m, n - 2 * m - n * 0.02, r)
    cr.set_source(vertical(cr, m, n - m, [(0, rgb("414F7A")), (1, rgb("2C365A"))]))
    cr.fill_preserve()
    cr.set_source_rgb(*CREAM)
    cr.set_line_width(max(1.5, n * 0.025))
    cr.stroke()
    if fine:
        inset = n * 0.085
        rounded(cr, inset, inset, n - 2 * inset, n - 2 * inset - n * 0.02, r * 0.6)
        stitch(cr, (*CREAM, 0.5), max(1.0, n * 0.01), [n * 0.035, n * 0.025])
    # The board, centred in the panel.
    cells = len(BOARD)
    gap = max(1.0, n * 0.012)
    area = n * (0.66 if not small else 0.74)
    tile = (area - gap * (cells - 1)) / cells
    x0 = (n - area) / 2
    y0 = (n - area) / 2 - n * 0.01
    heart = PATCHES[0]
    for row, line in enumerate(BOARD):
        for col, kind in enumerate(line):
            x = x0 + col * (tile + gap)
            y = y0 + row * (tile + gap)
            if kind == "H":
                patch(cr, x, y, tile, heart, stitch=fine)
                continue
            rounded(cr, x, y, tile, tile, tile * 0.12)
            cr.set_source_rgb(*COVERED)
            cr.fill_preserve()
            cr.set_source_rgb(*COVERED_EDGE)
            cr.set_line_width(max(0.75, tile * 0.05))
            cr.stroke()
            if kind == "X" and not small:
                cross(cr, x, y, tile)
    save_png(s, path)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "dist", "icons")
    for n in SIZES:
        icon(n, os.path.join(out, f"{n}x{n}", APP_ID + ".png"))


if __name__ == "__main__":
    main()
