#!/usr/bin/env python3
"""Draws the pictures of the start-up: the partner splash, the loading screen and the main menu.

    /usr/bin/python3 tools/make_shell_art.py [data folder]     (default: data)

Drawn with pycairo (Debian python3-cairo); the full-screen pictures are written as JPEG through
Pillow (python3-pil); both are installed with apt-get when missing. The screen files that place
these pictures come from tools/make_shell_screens.py.

Palette (shared with the rest of the game's art): sky blues, a warm horizon, meadow greens, the
quilt patch colours (red, orange, yellow, blue, pink, green), cream titles with a brown outline,
navy panels.
"""
import importlib
import io
import math
import os
import random
import subprocess
import sys


def need(module, package):
    try:
        return importlib.import_module(module)
    except ImportError:
        subprocess.check_call(["apt-get", "install", "-y", package])
        return importlib.import_module(module)


cairo = need("cairo", "python3-cairo")
Image = need("PIL.Image", "python3-pil")

FONT = "DejaVu Sans"
CREAM = (1.0, 0.925, 0.729)
BROWN = (0.36, 0.20, 0.11)
NAVY = (0.188, 0.235, 0.369)
PATCHES = [(0.886, 0.329, 0.329), (0.957, 0.635, 0.349), (1.0, 0.816, 0.329), (0.498, 0.722, 0.878),
           (0.910, 0.471, 0.690), (0.498, 0.690, 0.412)]


