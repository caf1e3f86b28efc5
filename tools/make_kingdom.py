#!/usr/bin/env python3
"""Draws and lays out the kingdom: its screen file, pictures, texts, creatures and walk paths.

    /usr/bin/python3 tools/make_kingdom.py [data folder]     (default: data)

Writes, under the data folder:
  Screens/Kingdom/Kingdom.AppScreen   the screen: ground, trees, the 28 buildings (ids 1 to 28
                                      under the object with id 1002), their extras (chimney smoke
                                      under id 3000, the castle's sparkles under id 4000), the
                                      creatures' parent (id 1001), the upper and lower panels with
                                      the four offer slots, and the viewing hint
  Screens/Kingdom/*.png               the pictures the screen file names, and RibbonCantAfford.png
                                      (the price's ribbon when the score does not cover it)
  Screens/Kingdom/Gfx-Icons/Icon-k.png  the offer icon of building k, and icon1.png
  Screens/Kingdom/Anims/*             the creatures' frames and ".AnimData" files
  Screens/Kingdom/MoveArray-n.txt     the eleven walk paths (points in the 1024-wide picture)
  Local/en/Kingdom.txt                three lines per building (name, description, price) in the
                                      order of the screen file, then the panel's texts

Drawn with pycairo (Debian python3-cairo). The kingdom is seen from above at a slant: a warm
meadow with a river, a lake and sandy roads; buildings in flat shapes with soft gradients, cream
walls and terracotta, slate and thatch roofs, outlined in dark brown like the rest of the game.
"""
import math
import os
import random
import sys

import cairo

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import ellipse, fill_outlined, outline, polygon, rounded as rrect  # noqa: E402
from make_shell_screens import Obj, button, image, text  # noqa: E402

W, H = 1366, 768     # the scene, from virtual x = -171
OX = 171             # virtual x + OX = scene x
SHARE = 0.711        # a building's picture fills this share of its image, top left

OUTLINE = (0.33, 0.21, 0.13)
GRASS_A = (0.56, 0.76, 0.38)
GRASS_B = (0.66, 0.82, 0.43)
ROAD = (0.89, 0.78, 0.55)
ROAD_EDGE = (0.78, 0.64, 0.41)
WATER = (0.42, 0.72, 0.85)
WATER_DEEP = (0.30, 0.60, 0.78)
WALL = (0.97, 0.90, 0.76)
WALL_SHADE = (0.88, 0.78, 0.62)
STONE = (0.80, 0.77, 0.71)
STONE_DARK = (0.64, 0.61, 0.56)
WOOD = (0.62, 0.42, 0.26)
WOOD_DARK = (0.47, 0.30, 0.18)
TERRACOTTA = (0.80, 0.35, 0.25)
SLATE = (0.36, 0.48, 0.66)
THATCH = (0.86, 0.66, 0.29)
MOSS = (0.40, 0.58, 0.32)
LEAF = (0.36, 0.62, 0.30)
LEAF_LIGHT = (0.50, 0.74, 0.36)
GOLD = (1.0, 0.80, 0.30)
CREAM = (1.0, 0.925, 0.729)
NAVY = (0.188, 0.235, 0.369)
FONT = "DejaVu Sans"

rng = random.Random(22)


# ---------------------------------------------------------------------------------------------
# Drawing helpers

def surface(w, h):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, int(w), int(h))
    return s, cairo.Context(s)


