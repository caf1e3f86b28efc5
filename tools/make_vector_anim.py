#!/usr/bin/env python3
"""Makes the little bird vector animation in data/Anims/Bird/.

The package is a folder of three block files and the part images:
    Gfxs.avo     the graphics table
    Vectors.avo  the tree of parts with one pose per "STATE" block
    Anims.avo    the animations, as pose indices at positions 0..1
    images/      flat-shaded PNG images, drawn here in code

Run from the repository root:  python3 tools/make_vector_anim.py
"""
import math
import os
import sys

from pngwrite import png_bytes

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "data", "Anims", "Bird")

BLUE = (66, 135, 204)
DARK_BLUE = (40, 96, 160)
ORANGE = (245, 166, 35)
WHITE = (255, 255, 255)
INK = (24, 28, 40)

SUPER = 4  # samples per pixel along each axis, for smooth edges


# ---- PNG -------------------------------------------------------------------------------------

def render(width, height, shapes):
    """shapes: list of (inside(x, y) -> bool, colour); later shapes paint over earlier ones."""
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0]
            covered = 0
            for sy in range(SUPER):
                for sx in range(SUPER):
                    x = px + (sx + 0.5) / SUPER
                    y = py + (sy + 0.5) / SUPER
                    colour = None
                    for inside, c in shapes:
                        if inside(x, y):
                            colour = c
                    if colour is not None:
                        covered += 1
                        for k in range(3):
                            acc[k] += colour[k]
            if covered:
                row += [round(acc[0] / covered), round(acc[1] / covered), round(acc[2] / covered),
                        round(255 * covered / (SUPER * SUPER))]
            else:
                row += [0, 0, 0, 0]
        rows.append(row)
    return png_bytes(width, height, rows)


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def triangle(a, b, c):
    def side(p, q, x, y):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])

    def inside(x, y):
        d1, d2, d3 = side(a, b, x, y), side(b, c, x, y), side(c, a, x, y)
        neg = d1 < 0 or d2 < 0 or d3 < 0
        pos = d1 > 0 or d2 > 0 or d3 > 0
        return not (neg and pos)
    return inside


# ---- Block files -----------------------------------------------------------------------------

def real(v):
    return "%#.9g" % float(v)


def value(v):
    if isinstance(v, str):
        return '"' + v + '"'
    if isinstance(v, int):
        return str(v)
    return real(v)


class Block:
    def __init__(self, name):
        self.name = name
        self.items = []  # ("entry", name, values) or ("block", Block)

    def entry(self, name, *values):
        self.items.append(("entry", name, values))
        return self

    def block(self, name):
        b = Block(name)
        self.items.append(("block", b))
        return b

    def text(self, indent=""):
        out = [indent + self.name + "{\n"]
        for item in self.items:
            if item[0] == "entry":
                out.append(indent + "\t" + item[1] + " = " + ", ".join(value(v) for v in item[2]) + "\n")
            else:
                out.append(item[1].text(indent + "\t"))
        out.append(indent + "}\n")
        return "".join(out)


def write(path, blocks):
    with open(path, "w", encoding="latin-1", newline="\n") as f:
        f.write("".join(b.text() for b in blocks))


# ---- The bird --------------------------------------------------------------------------------

# Graphics: (file name, width, height, shapes, handle)
GRAPHICS = [
    ("body.png", 64, 40, [(ellipse(32, 20, 31, 19), BLUE)], (32, 20)),
    ("head.png", 32, 32, [(ellipse(16, 16, 15, 15), BLUE), (ellipse(20, 13, 5, 5), WHITE),
                          (ellipse(21.5, 13, 2.5, 2.5), INK)], (16, 16)),
    ("beak.png", 16, 10, [(triangle((0, 0.5), (16, 5), (0, 9.5)), ORANGE)], (0, 5)),
    ("wing.png", 44, 18, [(ellipse(22, 9, 21.5, 8.5), DARK_BLUE)], (40, 9)),
    ("tail.png", 26, 18, [(triangle((26, 4), (0, 0.5), (0, 17.5)), DARK_BLUE),
                          (triangle((26, 14), (0, 0.5), (0, 17.5)), DARK_BLUE)], (26, 9)),
]
BODY, HEAD, BEAK, WING, TAIL = range(5)