def rgb(hexcode):
    return tuple(int(hexcode[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


# The meadow's quilt fields: greens with a few flowering ones.
FIELDS = None


def surface(w, h):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    return s, cairo.Context(s)


def save_png(s, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    s.write_to_png(path)


def save_jpg(s, path, quality=90):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    buf = io.BytesIO()
    s.write_to_png(buf)
    buf.seek(0)
    Image.open(buf).convert("RGB").save(path, "JPEG", quality=quality, optimize=True)


def rounded(cr, x, y, w, h, r):
    cr.new_sub_path()
    cr.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    cr.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    cr.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    cr.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    cr.close_path()


def vertical(cr, y0, y1, stops):
    g = cairo.LinearGradient(0, y0, 0, y1)
    for pos, col in stops:
        g.add_color_stop_rgba(pos, *col, 1.0) if len(col) == 3 else g.add_color_stop_rgba(pos, *col)
    return g


def title(cr, text, cx, y, size, sub=None, subsize=0):
    """The game's title: cream letters with a brown outline and a soft shadow, centred on cx."""
    cr.select_font_face(FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    cr.set_font_size(size)
    ext = cr.text_extents(text)
    x = cx - ext.x_advance / 2
    for dx, dy, a in ((0, 6, 0.18), (0, 4, 0.22)):
        cr.move_to(x + dx, y + dy)
        cr.text_path(text)
        cr.set_source_rgba(0.1, 0.05, 0.02, a)
        cr.set_line_width(size * 0.16)
        cr.stroke_preserve()
        cr.fill()
    cr.move_to(x, y)
    cr.text_path(text)
    cr.set_source_rgb(*BROWN)
    cr.set_line_width(size * 0.14)
    cr.set_line_join(cairo.LINE_JOIN_ROUND)
    cr.stroke_preserve()
    g = cairo.LinearGradient(0, y - size * 0.75, 0, y)
    g.add_color_stop_rgb(0, 1.0, 0.97, 0.86)
    g.add_color_stop_rgb(1, *CREAM)
    cr.set_source(g)
    cr.fill()
    if sub:
        cr.select_font_face(FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_NORMAL)
        cr.set_font_size(subsize)
        e = cr.text_extents(sub)
        sx, sy = cx - e.x_advance / 2, y + subsize * 1.9
        cr.move_to(sx, sy)
        cr.text_path(sub)
        cr.set_source_rgba(*BROWN, 0.85)
        cr.set_line_width(subsize * 0.22)
        cr.stroke_preserve()
        cr.set_source_rgb(1, 1, 1)
        cr.fill()


def patch(cr, x, y, s, col, alpha=1.0, stitch=True):
    """One quilt patch: a rounded square with a lighter top and a dashed stitch inside its edge."""
    rounded(cr, x, y, s, s, s * 0.12)
    g = cairo.LinearGradient(0, y, 0, y + s)
    g.add_color_stop_rgba(0, min(1, col[0] + 0.08), min(1, col[1] + 0.08), min(1, col[2] + 0.08), alpha)
    g.add_color_stop_rgba(1, col[0] * 0.9, col[1] * 0.9, col[2] * 0.9, alpha)
    cr.set_source(g)
    cr.fill()
    if stitch:
        inset = s * 0.12
        rounded(cr, x + inset, y + inset, s - 2 * inset, s - 2 * inset, s * 0.08)
        cr.set_source_rgba(1, 1, 1, 0.55 * alpha)
        cr.set_line_width(max(1.0, s * 0.025))
        cr.set_dash([s * 0.07, s * 0.05])
        cr.stroke()
        cr.set_dash([])


def cloud(cr, x, y, scale, alpha):
    cr.set_source_rgba(1, 1, 1, alpha)
    for dx, dy, r in ((0, 0, 30), (34, -14, 36), (72, 0, 28), (36, 10, 32), (-28, 8, 22), (100, 10, 20)):
        cr.arc(x + dx * scale, y + dy * scale, r * scale, 0, 2 * math.pi)
        cr.fill()


def hill(cr, w, base, amp, phase, freq, col_top, col_bottom, h):
    cr.move_to(0, h)
    for x in range(0, w + 9, 8):
        cr.line_to(x, base - amp * math.sin(x * freq + phase) - amp * 0.4 * math.sin(x * freq * 2.3 + phase * 1.7))
    cr.line_to(w, h)
    cr.close_path()
    cr.set_source(vertical(cr, base - amp, h, [(0, col_top), (1, col_bottom)]))
    cr.fill()


def scenery(cr, w, h, horizon):
    """Sky with sun and clouds, two rows of hills and a meadow of quilt fields."""
    cr.set_source(vertical(cr, 0, horizon, [(0, rgb("4E7FC0")), (0.6, rgb("8DBCE6")), (1, rgb("FFE4BC"))]))
    cr.rectangle(0, 0, w, h)
    cr.fill()
    sun = cairo.RadialGradient(1080, 150, 10, 1080, 150, 190)
    sun.add_color_stop_rgba(0, 1, 0.97, 0.8, 0.95)
    sun.add_color_stop_rgba(0.3, 1, 0.9, 0.6, 0.45)
    sun.add_color_stop_rgba(1, 1, 0.9, 0.6, 0)
    cr.set_source(sun)
    cr.arc(1080, 150, 190, 0, 2 * math.pi)
    cr.fill()
    cr.set_source_rgba(1, 0.98, 0.88, 1)
    cr.arc(1080, 150, 46, 0, 2 * math.pi)
    cr.fill()
    for x, y, s, a in ((150, 120, 1.1, 0.85), (520, 70, 0.8, 0.7), (820, 200, 0.9, 0.75), (1250, 300, 0.7, 0.6),
                       (330, 260, 0.6, 0.55)):
        cloud(cr, x, y, s, a)
    hill(cr, w, horizon - 40, 36, 0.7, 0.006, rgb("9CC98A"), rgb("7DB06B"), h)
    hill(cr, w, horizon + 10, 28, 2.1, 0.0045, rgb("7DB86A"), rgb("5E9A52"), h)
    # The meadow: quilt fields in perspective rows, fading toward the horizon.
    rnd = random.Random(7)
    top = horizon + 40
    rows = 6
    for r in range(rows):
        y0 = top + (h - top) * (r / rows) ** 1.3
        y1 = top + (h - top) * ((r + 1) / rows) ** 1.3
        size = y1 - y0
        n = int(w / (size * 1.6)) + 2
        for c in range(n):
            x0 = c * size * 1.6 - (r % 2) * size * 0.8
            col = FIELDS[rnd.randrange(len(FIELDS))]
            # Rows further away are paler (the haze toward the horizon).
            haze = 0.35 * (1 - r / rows)
            fc = tuple(col[i] * (1 - haze) + 0.86 * haze for i in range(3))
            rounded(cr, x0 + 3, y0 + 2, size * 1.6 - 6, size - 4, min(10, size * 0.2))
            cr.set_source_rgba(*fc, 1)
            cr.fill_preserve()
            cr.set_source_rgba(1, 1, 1, 0.35)
            cr.set_line_width(1.5)
            cr.set_dash([6, 5])
            cr.stroke()
            cr.set_dash([])


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
    cr.set_source(vertical(cr, 160, 464, [(0, rgb("3C4A74")), (1, rgb("2C365A"))]))
    cr.fill_preserve()
    cr.set_source_rgba(*CREAM, 0.8)
    cr.set_line_width(3)
    cr.stroke()
    rounded(cr, cx - 320, 176, 640, 272, 28)
    cr.set_source_rgba(*CREAM, 0.5)
    cr.set_line_width(2)
    cr.set_dash([10, 7])
    cr.stroke()
    cr.set_dash([])
    # Five patches above the title.
    for i, c in enumerate(PATCHES[:5]):
        patch(cr, cx - 150 + i * 62, 206, 52, c)
    title(cr, "Quiltora", cx, 370, 92, "A colour picture-logic puzzle", 22)
    save_jpg(s, path)


def bar_track(path):
    w, h = 536, 40
    s, cr = surface(w, h)
    rounded(cr, 1, 1, w - 2, h - 2, 19)
    cr.set_source(vertical(cr, 0, h, [(0, (0.08, 0.09, 0.16, 0.92)), (1, (0.16, 0.18, 0.30, 0.92))]))
    cr.fill_preserve()
    cr.set_source_rgba(*CREAM, 0.9)
    cr.set_line_width(2.5)
    cr.stroke()
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
        cr.set_source_rgba(1, 1, 1, 0.6)
        cr.set_line_width(1)
        cr.set_dash([3, 3])
        cr.stroke()
        cr.set_dash([])
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
    cr.set_source(vertical(cr, 4, h - 8, [(0, (0.235, 0.290, 0.455, 0.9)), (1, (0.17, 0.21, 0.35, 0.9))]))
    cr.fill_preserve()
    cr.set_source_rgba(*CREAM, 0.85)
    cr.set_line_width(3)
    cr.stroke()
    rounded(cr, 16, 16, w - 32, h - 36, 22)
    cr.set_source_rgba(*CREAM, 0.45)
    cr.set_line_width(2)
    cr.set_dash([9, 7])
    cr.stroke()
    save_png(s, path)


# (top, bottom, rim) of each button view: warm orange, lighter when hovered, darker when pressed.
VIEWS = {
    "Normal": (rgb("F49656"), rgb("DE6834"), rgb("8C3A1A")),
    "Over": (rgb("FFB878"), rgb("F48A50"), rgb("96401E")),
    "Click": (rgb("C45628"), rgb("D66E3C"), rgb("6E2C12")),
    "Disabled": (rgb("B2B2B2"), rgb("969696"), rgb("646464")),
}


def button_view(path, w, h, view):
    top, bottom, rim = VIEWS[view]
    s, cr = surface(w, h)
    r = h * 0.3
    rounded(cr, 1.5, 1.5, w - 3, h - 3, r)
    cr.set_source(vertical(cr, 0, h, [(0, top), (1, bottom)]))
    cr.fill_preserve()
    cr.set_source_rgb(*rim)
    cr.set_line_width(3)
    cr.stroke()
    # Stitching inside the rim and a soft shine.
    rounded(cr, 7, 7, w - 14, h - 14, r * 0.7)
    cr.set_source_rgba(1, 1, 1, 0.45)
    cr.set_line_width(1.5)
    cr.set_dash([6, 4])
    cr.stroke()
    cr.set_dash([])
    if view != "Click":
        rounded(cr, 10, 5, w - 20, h * 0.38, r * 0.6)
        cr.set_source(vertical(cr, 5, 5 + h * 0.38, [(0, (1, 1, 1, 0.35)), (1, (1, 1, 1, 0.0))]))
        cr.fill()
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
    global FIELDS
    FIELDS = [rgb(c) for c in ("8CC56F", "74B45E", "A4D07C", "8CC56F", "74B45E", "E6D66E", "EAA6C4", "92C8DC")]
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
