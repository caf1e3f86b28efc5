#!/usr/bin/env python3
"""Draws the pictures of the start-up: the partner splash, the loading screen and the main menu.

    /usr/bin/python3 tools/make_shell_art.py [data folder]     (default: data)

The palette and the drawing helpers (the meadow scenery, the title, the orange button views) are
those of tools/artlib.py; the full-screen pictures are JPEG. The screen files that place these
pictures come from tools/make_shell_screens.py.
"""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import (CREAM, FONT, PATCHES, VIEWS, button_view, cairo, fill_outlined, patch, rgb,  # noqa: E402
                    rounded, save_jpg, save_png, scenery, stitch, surface, title, vertical)


def loading_background(path):
    w, h = 1366, 768
    s, cr = surface(w, h)
    # A quilt spread over the whole screen, dimmed, with a cream card for the title.
    cr.set_source_rgb(*rgb("2E3352"))
    cr.paint()
    rnd = random.Random(3)
    size = 96
    for row in range(-1, h // size + 2):
        for col in range(-1, w // size + 2):
            c = PATCHES[rnd.randrange(len(PATCHES))]
            patch(cr, col * size + 4, row * size + 4 - 24, size - 8, c, 0.55)
    vignette = cairo.RadialGradient(w / 2, h / 2, 200, w / 2, h / 2, 820)
    vignette.add_color_stop_rgba(0, 0.12, 0.13, 0.22, 0.35)
    vignette.add_color_stop_rgba(1, 0.06, 0.06, 0.12, 0.85)
    cr.set_source(vignette)
    cr.paint()
    # The card.
    cx = w / 2
    rounded(cr, cx - 330, 170, 660, 300, 36)
    cr.set_source_rgba(0, 0, 0, 0.25)
    cr.fill()
    rounded(cr, cx - 336, 160, 672, 304, 36)
    fill_outlined(cr, vertical(cr, 160, 464, [(0, rgb("3C4A74")), (1, rgb("2C365A"))]), (*CREAM, 0.8), 3)
    rounded(cr, cx - 320, 176, 640, 272, 28)
    stitch(cr, (*CREAM, 0.5), 2, [10, 7])
    # Five patches above the title.
    for i, c in enumerate(PATCHES[:5]):
        patch(cr, cx - 150 + i * 62, 206, 52, c)
    title(cr, "Quiltora", cx, 370, 92, "A colour picture-logic puzzle", 22)
    save_jpg(s, path)


def bar_track(path):
    w, h = 536, 40
    s, cr = surface(w, h)
    rounded(cr, 1, 1, w - 2, h - 2, 19)
    fill_outlined(cr, vertical(cr, 0, h, [(0, (0.08, 0.09, 0.16, 0.92)), (1, (0.16, 0.18, 0.30, 0.92))]),
                  (*CREAM, 0.9), 2.5)
    save_png(s, path)


def bar_fill(path):
    w, h = 520, 24
    s, cr = surface(w, h)
    rounded(cr, 0, 0, w, h, 12)
    cr.clip()
    seg = 26
    for i in range(w // seg + 1):
        c = PATCHES[i % len(PATCHES)]
        cr.rectangle(i * seg, 0, seg, h)
        cr.set_source(vertical(cr, 0, h, [(0, tuple(min(1, v + 0.12) for v in c)), (1, tuple(v * 0.85 for v in c))]))
        cr.fill()
        cr.move_to(i * seg + 0.5, 3)
        cr.line_to(i * seg + 0.5, h - 3)
        stitch(cr, (1, 1, 1, 0.6), 1, [3, 3])
    # Shine along the top.
    cr.rectangle(0, 0, w, h / 2)
    cr.set_source(vertical(cr, 0, h / 2, [(0, (1, 1, 1, 0.35)), (1, (1, 1, 1, 0.05))]))
    cr.fill()
    save_png(s, path)


def menu_background(path):
    w, h = 1366, 768
    s, cr = surface(w, h)
    scenery(cr, w, h, 470)
    title(cr, "Quiltora", w / 2, 190, 110, "A colour picture-logic puzzle", 24)
    save_jpg(s, path)


def menu_panel(path):
    w, h = 300, 326
    s, cr = surface(w, h)
    rounded(cr, 6, 10, w - 12, h - 14, 30)
    cr.set_source_rgba(0, 0, 0, 0.22)
    cr.fill()
    rounded(cr, 4, 4, w - 8, h - 12, 30)
    fill_outlined(cr, vertical(cr, 4, h - 8, [(0, (0.235, 0.290, 0.455, 0.9)), (1, (0.17, 0.21, 0.35, 0.9))]),
                  (*CREAM, 0.85), 3)
    rounded(cr, 16, 16, w - 32, h - 36, 22)
    stitch(cr, (*CREAM, 0.45), 2, [9, 7])
    save_png(s, path)


def splash(path):
    w, h = 1024, 768
    s, cr = surface(w, h)
    g = cairo.RadialGradient(w / 2, h / 2 - 40, 40, w / 2, h / 2, 700)
    g.add_color_stop_rgb(0, *rgb("3A2F4E"))
    g.add_color_stop_rgb(1, *rgb("15111E"))
    cr.set_source(g)
    cr.paint()
    # The maker's emblem: four patches set as a diamond.
    cx, cy, size = w / 2, 300, 84
    cr.save()
    cr.translate(cx, cy)
    cr.rotate(math.pi / 4)
    for i, c in enumerate((PATCHES[0], PATCHES[2], PATCHES[3], PATCHES[4])):
        px = (i % 2) * (size + 8) - size - 4
        py = (i // 2) * (size + 8) - size - 4
        patch(cr, px, py, size, c)
    cr.restore()
    cr.select_font_face(FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    cr.set_font_size(64)
    text = "VELKARO"
    e = cr.text_extents(text)
    cr.move_to(cx - e.x_advance / 2, 520)
    cr.set_source_rgb(*CREAM)
    cr.show_text(text)
    cr.select_font_face(FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_NORMAL)
    cr.set_font_size(24)
    text = "g a m e s"
    e = cr.text_extents(text)
    cr.move_to(cx - e.x_advance / 2, 566)
    cr.set_source_rgba(1, 1, 1, 0.75)
    cr.show_text(text)
    save_jpg(s, path, quality=92)


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else "data"
    loading = os.path.join(data, "Screens/LoadingScreen")
    menu = os.path.join(data, "Screens/MainMenu")
    loading_background(os.path.join(loading, "Background.jpg"))
    bar_track(os.path.join(loading, "BarTrack.png"))
    bar_fill(os.path.join(loading, "Bar.png"))
    menu_background(os.path.join(menu, "Background.jpg"))
    menu_panel(os.path.join(menu, "Panel.png"))
    for view in VIEWS:
        button_view(os.path.join(menu, "Button" + view + ".png"), 220, 56, view)
        button_view(os.path.join(menu, "Small" + view + ".png"), 180, 48, view)
    splash(os.path.join(data, "Branding/partnerscreen-1.jpg"))


if __name__ == "__main__":
    main()
