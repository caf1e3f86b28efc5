#!/usr/bin/env python3
"""Draws the pictures of the stages map, the level summary, the lose pop-up, the awards and the
help pop-ups, in the look of the main menu and its pop-ups.

    /usr/bin/python3 tools/make_stages_art.py [data folder]     (default: data)

Stages map ("Screens/Stages/"): the land in four strips Map1.jpg to Map4.jpg (1366 x 1024 each,
the top strip first) with the winding path through the hundred level points (their places come
from tools/make_stages_screens.py, POINTS); a thumbnail's pieces Tile.png, Grid.png (one cell of
the tiny picture), Panelik-0/1/2.png (locked, current glow, open) and Stars0..3.png (the star
rows); the upper panel Panel.png and the button backings NextBack.png and AwardsBack.png.

Level summary ("PopUps/LevelSummary/"): Window.png, StarSlot.png, Stats.png.
Lose pop-up ("PopUps/LoseScreen/"): Window.png. Awards ("PopUps/AwardsShow/"): Main.png and
Award-1.png to Award-18.png (medals; "PopUps/GiveAward/" Panel.png shows one large).
Help ("PopUps/Help/", "PopUps/KingdomHelp/"): Panel.png with its drawn explanation.
"Effects/Arrow.png": the tutorial arrow.

Helpers and palette come from tools/artlib.py and tools/make_popup_art.py.
"""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import artlib as art  # noqa: E402
from artlib import (CREAM, BROWN, cairo, fill_outlined, outline, polygon, rgb, rounded, save_jpg,  # noqa: E402
                    save_png, star_path, surface, vertical)
from make_popup_art import panel  # noqa: E402
from make_stages_screens import MAP_W, MAP_H, POINTS, PANEL_SIZES  # noqa: E402

GOLD = rgb("FFCF5A")
NAVY_TOP, NAVY_BOTTOM = (0.255, 0.310, 0.478), (0.172, 0.212, 0.353)


def star(cr, cx, cy, r, lit=True):
    star_path(cr, cx, cy + r * 0.08, r, r * 0.45)
    cr.set_source_rgba(0.25, 0.1, 0.0, 0.3)
    cr.fill()
    star_path(cr, cx, cy, r, r * 0.45)
    if lit:
        cr.set_source(vertical(cr, cy - r, cy + r, [(0, rgb("FFF3A6")), (0.5, rgb("FFD23C")), (1, rgb("F0A418"))]))
        cr.fill_preserve()
        cr.set_source_rgb(*rgb("9A5A10"))
    else:
        cr.set_source_rgba(0.1, 0.06, 0.12, 0.55)
        cr.fill_preserve()
        cr.set_source_rgba(1, 0.92, 0.78, 0.5)
    cr.set_line_join(cairo.LINE_JOIN_ROUND)
    cr.set_line_width(max(1.0, r * 0.12))
    cr.stroke()


# ---------------------------------------------------------------------------------------------
# The stages map

