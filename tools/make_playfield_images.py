#!/usr/bin/python3
"""Draws the images of the play field with pycairo (Debian package python3-cairo).

    /usr/bin/python3 tools/make_playfield_images.py

Writes, below data/:
  Game/PlayField/Grid.png       the cover of a tile still to be played (128 x 128)
  Game/PlayField/Tile.png       the box of an uncovered tile, grey so that the cell's colour
                                tints it (128 x 128)
  Game/PlayField/X.png          a tile crossed out, known to be empty (128 x 128)
  Game/PlayField/x-fill.png     the filled cross (128 x 128)
  Game/PlayField/Error.png      the mark of a wrong move, drawn at 0.4 of a tile (128 x 128)
  Game/PlayField/Hold.png       the marker of a cell of the held line (128 x 128)
  Game/PlayField/HammerIco.png  the hammer shown on a line that will cross (128 x 128)
  Game/PlayField/Numbers/<set>-<n>.png  clue numbers 0 to 20, white with a dark rim so that the
                                colour of their layer tints them; set 0 for small tiles, set 1
                                (half again as large) for big ones
  Game/PlayField/Numbers/<set>-dot.png  the dot beside a neighbour-count number
  Screens/MainGame/Gradient.png, gradient2.png      dark backs of the row and column clues
  Screens/MainGame/lgradient2.png, lgradient.png    light backs, for too-dark colours
  Screens/MainGame/Cross.png    the stroke over a crossed clue number
  Screens/MainGame/Dims.png     the back of the board's size label
  Screens/MainGame/WasteImg.png the icon at the pointer over the waste corner (32 x 32)
  Screens/MainGame/Background1..10.png  the game screen's backgrounds (1366 x 768)

Every tile image is drawn about its centre (64, 64) and scaled to the tile's side, so that a
tile image fills one cell. The clue numbers are sized for the levels' fit: a number image is at
most 0.45 of a tile high, a one-digit number at most 0.3 and a two-digit one at most 0.5 of a
tile wide (tools/make_levels.py fits the boards to the same sizes).
"""
import math
import os
import random
import sys

import cairo

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import fill_outlined, outline, rgba, rounded  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "data")
FIELD = os.path.join(DATA, "Game", "PlayField")
NUMBERS = os.path.join(FIELD, "Numbers")
SCREEN = os.path.join(DATA, "Screens", "MainGame")

TILE = 128
FONT = "DejaVu Sans"
FONT_NARROW = "DejaVu Sans Condensed"


def surface(w, h, opaque=False):
    s = cairo.ImageSurface(cairo.FORMAT_RGB24 if opaque else cairo.FORMAT_ARGB32, w, h)
    return s, cairo.Context(s)


