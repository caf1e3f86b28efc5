#!/usr/bin/python3
"""Draws the numbered images of the keyframe particle effects, with pycairo.

Writes into data/Effects/Particles/:
    Particles.png      one texture holding every image (white on transparent, so a particle's
                       colour tints it; soft edges, good for additive light)
    Particles.txt      the texture's description: a count line, then per image its name, x, y,
                       width and height
    ParticlesList.txt  the image list the game reads, one "texture|NAME" a line; the line
                       number (from 0) is the image number the effect recipes use

Run with the system Python, which has pycairo:  /usr/bin/python3 tools/make_effect_images.py
"""
import math
import os
import random

import cairo

from pngwrite import png_bytes

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "data", "Effects", "Particles")
TEXTURE = "Effects/Particles/Particles.png"

CELL = 68    # atlas pitch: every image sits in a 64 x 64 box with a transparent gap around it
COLUMNS = 4


def glow(ctx, cx, cy, radius, peak=1.0, power=2.0):
    """A round glow whose alpha falls off smoothly to nothing at radius: peak * (1 - t^2)^power
    at the fraction t of the radius (a higher power gives a tighter glow)."""
    g = cairo.RadialGradient(cx, cy, 0, cx, cy, radius)
    steps = 16
    for i in range(steps + 1):
        t = i / steps
        g.add_color_stop_rgba(t, 1, 1, 1, peak * (1.0 - t * t) ** power)
    ctx.set_source(g)
    ctx.arc(cx, cy, radius, 0, 2 * math.pi)
    ctx.fill()


def star_path(ctx, cx, cy, outer, inner, points, turn=-90.0):
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = math.radians(turn + i * 180.0 / points)
        x, y = cx + r * math.cos(a), cy + r * math.sin(a)
        if i == 0:
            ctx.move_to(x, y)
        else:
            ctx.line_to(x, y)
    ctx.close_path()


def soft_fill(ctx, path, width_steps=(6, 4, 2), alpha=0.18):
    """Fills a path with a soft rim: the path stroked wide and faint a few times, then filled."""
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    for w in width_steps:
        path()
        ctx.set_source_rgba(1, 1, 1, alpha)
        ctx.set_line_width(w)
        ctx.stroke()
    path()
    ctx.set_source_rgba(1, 1, 1, 1)
    ctx.fill()


# ---- The images, each drawn into a w x h box at the origin ----

def star_glow(ctx, w, h):      # 0: a round-pointed five-pointed star in a soft glow
    glow(ctx, w / 2, h / 2, w / 2, 0.45, 3.0)
    soft_fill(ctx, lambda: star_path(ctx, w / 2, h / 2 + 1, w * 0.36, w * 0.16, 5), (5, 3), 0.25)


def sparkle(ctx, w, h):        # 1: a four-pointed sparkle
    glow(ctx, w / 2, h / 2, w * 0.32, 0.6, 3.0)
    soft_fill(ctx, lambda: star_path(ctx, w / 2, h / 2, w * 0.47, w * 0.09, 4), (4, 2), 0.3)


def ring(ctx, w, h):           # 2: a soft ring
    for lw, a in ((7, 0.25), (4.5, 0.5), (2.5, 1.0)):
        ctx.set_source_rgba(1, 1, 1, a)
        ctx.set_line_width(lw)
        ctx.arc(w / 2, h / 2, w * 0.34, 0, 2 * math.pi)
        ctx.stroke()


def drop(ctx, w, h):           # 3: a water drop, pointed end up
    def path():
        cx, r = w / 2, w * 0.36
        cy = h - r - 3
        ctx.move_to(cx, 3)
        ctx.curve_to(cx + r * 0.35, cy - r * 1.2, cx + r, cy - r * 0.5, cx + r, cy)
        ctx.arc(cx, cy, r, 0, math.pi)
        ctx.curve_to(cx - r, cy - r * 0.5, cx - r * 0.35, cy - r * 1.2, cx, 3)
        ctx.close_path()
    soft_fill(ctx, path, (4, 2), 0.3)
    # A darker (more transparent) middle and a bright highlight read as water.
    cx, r = w / 2, w * 0.36
    cy = h - r - 3
    ctx.set_operator(cairo.OPERATOR_DEST_OUT)
    g2 = cairo.RadialGradient(cx + 1, cy + 1, 0, cx + 1, cy + 1, r * 0.75)
    g2.add_color_stop_rgba(0, 0, 0, 0, 0.45)
    g2.add_color_stop_rgba(1, 0, 0, 0, 0.0)
    ctx.set_source(g2)
    ctx.arc(cx + 1, cy + 1, r * 0.75, 0, 2 * math.pi)
    ctx.fill()
    ctx.set_operator(cairo.OPERATOR_OVER)
    glow(ctx, cx - r * 0.4, cy - r * 0.35, r * 0.45, 1.0, 2.0)


def dot(ctx, w, h):            # 4: a small round dot with a soft rim
    soft_fill(ctx, lambda: ctx.arc(w / 2, h / 2, w * 0.3, 0, 2 * math.pi), (4, 2), 0.3)


def soft_glow(ctx, w, h):      # 5: a wide soft glow
    glow(ctx, w / 2, h / 2, w / 2, 1.0, 2.5)


def diamond(ctx, w, h):        # 6: a soft diamond
    def path():
        ctx.move_to(w / 2, 4)
        ctx.line_to(w - 8, h / 2)
        ctx.line_to(w / 2, h - 4)
        ctx.line_to(8, h / 2)
        ctx.close_path()
    soft_fill(ctx, path, (5, 3), 0.25)


