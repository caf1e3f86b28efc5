#!/usr/bin/env python3
"""Writes the start screen's button views: rounded, softly shaded bars with a darker rim.

    tools/make_button_images.py [folder]     (default: data/screens/Start)

Each view is an image widget named after its file (PlayNormal, PlayOver, PlayClick,
PlayDisabled), which the widget finds beside the screen file by its name.
Python 3 standard library only.
"""
import math
import os
import sys

from pngwrite import write_png

WIDTH, HEIGHT = 220, 56
RADIUS = 16.0
RIM = 3.0

# (top colour, bottom colour, rim colour) of each view.
VIEWS = {
    "PlayNormal": ((244, 150, 86), (222, 104, 52), (140, 58, 26)),
    "PlayOver": ((255, 184, 120), (244, 138, 80), (150, 64, 30)),
    "PlayClick": ((196, 86, 40), (214, 110, 60), (110, 44, 18)),
    "PlayDisabled": ((178, 178, 178), (150, 150, 150), (100, 100, 100)),
}


def inside_distance(px, py):
    """Distance from (px, py) to the rounded rectangle's edge, positive inside."""
    cx = min(max(px, RADIUS), WIDTH - RADIUS)
    cy = min(max(py, RADIUS), HEIGHT - RADIUS)
    return RADIUS - math.hypot(px - cx, py - cy)


def pixel(x, y, top, bottom, rim):
    samples = 4
    covered = 0
    rim_hits = 0
    for sy in range(samples):
        for sx in range(samples):
            d = inside_distance(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)
            if d >= 0:
                covered += 1
                if d < RIM:
                    rim_hits += 1
    if covered == 0:
        return (0, 0, 0, 0)
    t = y / (HEIGHT - 1)
    fill = [top[i] + (bottom[i] - top[i]) * t for i in range(3)]
    share = rim_hits / covered
    colour = [round(fill[i] * (1 - share) + rim[i] * share) for i in range(3)]
    return (colour[0], colour[1], colour[2], round(255 * covered / samples ** 2))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "screens", "Start")
    os.makedirs(folder, exist_ok=True)
    for name, (top, bottom, rim) in VIEWS.items():
        rows = [[pixel(x, y, top, bottom, rim) for x in range(WIDTH)] for y in range(HEIGHT)]
        write_png(os.path.join(folder, name + ".png"), rows)


if __name__ == "__main__":
    main()
