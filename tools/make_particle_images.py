#!/usr/bin/env python3
"""Makes the small particle images of the engine's emitters in data/Particles/.

All images are white on transparent, so that an emitter's colorizer tints them freely:
    Dot.png     a soft round dot that fades out toward its rim (32 x 32)
    Star.png    a five-pointed star with a soft glow around it (32 x 32)
    Petal.png   a pointed oval petal with a faint middle vein (24 x 24)

Run from the repository root:  python3 tools/make_particle_images.py
"""
import math
import os

from pngwrite import png_bytes

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "data", "Particles")

SUPER = 4  # samples per pixel along each axis, for smooth edges


def render(size, alpha_at):
    """alpha_at(x, y) -> 0..1 at a point of the image (pixel units); white everywhere."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = 0.0
            for sy in range(SUPER):
                for sx in range(SUPER):
                    total += alpha_at(px + (sx + 0.5) / SUPER, py + (sy + 0.5) / SUPER)
            a = max(0.0, min(1.0, total / (SUPER * SUPER)))
            row += [255, 255, 255, int(round(a * 255))]
        rows.append(row)
    return rows


def smoothstep(edge0, edge1, v):
    t = max(0.0, min(1.0, (v - edge0) / (edge1 - edge0)))
    return t * t * (3 - 2 * t)


def dot(size):
    c = size / 2.0
    radius = size / 2.0 - 0.5

    def alpha(x, y):
        d = math.hypot(x - c, y - c) / radius
        if d >= 1.0:
            return 0.0
        # A bright core that falls off softly: (1 - d^2)^2.
        return (1.0 - d * d) ** 2

    return render(size, alpha)


def star_inside(x, y, cx, cy, outer, inner, points=5):
    """Whether (x, y) lies inside the star polygon (crossing-number test)."""
    verts = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = math.radians(-90 + i * 180.0 / points)
        verts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    inside = False
    j = len(verts) - 1
    for i in range(len(verts)):
        xi, yi = verts[i]
        xj, yj = verts[j]
        if (yi > y) != (yj > y) and x < xi + (y - yi) * (xj - xi) / (yj - yi):
            inside = not inside
        j = i
    return inside


def star(size):
    c = size / 2.0
    outer = size / 2.0 - 2.0
    inner = outer * 0.45

    def alpha(x, y):
        if star_inside(x, y, c, c + 0.8, outer, inner):
            return 1.0
        # A faint round glow behind the star.
        d = math.hypot(x - c, y - c) / (size / 2.0)
        return 0.35 * (1.0 - smoothstep(0.0, 1.0, d))

    return render(size, alpha)


def petal(size):
    c = size / 2.0
    half_len = size / 2.0 - 1.0
    half_wid = size * 0.26

    def alpha(x, y):
        # A lens along the vertical axis: its width shrinks to a point at both tips.
        t = (y - c) / half_len
        if abs(t) >= 1.0:
            return 0.0
        width = half_wid * (1.0 - t * t) ** 0.75
        d = abs(x - c)
        if d >= width:
            return 0.0
        edge = 1.0 - smoothstep(width - 1.2, width, d)
        vein = 0.86 if d < 0.45 and abs(t) < 0.7 else 1.0
        return 0.92 * edge * vein

    return render(size, alpha)


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, size, maker in (("Dot.png", 32, dot), ("Star.png", 32, star), ("Petal.png", 24, petal)):
        path = os.path.join(OUT, name)
        with open(path, "wb") as f:
            f.write(png_bytes(size, size, maker(size)))
        print("wrote", os.path.relpath(path, ROOT))


if __name__ == "__main__":
    main()
