#!/usr/bin/env python3
"""Writes the game's own mouse cursors: flat cream shapes with a dark outline, 32 x 32.

    tools/make_cursor_images.py [folder]     (default: data/App/Cursors)

Arrow.png  the pointer, its tip at pixel (1, 1)
Hand.png   a pointing hand, its fingertip at pixel (11, 1)

"App/Data/Mouse.dat" names these files and gives each cursor its "Handle": the pixel that sits
exactly on the pointer, so the two must agree with the points above.
Python 3 standard library only.
"""
import math
import os
import sys

from pngwrite import write_png

SIZE = 32
SAMPLES = 4            # per axis, for smooth edges
OUTLINE = 1.6          # outline width in pixels, inside the shape's edge
FILL = (255, 247, 226)
LINE = (38, 34, 56)


def segment_distance(px, py, ax, ay, bx, by):
    """Distance from (px, py) to the segment a-b."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def polygon(points):
    """Signed distance to a closed polygon, negative inside."""
    def sdf(px, py):
        d = min(segment_distance(px, py, *points[i], *points[(i + 1) % len(points)]) for i in range(len(points)))
        inside = False
        for i in range(len(points)):
            (x1, y1), (x2, y2) = points[i], points[(i + 1) % len(points)]
            if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
                inside = not inside
        return -d if inside else d
    return sdf


def capsule(ax, ay, bx, by, radius):
    return lambda px, py: segment_distance(px, py, ax, ay, bx, by) - radius


def rounded_box(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def sdf(px, py):
        qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return sdf


def render(shapes, creases=()):
    """The union of the shapes, filled and outlined; each crease is a shape whose own edge is
    drawn as a line where it lies inside the union (the gaps between fingers)."""
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            covered = lines = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    px, py = x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES
                    d = min(s(px, py) for s in shapes)
                    if d >= 0:
                        continue
                    covered += 1
                    if d > -OUTLINE or any(abs(c(px, py)) < OUTLINE / 2 for c in creases):
                        lines += 1
            if covered == 0:
                row.append((0, 0, 0, 0))
                continue
            share = lines / covered
            colour = tuple(round(FILL[i] * (1 - share) + LINE[i] * share) for i in range(3))
            row.append(colour + (round(255 * covered / SAMPLES ** 2),))
        rows.append(row)
    return rows


def arrow():
    # Tip at (1, 1); the tail is a short stem leaning right.
    return render([polygon([(0.4, 0.0), (0.4, 24.6), (6.2, 19.4), (10.2, 28.8), (15.0, 26.8),
                            (11.0, 17.6), (18.8, 17.6)])])


def hand():
    # The index finger points up, its tip at (11, 1); three folded fingers, the palm and the
    # thumb below it.
    index = capsule(11.0, 4.0, 11.0, 16.0, 3.4)
    middle = capsule(17.2, 13.6, 17.2, 18.0, 3.0)
    ring = capsule(22.6, 14.8, 22.6, 19.0, 2.8)
    little = capsule(27.4, 16.6, 27.4, 20.0, 2.4)
    palm = rounded_box(7.6, 16.0, 29.8, 30.6, 4.5)
    thumb = capsule(9.6, 23.0, 3.6, 16.4, 2.9)
    return render([index, middle, ring, little, palm, thumb], creases=[index, middle, ring, little])


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "App", "Cursors")
    os.makedirs(folder, exist_ok=True)
    for name, make in (("Arrow", arrow), ("Hand", hand)):
        write_png(os.path.join(folder, name + ".png"), make())


if __name__ == "__main__":
    main()