def save(s, *path):
    full = os.path.join(*path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    s.write_to_png(full)
    print("made", os.path.relpath(full, ROOT))


def vertical(cr, y0, y1, top, bottom):
    g = cairo.LinearGradient(0, y0, 0, y1)
    g.add_color_stop_rgba(0, *top)
    g.add_color_stop_rgba(1, *bottom)
    return g


def bevel(cr, light, shade, width, inset=2.0):
    """A raised edge: light on the top and left sides, shade on the bottom and right, mitred at
    the corners."""
    a, b = inset, TILE - inset
    c, d = a + width, b - width
    for colour, points in ((light, [(a, a), (b, a), (d, c), (c, c)]),
                           (light, [(a, a), (c, c), (c, d), (a, b)]),
                           (shade, [(a, b), (c, d), (d, d), (b, b)]),
                           (shade, [(b, a), (b, b), (d, d), (d, c)])):
        cr.set_source_rgba(*colour)
        cr.move_to(*points[0])
        for p in points[1:]:
            cr.line_to(*p)
        cr.close_path()
        cr.fill()


def border(cr, colour, width=2.0):
    cr.set_source_rgba(*colour)
    cr.set_line_width(width)
    cr.rectangle(width / 2, width / 2, TILE - width, TILE - width)
    cr.stroke()


def stitch(cr, colour, inset=17, width=3.0, radius=10):
    """The quilting stitch: a dashed seam around the patch."""
    cr.save()
    cr.set_source_rgba(*colour)
    cr.set_line_width(width)
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    cr.set_dash([7.0, 7.0], 2.0)
    rounded(cr, inset, inset, TILE - 2 * inset, TILE - 2 * inset, radius)
    cr.stroke()
    cr.restore()


# ---------------------------------------------------------------------------------------------
# Tiles

def make_cover():
    s, cr = surface(TILE, TILE)
    cr.rectangle(0, 0, TILE, TILE)
    cr.set_source(vertical(cr, 0, TILE, rgba("#e9e4f0"), rgba("#d3cbdf")))
    cr.fill()
    g = cairo.RadialGradient(44, 38, 4, 44, 38, 80)
    g.add_color_stop_rgba(0, 1, 1, 1, 0.45)
    g.add_color_stop_rgba(1, 1, 1, 1, 0.0)
    cr.set_source(g)
    cr.rectangle(0, 0, TILE, TILE)
    cr.fill()
    stitch(cr, rgba("#a99dbd", 0.85))
    bevel(cr, rgba("#ffffff", 0.85), rgba("#aa9fbd", 0.9), 5)
    border(cr, rgba("#7d7190", 0.95), 2.5)
    save(s, FIELD, "Grid.png")


def make_box():
    """Grey tones only: the colour of the cell multiplies them."""
    s, cr = surface(TILE, TILE)
    cr.rectangle(0, 0, TILE, TILE)
    g = cairo.LinearGradient(0, 0, TILE, TILE)
    g.add_color_stop_rgba(0, *rgba("#ffffff"))
    g.add_color_stop_rgba(1, *rgba("#d2d2d2"))
    cr.set_source(g)
    cr.fill()
    stitch(cr, rgba("#a8a8a8", 0.95))
    # A soft sheen over the upper left, like light on cotton.
    g = cairo.RadialGradient(40, 34, 2, 40, 34, 60)
    g.add_color_stop_rgba(0, 1, 1, 1, 0.7)
    g.add_color_stop_rgba(1, 1, 1, 1, 0.0)
    cr.set_source(g)
    cr.rectangle(0, 0, TILE, TILE)
    cr.fill()
    bevel(cr, rgba("#ffffff", 0.9), rgba("#8e8e8e", 0.9), 6)
    border(cr, rgba("#666666", 0.95), 2.5)
    save(s, FIELD, "Tile.png")


def pressed_patch(cr):
    """The flat, slightly sunken patch of a cell known to be empty."""
    cr.rectangle(0, 0, TILE, TILE)
    cr.set_source(vertical(cr, 0, TILE, rgba("#c6bdd3"), rgba("#d2cadd")))
    cr.fill()
    # Sunken: the shade falls on the top and left edges.
    bevel(cr, rgba("#9d91b2", 0.8), rgba("#e6e0ee", 0.8), 4)
    border(cr, rgba("#7d7190", 0.95), 2.5)


def cross_strokes(cr, a, b, width, colour):
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    cr.set_line_width(width)
    cr.set_source_rgba(*colour)
    cr.move_to(a, a)
    cr.line_to(b, b)
    cr.move_to(b, a)
    cr.line_to(a, b)
    cr.stroke()


def make_cross():
    s, cr = surface(TILE, TILE)
    pressed_patch(cr)
    cross_strokes(cr, 44, 84, 10, rgba("#eee9f4", 0.8))
    cr.translate(-1.5, -1.5)
    cross_strokes(cr, 44, 84, 9, rgba("#7a6d90", 0.9))
    save(s, FIELD, "X.png")


def make_cross_fill():
    s, cr = surface(TILE, TILE)
    pressed_patch(cr)
    cross_strokes(cr, 30, 98, 26, rgba("#5e5275", 0.9))
    cross_strokes(cr, 30, 98, 16, rgba("#7a6d90", 1.0))
    save(s, FIELD, "x-fill.png")


def make_error():
    s, cr = surface(TILE, TILE)
    c = TILE / 2
    cr.arc(c, c + 3, 58, 0, 2 * math.pi)
    cr.set_source_rgba(0.2, 0.05, 0.02, 0.35)
    cr.fill()
    cr.arc(c, c, 58, 0, 2 * math.pi)
    cr.set_source_rgba(*rgba("#ffffff"))
    cr.fill()
    cr.arc(c, c, 48, 0, 2 * math.pi)
    g = cairo.LinearGradient(0, c - 48, 0, c + 48)
    g.add_color_stop_rgba(0, *rgba("#f0645a"))
    g.add_color_stop_rgba(1, *rgba("#c0281e"))
    cr.set_source(g)
    cr.fill()
    cross_strokes(cr, c - 20, c + 20, 15, rgba("#ffffff"))
    cr.arc(c, c, 58, 0, 2 * math.pi)
    outline(cr, rgba("#7a1a12", 0.9), 3)
    save(s, FIELD, "Error.png")


def make_hold():
    s, cr = surface(TILE, TILE)
    rounded(cr, 7, 7, TILE - 14, TILE - 14, 16)
    fill_outlined(cr, (1, 1, 1, 0.55), (1, 1, 1, 0.95), 8)
    rounded(cr, 3, 3, TILE - 6, TILE - 6, 19)
    outline(cr, rgba("#5a3d2b", 0.55), 2.5)
    save(s, FIELD, "Hold.png")


def make_hammer_icon():
    s, cr = surface(TILE, TILE)
    cr.translate(34, 34)
    cr.rotate(-math.pi / 4)
    # Handle.
    rounded(cr, -5, -6, 10, 40, 4)
    fill_outlined(cr, vertical(cr, -6, 34, rgba("#c98a4b"), rgba("#8a5426")), rgba("#3b2414"), 2.5)
    # Head.
    rounded(cr, -19, -20, 38, 16, 4)
    fill_outlined(cr, vertical(cr, -20, -4, rgba("#e7ecef"), rgba("#8d979e")), rgba("#2a2f33"), 2.5)
    save(s, FIELD, "HammerIco.png")


# ---------------------------------------------------------------------------------------------
# Clue numbers

# Set 0 images are NUM_H pixels high, drawn for 128-pixel tiles (0.44 of a tile); set 1 the
# same pictures half again as large, for the bigger tiles.
NUM_H = 56
SETS = {0: 1.0, 1: 1.5}
MAX_W1, MAX_W2 = 38, 64  # widest one- and two-digit images of set 0


def text_path(cr, text, family, size):
    cr.select_font_face(family, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    cr.set_font_size(size)
    return cr.text_extents(text)


def make_number(k, scale, value):
    text = str(value)
    h = int(round(NUM_H * scale))
    rim = 3.6 * scale
    family = FONT if len(text) == 1 else FONT_NARROW
    size = 53 * scale
    probe, pcr = surface(8, 8)
    ext = text_path(pcr, text, family, size)
    max_w = (MAX_W1 if len(text) == 1 else MAX_W2) * scale
    # Two-digit numbers are drawn a little narrower so that they keep the full height.
    squeeze = min(1.0, (max_w - 2 * rim - 2 * scale) / ext.width)
    w = int(math.ceil(ext.width * squeeze + 2 * rim + 2 * scale))
    w = min(w, int(max_w))
    s, cr = surface(w, h)
    cr.translate(w / 2, h / 2)
    cr.scale(squeeze, 1.0)
    text_path(cr, text, family, size)
    cr.move_to(-ext.x_bearing - ext.width / 2, -ext.y_bearing - ext.height / 2)
    cr.text_path(text)
    cr.set_line_join(cairo.LINE_JOIN_ROUND)
    cr.set_line_width(2 * rim / squeeze if squeeze < 1 else 2 * rim)
    cr.set_source_rgba(*rgba("#2a1c14", 0.85))
    cr.stroke_preserve()
    cr.set_source_rgba(1, 1, 1, 1)
    cr.fill()
    save(s, NUMBERS, "%d-%d.png" % (k, value))


def make_dot(k, scale):
    d = int(round(14 * scale))
    s, cr = surface(d, d)
    cr.arc(d / 2, d / 2, d / 2 - 1.5 * scale, 0, 2 * math.pi)
    fill_outlined(cr, (1, 1, 1, 1), rgba("#2a1c14", 0.85), 2 * scale)
    save(s, NUMBERS, "%d-dot.png" % k)


def make_number_cross():
    """A bold stroke from the lower left to the upper right, drawn at half size over a number."""
    size = 112
    s, cr = surface(size, size)
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    cr.move_to(24, 88)
    cr.line_to(88, 24)
    cr.set_line_width(20)
    cr.set_source_rgba(*rgba("#2a1c14", 0.75))
    cr.stroke_preserve()
    outline(cr, (1, 1, 1, 1), 12)
    save(s, SCREEN, "Cross.png")


# ---------------------------------------------------------------------------------------------
# Board decorations

def ramp(t):
    """Opacity of a clue back from its far end (0) to full strength (1)."""
    t = max(0.0, min(1.0, t))
    return t * t * (3 - 2 * t)


# The clue backs: a strip behind the row numbers (and one behind the column numbers), dark for
# the clue numbers drawn in their colours, light for the colours too dark for it. The game draws
# a strip 1.2 times as long as the numbers reach, from the board's edge: it is at full strength
# under every number and fades out over its far eighth. Every colour of the palette must read
# on its strip (tools/make_levels.py checks the contrast, as does the test over the tables).
DARK_BACK, LIGHT_BACK = ("#1e1219", 0.95), ("#fff8ec", 0.88)


def make_backs():
    # 32 columns (rows) of which the last lies on the board's edge.
    for name, (colour, alpha), horizontal in (
            ("Gradient.png", DARK_BACK, True),
            ("gradient2.png", DARK_BACK, False),
            ("lgradient2.png", LIGHT_BACK, True),
            ("lgradient.png", LIGHT_BACK, False)):
        w, h = (32, 1) if horizontal else (1, 32)
        s, cr = surface(w, h)
        r, g, b, _ = rgba(colour)
        for i in range(32):
            # The far end is pixel 0 (the column backs' top), the board's edge pixel 31.
            a = alpha * ramp(i / 4.0)
            cr.set_source_rgba(r, g, b, a)
            if horizontal:
                cr.rectangle(i, 0, 1, 1)
            else:
                cr.rectangle(0, i, 1, 1)
            cr.fill()
        save(s, SCREEN, name)


def make_dims():
    w, h = 184, 84
    s, cr = surface(w, h)
    rounded(cr, 4, 6, w - 8, h - 10, 30)
    cr.set_source_rgba(0.1, 0.04, 0.06, 0.35)
    cr.fill()
    rounded(cr, 4, 2, w - 8, h - 10, 30)
    fill_outlined(cr, vertical(cr, 2, h - 8, rgba("#6b4358", 0.96), rgba("#3e2433", 0.96)),
                  rgba("#f3d48a", 0.9), 4)
    save(s, SCREEN, "Dims.png")


def make_waste():
    s, cr = surface(32, 32)
    cr.arc(16, 16, 14, 0, 2 * math.pi)
    cr.set_source_rgba(*rgba("#ffffff"))
    cr.fill()
    cr.arc(16, 16, 11.5, 0, 2 * math.pi)
    cr.set_source(vertical(cr, 4, 28, rgba("#8d7a6c"), rgba("#5e4c40")))
    cr.fill()
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    cr.set_line_width(3.2)
    cr.set_source_rgba(1, 1, 1, 1)
    cr.move_to(11, 11)
    cr.line_to(21, 21)
    cr.move_to(21, 11)
    cr.line_to(11, 21)
    cr.stroke()
    cr.arc(16, 16, 14, 0, 2 * math.pi)
    outline(cr, rgba("#3b2a20", 0.9), 1.5)
    save(s, SCREEN, "WasteImg.png")


# ---------------------------------------------------------------------------------------------
# Backgrounds: a soft quilt of diamond patches in one hue, lighter around the board.

BACKGROUNDS = [
    ("#e9a98b", "#d98a72"),  # apricot
    ("#9fc7a4", "#7fae8b"),  # sage
    ("#a9bfe0", "#8aa3cf"),  # cornflower
    ("#e6b8c8", "#d297ad"),  # rose
    ("#c5b3df", "#a995cc"),  # lilac
    ("#e8cf8f", "#d8b86e"),  # butter
    ("#8fcbc4", "#6fb2ab"),  # sea glass
    ("#e3a7a0", "#cf8780"),  # terracotta pink
    ("#b7d08e", "#9cba72"),  # meadow
    ("#d6b89c", "#c19d7f"),  # caramel
]
BG_W, BG_H = 1366, 768
BOARD_X, BOARD_Y = 171 + 462, 384  # the board's middle in the window


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def make_background(n, light, dark):
    s, cr = surface(BG_W, BG_H, opaque=True)
    light, dark = rgba(light)[:3], rgba(dark)[:3]
    cr.set_source(vertical(cr, 0, BG_H, light + (1,), dark + (1,)))
    cr.paint()
    rng = random.Random(n)
    # Diamond patches, each a shade lighter or darker than the ground.
    step = 88
    cr.save()
    cr.translate(BOARD_X, BOARD_Y)
    cr.rotate(math.pi / 4)
    span = int(math.hypot(BG_W, BG_H) / step) + 2
    for i in range(-span, span):
        for j in range(-span, span):
            shade = rng.choice((-1, 0, 0, 1))
            if shade == 0:
                continue
            cr.rectangle(i * step, j * step, step, step)
            cr.set_source_rgba(1, 1, 1, 0.07) if shade > 0 else cr.set_source_rgba(0.25, 0.1, 0.05, 0.05)
            cr.fill()
    # Seams and their stitches.
    r = span * step
    cr.set_line_width(2.0)
    cr.set_source_rgba(0.3, 0.15, 0.1, 0.10)
    for i in range(-span, span + 1):
        cr.move_to(i * step, -r)
        cr.line_to(i * step, r)
        cr.move_to(-r, i * step)
        cr.line_to(r, i * step)
    cr.stroke()
    cr.set_line_width(1.6)
    cr.set_dash([6.0, 6.0])
    cr.set_source_rgba(1, 1, 1, 0.22)
    for i in range(-span, span + 1):
        for off in (-7, 7):
            cr.move_to(i * step + off, -r)
            cr.line_to(i * step + off, r)
            cr.move_to(-r, i * step + off)
            cr.line_to(r, i * step + off)
    cr.stroke()
    cr.restore()
    # Light gathers around the board; the corners fall off a little.
    g = cairo.RadialGradient(BOARD_X, BOARD_Y, 60, BOARD_X, BOARD_Y, 820)
    g.add_color_stop_rgba(0, 1, 1, 0.95, 0.30)
    g.add_color_stop_rgba(0.55, 1, 1, 0.95, 0.0)
    g.add_color_stop_rgba(1, 0.2, 0.08, 0.05, 0.28)
    cr.set_source(g)
    cr.paint()
    save(s, SCREEN, "Background%d.png" % n)


def main():
    make_cover()
    make_box()
    make_cross()
    make_cross_fill()
    make_error()
    make_hold()
    make_hammer_icon()
    for k, scale in SETS.items():
        for value in range(21):
            make_number(k, scale, value)
        make_dot(k, scale)
    make_number_cross()
    make_backs()
    make_dims()
    make_waste()
    for n, (light, dark) in enumerate(BACKGROUNDS, start=1):
        make_background(n, light, dark)


if __name__ == "__main__":
    main()
