#!/usr/bin/env python3
"""Draws the newsletter window's pictures and writes its layout file, so that the two agree:
the panel (navy quilted panel with a cream rim and stitching, dark inset boxes under the two
entry fields, the orange pills under the Later and Sign-up buttons) and a small envelope with a
quilt-patch stamp that sits over the panel's top edge.

    /usr/bin/python3 tools/make_newsletter_art.py [data folder]     (default: data)

Writes "newsletter/panel.png", "newsletter/envelope.png" and "newsletter/newsletter.dat". The
texts are in "newsletter/newsletter.txt" (written by hand). The palette and the drawing helpers
are those of tools/artlib.py.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import (PATCHES, VIEWS, cairo, fill_outlined, panel_body, patch, rgb, rounded,  # noqa: E402
                    save_png, stitch, surface, vertical)

# The panel, centred on the screen (1024 x 768); positions below are screen pixels.
PANEL_W, PANEL_H = 600, 440
PAD = 16
LEFT, TOP = 512 - PANEL_W // 2, 384 - PANEL_H // 2
# The entry fields: label | XDist | frame of RectWidth x RectHeight (the text starts XDist in).
NAME = (400, 336)
MAIL = (400, 382)
XDIST = 8
RECT = (300, 26)
FONT_SIZE = 20
# The buttons: (block, text line, centre, pill size or None, font size).
BUTTONS = [
    ("later", 7, (410, 506), (150, 46), 22),
    ("signup", 6, (620, 506), (210, 46), 22),
    ("dontshow", 8, (512, 566), None, 15),
]
ENVELOPE = (512, 166)
SERVER = "newsletter.quiltora.invalid"


def px(x, y):
    """Screen pixels to the panel picture's pixels."""
    return x - LEFT + PAD, y - TOP + PAD


def panel(path):
    s, cr = surface(PANEL_W + 2 * PAD, PANEL_H + 2 * PAD)
    cr.translate(PAD, PAD)
    w, h = PANEL_W, PANEL_H
    panel_body(cr, w, h)
    # Patches peeking over the top edge, three on each side of the envelope.
    size, gap = 26, 8
    for i in range(3):
        for side in (-1, 1):
            x = w / 2 + side * (72 + i * (size + gap)) - (size if side < 0 else 0)
            patch(cr, x, -size / 2 + 2, size, PATCHES[(i * 2 + (side > 0)) % len(PATCHES)])
    cr.translate(-PAD, -PAD)
    # Dark inset boxes under the fields (the game draws their frames).
    for fx, fy in (NAME, MAIL):
        x, y = px(fx + XDIST - 2, fy - 2)
        rounded(cr, x, y, RECT[0] + 4, RECT[1] + 4, 5)
        cr.set_source_rgba(0.08, 0.10, 0.18, 0.75)
        cr.fill()
    # The pills under the two main buttons, in the menu's orange.
    top, bottom, rim = VIEWS["Normal"]
    for _, _, (cx, cy), pill, _ in BUTTONS:
        if not pill:
            continue
        pw, ph = pill
        x, y = px(cx - pw / 2, cy - ph / 2)
        rounded(cr, x, y, pw, ph, ph * 0.3)
        fill_outlined(cr, vertical(cr, y, y + ph, [(0, top), (1, bottom)]), rim, 2.5)
        rounded(cr, x + 6, y + 6, pw - 12, ph - 12, ph * 0.2)
        stitch(cr, (1, 1, 1, 0.45), 1.5, [6, 4])
    save_png(s, path)