def ray(ctx, w, h):            # 7: a light ray, a thin spindle bright along its middle
    ctx.save()
    ctx.translate(w / 2, h / 2)
    ctx.scale(1.0, h / w)
    glow(ctx, 0, 0, w / 2, 0.8, 1.5)
    glow(ctx, 0, 0, w / 4, 1.0, 1.5)
    ctx.restore()


def spark_puff(ctx, w, h):     # 8: a bright soft core in a lumpy puff: a spark when added, a puff of smoke when blended
    blob(ctx, w, h, 8, 5, 0.2, 0.22, 0.3, 0.55)
    glow(ctx, w / 2, h / 2, w * 0.22, 1.0, 2.0)


def blob(ctx, w, h, seed, lumps, spread, size, core, peak):
    """A soft core with lumps around it: a puff of smoke or flame."""
    rnd = random.Random(seed)
    glow(ctx, w / 2, h / 2, w * core, peak, 1.5)
    for _ in range(lumps):
        a = rnd.uniform(0, 2 * math.pi)
        d = rnd.uniform(0.4, 1.0) * w * spread
        r = rnd.uniform(0.8, 1.0) * w * size
        glow(ctx, w / 2 + math.cos(a) * d, h / 2 + math.sin(a) * d, r, peak * rnd.uniform(0.5, 0.8), 2.0)


def puff(ctx, w, h):           # 9: a round puff, slightly lumpy
    blob(ctx, w, h, 9, 6, 0.14, 0.3, 0.46, 0.8)


def cloud(ctx, w, h):          # 10: a cloud of a few soft lumps
    blob(ctx, w, h, 10, 7, 0.24, 0.24, 0.34, 0.6)


def wisp(ctx, w, h):           # 11: a wispy, uneven dust puff
    rnd = random.Random(11)
    glow(ctx, w / 2, h / 2, w * 0.45, 0.25, 1.5)
    for _ in range(9):
        a = rnd.uniform(0, 2 * math.pi)
        d = rnd.uniform(0.1, 0.28) * w
        r = rnd.uniform(0.14, 0.22) * w
        glow(ctx, w / 2 + math.cos(a) * d, h / 2 + math.sin(a) * d, r, rnd.uniform(0.2, 0.4), 1.5)


def spot(ctx, w, h):           # 12: a spot glow, a bright core in a soft halo
    glow(ctx, w / 2, h / 2, w / 2, 0.55, 2.5)
    glow(ctx, w / 2, h / 2, w * 0.24, 1.0, 2.0)


def star(ctx, w, h):           # 13: a five-pointed star with a soft rim
    soft_fill(ctx, lambda: star_path(ctx, w / 2, h / 2 + 1.5, w * 0.46, w * 0.2, 5), (4, 2), 0.3)


IMAGES = [  # (name, width, height, drawing), in image-number order
    ("STARGLOW", 32, 32, star_glow),
    ("SPARKLE", 32, 32, sparkle),
    ("RING", 32, 32, ring),
    ("DROP", 32, 44, drop),
    ("DOT", 16, 16, dot),
    ("GLOW", 64, 64, soft_glow),
    ("DIAMOND", 32, 32, diamond),
    ("RAY", 12, 32, ray),
    ("SPARKPUFF", 48, 48, spark_puff),
    ("PUFF", 48, 48, puff),
    ("CLOUD", 48, 48, cloud),
    ("WISP", 48, 48, wisp),
    ("SPOT", 32, 32, spot),
    ("STAR", 32, 32, star),
]


def straight_white_rows(surface):
    """The surface's pixels as rows of straight (not premultiplied) RGBA; every image is white,
    so the colour is white everywhere and only the alpha varies. White under fully transparent
    pixels too, so that smooth sampling never pulls a dark rim into a particle's edge."""
    surface.flush()
    data = surface.get_data()
    stride = surface.get_stride()
    rows = []
    for y in range(surface.get_height()):
        row = []
        for x in range(surface.get_width()):
            a = data[y * stride + x * 4 + 3]  # ARGB32, little-endian: B, G, R, A
            row += [255, 255, 255, a]
        rows.append(row)
    return rows


def main():
    os.makedirs(OUT, exist_ok=True)
    rows_count = (len(IMAGES) + COLUMNS - 1) // COLUMNS
    size_w, size_h = COLUMNS * CELL, rows_count * CELL
    surface = cairo.ImageSurface(cairo.FORMAT_ARGB32, size_w, size_h)
    ctx = cairo.Context(surface)
    description = [str(len(IMAGES))]
    for i, (name, w, h, draw) in enumerate(IMAGES):
        x = (i % COLUMNS) * CELL + 2
        y = (i // COLUMNS) * CELL + 2
        ctx.save()
        ctx.rectangle(x, y, w, h)
        ctx.clip()
        ctx.translate(x, y)
        draw(ctx, w, h)
        ctx.restore()
        description += [name, str(x), str(y), str(w), str(h)]
    with open(os.path.join(OUT, "Particles.png"), "wb") as f:
        f.write(png_bytes(size_w, size_h, straight_white_rows(surface)))
    with open(os.path.join(OUT, "Particles.txt"), "w", newline="\n") as f:
        f.write("\n".join(description) + "\n")
    with open(os.path.join(OUT, "ParticlesList.txt"), "w", newline="\n") as f:
        f.write("".join(TEXTURE + "|" + name + "\n" for name, _, _, _ in IMAGES))


if __name__ == "__main__":
    main()