def land(path_dir):
    """The land from snowy peaks (top, the last levels) down to the meadow (bottom, level 1):
    quilt fields whose colours change with the height, clouds, and the path through the points."""
    s, cr = surface(MAP_W, MAP_H)
    bands = [(0.0, rgb("DCE8F4")), (0.12, rgb("B9CFE6")), (0.25, rgb("9FC7A0")), (0.55, rgb("8CC56F")),
             (0.8, rgb("A4D07C")), (1.0, rgb("8CC56F"))]
    cr.set_source(vertical(cr, 0, MAP_H, bands))
    cr.rectangle(0, 0, MAP_W, MAP_H)
    cr.fill()
    rnd = random.Random(11)
    # Quilt fields, a few of them flowering, lighter toward the top.
    size = 120
    greens = [rgb(c) for c in ("8CC56F", "74B45E", "A4D07C", "7DB86A", "E6D66E", "EAA6C4", "92C8DC", "C9DF8E")]
    snow = [rgb(c) for c in ("EEF3FA", "DDE7F2", "CFDCEB", "E4ECF6")]
    for row in range(MAP_H // size + 1):
        for col in range(MAP_W // size + 2):
            x = col * size - (row % 2) * size / 2
            y = row * size
            t = y / MAP_H
            cols = snow if t < 0.14 else greens
            c = cols[rnd.randrange(len(cols))]
            rounded(cr, x + 5, y + 5, size - 10, size - 10, 14)
            cr.set_source_rgba(*c, 0.55)
            cr.fill_preserve()
            art.stitch(cr, (1, 1, 1, 0.35), 2, [8, 6])
    # Mountains at the top.
    for k, (cx, hgt, wid) in enumerate(((180, 300, 420), (560, 380, 520), (980, 330, 480), (1260, 280, 400))):
        base = 420
        cr.move_to(cx - wid / 2, base)
        cr.line_to(cx, base - hgt)
        cr.line_to(cx + wid / 2, base)
        cr.close_path()
        cr.set_source(vertical(cr, base - hgt, base, [(0, rgb("8EA3C4")), (1, rgb("6F86AA"))]))
        cr.fill()
        cr.move_to(cx - wid * 0.16, base - hgt * 0.68)
        cr.line_to(cx, base - hgt)
        cr.line_to(cx + wid * 0.16, base - hgt * 0.68)
        cr.line_to(cx + wid * 0.05, base - hgt * 0.6)
        cr.line_to(cx - wid * 0.06, base - hgt * 0.7)
        cr.close_path()
        cr.set_source_rgb(1, 1, 1)
        cr.fill()
    # Trees scattered over the green part.
    for _ in range(140):
        x, y = rnd.uniform(0, MAP_W), rnd.uniform(MAP_H * 0.16, MAP_H - 40)
        if any(abs(x - (px + 171)) < 70 and abs(y - py) < 70 for px, py in POINTS):
            continue
        r = rnd.uniform(12, 22)
        cr.set_source_rgba(0, 0, 0, 0.15)
        cr.arc(x + 3, y + r * 0.9, r * 0.8, 0, 2 * math.pi)
        cr.fill()
        cr.set_source_rgb(*rgb("8A5A34"))
        cr.rectangle(x - 2.5, y, 5, r * 0.9)
        cr.fill()
        cr.set_source_rgb(*rgb(rnd.choice(("4E9A4A", "5DAA52", "3F8A44"))))
        cr.arc(x, y - r * 0.2, r, 0, 2 * math.pi)
        cr.fill()
    # The path: a cream ribbon with a dashed stitch through every level point.
    pts = [(px + 171, py) for px, py in POINTS]
    for width, colour, dash in ((26, (0.55, 0.38, 0.22, 0.35), None), (20, (*CREAM, 1), None),
                                (2.5, (0.62, 0.44, 0.25, 0.9), [9, 7])):
        cr.set_line_width(width)
        cr.set_line_cap(cairo.LINE_CAP_ROUND)
        cr.set_line_join(cairo.LINE_JOIN_ROUND)
        cr.move_to(*pts[0])
        for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
            if abs(x1 - x0) < 40:
                # A turn at the end of a row, bulging outward.
                out = 120 if x0 > MAP_W / 2 else -120
                cr.curve_to(x0 + out, y0, x1 + out, y1, x1, y1)
            else:
                cr.line_to(x1, y1)
        cr.set_source_rgba(*colour)
        if dash:
            cr.set_dash(dash)
        cr.stroke()
        cr.set_dash([])
    for i in range(4):
        strip = cairo.ImageSurface(cairo.FORMAT_ARGB32, MAP_W, 1024)
        c2 = cairo.Context(strip)
        c2.set_source_surface(s, 0, -1024 * i)
        c2.paint()
        save_jpg(strip, os.path.join(path_dir, "Map%d.jpg" % (i + 1)), quality=86)


def cell(path, alpha):
    s, cr = surface(3, 3)
    cr.set_source_rgba(1, 1, 1, alpha)
    cr.paint()
    save_png(s, path)


def thumb_panel(path, kind):
    w, h = PANEL_SIZES["Panelik"]
    s, cr = surface(w, h)
    if kind == 1:
        # The glow: a soft golden halo over the whole panel.
        for i, a in enumerate((0.20, 0.30, 0.45)):
            rounded(cr, 2 + 3 * i, 2 + 3 * i, w - 4 - 6 * i, h - 4 - 6 * i, 16 - 2 * i)
            cr.set_source_rgba(*GOLD, a)
            cr.fill()
        save_png(s, path)
        return
    rounded(cr, 4, 6, w - 8, h - 8, 12)
    cr.set_source_rgba(0, 0, 0, 0.25)
    cr.fill()
    rounded(cr, 3, 3, w - 6, h - 8, 12)
    if kind == 0:
        cr.set_source(vertical(cr, 3, h, [(0, rgb("9AA3B8")), (1, rgb("77809A"))]))
    else:
        cr.set_source(vertical(cr, 3, h, [(0, rgb("FFF6E0")), (1, rgb("F2DFB4"))]))
    cr.fill_preserve()
    outline(cr, (rgb("5A6078") if kind == 0 else rgb("9C7040")), 2)
    rounded(cr, 8, 8, w - 16, h - 18, 8)
    if kind == 0:
        art.stitch(cr, (1, 1, 1, 0.35), 1.2, [4, 3])
        # A padlock.
        cx, cy = w / 2, h / 2 - 1
        cr.set_source_rgb(*rgb("F1E6C8"))
        cr.set_line_width(3.5)
        cr.arc(cx, cy - 4, 8, math.pi, 2 * math.pi)
        cr.stroke()
        rounded(cr, cx - 12, cy - 4, 24, 18, 4)
        cr.fill()
        cr.set_source_rgb(*rgb("5A6078"))
        cr.arc(cx, cy + 3, 2.8, 0, 2 * math.pi)
        cr.fill()
    else:
        cr.set_source_rgba(0.24, 0.20, 0.30, 0.85)
        cr.fill()
    save_png(s, path)


def star_row(path, lit):
    w, h = PANEL_SIZES["Stars"]
    s, cr = surface(w, h)
    for i in range(3):
        star(cr, w / 2 + (i - 1) * 20, h / 2 + (2 if i != 1 else 0), 9, i < lit)
    save_png(s, path)


def upper_panel(path):
    w, h = PANEL_SIZES["Panel"]
    s, cr = surface(w, h)
    rounded(cr, 3, 5, w - 6, h - 6, 20)
    cr.set_source_rgba(0, 0, 0, 0.3)
    cr.fill()
    rounded(cr, 2, 2, w - 4, h - 8, 20)
    fill_outlined(cr, vertical(cr, 2, h - 6, [(0, NAVY_TOP), (1, NAVY_BOTTOM)]), (*CREAM, 0.9), 2.5)
    rounded(cr, 9, 9, w - 18, h - 22, 14)
    art.stitch(cr, (*CREAM, 0.45), 1.5, [7, 5])
    star(cr, w - 118, h / 2 - 3, 15)
    save_png(s, path)


def button_back(path):
    w, h = PANEL_SIZES["Back"]
    s, cr = surface(w, h)
    rounded(cr, 4, 8, w - 8, h - 10, h / 2 - 6)
    cr.set_source_rgba(0, 0, 0, 0.28)
    cr.fill()
    rounded(cr, 3, 3, w - 6, h - 10, h / 2 - 6)
    fill_outlined(cr, vertical(cr, 3, h, [(0, NAVY_TOP), (1, NAVY_BOTTOM)]), (*CREAM, 0.9), 2.5)
    save_png(s, path)


# ---------------------------------------------------------------------------------------------
# Level summary, lose pop-up

def summary(folder):
    w, h = PANEL_SIZES["SummaryWindow"]
    panel(os.path.join(folder, "Window.png"), w, h)
    s, cr = surface(46, 46)
    star(cr, 23, 23, 21, lit=False)
    save_png(s, os.path.join(folder, "StarSlot.png"))
    w, h = PANEL_SIZES["Stats"]
    s, cr = surface(w, h)
    rounded(cr, 2, 2, w - 4, h - 4, 22)
    fill_outlined(cr, vertical(cr, 0, h, [(0, rgb("FFF6E0")), (1, rgb("F2DFB4"))]), rgb("9C7040"), 3)
    rounded(cr, 12, 12, w - 24, h - 24, 14)
    art.stitch(cr, (0.61, 0.44, 0.25, 0.5), 1.5, [7, 5])
    save_png(s, os.path.join(folder, "Stats.png"))


def lose(folder):
    w, h = PANEL_SIZES["LoseWindow"]
    panel(os.path.join(folder, "Window.png"), w, h)


# ---------------------------------------------------------------------------------------------
# Awards

# Each award's emblem: (ribbon colour, medal colour, emblem).
AWARD_LOOKS = [
    ("E25454", "FFD23C", "check"), ("4F8FD0", "FFD23C", "hand"), ("7FB069", "FFD23C", "bulb"),
    ("E878B0", "FFD23C", "star"), ("F4A259", "FFD23C", "box"), ("8E6CC8", "FFD23C", "cross"),
    ("3FA7A0", "FFD23C", "flag"), ("B8864C", "FFD23C", "house"), ("5E9A52", "FFD23C", "coin"),
    ("E25454", "D8DEE8", "check"), ("4F8FD0", "D8DEE8", "hand"), ("7FB069", "D8DEE8", "bulb"),
    ("E878B0", "D8DEE8", "star"), ("F4A259", "D8DEE8", "box"), ("8E6CC8", "D8DEE8", "cross"),
    ("3FA7A0", "D8DEE8", "flag"), ("B8864C", "D8DEE8", "castle"), ("5E9A52", "D8DEE8", "coin"),
]


def emblem(cr, kind, cx, cy, r):
    cr.set_source_rgb(*BROWN)
    cr.set_line_width(r * 0.16)
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    cr.set_line_join(cairo.LINE_JOIN_ROUND)
    if kind == "check":
        cr.move_to(cx - r * 0.5, cy)
        cr.line_to(cx - r * 0.12, cy + r * 0.4)
        cr.line_to(cx + r * 0.55, cy - r * 0.4)
        cr.stroke()
    elif kind == "hand":
        rounded(cr, cx - r * 0.4, cy - r * 0.2, r * 0.8, r * 0.7, r * 0.2)
        cr.fill()
        for i in range(4):
            rounded(cr, cx - r * 0.4 + i * r * 0.21, cy - r * 0.62, r * 0.17, r * 0.55, r * 0.08)
            cr.fill()
    elif kind == "bulb":
        cr.arc(cx, cy - r * 0.15, r * 0.42, 0, 2 * math.pi)
        cr.fill()
        cr.rectangle(cx - r * 0.2, cy + r * 0.2, r * 0.4, r * 0.35)
        cr.fill()
    elif kind == "star":
        star_path(cr, cx, cy, r * 0.62, r * 0.27)
        cr.fill()
    elif kind == "box":
        rounded(cr, cx - r * 0.48, cy - r * 0.48, r * 0.96, r * 0.96, r * 0.15)
        cr.fill()
    elif kind == "cross":
        for a, b in ((-1, -1), (-1, 1)):
            cr.move_to(cx + a * r * 0.42, cy + b * r * 0.42)
            cr.line_to(cx - a * r * 0.42, cy - b * r * 0.42)
        cr.stroke()
    elif kind == "flag":
        cr.move_to(cx - r * 0.35, cy + r * 0.55)
        cr.line_to(cx - r * 0.35, cy - r * 0.55)
        cr.stroke()
        cr.move_to(cx - r * 0.3, cy - r * 0.55)
        cr.line_to(cx + r * 0.5, cy - r * 0.32)
        cr.line_to(cx - r * 0.3, cy - r * 0.08)
        cr.close_path()
        cr.fill()
    elif kind == "house":
        cr.move_to(cx - r * 0.55, cy - r * 0.05)
        cr.line_to(cx, cy - r * 0.55)
        cr.line_to(cx + r * 0.55, cy - r * 0.05)
        cr.close_path()
        cr.fill()
        cr.rectangle(cx - r * 0.4, cy - r * 0.05, r * 0.8, r * 0.55)
        cr.fill()
    elif kind == "castle":
        cr.rectangle(cx - r * 0.5, cy - r * 0.2, r, r * 0.7)
        cr.fill()
        for i in range(3):
            cr.rectangle(cx - r * 0.5 + i * r * 0.38, cy - r * 0.5, r * 0.24, r * 0.32)
            cr.fill()
    elif kind == "coin":
        cr.arc(cx, cy, r * 0.45, 0, 2 * math.pi)
        cr.stroke()
        cr.arc(cx, cy, r * 0.2, 0, 2 * math.pi)
        cr.fill()


def medal(path, index, size=96):
    ribbon, metal, kind = AWARD_LOOKS[index]
    s, cr = surface(size, size)
    k = size / 96.0
    cr.scale(k, k)
    # Ribbon tails.
    cr.set_source_rgb(*rgb(ribbon))
    for sx in (-1, 1):
        cr.move_to(48 + sx * 8, 8)
        cr.line_to(48 + sx * 26, 8)
        cr.line_to(48 + sx * 14, 44)
        cr.line_to(48 + sx * 2, 44)
        cr.close_path()
        cr.fill()
    cx, cy, r = 48, 58, 30
    cr.set_source_rgba(0, 0, 0, 0.25)
    cr.arc(cx + 1, cy + 3, r, 0, 2 * math.pi)
    cr.fill()
    m = rgb(metal)
    g = cairo.RadialGradient(cx - 10, cy - 12, 4, cx, cy, r)
    g.add_color_stop_rgb(0, min(1, m[0] + 0.2), min(1, m[1] + 0.2), min(1, m[2] + 0.2))
    g.add_color_stop_rgb(1, m[0] * 0.8, m[1] * 0.8, m[2] * 0.8)
    cr.set_source(g)
    cr.arc(cx, cy, r, 0, 2 * math.pi)
    cr.fill_preserve()
    outline(cr, BROWN, 2.5)
    cr.arc(cx, cy, r - 6, 0, 2 * math.pi)
    art.stitch(cr, (*BROWN, 0.5), 1.2, [4, 3])
    emblem(cr, kind, cx, cy, r * 0.8)
    save_png(s, path)


def awards(data):
    folder = os.path.join(data, "PopUps", "AwardsShow")
    for i in range(18):
        medal(os.path.join(folder, "Award-%d.png" % (i + 1)), i)
    w, h = PANEL_SIZES["AwardsMain"]
    panel(os.path.join(folder, "Main.png"), w, h)
    w, h = PANEL_SIZES["GiveAward"]
    panel(os.path.join(data, "PopUps", "GiveAward", "Panel.png"), w, h)


# ---------------------------------------------------------------------------------------------
# Help pop-ups

def help_panel(path, kingdom):
    w, h = PANEL_SIZES["Help"]
    pad = panel(path, w, h)
    s = cairo.ImageSurface.create_from_png(path)
    cr = cairo.Context(s)
    cr.translate(pad, pad)
    # A small drawn example under the text: a row of clue numbers over cells, or a house and coins.
    y = h - 190
    if not kingdom:
        cells = [1, 1, 0, 1, 1, 1, 0]
        x0 = w / 2 - len(cells) * 34 / 2
        cr.select_font_face(art.FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
        cr.set_font_size(24)
        for label, lx in (("2", x0 - 56), ("3", x0 - 30)):
            cr.move_to(lx, y + 24)
            cr.set_source_rgb(*rgb("FF6A6A"))
            cr.show_text(label)
        for i, v in enumerate(cells):
            rounded(cr, x0 + i * 34, y, 30, 30, 5)
            if v:
                cr.set_source_rgb(*rgb("E25454"))
                cr.fill()
            else:
                cr.set_source_rgba(1, 1, 1, 0.85)
                cr.fill()
                cr.set_source_rgb(*rgb("7A6A8A"))
                cr.set_line_width(3)
                cr.move_to(x0 + i * 34 + 8, y + 8)
                cr.line_to(x0 + i * 34 + 22, y + 22)
                cr.move_to(x0 + i * 34 + 22, y + 8)
                cr.line_to(x0 + i * 34 + 8, y + 22)
                cr.stroke()
    else:
        cx = w / 2
        cr.move_to(cx - 60, y + 20)
        cr.line_to(cx - 20, y - 14)
        cr.line_to(cx + 20, y + 20)
        cr.close_path()
        cr.set_source_rgb(*rgb("C8553D"))
        cr.fill()
        cr.rectangle(cx - 50, y + 20, 60, 40)
        cr.set_source_rgb(*rgb("FFF6E0"))
        cr.fill()
        cr.rectangle(cx - 28, y + 34, 16, 26)
        cr.set_source_rgb(*rgb("8A5A34"))
        cr.fill()
        for i in range(3):
            cr.arc(cx + 50 + i * 10, y + 48 - i * 6, 12, 0, 2 * math.pi)
            fill_outlined(cr, GOLD, BROWN, 1.5)
    s.write_to_png(path)


def arrow(path):
    s, cr = surface(48, 64)
    polygon(cr, [(24, 60), (4, 32), (16, 32), (16, 4), (32, 4), (32, 32), (44, 32)])
    cr.set_source(vertical(cr, 4, 60, [(0, rgb("FFE58A")), (1, rgb("F4A83A"))]))
    cr.fill_preserve()
    cr.set_source_rgb(*BROWN)
    cr.set_line_width(2.5)
    cr.set_line_join(cairo.LINE_JOIN_ROUND)
    cr.stroke()
    save_png(s, path)


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else "data"
    stages = os.path.join(data, "Screens", "Stages")
    land(stages)
    cell(os.path.join(stages, "Tile.png"), 1.0)
    cell(os.path.join(stages, "Grid.png"), 0.22)
    for k in range(3):
        thumb_panel(os.path.join(stages, "Panelik-%d.png" % k), k)
    for k in range(4):
        star_row(os.path.join(stages, "Stars%d.png" % k), k)
    upper_panel(os.path.join(stages, "Panel.png"))
    button_back(os.path.join(stages, "NextBack.png"))
    button_back(os.path.join(stages, "AwardsBack.png"))
    summary(os.path.join(data, "PopUps", "LevelSummary"))
    lose(os.path.join(data, "PopUps", "LoseScreen"))
    awards(data)
    help_panel(os.path.join(data, "PopUps", "Help", "Panel.png"), False)
    help_panel(os.path.join(data, "PopUps", "KingdomHelp", "Panel.png"), True)
    arrow(os.path.join(data, "Effects", "Arrow.png"))


if __name__ == "__main__":
    main()