def envelope(path):
    w, h = 104, 76
    s, cr = surface(w, h)
    ex, ey, ew, eh = 6, 8, 92, 60
    rounded(cr, ex + 2, ey + 4, ew, eh, 6)
    cr.set_source_rgba(0, 0, 0, 0.25)
    cr.fill()
    rounded(cr, ex, ey, ew, eh, 6)
    fill_outlined(cr, vertical(cr, ey, ey + eh, [(0, rgb("FFF8E8")), (1, rgb("F1DDB2"))]), rgb("9C7040"), 2)
    # The flap.
    cr.move_to(ex + 2, ey + 3)
    cr.line_to(ex + ew / 2, ey + eh * 0.58)
    cr.line_to(ex + ew - 2, ey + 3)
    cr.set_source_rgba(*rgb("9C7040"), 0.9)
    cr.set_line_width(2)
    cr.set_line_join(cairo.LINE_JOIN_ROUND)
    cr.stroke()
    # A quilt-patch stamp in the corner, and a red heart seal on the flap.
    patch(cr, ex + ew - 28, ey + 6, 20, PATCHES[3])
    hx, hy, r = ex + ew / 2, ey + eh * 0.56, 7
    cr.move_to(hx, hy + r * 1.2)
    cr.curve_to(hx - r * 2.0, hy - r * 0.2, hx - r * 0.8, hy - r * 1.6, hx, hy - r * 0.5)
    cr.curve_to(hx + r * 0.8, hy - r * 1.6, hx + r * 2.0, hy - r * 0.2, hx, hy + r * 1.2)
    cr.set_source_rgb(*PATCHES[0])
    cr.fill()
    save_png(s, path)


def layout(path):
    lines = [
        "[SETTINGS]",
        "PanelX = 0", "PanelY = 0",
        f"NameX = {NAME[0]}", f"NameY = {NAME[1]}", f"MailX = {MAIL[0]}", f"MailY = {MAIL[1]}",
        f"XDist = {XDIST}", f"RectWidth = {RECT[0]}", f"RectHeight = {RECT[1]}",
        "CursorWidth = 2", f"CursorHeight = {RECT[1] - 4}",
        "Over_Red = 255", "Over_Green = 214", "Over_Blue = 102",
        "PanelScale = 1",
        "MacList = quiltora", "PCList = quiltora",
        "RGB_Red = 255", "RGB_Green = 246", "RGB_Blue = 224",
        "RectRGB_Red = 255", "RectRGB_Green = 207", "RectRGB_Blue = 90",
        "FontUrl = ../fonts/DejaVuSans.ttf", f"FontSize = {FONT_SIZE}", "Font = 0",
        f"Server = {SERVER}",
        "",
        "[envelope]", "Type = image", f"x = {ENVELOPE[0]}", f"y = {ENVELOPE[1]}", "url = envelope.png",
        "alpha = 1", "scale = 1", "rotation = -4",
        "",
        "[title]", "Type = text", "x = 232", "y = 212", "Width = 560", "align = center", "TextLine = 1",
        "FontUrl = ../fonts/DejaVuSans.ttf", "FontSize = 28",
        "rgb_red = 255", "rgb_green = 207", "rgb_blue = 90",
        "",
        "[body]", "Type = text", "x = 262", "y = 254", "Width = 500", "align = center", "TextLine = 2",
        "FontUrl = ../fonts/DejaVuSans.ttf", "FontSize = 16",
        "rgb_red = 255", "rgb_green = 246", "rgb_blue = 224",
        "",
        "[privacy]", "Type = text", "x = 262", "y = 428", "Width = 500", "align = center", "TextLine = 5",
        "FontUrl = ../fonts/DejaVuSans.ttf", "FontSize = 13",
        "rgb_red = 214", "rgb_green = 200", "rgb_blue = 170",
    ]
    for name, line, (cx, cy), pill, size in BUTTONS:
        colour = (255, 255, 255) if pill else (214, 200, 170)
        lines += [
            "",
            f"[{name}]", "Type = textbutton", f"x = {cx}", f"y = {cy}", f"TextLine = {line}",
            "FontUrl = ../fonts/DejaVuSans.ttf", f"FontSize = {size}",
            f"rgb_red = {colour[0]}", f"rgb_green = {colour[1]}", f"rgb_blue = {colour[2]}",
        ]
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else "data"
    folder = os.path.join(data, "newsletter")
    panel(os.path.join(folder, "panel.png"))
    envelope(os.path.join(folder, "envelope.png"))
    layout(os.path.join(folder, "newsletter.dat"))


if __name__ == "__main__":
    main()
