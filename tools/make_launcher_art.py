#!/usr/bin/env python3
"""Draws the cross-promotion launcher: its screen pictures and the package shipped in the data folder.

    /usr/bin/python3 tools/make_launcher_art.py [data folder]     (default: data)

Writes, below the data folder's "launcher/":
  background.jpg, moreGames.png, left.png, right.png, play.png, back.png   the screen
  package/launcher.dat and its pictures                                     the shipped package
  server.txt                                                                the update server

The package shows three sister games of the Quiltora team (all made up for the example): their
icons in the row and a banner. The update server is a name in the reserved domain "invalid",
which never resolves: point server.txt at a real server to use the update.

Same look as the start-up pictures, through the helpers of tools/artlib.py: sky, hills and quilt
meadow, cream titles with a brown outline, navy cards, orange buttons.
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import artlib as art  # noqa: E402

cairo = art.cairo
CREAM, BROWN, NAVY, PATCHES = art.CREAM, art.BROWN, art.NAVY, art.PATCHES
rgb = art.rgb

# Logical x to background x: the 1024-wide picture sits 171 pixels into the 1366-wide one.
WIDE = 171

# The sister games: id, name, tag line, the icon's drawing and its colours.
GAMES = [
    ("stitchwise", "Stitchwise", "Sew the pattern, stitch by stitch", "needle", rgb("E25454"), rgb("FFD27A")),
    ("patchworkpond", "Patchwork Pond", "Match the lily patches", "pond", rgb("4F9FCF"), rgb("8CC56F")),
    ("loomlantern", "Loom & Lantern", "Weave words by lantern light", "lantern", rgb("6B4FA0"), rgb("F4A259")),
]


def text_centred(cr, text, cx, y, size, colour, bold=True, outline=None, width=0.0):
    cr.select_font_face(art.FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    cr.set_font_size(size)
    e = cr.text_extents(text)
    cr.move_to(cx - e.x_advance / 2, y)
    cr.text_path(text)
    if outline:
        cr.set_source_rgba(*outline)
        cr.set_line_width(width)
        cr.set_line_join(cairo.LINE_JOIN_ROUND)
        cr.stroke_preserve()
    cr.set_source_rgba(*colour)
    cr.fill()


def card(cr, x, y, w, h, r, alpha=0.88):
    art.rounded(cr, x + 3, y + 6, w, h, r)
    cr.set_source_rgba(0, 0, 0, 0.22)
    cr.fill()
    art.rounded(cr, x, y, w, h, r)
    art.fill_outlined(cr, art.vertical(cr, y, y + h, [(0, (0.235, 0.290, 0.455, alpha)),
                                                      (1, (0.17, 0.21, 0.35, alpha))]),
                      (*CREAM, 0.85), 3)
    art.rounded(cr, x + 10, y + 10, w - 20, h - 20, max(4, r - 8))
    art.stitch(cr, (*CREAM, 0.4), 2, [9, 7])


def background(path):
    w, h = 1366, 768
    s, cr = art.surface(w, h)
    art.scenery(cr, w, h, 470)
    # A soft veil so the widgets stand out from the meadow.
    cr.set_source(art.vertical(cr, 0, h, [(0, (0.10, 0.12, 0.22, 0.35)), (1, (0.10, 0.12, 0.22, 0.55))]))
    cr.paint()
    # The card behind the title and the row (logical 140..884 across, 28..222 down).
    card(cr, WIDE + 140, 28, 744, 196, 28)
    # The greeting between the row and the Play button.
    text_centred(cr, "Thank you for playing Quiltora!", w / 2, 300, 34, (*CREAM, 1), outline=(*BROWN, 1), width=5)
    text_centred(cr, "While the kettle boils, meet the other games of the Quiltora team.", w / 2, 342, 19,
                 (1, 1, 1, 0.95), bold=False, outline=(0.1, 0.1, 0.2, 0.6), width=3)
    text_centred(cr, "Click a game to visit its page, or press Play to start quilting.", w / 2, 372, 19,
                 (1, 1, 1, 0.95), bold=False, outline=(0.1, 0.1, 0.2, 0.6), width=3)
    art.save_jpg(s, path)


def more_games(path):
    # It starts at the row's left edge: with three icons that leaves about 540 pixels of card.
    label = "More games from the Quiltora team"
    probe, pcr = art.surface(10, 10)
    pcr.select_font_face(art.FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    size = 28
    while size > 16:
        pcr.set_font_size(size)
        if pcr.text_extents(label).x_advance + 14 <= 540:
            break
        size -= 1
    w, h = int(pcr.text_extents(label).x_advance) + 14, 44
    s, cr = art.surface(w, h)
    cr.select_font_face(art.FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    cr.set_font_size(size)
    cr.move_to(6, 32)
    art.outlined_text(cr, label, art.vertical(cr, 8, 36, [(0, (1.0, 0.97, 0.86)), (1, CREAM)]), BROWN, 5)
    art.save_png(s, path)


def arrow(path, pointing_left):
    w, h = 44, 84
    s, cr = art.surface(w, h)
    art.rounded(cr, 2, 2, w - 4, h - 4, 14)
    art.fill_outlined(cr, art.vertical(cr, 0, h, [(0, rgb("F49656")), (1, rgb("DE6834"))]), rgb("8C3A1A"), 3)
    cx, cy = w / 2, h / 2
    d = -1 if pointing_left else 1
    cr.move_to(cx - 7 * d, cy - 16)
    cr.line_to(cx + 9 * d, cy)
    cr.line_to(cx - 7 * d, cy + 16)
    cr.set_source_rgb(1, 1, 1)
    cr.set_line_width(6)
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    cr.set_line_join(cairo.LINE_JOIN_ROUND)
    cr.stroke()
    art.save_png(s, path)


def big_button(path, label):
    w, h = 220, 64
    art.button_view(path, w, h, "Normal")
    s = cairo.ImageSurface.create_from_png(path)
    cr = cairo.Context(s)
    text_centred(cr, label, w / 2, h / 2 + 10, 28, (1, 1, 1, 1), outline=(0.15, 0.26, 0.43, 1), width=4)
    art.save_png(s, path)


# ---- the package's pictures ----

def icon_needle(cr, c1, c2):
    # A spool of thread with a needle through a quilt patch.
    art.patch(cr, 14, 14, 72, c2)
    cr.set_source_rgb(*c1)
    art.rounded(cr, 30, 28, 40, 44, 6)
    cr.fill()
    cr.set_source_rgba(1, 1, 1, 0.5)
    cr.set_line_width(2)
    for y in range(33, 70, 6):
        cr.move_to(32, y)
        cr.line_to(68, y + 2)
        cr.stroke()
    cr.set_source_rgb(*rgb("8A5A3C"))
    for y in (24, 70):
        art.rounded(cr, 26, y, 48, 8, 3)
        cr.fill()
    cr.set_source_rgb(0.85, 0.87, 0.9)
    cr.set_line_width(3)
    cr.move_to(18, 86)
    cr.line_to(84, 16)
    cr.stroke()
    cr.arc(80, 20, 3, 0, 2 * math.pi)
    art.outline(cr, (0.5, 0.52, 0.56), 1.5)


def icon_pond(cr, c1, c2):
    # A pond with three lily pads made of patches.
    cr.arc(50, 52, 38, 0, 2 * math.pi)
    cr.set_source(art.vertical(cr, 14, 90, [(0, tuple(min(1, v + 0.15) for v in c1)), (1, c1)]))
    cr.fill()
    for x, y, r, col in ((36, 44, 14, c2), (64, 40, 11, rgb("74B45E")), (56, 68, 13, rgb("A4D07C"))):
        cr.move_to(x, y)
        cr.arc(x, y, r, 0.4, 2 * math.pi - 0.1)
        cr.close_path()
        cr.set_source_rgb(*col)
        cr.fill()
    cr.set_source_rgb(*rgb("E878B0"))
    for a in range(0, 360, 60):
        t = math.radians(a)
        cr.arc(36 + 5 * math.cos(t), 44 + 5 * math.sin(t), 3.5, 0, 2 * math.pi)
        cr.fill()
    cr.set_source_rgb(*rgb("FFD054"))
    cr.arc(36, 44, 3, 0, 2 * math.pi)
    cr.fill()


def icon_lantern(cr, c1, c2):
    # A lantern glowing over a woven square.
    for i in range(5):
        for j in range(5):
            col = c1 if (i + j) % 2 else tuple(min(1, v + 0.2) for v in c1)
            cr.rectangle(14 + i * 14.4, 46 + j * 8, 14.4, 8)
            cr.set_source_rgb(*col)
            cr.fill()
    art.glow(cr, 50, 40, 4, 36, [(0, (1, 0.9, 0.5, 0.9)), (1, (1, 0.9, 0.5, 0))])
    cr.set_source_rgb(*rgb("5C341C"))
    art.rounded(cr, 38, 16, 24, 6, 2)
    cr.fill()
    art.rounded(cr, 36, 58, 28, 6, 2)
    cr.fill()
    art.rounded(cr, 38, 22, 24, 36, 6)
    art.fill_outlined(cr, c2, rgb("5C341C"), 2.5)
    cr.set_source_rgb(1, 0.97, 0.8)
    cr.move_to(50, 30)
    cr.curve_to(56, 38, 54, 48, 50, 50)
    cr.curve_to(46, 48, 44, 38, 50, 30)
    cr.fill()


DRAW = {"needle": icon_needle, "pond": icon_pond, "lantern": icon_lantern}


def icon(path, name, kind, c1, c2):
    w, h = 100, 126
    s, cr = art.surface(w, h)
    art.rounded(cr, 2, 2, 96, 96, 20)
    art.fill_outlined(cr, art.vertical(cr, 2, 98, [(0, rgb("FFF6E2")), (1, rgb("F3DFB8"))]), BROWN, 3)
    cr.save()
    art.rounded(cr, 4, 4, 92, 92, 18)
    cr.clip()
    DRAW[kind](cr, c1, c2)
    cr.restore()
    size = 13
    while True:
        cr.select_font_face(art.FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
        cr.set_font_size(size)
        if cr.text_extents(name).x_advance <= 96 or size <= 9:
            break
        size -= 1
    text_centred(cr, name, w / 2, 118, size, (1, 1, 1, 1), outline=(0.1, 0.1, 0.2, 0.85), width=3)
    art.save_png(s, path)


def banner(path, name, tag, kind, c1, c2):
    w, h = 700, 110
    s, cr = art.surface(w, h)
    art.rounded(cr, 3, 3, w - 6, h - 6, 24)
    art.fill_outlined(cr, art.vertical(cr, 0, h, [(0, tuple(min(1, v + 0.1) for v in c1)),
                                                  (1, tuple(v * 0.8 for v in c1))]),
                      (*CREAM, 0.9), 3)
    art.rounded(cr, 11, 11, w - 22, h - 22, 17)
    art.stitch(cr, (1, 1, 1, 0.5), 2, [9, 6])
    # The game's picture on a cream tile at the left, a row of patches at the right.
    cr.save()
    cr.translate(22, 7)
    art.rounded(cr, 0, 0, 96, 96, 18)
    cr.set_source_rgb(*rgb("FFF6E2"))
    cr.fill()
    art.rounded(cr, 2, 2, 92, 92, 16)
    cr.clip()
    DRAW[kind](cr, c1, c2)
    cr.restore()
    for i, col in enumerate(PATCHES[:4]):
        art.patch(cr, 560 + i * 30, 20, 24, col)
    cr.select_font_face(art.FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    cr.set_font_size(34)
    cr.move_to(140, 52)
    art.outlined_text(cr, name, CREAM, BROWN, 5)
    cr.select_font_face(art.FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_NORMAL)
    cr.set_font_size(17)
    cr.move_to(142, 84)
    cr.set_source_rgb(1, 1, 1)
    cr.show_text(tag + " - from the Quiltora team")
    art.save_png(s, path)


def description():
    lines = ["<HEADER>", "HEADERVARS|5", "ICONVARS|3", "BANERVARS|4", "ALTBANERVARS|3", "VERSION|1"]
    for gid, _name, _tag, _kind, _c1, _c2 in GAMES:
        lines += ["<ICON>", "APPID|" + gid,
                  "URL|https://games.quiltora.invalid/%s/?utm_source=$UTMSOURCE$&utm_medium=launcher" % gid,
                  "GFX|%s.png" % gid]
    lines += ["<BANER>", "APPID|stitchwise", "URL|https://games.quiltora.invalid/stitchwise/",
              "GFX|baner.png", "SHOWIFBUY|0"]
    return "\n".join(lines) + "\n"


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else "data"
    folder = os.path.join(data, "launcher")
    package = os.path.join(folder, "package")
    os.makedirs(package, exist_ok=True)
    background(os.path.join(folder, "background.jpg"))
    more_games(os.path.join(folder, "moreGames.png"))
    arrow(os.path.join(folder, "left.png"), True)
    arrow(os.path.join(folder, "right.png"), False)
    big_button(os.path.join(folder, "play.png"), "Play")
    big_button(os.path.join(folder, "back.png"), "Back")
    for gid, name, tag, kind, c1, c2 in GAMES:
        icon(os.path.join(package, gid + ".png"), name, kind, c1, c2)
    gid, name, tag, kind, c1, c2 = GAMES[0]
    banner(os.path.join(package, "baner.png"), name, tag, kind, c1, c2)
    with open(os.path.join(package, "launcher.dat"), "w", newline="\n") as fh:
        fh.write(description())
    with open(os.path.join(folder, "server.txt"), "w", newline="\n") as fh:
        fh.write("http://updates.quiltora.invalid\n")


if __name__ == "__main__":
    main()