# Poses of the whole bird: body lift in pixels, wing, tail and head turns in degrees.
POSES = [
    ("Rest", dict(lift=0, wing=0, tail=0, head=0)),
    ("WingUp", dict(lift=6, wing=40, tail=-8, head=0)),
    ("WingDown", dict(lift=-2, wing=-30, tail=6, head=0)),
    ("Nod", dict(lift=3, wing=8, tail=4, head=12)),
]

ANIMS = [
    ("Fly", [(0, 0.0), (1, 0.25), (2, 0.75), (0, 1.0)]),
    ("Bob", [(0, 0.0), (3, 0.5), (0, 1.0)]),
]


def polar(dx, dy):
    return math.hypot(dx, dy), math.degrees(math.atan2(dy, dx))


def state(name, dist, angle, rotation, n, hx, hy):
    s = Block("STATE")
    s.entry("name", name)
    s.entry("DistAngle", float(dist), float(angle))
    s.entry("Transform", float(rotation), 1.0, 1.0)
    s.entry("RGB", 1.0, 255, 255, 255)
    s.entry("n", n)
    s.entry("Handle", hx, hy)
    return s


def part(parent, name, layer, states):
    v = parent.block("VECTOR")
    v.entry("Name", name)
    v.entry("Layer", layer)
    sb = v.block("States")
    for s in states:
        sb.items.append(("block", s))
    return v.block("SubVectors")


def make_vectors():
    root = Block("VECTOR")
    root.entry("Name", "Bird")
    root.entry("Layer", 0)
    rs = root.block("States")
    for name, _ in POSES:
        rs.items.append(("block", state(name, 0, 0, 0, -1, 0, 0)))
    subs = root.block("SubVectors")

    # The body hangs from the invisible anchor: straight up by its lift. Its direction is -90,
    # so its children add 90 to the absolute directions they want, and it turns its own
    # graphic back by +90.
    def hand(graphic):
        return GRAPHICS[graphic][4]

    body_states = [state(n, p["lift"], -90, 90, BODY, *hand(BODY)) for n, p in POSES]
    body_subs = part(subs, "Body", 1, body_states)

    def child_states(dx, dy, graphic, turn_key, extra_rot=0.0):
        dist, direction = polar(dx, dy)
        out = []
        for n, p in POSES:
            turn = p[turn_key] if turn_key else 0
            # Relative to the body's direction -90; the graphic itself drawn at `turn`.
            out.append(state(n, dist, direction + 90, -direction + turn + extra_rot, graphic, *hand(graphic)))
        return out

    part(body_subs, "Tail", 0, child_states(-25, -2, TAIL, "tail"))
    head_subs = part(body_subs, "Head", 2, child_states(28, -14, HEAD, "head"))
    # The beak hangs from the head, whose direction is the absolute direction of (28, -14).
    _, head_dir = polar(28, -14)
    beak_states = []
    for n, p in POSES:
        dist, direction = polar(15, 3)
        beak_states.append(state(n, dist, direction - head_dir, -direction + p["head"], BEAK, *hand(BEAK)))
    part(head_subs, "Beak", 3, beak_states)
    part(body_subs, "Wing", 4, child_states(2, -6, WING, "wing"))
    return root


def make_gfx():
    g = Block("GFX")
    g.entry("gfxs", len(GRAPHICS))
    for i, (name, *_rest) in enumerate(GRAPHICS):
        g.entry("Img%d" % i, name)
    return g


def make_anims():
    a = Block("Anims")
    for name, steps in ANIMS:
        b = a.block("ANIM")
        b.entry("name", name)
        b.entry("StatesInd", len(steps), *[i for i, _ in steps])
        b.entry("StatesPer", *[float(p) for _, p in steps])
    return a


def main():
    os.makedirs(os.path.join(OUT, "images"), exist_ok=True)
    for name, w, h, shapes, _handle in GRAPHICS:
        with open(os.path.join(OUT, "images", name), "wb") as f:
            f.write(render(w, h, shapes))
    write(os.path.join(OUT, "Gfxs.avo"), [make_gfx()])
    write(os.path.join(OUT, "Vectors.avo"), [make_vectors()])
    write(os.path.join(OUT, "Anims.avo"), [make_anims()])
    print("wrote", os.path.relpath(OUT, ROOT))
    return 0


if __name__ == "__main__":
    sys.exit(main())