def save(s, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    s.write_to_png(path)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def darker(c, k=0.8):
    return tuple(v * k for v in c)


def lighter(c, k=0.25):
    return mix(c, (1, 1, 1), k)


def fill_stroke(ctx, fill, line=1.6, outline=OUTLINE):
    if isinstance(fill, cairo.Pattern):
        ctx.set_source(fill)
    else:
        ctx.set_source_rgb(*fill)
    ctx.fill_preserve()
    ctx.set_source_rgb(*outline)
    ctx.set_line_width(line)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.stroke()


def vgrad(y0, y1, c0, c1):
    g = cairo.LinearGradient(0, y0, 0, y1)
    g.add_color_stop_rgb(0, *c0)
    g.add_color_stop_rgb(1, *c1)
    return g


def hgrad(x0, x1, c0, c1):
    g = cairo.LinearGradient(x0, 0, x1, 0)
    g.add_color_stop_rgb(0, *c0)
    g.add_color_stop_rgb(1, *c1)
    return g


def shadow(ctx, cx, cy, rx, ry, alpha=0.22):
    ctx.save()
    ctx.translate(cx, cy)
    ctx.scale(rx, ry)
    g = cairo.RadialGradient(0, 0, 0, 0, 0, 1)
    g.add_color_stop_rgba(0, 0.15, 0.25, 0.08, alpha)
    g.add_color_stop_rgba(1, 0.15, 0.25, 0.08, 0)
    ctx.set_source(g)
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.fill()
    ctx.restore()


def window(ctx, x, y, w, h, lit=True):
    rrect(ctx, x, y, w, h, min(w, h) * 0.3)
    fill_stroke(ctx, vgrad(y, y + h, (1.0, 0.88, 0.55), (0.95, 0.70, 0.35)) if lit else (0.45, 0.55, 0.70), 1.2)
    ctx.move_to(x + w / 2, y)
    ctx.line_to(x + w / 2, y + h)
    ctx.set_line_width(1)
    ctx.stroke()


def door(ctx, x, y, w, h):
    ctx.move_to(x, y + h)
    ctx.line_to(x, y + w / 2)
    ctx.arc(x + w / 2, y + w / 2, w / 2, math.pi, 0)
    ctx.line_to(x + w, y + h)
    ctx.close_path()
    fill_stroke(ctx, vgrad(y, y + h, WOOD, WOOD_DARK), 1.2)


def tower(ctx, x, w, bottom, top, left, right):
    """A tapering wall standing on (x, bottom) to (x + w, bottom); its top line at height top runs
    from left to right (shares of w), shaded from the lit side to the shaded one."""
    ctx.move_to(x, bottom)
    ctx.line_to(x + w * left, top)
    ctx.line_to(x + w * right, top)
    ctx.line_to(x + w, bottom)
    ctx.close_path()
    fill_stroke(ctx, hgrad(x, x + w, WALL, WALL_SHADE))


CHIMNEYS = []  # tops of the chimneys of the building being drawn, in its box


def chimney(ctx, x, y, w, h):
    ux, uy = ctx.user_to_device(x + w / 2, y)
    CHIMNEYS.append((ux, uy))
    ctx.rectangle(x, y, w, h)
    fill_stroke(ctx, hgrad(x, x + w, STONE, STONE_DARK), 1.2)


def roof(ctx, x, y, w, h, colour, kind="gable", over=6):
    """A roof from (x, y) (its top line) down to y + h over a wall of width w."""
    if kind == "gable":
        ctx.move_to(x - over, y + h)
        ctx.line_to(x + w * 0.18, y)
        ctx.line_to(x + w * 0.82, y)
        ctx.line_to(x + w + over, y + h)
    elif kind == "peak":
        ctx.move_to(x - over, y + h)
        ctx.line_to(x + w / 2, y)
        ctx.line_to(x + w + over, y + h)
    elif kind == "cone":
        ctx.move_to(x - over, y + h)
        ctx.line_to(x + w / 2, y)
        ctx.line_to(x + w + over, y + h)
    ctx.close_path()
    fill_stroke(ctx, vgrad(y, y + h, lighter(colour, 0.15), darker(colour, 0.85)))
    # Tile rows.
    ctx.save()
    ctx.set_source_rgba(*darker(colour, 0.7), 0.5)
    ctx.set_line_width(1)
    rows = max(2, int(h / 7))
    for i in range(1, rows):
        yy = y + h * i / rows
        t = (yy - y) / h
        if kind == "gable":
            x0 = x + w * 0.18 - (w * 0.18 + over) * t
            x1 = x + w * 0.82 + (w * 0.18 + over) * t
        else:
            x0 = x + w / 2 - (w / 2 + over) * t
            x1 = x + w / 2 + (w / 2 + over) * t
        ctx.move_to(x0 + 3, yy)
        ctx.line_to(x1 - 3, yy)
    ctx.stroke()
    ctx.restore()


def wall(ctx, x, y, w, h, colour=WALL):
    ctx.rectangle(x, y, w, h)
    fill_stroke(ctx, hgrad(x, x + w, colour, mix(colour, WALL_SHADE, 0.8)))


def house(ctx, x, y, w, h, roof_colour=TERRACOTTA, kind="gable", chimneys=(), windows=2, wall_colour=WALL,
          roof_share=0.5):
    rh = h * roof_share
    if chimneys:
        # Room above the roof for the chimneys.
        lift = rh * 0.3
        y, h = y + lift, h - lift
        rh = h * roof_share
    for cx in chimneys:
        chimney(ctx, x + w * cx, y - rh * 0.3, w * 0.1, rh * 0.8)
    wall(ctx, x, y + rh, w, h - rh, wall_colour)
    roof(ctx, x, y, w, rh, roof_colour, kind)
    dw = w * 0.18
    door(ctx, x + w / 2 - dw / 2, y + h - (h - rh) * 0.62, dw, (h - rh) * 0.62)
    for i in range(windows):
        side = -1 if i % 2 == 0 else 1
        row = i // 2
        wx = x + w / 2 + side * w * 0.3 - w * 0.07
        window(ctx, wx, y + rh + (h - rh) * (0.2 + 0.3 * row), w * 0.14, (h - rh) * 0.26)


def fence(ctx, x, y, w, h):
    ctx.save()
    ctx.set_source_rgb(*WOOD)
    ctx.set_line_width(2.2)
    for yy in (y, y + h):
        ctx.move_to(x, yy)
        ctx.line_to(x + w, yy)
    for xx in (x, x + w):
        ctx.move_to(xx, y)
        ctx.line_to(xx, y + h)
    ctx.stroke()
    ctx.set_source_rgb(*WOOD_DARK)
    n = max(1, int(w / 12))
    for i in range(n + 1):
        xx = x + w * i / n
        for yy in (y, y + h):
            ctx.rectangle(xx - 1.5, yy - 5, 3, 7)
    m = max(1, int(h / 12))
    for i in range(m + 1):
        yy = y + h * i / m
        for xx in (x, x + w):
            ctx.rectangle(xx - 1.5, yy - 5, 3, 7)
    ctx.fill()
    ctx.restore()


def tree(ctx, x, y, r, colour=LEAF, fruit=None):
    """A round tree standing at (x, y) (foot of the trunk)."""
    shadow(ctx, x + r * 0.3, y, r * 1.1, r * 0.4)
    ctx.rectangle(x - r * 0.15, y - r * 0.9, r * 0.3, r * 0.9)
    fill_stroke(ctx, WOOD, 1.2)
    g = cairo.RadialGradient(x - r * 0.35, y - r * 1.9, r * 0.2, x, y - r * 1.5, r * 1.2)
    g.add_color_stop_rgb(0, *lighter(colour, 0.3))
    g.add_color_stop_rgb(1, *darker(colour, 0.85))
    ctx.arc(x, y - r * 1.5, r, 0, 2 * math.pi)
    fill_stroke(ctx, g, 1.4)
    if fruit:
        for a in range(5):
            ang = a * 1.3 + 0.4
            ctx.arc(x + math.cos(ang) * r * 0.55, y - r * 1.5 + math.sin(ang) * r * 0.5, r * 0.12, 0, 2 * math.pi)
            ctx.set_source_rgb(*fruit)
            ctx.fill()


def pine(ctx, x, y, r):
    shadow(ctx, x + r * 0.3, y, r * 1.0, r * 0.35)
    ctx.rectangle(x - r * 0.12, y - r * 0.6, r * 0.24, r * 0.6)
    fill_stroke(ctx, WOOD, 1.2)
    for i, k in enumerate((1.0, 0.8, 0.6)):
        top = y - r * (1.3 + i * 0.7)
        ctx.move_to(x - r * k, y - r * (0.5 + i * 0.7))
        ctx.line_to(x, top - r * 0.5)
        ctx.line_to(x + r * k, y - r * (0.5 + i * 0.7))
        ctx.close_path()
        fill_stroke(ctx, vgrad(top - r * 0.5, y, (0.36, 0.60, 0.36), (0.20, 0.42, 0.26)), 1.3)


# ---------------------------------------------------------------------------------------------
# The buildings. Each draws itself in a box (0, 0, w, h), its foot on the bottom line.

def b_hut(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.55, 9)
    house(ctx, 8, 8, w - 30, h - 12, THATCH, "peak", windows=1, wall_colour=mix(WOOD, WALL, 0.55))
    # Logs.
    for i in range(3):
        ctx.arc(w - 14, h - 8 - i * 8, 5, 0, 2 * math.pi)
        fill_stroke(ctx, (0.80, 0.62, 0.40), 1.1)


def b_house(roof_colour=TERRACOTTA, chimneys=(0.7,), windows=2, kind="gable", roof_share=0.5):
    def draw(ctx, w, h):
        shadow(ctx, w / 2, h - 4, w * 0.55, 9)
        house(ctx, 6, 6, w - 12, h - 8, roof_colour, kind, chimneys, windows, roof_share=roof_share)
    return draw


def b_field(ctx, w, h):
    shadow(ctx, w / 2, h - 6, w * 0.55, 10, 0.12)
    rrect(ctx, 4, 8, w - 8, h - 14, 6)
    fill_stroke(ctx, vgrad(8, h, (0.93, 0.80, 0.42), (0.85, 0.66, 0.30)), 1.4)
    ctx.set_line_width(1.3)
    for i in range(6):
        y = 16 + (h - 28) * i / 5
        for j in range(int((w - 20) / 8)):
            x = 12 + j * 8
            ctx.move_to(x, y + 4)
            ctx.line_to(x + 2, y - 4)
            ctx.set_source_rgb(0.70, 0.52, 0.20)
            ctx.stroke()
    for x in (18, w - 30):
        ctx.move_to(x, h - 12)  # sheaves
        ctx.line_to(x + 6, h - 30)
        ctx.line_to(x + 12, h - 12)
        ctx.close_path()
        fill_stroke(ctx, GOLD, 1.2)


def b_garden(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.55, 8, 0.12)
    rrect(ctx, 4, 6, w - 8, h - 10, 5)
    fill_stroke(ctx, (0.55, 0.38, 0.24), 1.4)
    colours = [(0.95, 0.55, 0.20), (0.40, 0.70, 0.30), (0.85, 0.25, 0.25), (0.55, 0.78, 0.35)]
    rows = 4
    for i in range(rows):
        y = 14 + (h - 24) * i / (rows - 1)
        for j in range(int((w - 24) / 12)):
            x = 14 + j * 12
            ctx.arc(x, y, 3.6, 0, 2 * math.pi)
            ctx.set_source_rgb(*colours[i % 4])
            ctx.fill()
            ctx.arc(x - 2, y - 3, 2, 0, 2 * math.pi)
            ctx.set_source_rgb(0.35, 0.62, 0.28)
            ctx.fill()
    fence(ctx, 4, 6, w - 8, h - 10)


def b_pasture(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.55, 9, 0.12)
    rrect(ctx, 2, 16, w - 50, h - 20, 8)
    ctx.set_source_rgb(*lighter(GRASS_B, 0.15))
    ctx.fill()
    fence(ctx, 4, 18, w - 56, h - 24)
    house(ctx, w - 46, h - 58, 42, 54, THATCH, "peak", chimneys=(0.62,), windows=0, wall_colour=mix(WOOD, WALL, 0.5))


def b_sty(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.55, 9, 0.12)
    rrect(ctx, 4, 24, w - 8, h - 28, 8)
    ctx.set_source_rgb(0.62, 0.47, 0.32)
    ctx.fill()
    ellipse(ctx, w * 0.35, h - 20, 22, 8)
    ctx.set_source_rgb(0.50, 0.36, 0.24)
    ctx.fill()
    fence(ctx, 4, 26, w - 8, h - 32)
    house(ctx, w - 62, 0, 56, 54, TERRACOTTA, "gable", chimneys=(0.25, 0.7), windows=1)


def b_mill(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.5, 9)
    bx, bw = w * 0.22, w * 0.56
    tower(ctx, bx, bw, h - 4, h * 0.35, 0.15, 0.85)
    roof(ctx, bx + bw * 0.1, h * 0.22, bw * 0.8, h * 0.14, SLATE, "cone", 4)
    door(ctx, w / 2 - 6, h - 26, 12, 22)
    window(ctx, w / 2 - 5, h * 0.45, 10, 12)
    cx, cy = w / 2, h * 0.3
    for k in range(4):
        ang = k * math.pi / 2 + 0.5
        ctx.save()
        ctx.translate(cx, cy)
        ctx.rotate(ang)
        ctx.rectangle(-4, -2, 8, -w * 0.45)
        fill_stroke(ctx, (0.96, 0.94, 0.88), 1.2)
        ctx.move_to(0, -4)
        ctx.line_to(0, -w * 0.45)
        ctx.stroke()
        ctx.restore()
    ctx.arc(cx, cy, 4, 0, 2 * math.pi)
    fill_stroke(ctx, WOOD_DARK, 1)


def b_well(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.55, 7)
    ellipse(ctx, w / 2, h - 14, w * 0.4, 8)
    fill_stroke(ctx, STONE, 1.4)
    ctx.rectangle(w * 0.1, h - 22, w * 0.8, 10)
    fill_stroke(ctx, hgrad(0, w, STONE, STONE_DARK), 1.4)
    for x in (w * 0.16, w * 0.78):
        ctx.rectangle(x, h * 0.3, 4, h * 0.45)
        fill_stroke(ctx, WOOD, 1)
    roof(ctx, w * 0.12, h * 0.08, w * 0.76, h * 0.26, TERRACOTTA, "peak", 4)


def b_chapel(spire=1.0, big=False):
    def draw(ctx, w, h):
        shadow(ctx, w / 2, h - 4, w * 0.55, 9)
        tw = w * (0.28 if big else 0.34)
        tx = w / 2 - tw / 2
        body_top = h * 0.45
        house(ctx, 6, body_top, w - 12, h - body_top - 4, SLATE, "gable", windows=2, wall_colour=STONE)
        ctx.rectangle(tx, h * 0.22, tw, h * 0.55)
        fill_stroke(ctx, hgrad(tx, tx + tw, lighter(STONE, 0.2), STONE_DARK))
        window(ctx, tx + tw * 0.3, h * 0.3, tw * 0.4, h * 0.1, lit=False)
        roof(ctx, tx, h * 0.22 - h * 0.2 * spire, tw, h * 0.2 * spire, SLATE, "peak", 4)
        ctx.move_to(w / 2, h * 0.22 - h * 0.2 * spire - 10)
        ctx.line_to(w / 2, h * 0.22 - h * 0.2 * spire + 2)
        ctx.move_to(w / 2 - 4, h * 0.22 - h * 0.2 * spire - 6)
        ctx.line_to(w / 2 + 4, h * 0.22 - h * 0.2 * spire - 6)
        outline(ctx, GOLD, 2)
        if big:
            for x in (6, w - 6 - tw * 0.6):
                ctx.rectangle(x, h * 0.35, tw * 0.6, h * 0.6)
                fill_stroke(ctx, hgrad(x, x + tw, STONE, STONE_DARK))
                roof(ctx, x, h * 0.22, tw * 0.6, h * 0.13, SLATE, "peak", 3)
    return draw


def b_tower(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.6, 8)
    tx, tw = w * 0.15, w * 0.7
    ctx.rectangle(tx, h * 0.25, tw, h * 0.72)
    fill_stroke(ctx, hgrad(tx, tx + tw, lighter(STONE, 0.2), STONE_DARK))
    for i in range(4):
        ctx.rectangle(tx - 3 + i * tw / 3.4, h * 0.2, tw / 5, h * 0.06)
        fill_stroke(ctx, STONE, 1.2)
    ctx.rectangle(tx - 4, h * 0.25, tw + 8, 6)
    fill_stroke(ctx, STONE_DARK, 1.2)
    window(ctx, w / 2 - 5, h * 0.36, 10, 14, lit=False)
    window(ctx, w / 2 - 5, h * 0.6, 10, 14)
    door(ctx, w / 2 - 8, h - 26, 16, 22)
    ctx.move_to(w / 2, h * 0.2)
    ctx.line_to(w / 2, 2)
    outline(ctx, OUTLINE, 1.6)
    ctx.move_to(w / 2, 3)
    ctx.line_to(w / 2 + 14, 8)
    ctx.line_to(w / 2, 13)
    ctx.close_path()
    fill_stroke(ctx, TERRACOTTA, 1)


def b_castle(ctx, w, h):
    shadow(ctx, w / 2, h - 6, w * 0.55, 14)
    # Walls.
    ctx.rectangle(w * 0.1, h * 0.5, w * 0.8, h * 0.46)
    fill_stroke(ctx, hgrad(0, w, lighter(STONE, 0.25), STONE_DARK), 2)
    for i in range(12):
        ctx.rectangle(w * 0.1 + i * w * 0.8 / 12 + 2, h * 0.46, w * 0.8 / 24, h * 0.05)
        fill_stroke(ctx, STONE, 1.2)
    # Keep.
    ctx.rectangle(w * 0.33, h * 0.2, w * 0.34, h * 0.5)
    fill_stroke(ctx, hgrad(w * 0.33, w * 0.67, lighter(STONE, 0.3), STONE), 2)
    roof(ctx, w * 0.33, h * 0.04, w * 0.34, h * 0.16, SLATE, "peak", 6)
    for x in (w * 0.4, w * 0.56):
        window(ctx, x, h * 0.3, w * 0.04, h * 0.08)
    # Towers.
    for x in (w * 0.04, w * 0.78):
        ctx.rectangle(x, h * 0.3, w * 0.18, h * 0.66)
        fill_stroke(ctx, hgrad(x, x + w * 0.18, lighter(STONE, 0.2), STONE_DARK), 2)
        roof(ctx, x, h * 0.12, w * 0.18, h * 0.18, SLATE, "cone", 5)
        window(ctx, x + w * 0.07, h * 0.45, w * 0.04, h * 0.08, lit=False)
    # Gate.
    gx, gw = w / 2 - w * 0.08, w * 0.16
    ctx.move_to(gx, h - 4)
    ctx.line_to(gx, h * 0.78)
    ctx.arc(w / 2, h * 0.78, gw / 2, math.pi, 0)
    ctx.line_to(gx + gw, h - 4)
    ctx.close_path()
    fill_stroke(ctx, vgrad(h * 0.7, h, WOOD, WOOD_DARK), 1.6)
    # Banners.
    for x in (w * 0.2, w * 0.8):
        ctx.rectangle(x - 6, h * 0.55, 12, h * 0.18)
        fill_stroke(ctx, TERRACOTTA, 1.2)
        ctx.arc(x, h * 0.63, 3, 0, 2 * math.pi)
        ctx.set_source_rgb(*GOLD)
        ctx.fill()


def b_barn(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.55, 9)
    house(ctx, 6, 6, w - 12, h - 10, TERRACOTTA, "gable", chimneys=(0.15, 0.8), windows=0,
          wall_colour=(0.78, 0.33, 0.26), roof_share=0.45)
    # Big doors.
    dx, dw, dy = w / 2 - w * 0.16, w * 0.32, h * 0.55
    ctx.rectangle(dx, dy, dw, h - 4 - dy)
    fill_stroke(ctx, WALL, 1.4)
    ctx.move_to(dx, dy)
    ctx.line_to(dx + dw, h - 4)
    ctx.move_to(dx + dw, dy)
    ctx.line_to(dx, h - 4)
    ctx.stroke()


def b_bridge(ctx, w, h):
    shadow(ctx, w / 2, h - 6, w * 0.5, 8)
    ctx.move_to(2, h - 6)
    ctx.curve_to(w * 0.3, 4, w * 0.7, 4, w - 2, h - 6)
    ctx.line_to(w - 2, h - 16)
    ctx.curve_to(w * 0.7, 14, w * 0.3, 14, 2, h - 16)
    ctx.close_path()
    fill_stroke(ctx, vgrad(0, h, lighter(STONE, 0.2), STONE_DARK), 1.8)
    ctx.move_to(w * 0.3, h - 6)
    ctx.curve_to(w * 0.38, h * 0.45, w * 0.62, h * 0.45, w * 0.7, h - 6)
    ctx.close_path()
    ctx.set_source_rgb(*WATER_DEEP)
    ctx.fill_preserve()
    ctx.set_source_rgb(*OUTLINE)
    ctx.stroke()


def b_market(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.55, 9)
    colours = [TERRACOTTA, (0.45, 0.62, 0.85), GOLD]
    for i in range(3):
        x = 4 + i * (w - 8) / 3
        sw = (w - 8) / 3 - 4
        top = 6 + (i % 2) * 10
        ctx.rectangle(x + 3, top + 16, sw - 6, h - top - 20)
        fill_stroke(ctx, WOOD, 1.2)
        ctx.rectangle(x, top, sw, 16)
        fill_stroke(ctx, colours[i], 1.3)
        for k in range(4):
            ctx.rectangle(x + k * sw / 4, top, sw / 8, 16)
            ctx.set_source_rgba(1, 1, 1, 0.55)
            ctx.fill()
        for k in range(3):
            ctx.arc(x + sw * (0.25 + 0.25 * k), top + 30, 4, 0, 2 * math.pi)
            ctx.set_source_rgb(*[(0.9, 0.3, 0.2), (0.95, 0.7, 0.2), (0.5, 0.75, 0.3)][k])
            ctx.fill()


def b_orchard(ctx, w, h):
    for (x, y, r) in [(0.22, 0.62, 15), (0.62, 0.5, 15), (0.45, 0.95, 16), (0.85, 0.92, 15)]:
        tree(ctx, w * x, h * y, r, LEAF, (0.90, 0.25, 0.22))


def b_fountain(ctx, w, h):
    shadow(ctx, w / 2, h - 6, w * 0.55, 8)
    ellipse(ctx, w / 2, h - 16, w * 0.46, 12)
    fill_stroke(ctx, STONE, 1.6)
    ellipse(ctx, w / 2, h - 18, w * 0.38, 8)
    ctx.set_source_rgb(*WATER)
    ctx.fill()
    ctx.rectangle(w / 2 - 4, h * 0.3, 8, h * 0.45)
    fill_stroke(ctx, STONE, 1.2)
    ellipse(ctx, w / 2, h * 0.3, 14, 5)
    fill_stroke(ctx, STONE, 1.2)
    ctx.set_source_rgba(0.75, 0.90, 1.0, 0.9)
    ctx.set_line_width(2)
    for side in (-1, 1):
        ctx.move_to(w / 2, h * 0.28)
        ctx.curve_to(w / 2 + side * 10, h * 0.05, w / 2 + side * 18, h * 0.2, w / 2 + side * 20, h * 0.6)
        ctx.stroke()


def b_flowers(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.55, 8, 0.1)
    rrect(ctx, 4, 8, w - 8, h - 12, 14)
    fill_stroke(ctx, (0.47, 0.70, 0.35), 1.4)
    colours = [(0.95, 0.45, 0.55), (1.0, 0.85, 0.35), (0.70, 0.50, 0.90), (1.0, 1.0, 1.0), (0.95, 0.55, 0.30)]
    r = random.Random(8)
    for _ in range(55):
        x, y = r.uniform(12, w - 12), r.uniform(14, h - 12)
        c = r.choice(colours)
        for k in range(5):
            a = k * 2 * math.pi / 5
            ctx.arc(x + math.cos(a) * 2.4, y + math.sin(a) * 2.4, 2.2, 0, 2 * math.pi)
            ctx.set_source_rgb(*c)
            ctx.fill()
        ctx.arc(x, y, 1.4, 0, 2 * math.pi)
        ctx.set_source_rgb(1.0, 0.9, 0.3)
        ctx.fill()


def b_harbour(ctx, w, h):
    # A pier into the lake and a small lighthouse on it.
    ctx.rectangle(4, h - 26, w - 8, 12)
    fill_stroke(ctx, vgrad(h - 26, h - 14, WOOD, WOOD_DARK), 1.4)
    for i in range(6):
        ctx.rectangle(8 + i * (w - 20) / 5, h - 14, 4, 10)
        fill_stroke(ctx, WOOD_DARK, 1)
    lx, lw = w * 0.55, w * 0.26
    tower(ctx, lx, lw, h - 26, h * 0.22, 0.18, 0.82)
    for k in range(3):
        y = h * 0.32 + k * (h * 0.5) / 3
        ctx.rectangle(lx + lw * 0.1, y, lw * 0.8, 7)
        ctx.set_source_rgb(*TERRACOTTA)
        ctx.fill()
    ctx.rectangle(lx + lw * 0.15, h * 0.12, lw * 0.7, h * 0.1)
    fill_stroke(ctx, (1.0, 0.92, 0.55), 1.2)
    roof(ctx, lx + lw * 0.1, h * 0.02, lw * 0.8, h * 0.1, TERRACOTTA, "peak", 3)
    # A boat.
    ctx.move_to(8, h - 36)
    ctx.line_to(w * 0.42, h - 36)
    ctx.line_to(w * 0.36, h - 28)
    ctx.line_to(14, h - 28)
    ctx.close_path()
    fill_stroke(ctx, WOOD, 1.2)
    ctx.move_to(w * 0.22, h - 36)
    ctx.line_to(w * 0.22, h - 66)
    ctx.line_to(w * 0.36, h - 40)
    ctx.close_path()
    fill_stroke(ctx, (0.98, 0.96, 0.90), 1.2)


def b_stables(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.55, 9)
    house(ctx, 6, 6, w - 12, h - 10, THATCH, "gable", windows=0, wall_colour=mix(WOOD, WALL, 0.45), roof_share=0.48)
    for i in range(3):
        x = 14 + i * (w - 28) / 3
        ctx.rectangle(x, h * 0.62, (w - 28) / 3 - 8, h * 0.32)
        fill_stroke(ctx, WOOD_DARK, 1.2)
        ctx.rectangle(x, h * 0.62, (w - 28) / 3 - 8, h * 0.1)
        ctx.set_source_rgb(*WOOD)
        ctx.fill()
    fence(ctx, w * 0.05, h * 0.96 - 2, w * 0.9, 0.1)


def b_townhall(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.55, 9)
    house(ctx, 6, h * 0.25, w - 12, h * 0.72, TERRACOTTA, "gable", windows=4, wall_colour=WALL, roof_share=0.42)
    tw = w * 0.22
    ctx.rectangle(w / 2 - tw / 2, h * 0.12, tw, h * 0.3)
    fill_stroke(ctx, hgrad(0, w, WALL, WALL_SHADE))
    ctx.arc(w / 2, h * 0.25, tw * 0.3, 0, 2 * math.pi)
    fill_stroke(ctx, (1, 1, 1), 1.2)
    ctx.move_to(w / 2, h * 0.25)
    ctx.line_to(w / 2, h * 0.25 - tw * 0.22)
    ctx.move_to(w / 2, h * 0.25)
    ctx.line_to(w / 2 + tw * 0.15, h * 0.25)
    ctx.stroke()
    roof(ctx, w / 2 - tw / 2, h * 0.0, tw, h * 0.12, SLATE, "peak", 4)


def b_library(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.55, 9)
    house(ctx, 6, 6, w - 12, h - 10, SLATE, "gable", windows=4, wall_colour=(0.93, 0.84, 0.72), roof_share=0.42)
    ctx.arc(w / 2, h * 0.3, 7, 0, 2 * math.pi)
    fill_stroke(ctx, (0.6, 0.75, 0.95), 1.2)


def b_pottery(ctx, w, h):
    shadow(ctx, w / 2, h - 4, w * 0.55, 9)
    house(ctx, 6, 6, w - 40, h - 10, TERRACOTTA, "peak", chimneys=(0.2, 0.7), windows=1)
    for i, (x, r) in enumerate([(w - 26, 8), (w - 12, 6), (w - 20, 7)]):
        y = h - 10 - (i // 2) * 12
        ctx.save()
        ctx.translate(x, y - r)
        ctx.scale(1, 1.2)
        ctx.arc(0, 0, r, 0, 2 * math.pi)
        ctx.restore()
        fill_stroke(ctx, (0.82, 0.48, 0.30), 1.2)


# id: (name, description, price, drawer, x, bottom, w, h) -- x and bottom in the 1024-wide picture.
BUILDINGS = {
    1: ("Woodcutter's Hut", "Logs for every hearth in the kingdom.", 35, b_hut, 20, 300, 96, 80),
    2: ("Cottage", "A snug home for a family of villagers.", 100, b_house(TERRACOTTA, (0.72,), 2), 292, 420, 86, 78),
    3: ("Chapel", "Its little bell rings every morning.", 240, b_chapel(1.0), 760, 372, 84, 112),
    4: ("Stone Bridge", "At last a dry way across the river.", 260, b_bridge, 894, 530, 112, 50),
    5: ("Sheepfold", "A green pen and a shed for a woolly flock.", 20, b_pasture, 818, 170, 170, 104),
    6: ("Orchard", "Apple trees heavy with red fruit.", 300, b_orchard, 6, 636, 132, 96),
    7: ("Watchtower", "A guard looks out over the western road.", 450, b_tower, 10, 456, 64, 150),
    8: ("Flower Garden", "Bright beds that smell of summer.", 480, b_flowers, 16, 744, 126, 58),
    9: ("Fishing Hut", "Fresh fish from the lake each day.", 330, b_house(THATCH, (), 1, "peak"), 750, 738, 84, 70),
    10: ("Vegetable Garden", "Carrots, cabbages and pumpkins.", 120, b_garden, 138, 336, 126, 58),
    11: ("Market", "Three stalls of fruit, cloth and spice.", 280, b_market, 566, 628, 136, 70),
    12: ("Wheat Field", "Golden ears for the kingdom's bread.", 40, b_field, 86, 444, 150, 70),
    13: ("Smithy", "Sparks fly from the blacksmith's forge.", 190, b_house(SLATE, (0.15, 0.78), 1), 380, 492, 100, 80),
    14: ("Bakery", "Warm loaves every morning.", 150, b_house(TERRACOTTA, (0.2, 0.74), 2), 610, 404, 100, 86),
    15: ("Windmill", "Grinds the wheat into flour.", 80, b_mill, 196, 236, 84, 142),
    16: ("Inn", "Soft beds and hot soup for travellers.", 170, b_house(THATCH, (0.75,), 4, roof_share=0.45), 692, 500, 122, 96),
    17: ("Pottery", "Jugs and bowls fired in a hot kiln.", 360, b_pottery, 262, 628, 106, 80),
    18: ("Town Hall", "Where the council meets.", 900, b_townhall, 282, 300, 112, 108),
    19: ("Pig Farm", "Happy pigs in a muddy sty.", 60, b_sty, 706, 668, 150, 86),
    20: ("Cow Barn", "Fresh milk for the whole kingdom.", 210, b_barn, 388, 714, 136, 96),
    21: ("Tavern", "Songs and cider late into the night.", 390, b_house(TERRACOTTA, (0.16, 0.8), 4, roof_share=0.45), 142, 640, 116, 94),
    22: ("Well", "Cool, clear water for the village.", 30, b_well, 430, 312, 50, 62),
    23: ("Library", "Shelves of books for curious minds.", 520, b_library, 842, 292, 96, 88),
    24: ("Fountain", "Sparkling water on the village square.", 560, b_fountain, 478, 582, 72, 62),
    25: ("Castle", "The crown of the kingdom.", 1300, b_castle, 382, 250, 262, 212),
    26: ("Stables", "Fine horses for the royal messengers.", 420, b_stables, 596, 748, 132, 80),
    27: ("Cathedral", "Its towers reach for the clouds.", 1000, b_chapel(1.3, big=True), 676, 236, 116, 160),
    28: ("Harbour", "A pier and a lighthouse on the lake.", 1100, b_harbour, 900, 700, 110, 124),
}
# The screen file's order of the buildings (also the text file's): back to front, so that the
# nearer buildings are drawn over the farther ones.
ORDER = sorted(BUILDINGS, key=lambda k: (BUILDINGS[k][5], k))

# Chimney smoke: extra id -> (building id, which of its chimneys, from the left).
SMOKES = {
    3001: (17, 0), 3014: (17, 1), 3002: (13, 1), 3003: (13, 0), 3004: (16, 0), 3005: (21, 0), 3006: (21, 1),
    3007: (20, 0), 3008: (20, 1), 3009: (19, 0), 3010: (19, 1), 3011: (14, 0), 3012: (5, 0), 3013: (14, 1),
}
CHIMNEY_TOPS = {}  # building id -> its chimney tops, filled as the buildings are drawn
SPARKLES = {4001: (0.13, 0.14), 4002: (0.87, 0.14), 4003: (0.5, 0.05), 4004: (0.5, 0.62)}


def building_image(k, scale=1.0):
    name, _, _, draw, _, _, w, h = BUILDINGS[k]
    iw, ih = int(math.ceil(w / SHARE * scale)), int(math.ceil(h / SHARE * scale))
    s, ctx = surface(iw, ih)
    ctx.scale(scale, scale)
    del CHIMNEYS[:]
    draw(ctx, w, h)
    CHIMNEY_TOPS[k] = sorted(CHIMNEYS)
    return s


def icon_image(k):
    _, _, _, draw, _, _, w, h = BUILDINGS[k]
    size = 96
    s, ctx = surface(size, size)
    rrect(ctx, 3, 3, size - 6, size - 6, 14)
    g = cairo.RadialGradient(size / 2, size * 0.4, 4, size / 2, size / 2, size * 0.7)
    g.add_color_stop_rgb(0, 0.99, 0.96, 0.86)
    g.add_color_stop_rgb(1, 0.86, 0.93, 0.72)
    ctx.set_source(g)
    ctx.fill()
    k_scale = min((size - 18) / w, (size - 18) / h)
    ctx.save()
    ctx.translate((size - w * k_scale) / 2, (size - h * k_scale) / 2)
    ctx.scale(k_scale, k_scale)
    draw(ctx, w, h)
    ctx.restore()
    return s


# ---------------------------------------------------------------------------------------------
# Ground, roads, water

# Roads as polylines in the 1024-wide picture; the walkers follow them.
ROADS = [
    [(-180, 520), (60, 512), (250, 520), (420, 512), (512, 520), (700, 512), (900, 520), (1060, 512), (1200, 520)],
    [(512, 250), (512, 380), (506, 520), (512, 640), (520, 780)],
    [(240, 330), (380, 340), (512, 330), (640, 338), (780, 330), (860, 322)],
    [(300, 520), (290, 600), (250, 660), (180, 700), (60, 760)],
    [(700, 520), (740, 600), (790, 660), (826, 700)],
    [(860, 322), (890, 250), (900, 180)],
    [(250, 336), (252, 420), (248, 512)],
]
RIVER = [(1030, -20), (1012, 120), (990, 260), (972, 400), (950, 515), (905, 590), (880, 650)]
LAKE = (930, 705, 105, 80)


def smooth_path(ctx, pts):
    ctx.move_to(*pts[0])
    for i in range(1, len(pts)):
        x0, y0 = pts[i - 1]
        x1, y1 = pts[i]
        mx, my = (x0 + x1) / 2, (y0 + y1) / 2
        if i == 1:
            ctx.line_to(mx, my)
        else:
            ctx.curve_to(x0, y0, x0, y0, mx, my)
    ctx.line_to(*pts[-1])


def background():
    s, ctx = surface(W, H)
    ctx.translate(OX, 0)
    ctx.rectangle(-OX, 0, W, H)
    ctx.set_source(vgrad(0, H, GRASS_B, GRASS_A))
    ctx.fill()
    r = random.Random(3)
    # Soft patches of lighter and darker grass.
    for _ in range(90):
        x, y, rad = r.uniform(-OX, W - OX), r.uniform(0, H), r.uniform(30, 110)
        c = lighter(GRASS_B, 0.15) if r.random() < 0.5 else darker(GRASS_A, 0.93)
        g = cairo.RadialGradient(x, y, 0, x, y, rad)
        g.add_color_stop_rgba(0, *c, 0.45)
        g.add_color_stop_rgba(1, *c, 0)
        ctx.set_source(g)
        ctx.arc(x, y, rad, 0, 2 * math.pi)
        ctx.fill()
    # The river and the lake.
    for width, colour in ((34, darker(WATER_DEEP, 0.85)), (28, WATER_DEEP), (18, WATER)):
        smooth_path(ctx, RIVER)
        ctx.set_line_width(width)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.set_source_rgb(*colour)
        ctx.stroke()
    lx, ly, lw, lh = LAKE
    for grow, colour in ((8, (0.85, 0.80, 0.58)), (0, WATER_DEEP), (-14, WATER)):
        ellipse(ctx, lx, ly, lw + grow, lh + grow)
        ctx.set_source_rgb(*colour)
        ctx.fill()
    ctx.set_source_rgba(1, 1, 1, 0.5)
    ctx.set_line_width(2)
    for (x, y, w) in [(880, 695, 30), (940, 735, 40), (975, 668, 24), (994, 240, 12), (964, 440, 14)]:
        ctx.move_to(x - w / 2, y)
        ctx.curve_to(x - w / 4, y - 4, x + w / 4, y + 4, x + w / 2, y)
        ctx.stroke()
    # Roads.
    for width, colour in ((26, ROAD_EDGE), (20, ROAD)):
        for road in ROADS:
            smooth_path(ctx, road)
            ctx.set_line_width(width)
            ctx.set_line_cap(cairo.LINE_CAP_ROUND)
            ctx.set_line_join(cairo.LINE_JOIN_ROUND)
            ctx.set_source_rgb(*colour)
            ctx.stroke()
    # The village square at the crossing.
    ellipse(ctx, 512, 540, 70, 30)
    ctx.set_source_rgb(*ROAD)
    ctx.fill()
    # Pebbles on the roads, flowers and tufts in the grass.
    for _ in range(900):
        x, y = r.uniform(-OX, W - OX), r.uniform(0, H)
        kind = r.random()
        if kind < 0.6:
            ctx.set_source_rgba(*darker(GRASS_A, 0.8), 0.6)
            ctx.set_line_width(1.2)
            ctx.move_to(x, y)
            ctx.line_to(x - 2, y - 5)
            ctx.move_to(x, y)
            ctx.line_to(x + 2, y - 5)
            ctx.stroke()
        elif kind < 0.8:
            c = r.choice([(1.0, 1.0, 1.0), (1.0, 0.85, 0.35), (0.95, 0.55, 0.65), (0.75, 0.6, 0.95)])
            ctx.arc(x, y, 1.8, 0, 2 * math.pi)
            ctx.set_source_rgb(*c)
            ctx.fill()
    return s


# Trees: behind the buildings (the forest at the top) and in front (the corners).
TREES_FIRST = [("pine", x, y, r) for (x, y, r) in
               [(-150, 60, 18), (-110, 40, 20), (-70, 70, 17), (-30, 30, 19), (10, 64, 18), (50, 36, 17),
                (90, 70, 16), (130, 40, 18), (-140, 130, 17), (-60, 150, 16), (300, 50, 17), (340, 80, 15),
                (690, 60, 16), (720, 90, 14), (1150, 60, 18), (1180, 110, 16), (1120, 140, 15), (1170, 200, 17),
                (1160, 300, 16), (1180, 420, 15), (-150, 260, 16), (-160, 600, 17)]] + \
              [("round", x, y, r) for (x, y, r) in
               [(150, 140, 16), (840, 420, 14), (620, 280, 12), (-20, 420, 14), (400, 170, 13), (205, 484, 11),
                (1050, 560, 13), (660, 690, 12), (160, 540, 12)]]
TREES_FRONT = [("round", x, y, r) for (x, y, r) in
               [(-150, 740, 22), (-100, 770, 20), (1170, 770, 22), (1185, 560, 18), (-165, 470, 18)]]


def tree_image(kind, r):
    size = int(r * 5)
    s, ctx = surface(size, size)
    foot = (size / 2, size - r * 0.5)
    if kind == "pine":
        pine(ctx, foot[0], foot[1], r)
    else:
        tree(ctx, foot[0], foot[1], r, LEAF if r % 2 else LEAF_LIGHT)
    return s, foot


# ---------------------------------------------------------------------------------------------
# The interface

PANEL_H = 62
SLOT_W, SLOT_H = 150, 124
SLOT_Y = 700           # centre of the offer cards
SLOT_X = [110, 270, 430, 590]
DOWN_Y = 628


def panel_top():
    w, h = 1024, PANEL_H + 10
    s, ctx = surface(w, h)
    rrect(ctx, 6, -20, w - 12, PANEL_H + 20, 18)
    fill_outlined(ctx, vgrad(0, PANEL_H, (0.30, 0.36, 0.54), NAVY), CREAM, 3)
    return s


def panel_bottom():
    w, h = 1024, 768 - DOWN_Y + 20
    s, ctx = surface(w, h)
    rrect(ctx, 6, 10, w - 12, h, 18)
    fill_outlined(ctx, vgrad(10, h, (0.30, 0.36, 0.54), NAVY), CREAM, 3)
    return s


def coin_image():
    s, ctx = surface(36, 36)
    ctx.arc(18, 18, 15, 0, 2 * math.pi)
    g = cairo.RadialGradient(13, 12, 2, 18, 18, 16)
    g.add_color_stop_rgb(0, 1.0, 0.95, 0.6)
    g.add_color_stop_rgb(1, 0.93, 0.64, 0.16)
    fill_stroke(ctx, g, 2, (0.6, 0.38, 0.1))
    ctx.arc(18, 18, 9, 0, 2 * math.pi)
    outline(ctx, (0.6, 0.38, 0.1, 0.6), 1.5)
    return s


def star_image():
    s, ctx = surface(36, 36)
    for i in range(10):
        a = -math.pi / 2 + i * math.pi / 5
        rad = 16 if i % 2 == 0 else 7
        ctx.line_to(18 + math.cos(a) * rad, 19 + math.sin(a) * rad)
    ctx.close_path()
    g = cairo.RadialGradient(14, 12, 2, 18, 18, 16)
    g.add_color_stop_rgb(0, 1.0, 0.97, 0.65)
    g.add_color_stop_rgb(1, 1.0, 0.72, 0.18)
    fill_stroke(ctx, g, 1.6, (0.6, 0.38, 0.1))
    return s


def card_image(built=False):
    s, ctx = surface(SLOT_W, SLOT_H)
    rrect(ctx, 3, 3, SLOT_W - 6, SLOT_H - 6, 14)
    if built:
        ctx.set_source(vgrad(0, SLOT_H, (0.74, 0.86, 0.58), (0.52, 0.72, 0.40)))
    else:
        ctx.set_source(vgrad(0, SLOT_H, (1.0, 0.97, 0.88), (0.93, 0.85, 0.68)))
    ctx.fill_preserve()
    outline(ctx, OUTLINE, 2.5)
    if built:
        ctx.set_source_rgb(1, 1, 1)
        ctx.set_line_width(9)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        ctx.move_to(48, 52)
        ctx.line_to(68, 72)
        ctx.line_to(104, 30)
        ctx.stroke()
    return s


def ribbon_image(too_dear=False):
    """The price's ribbon: red for a price the score covers; pale and faded for one it does not,
    so that the price on it (dark red then, see the price's text classes) still reads clearly."""
    w, h = 124, 30
    s, ctx = surface(w, h)
    polygon(ctx, [(0, 2), (w, 2), (w - 10, h / 2), (w, h - 2), (0, h - 2), (10, h / 2)])
    if too_dear:
        fill_stroke(ctx, vgrad(0, h, (0.97, 0.92, 0.87), (0.87, 0.80, 0.75)), 2, (0.55, 0.36, 0.31))
    else:
        fill_stroke(ctx, vgrad(0, h, (0.86, 0.38, 0.30), (0.66, 0.24, 0.20)), 2)
    return s


def check_image():
    s, ctx = surface(40, 40)
    ctx.arc(20, 20, 17, 0, 2 * math.pi)
    fill_stroke(ctx, (0.45, 0.72, 0.35), 2)
    ctx.set_source_rgb(1, 1, 1)
    ctx.set_line_width(5)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.move_to(11, 21)
    ctx.line_to(18, 28)
    ctx.line_to(30, 13)
    ctx.stroke()
    return s


def glow_image(alpha):
    s, ctx = surface(SLOT_W, SLOT_H)
    if alpha > 0:
        rrect(ctx, 2, 2, SLOT_W - 4, SLOT_H - 4, 15)
        outline(ctx, (1.0, 0.85, 0.35, alpha), 4)
    return s


def wait_icon():
    s, ctx = surface(96, 96)
    rrect(ctx, 3, 3, 90, 90, 14)
    ctx.set_source_rgb(0.92, 0.90, 0.84)
    ctx.fill()
    polygon(ctx, [(30, 20), (66, 20), (48, 48), (66, 76), (30, 76), (48, 48)])
    fill_stroke(ctx, (0.95, 0.85, 0.55), 2.5)
    return s


# ---------------------------------------------------------------------------------------------
# Creatures: frames and animation files

def creature_frames(draw, count, size):
    frames = []
    for i in range(count):
        s, ctx = surface(*size)
        draw(ctx, i)
        frames.append(s)
    return frames


def four_legged(body, spots, head, w, h, head_down):
    def draw(ctx, i):
        shadow(ctx, w / 2, h - 4, w * 0.42, 4, 0.3)
        for lx in (w * 0.3, w * 0.42, w * 0.6, w * 0.72):
            ctx.rectangle(lx - 2, h * 0.55, 4, h * 0.4 - 2)
            fill_stroke(ctx, darker(head, 0.9), 1)
        ellipse(ctx, w * 0.5, h * 0.5, w * 0.3, h * 0.22)
        fill_stroke(ctx, body, 1.4)
        for (sx, sy, sr) in spots:
            ellipse(ctx, w * sx, h * sy, w * sr, h * sr * 0.8)
            ctx.set_source_rgb(*darker(head, 0.9))
            ctx.fill()
        down = head_down(i)
        hx, hy = w * 0.8, h * (0.42 + 0.18 * down)
        ellipse(ctx, hx, hy, w * 0.11, h * 0.12)
        fill_stroke(ctx, head, 1.3)
        ctx.arc(hx + w * 0.03, hy - h * 0.03, 1.3, 0, 2 * math.pi)
        ctx.set_source_rgb(0, 0, 0)
        ctx.fill()
    return draw


def write_animdata(folder, name, frames, anims, handle):
    """anims: list of (id, "frame|delay ..." text)."""
    lines = ["Frames{", "\tGlobalHandle = %d, %d" % handle]
    for i, f in enumerate(frames):
        path = os.path.join(folder, "%s-%d.png" % (name, i))
        save(f, path)
        lines.append('\tFRAME = "#BDIR#Screens/Kingdom/Anims/%s-%d.png"' % (name, i))
    lines += ["}", "Anims{"]
    for aid, data in anims:
        lines += ["\tAnim{", "\t\tid = %d" % aid, '\t\tData = "%s"' % data, "\t}"]
    lines.append("}")
    with open(os.path.join(folder, name + ".AnimData"), "w") as fh:
        fh.write("\n".join(lines) + "\n")


def person(ctx, w, h, i, facing, back, shirt, tool=None, hat=THATCH):
    """A villager seen at a slant: facing -1 left, 1 right; back when walking away."""
    step = [0, 1, 0, -1][i % 4]
    shadow(ctx, w / 2, h - 3, w * 0.3, 3, 0.35)
    cx = w / 2
    for side, k in ((-1, step), (1, -step)):
        ctx.rectangle(cx + side * 3 - 2 + k * 2 * facing, h * 0.68, 4, h * 0.28)
        fill_stroke(ctx, (0.35, 0.30, 0.45), 0.9)
    rrect(ctx, cx - w * 0.2, h * 0.4, w * 0.4, h * 0.32, 4)
    fill_stroke(ctx, shirt, 1.2)
    for side, k in ((-1, -step), (1, step)):
        ctx.rectangle(cx + side * w * 0.22 - 1.5, h * 0.43 + k * 1.5, 3, h * 0.2)
        fill_stroke(ctx, darker(shirt, 0.85), 0.8)
    ctx.arc(cx, h * 0.3, w * 0.14, 0, 2 * math.pi)
    fill_stroke(ctx, (0.98, 0.82, 0.68) if not back else (0.55, 0.36, 0.22), 1.2)
    ellipse(ctx, cx, h * 0.22, w * 0.24, h * 0.05)
    fill_stroke(ctx, hat, 1)
    ellipse(ctx, cx, h * 0.18, w * 0.12, h * 0.06)
    fill_stroke(ctx, hat, 1)
    if not back:
        ctx.arc(cx + facing * 2.5, h * 0.3, 1.1, 0, 2 * math.pi)
        ctx.set_source_rgb(0, 0, 0)
        ctx.fill()
    if tool:
        tool(ctx, i)


def make_creatures(folder):
    os.makedirs(folder, exist_ok=True)
    # Sheep: first a look around, then 2 (grazing, head down) and 1 (chewing, head up) take turns.
    sheep = creature_frames(four_legged((0.98, 0.97, 0.94), [], (0.25, 0.22, 0.22), 40, 32,
                                        lambda i: [0, 0.5, 1, 1][i]), 4, (40, 32))
    write_animdata(folder, "Sheep", sheep, [(2, "0|500 1|200 2|600 3|600 2|600 1|200"), (1, "0|700 0|500")],
                   (20, 29))
    cow = creature_frames(four_legged((0.98, 0.97, 0.94), [(0.4, 0.45, 0.08), (0.6, 0.55, 0.07)],
                                      (0.50, 0.32, 0.22), 56, 40, lambda i: [0, 0.5, 1, 1][i]), 4, (56, 40))
    write_animdata(folder, "Cow", cow, [(2, "0|600 1|250 2|800 3|800 2|600 1|250"), (1, "0|900 0|600")], (28, 37))
    pig = creature_frames(four_legged((0.98, 0.72, 0.74), [], (0.95, 0.62, 0.66), 40, 30,
                                      lambda i: [0, 0.4, 0.8, 0.8][i]), 4, (40, 30))
    write_animdata(folder, "Pig", pig, [(2, "0|500 1|200 2|500 3|500 2|500 1|200"), (1, "0|600 0|400")], (20, 27))

    # Farmer at work: the hoe goes up and down.
    def hoe(ctx, i):
        a = [-0.9, -0.5, 0.1, 0.4][i]
        ctx.save()
        ctx.translate(22, 24)
        ctx.rotate(a)
        ctx.move_to(0, 0)
        ctx.line_to(14, 0)
        outline(ctx, WOOD, 2)
        ctx.rectangle(13, -1, 3, 7)
        ctx.set_source_rgb(*STONE_DARK)
        ctx.fill()
        ctx.restore()
    farmer = creature_frames(lambda ctx, i: person(ctx, 32, 48, 0, 1, False, (0.35, 0.55, 0.80), hoe), 4, (32, 48))
    write_animdata(folder, "Farmer", farmer, [(1, "0|250 1|250 2|200 3|400 2|200 1|250")], (16, 45))

    # Walkers: 1 left and up, 2 right and up, 3 right and down, 4 left and down.
    walk = []
    for facing, back in ((-1, True), (1, True), (1, False), (-1, False)):
        walk += creature_frames(lambda ctx, i, f=facing, b=back: person(ctx, 28, 44, i, f, b, (0.78, 0.36, 0.30)),
                                4, (28, 44))
    write_animdata(folder, "FarmerWalking", walk,
                   [(3, "8|180 9 10 11"), (1, "0|180 1 2 3"), (2, "4|180 5 6 7"), (4, "12|180 13 14 15")], (14, 42))

    # Rabbit: sitting (ears up and down) and hopping, both ways.
    def rabbit(facing, hop):
        def draw(ctx, i):
            lift = [0, 4, 6, 2][i] if hop else 0
            ears = 0 if hop else [0, 0, 1, 0][i]
            shadow(ctx, 16, 21, 9, 2.5, 0.3)
            ctx.save()
            if facing < 0:
                ctx.translate(32, 0)
                ctx.scale(-1, 1)
            ellipse(ctx, 14, 16 - lift, 8, 5.5)
            fill_stroke(ctx, (0.70, 0.58, 0.46), 1.2)
            ellipse(ctx, 7, 15 - lift, 2.5, 2.5)
            ctx.set_source_rgb(1, 1, 1)
            ctx.fill()
            ellipse(ctx, 22, 12 - lift, 4.5, 4)
            fill_stroke(ctx, (0.74, 0.62, 0.50), 1.2)
            for ex in (20, 23):
                ellipse(ctx, ex, 5 - lift + ears, 1.6, 4.5 - ears)
                fill_stroke(ctx, (0.74, 0.62, 0.50), 1)
            ctx.arc(24, 11 - lift, 0.9, 0, 2 * math.pi)
            ctx.set_source_rgb(0, 0, 0)
            ctx.fill()
            ctx.restore()
        return draw
    rab = (creature_frames(rabbit(1, False), 4, (32, 24)) + creature_frames(rabbit(-1, False), 4, (32, 24)) +
           creature_frames(rabbit(1, True), 4, (32, 24)) + creature_frames(rabbit(-1, True), 4, (32, 24)))
    write_animdata(folder, "Rabbit", rab,
                   [(3, "8|90 9 10 11"), (1, "0|600 1|400 2|300 3|700"), (2, "4|600 5|400 6|300 7|700"),
                    (4, "12|90 13 14 15")], (16, 22))

    # Crow: wings up and down.
    def crow(ctx, i):
        flap = [1, 0.3, -0.6, 0.3][i]
        ellipse(ctx, 24, 18, 9, 4.5)
        fill_stroke(ctx, (0.16, 0.16, 0.22), 1)
        for side in (-1, 1):
            ctx.move_to(20, 17)
            ctx.curve_to(20 + side * 4, 17 - 10 * flap, 24 + side * 12, 17 - 14 * flap, 24 + side * 18,
                         17 - 12 * flap)
            ctx.line_to(28, 18)
            ctx.close_path()
            fill_stroke(ctx, (0.20, 0.20, 0.27), 1)
        ctx.move_to(33, 17)
        ctx.line_to(38, 18)
        ctx.line_to(33, 19.5)
        ctx.close_path()
        ctx.set_source_rgb(*GOLD)
        ctx.fill()
    write_animdata(folder, "Crow", creature_frames(crow, 4, (48, 32)), [(1, "0|90 1 2 3 2 1")], (24, 16))


# ---------------------------------------------------------------------------------------------
# Walk paths (points in the 1024-wide picture, feet of the walker)

PATHS = {
    1: [(42, 460), (78, 512), (258, 506), (368, 524), (258, 500), (98, 520)],               # watchtower guard
    2: [(338, 312), (380, 338), (500, 334), (508, 420), (500, 334), (390, 340)],            # town hall clerk
    3: [(190, 648), (250, 664), (296, 590), (310, 522), (296, 590), (250, 662)],            # tavern keeper
    4: [(830, 190), (896, 232), (866, 322), (760, 334), (866, 320), (894, 236)],            # shepherd
    5: [(336, 424), (312, 516), (420, 508), (506, 520), (420, 514), (310, 520)],            # cottager
    6: [(456, 318), (520, 336), (640, 340), (800, 332), (640, 336), (520, 330)],            # water carrier
    7: [(640, 636), (600, 600), (514, 560), (560, 620), (508, 690), (560, 616)],            # market trader
    8: [(830, 704), (790, 662), (740, 600), (712, 540), (740, 600), (790, 662)],            # harbour sailor
    9: [(60, 514), (250, 522), (420, 512), (700, 516), (900, 522), (700, 510), (420, 518), (250, 516)],
    10: [(512, 270), (510, 380), (506, 470), (512, 620), (506, 470), (510, 380)],
    11: [(250, 340), (252, 400), (250, 462), (248, 512), (250, 458), (252, 404)],
}


def write_path(path, points):
    lines = ['\tDim = "%.6f,%.6f,0.000000,0.000000,0.000000,0.000000,0.000000,0.000000,0.000000,0,0"' % p
             for p in points]
    with open(path, "w") as fh:
        fh.write("\n".join(l.lstrip("\t") for l in lines) + "\n")


# ---------------------------------------------------------------------------------------------
# The screen file

SHOW_HIDE = [
    "Component{",
    "\tType = 0",
    '\tName = "Animator"',
    "\tDefaultAnim = 0, 0",
    "\tANIMS{",
    "\t\tAnim{",
    "\t\t\tid = 1",
    '\t\t\tName = "Show"',
    '\t\t\tGradient = "255,255,255,0.00000000,0.00000000#255,255,255,1.00000000,1.00000000"',
    '\t\t\tTransform = "0.600000024,0.600000024,0.00000000,0.00000000,0#1.00000000,1.00000000,0.00000000,1.00000000,0"',
    "\t\t}",
    "\t\tAnim{",
    "\t\t\tid = 2",
    '\t\t\tName = "Hide"',
    '\t\t\tGradient = "255,255,255,1.00000000,0.00000000#255,255,255,0.00000000,1.00000000"',
    '\t\t\tTransform = "1.00000000,1.00000000,0.00000000,0.00000000,0#0.600000024,0.600000024,0.00000000,1.00000000,0"',
    "\t\t}",
    "\t}",
    "}",
]


def emitter(name, oid, x, y, layer, kind):
    if kind == "smoke":
        settings = dict(count=5, life="1800, 2600", image="#BDIR#Screens/Kingdom/Smoke.png", size=24,
                        colour='"GRADIENT_BETWEEN)235,235,240,0.00000000,0.00000000#235,235,240,0.750000000,0.150000006#'
                               '220,220,228,0.400000006,0.600000024#210,210,220,0.00000000,1.00000000&'
                               '250,250,250,0.00000000,0.00000000#245,245,245,0.649999976,0.150000006#'
                               '230,230,235,0.300000012,0.600000024#225,225,230,0.00000000,1.00000000"',
                        scale='"TRANSFORM_ARRAY)0.300000012,0.300000012,0.00000000,0.00000000,0#1.20000005,1.20000005,'
                              '40.0000000,1.00000000,0&0.400000006,0.400000006,0.00000000,0.00000000,0#'
                              '1.50000000,1.50000000,-40.0000000,1.00000000,0"',
                        force="0.300000012, 0.500000000", angle="-80, 20", gravity="0.0199999996, 340",
                        shape='"BOX)4.00000000&2.00000000&0.00000000&0.00000000&0.00000000&0.00000000"', blend=3)
    else:
        settings = dict(count=3, life="900, 1500", image="#BDIR#Particles/Star.png", size=32,
                        colour='"GRADIENT_BETWEEN)255,230,140,0.00000000,0.00000000#255,230,140,1.00000000,0.300000012#'
                               '255,200,90,0.00000000,1.00000000&255,250,210,0.00000000,0.00000000#'
                               '255,250,210,0.899999976,0.300000012#255,220,120,0.00000000,1.00000000"',
                        scale='"TRANSFORM_ARRAY)0.200000003,0.200000003,0.00000000,0.00000000,0#0.400000006,0.400000006,'
                              '180.000000,1.00000000,0&0.300000012,0.300000012,0.00000000,0.00000000,0#'
                              '0.500000000,0.500000000,-180.000000,1.00000000,0"',
                        force="0.100000001, 0.300000012", angle="-90, 180", gravity="0.00000000, 90",
                        shape='"BOX)24.0000000&16.0000000&0.00000000&0.00000000&0.00000000&0.00000000"', blend=3)
    own = [
        "EP{",
        '\tType = "BASIC_EMITTER"',
        "\tStandards{",
        '\t\tName = "%s"' % name,
        "\t\tMaxParticles = 40",
        "\t\tCountPerSecond = %d" % settings["count"],
        "\t\tLifeTime = %s" % settings["life"],
        "\t\tBlend = %d" % settings["blend"],
        "\t\tStarted = 1",
        "\t\tShape = %s" % settings["shape"],
        "\t}",
        "\tEmissionObjects{",
        "\t\tColorizer = %s" % settings["colour"],
        "\t\tTransformer = %s" % settings["scale"],
        "\t}",
        "\tIMAGES{",
        "\t\tImagesCount = 1",
        "\t\tImagesFiltered = 1",
        "\t\tImagesMipmapped = 0",
        '\t\tImage1 = "%s", %d, %d' % (settings["image"], settings["size"], settings["size"]),
        "\t}",
        "\tSpecial{",
        "\t\tForce = %s" % settings["force"],
        "\t\tAcc = 0.00000000, 0.00000000",
        "\t\tAngle = %s" % settings["angle"],
        "\t\tGravity = %s" % settings["gravity"],
        "\t}",
        "}",
    ]
    return Obj(name, oid, 6, x, y, layer, own=own)


def smoke_image():
    s, ctx = surface(24, 24)
    g = cairo.RadialGradient(12, 12, 1, 12, 12, 11)
    g.add_color_stop_rgba(0, 1, 1, 1, 0.9)
    g.add_color_stop_rgba(0.6, 1, 1, 1, 0.5)
    g.add_color_stop_rgba(1, 1, 1, 1, 0)
    ctx.set_source(g)
    ctx.arc(12, 12, 12, 0, 2 * math.pi)
    ctx.fill()
    return s


TXT_INFO, TXT_MENU, TXT_HIDE, TXT_PLAY, TXT_BUILT = 85, 86, 87, 88, 89
K = "#BDIR#Screens/Kingdom/"
MENU = "#BDIR#Screens/MainMenu/"


def slot(n):
    """Offer slot n (1..4): the card, the icon, the price on its ribbon, the done mark and the
    button over the whole card; the object's point is the card's middle, so that it grows from
    there."""
    cx = SLOT_X[n - 1]
    hw, hh = SLOT_W / 2, SLOT_H / 2
    views = []
    for i, view in enumerate(("Normal", "Over", "Click", "Disabled")):
        views.append(image("Slot" + view, 0, 0, 0, 58, url=K + "Slot" + ("Over" if view in ("Over", "Click") else
                                                                          "Normal") + ".png"))
    btn = Obj("Button", 980 + n, 3, -hw, -hh, 58, own=["Sizes = %d, %d" % (SLOT_W, SLOT_H), "ChangeSpeed = 0.200000003"],
              subs=views, collider=(SLOT_W, SLOT_H))
    subs = [
        image("Card", 0, -hw, -hh, 52, url=K + "Card.png"),
        # The icon of the building offered, set by the game; the waiting icon until then.
        image("Image-Building-%d" % n, 0, -48, -hh + 6, 53, url=K + "icon1.png"),
        image("PriceBackImage", 0, -62, hh - 40, 54, url=K + "Ribbon.png"),
        text("Price", 0, -62, hh - 40, 124, 30, 0, "KingdomPriceNormal", 55),
        image("Done", 0, hw - 44, -hh + 4, 56, url=K + "Check.png"),
        btn,
    ]
    card = Obj("BuildingObject%d" % n, 0, 0, cx, SLOT_Y, 51, subs=subs, components=SHOW_HIDE)
    twin = Obj("BuildingObject%dH" % n, 0, 0, cx, SLOT_Y, 50, components=SHOW_HIDE, subs=[
        image("BuiltCard", 0, -hw, -hh, 50, url=K + "BuiltCard.png"),
        text("Built", 0, -hw, hh - 40, SLOT_W, 30, TXT_BUILT, "KingdomBuilt", 51),
    ])
    return [twin, card]


def screen_objects():
    objs = [image("Background", 901, -OX, 0, 0)]
    # Trees behind.
    first = []
    for i, (kind, x, y, r) in enumerate(TREES_FIRST):
        fname = "Tree-%s-%d" % (kind, r)
        _, foot = TREE_IMAGES[(kind, r)]
        first.append(image("Tree%d" % (i + 1), 0, x - foot[0], y - foot[1], 2, url=K + fname + ".png"))
    objs.append(Obj("TreesFirst", 902, 0, 0, 0, 2, subs=first))
    # Buildings, back to front, each with its picture.
    buildings = []
    for k in ORDER:
        _, _, _, _, x, bottom, w, h = BUILDINGS[k]
        part = image("Part", 0, 0, 0, 5, url=K + "Buildings/Building-%d.png" % k)
        buildings.append(Obj("Building-%d" % k, k, 0, x, bottom - h, 5, subs=[part]))
    objs.append(Obj("Buildings", 1002, 0, 0, 0, 5, subs=buildings))
    # Extras: smoke from the chimneys, sparkles over the castle.
    smokes = []
    for eid, (k, which) in sorted(SMOKES.items()):
        _, _, _, _, x, bottom, w, h = BUILDINGS[k]
        cx, cy = CHIMNEY_TOPS[k][which]
        smokes.append(emitter("Smoke%d" % (eid - 3000), eid, x + cx, bottom - h + cy - 2, 11, "smoke"))
    objs.append(Obj("Smokes", 3000, 0, 0, 0, 11, subs=smokes))
    sparkles = []
    for eid, (sx, sy) in sorted(SPARKLES.items()):
        _, _, _, _, x, bottom, w, h = BUILDINGS[25]
        sparkles.append(emitter("Sparkle%d" % (eid - 4000), eid, x + w * sx, bottom - h + h * sy, 11, "sparkle"))
    objs.append(Obj("CastleSparkles", 4000, 0, 0, 0, 11, subs=sparkles))
    # The creatures' parent: the scene's left edge.
    objs.append(Obj("KingdomMain", 1001, 0, -OX, 0, 10))
    # Trees in front.
    front = []
    for i, (kind, x, y, r) in enumerate(TREES_FRONT):
        fname = "Tree-%s-%d" % (kind, r)
        _, foot = TREE_IMAGES[(kind, r)]
        front.append(image("FrontTree%d" % (i + 1), 0, x - foot[0], y - foot[1], 12, url=K + fname + ".png"))
    objs.append(Obj("Trees", 903, 0, 0, 0, 12, subs=front))
    # The upper panel.
    panel = Obj("Panel", 0, 0, 0, 0, 40, subs=[
        image("PanelTop", 0, 0, 0, 40, url=K + "PanelTop.png"),
        image("CoinIcon", 0, 36, 13, 41, url=K + "Coin.png"),
        text("Money", 0, 80, 12, 150, 40, 0, "KingdomValue", 42),
        text("LevelLabel", 0, 250, 12, 90, 40, 90, "KingdomLabel", 42),
        text("Level", 0, 350, 12, 70, 40, 0, "KingdomValue", 42),
        image("StarIcon", 0, 430, 13, 41, url=K + "Star.png"),
        text("Stars", 0, 474, 12, 80, 40, 0, "KingdomValue", 42),
        button("Hide", 960, 620, 7, 180, 48, TXT_HIDE, MENU + "Small", 43),
        button("Menu", 970, 816, 7, 180, 48, TXT_MENU, MENU + "Small", 43),
    ])
    objs.append(Obj("UpUI", 920, 0, 0, 0, 40, subs=[panel]))
    down = [image("PanelBottom", 0, 0, DOWN_Y - 10, 49, url=K + "PanelBottom.png")]
    for n in range(1, 5):
        down += slot(n)
    down.append(button("Play", 950, 760, 672, 220, 56, TXT_PLAY, MENU + "Button", 60))
    objs.append(Obj("DownUI", 930, 0, 0, 0, 49, subs=down))
    objs.append(text("InfoText", 940, 212, 16, 600, 40, TXT_INFO, "KingdomInfo", 70, alpha=0.0))
    return objs


def write_screen(path, objects):
    out = ["Data{", '\tName = "Kingdom"', "}", "Assets{", "}", "Flags{", "\tisSetupedAtLoading = 1",
           "\tisFreedByLeave = 0", "}", "Objects{"]
    for obj in objects:
        out += obj.lines(1)
    out.append("}")
    with open(path, "w") as fh:
        fh.write("\n".join(out) + "\n")


TREE_IMAGES = {}


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else "data"
    k_dir = os.path.join(data, "Screens", "Kingdom")
    os.makedirs(os.path.join(k_dir, "Buildings"), exist_ok=True)
    save(background(), os.path.join(k_dir, "Background.png"))
    for kind, _, _, r in TREES_FIRST + TREES_FRONT:
        if (kind, r) not in TREE_IMAGES:
            s, foot = tree_image(kind, r)
            TREE_IMAGES[(kind, r)] = (s, foot)
            save(s, os.path.join(k_dir, "Tree-%s-%d.png" % (kind, r)))
    for k in BUILDINGS:
        save(building_image(k), os.path.join(k_dir, "Buildings", "Building-%d.png" % k))
        save(icon_image(k), os.path.join(k_dir, "Gfx-Icons", "Icon-%d.png" % k))
    save(wait_icon(), os.path.join(k_dir, "icon1.png"))
    save(panel_top(), os.path.join(k_dir, "PanelTop.png"))
    save(panel_bottom(), os.path.join(k_dir, "PanelBottom.png"))
    save(coin_image(), os.path.join(k_dir, "Coin.png"))
    save(star_image(), os.path.join(k_dir, "Star.png"))
    save(card_image(), os.path.join(k_dir, "Card.png"))
    save(card_image(True), os.path.join(k_dir, "BuiltCard.png"))
    save(ribbon_image(), os.path.join(k_dir, "Ribbon.png"))
    save(ribbon_image(True), os.path.join(k_dir, "RibbonCantAfford.png"))
    save(check_image(), os.path.join(k_dir, "Check.png"))
    save(glow_image(0), os.path.join(k_dir, "SlotNormal.png"))
    save(glow_image(0.9), os.path.join(k_dir, "SlotOver.png"))
    save(smoke_image(), os.path.join(k_dir, "Smoke.png"))
    make_creatures(os.path.join(k_dir, "Anims"))
    for n, points in PATHS.items():
        write_path(os.path.join(k_dir, "MoveArray-%d.txt" % n), points)
    write_screen(os.path.join(k_dir, "Kingdom.AppScreen"), screen_objects())
    lines = []
    for k in ORDER:
        name, opis, price = BUILDINGS[k][:3]
        lines += [name, opis, str(price)]
    lines += ["Click anywhere to return to your kingdom", "Menu", "Hide", "Play", "Built!", "Level"]
    with open(os.path.join(data, "Local", "en", "Kingdom.txt"), "w") as fh:
        fh.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
