#!/usr/bin/env python3
"""Draws and lays out the rate screen: its pictures, its screen file, its texts and its address.

    /usr/bin/python3 tools/make_rate_screen.py [data folder]     (default: data)

Writes "Screens/RateScreen/" (Background.jpg, Panel.png, Stars.png, the button views and
RateScreen.AppScreen), the screen's text file "Local/en/RateScreen.txt" and the review page's
address "Screens/RateScreen/RateURL.txt" (a name in the reserved domain "invalid" until the game
has a real review page).

The look is the main menu's (the helpers of tools/artlib.py and the screen writer of
tools/make_shell_screens.py): the meadow scenery, a navy panel with cream stitching,
orange buttons with the "Button" text style.

Objects the rate screen's code needs: the message text 500 (its line is set when the screen is
prepared), the buttons 1 (rate now) and 2 (back).
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import artlib as art  # noqa: E402
import make_shell_screens as screens  # noqa: E402

cairo = art.cairo
rgb = art.rgb

TEXTS = [
    "Thank you! Your review helps other puzzle lovers find Quiltora.",             # 1: after rating
    "The review page could not be opened. Please try again later.",                # 2: no page opened
    "Enjoying Quiltora? A short review helps us a lot and only takes a minute.",   # 3: the message
    "Rate now",                                                                    # 4
    "Not now",                                                                     # 5
    "Rate Quiltora",                                                               # 6: the title
]
RATE_URL = "https://reviews.quiltora.invalid/quiltora"

PANEL = (262, 176, 500, 420)  # logical x, y, width, height


def background(path):
    w, h = 1366, 768
    s, cr = art.surface(w, h)
    art.scenery(cr, w, h, 470)
    art.save_jpg(s, path)


def panel(path):
    w, h = PANEL[2], PANEL[3]
    s, cr = art.surface(w, h)
    art.rounded(cr, 6, 10, w - 12, h - 14, 30)
    cr.set_source_rgba(0, 0, 0, 0.22)
    cr.fill()
    art.rounded(cr, 4, 4, w - 8, h - 12, 30)
    art.fill_outlined(cr, art.vertical(cr, 4, h - 8, [(0, (0.235, 0.290, 0.455, 0.93)),
                                                      (1, (0.17, 0.21, 0.35, 0.93))]),
                      (*art.CREAM, 0.85), 3)
    art.rounded(cr, 16, 16, w - 32, h - 36, 22)
    art.stitch(cr, (*art.CREAM, 0.45), 2, [9, 7])
    art.save_png(s, path)


def star(cr, cx, cy, r):
    cr.new_path()
    for i in range(10):
        a = -math.pi / 2 + i * math.pi / 5
        rr = r if i % 2 == 0 else r * 0.45
        cr.line_to(cx + rr * math.cos(a), cy + rr * math.sin(a))
    cr.close_path()


def stars(path):
    w, h = 260, 52
    s, cr = art.surface(w, h)
    for i in range(5):
        cx, cy, r = 26 + i * 52, 27, 23
        star(cr, cx, cy + 2, r)
        cr.set_source_rgba(0, 0, 0, 0.25)
        cr.fill()
        star(cr, cx, cy, r)
        g = cairo.LinearGradient(0, cy - r, 0, cy + r)
        g.add_color_stop_rgb(0, *rgb("FFE27A"))
        g.add_color_stop_rgb(1, *rgb("F4A93C"))
        cr.set_source(g)
        cr.fill_preserve()
        cr.set_source_rgb(*art.BROWN)
        cr.set_line_width(2.5)
        cr.set_line_join(cairo.LINE_JOIN_ROUND)
        cr.stroke()
    art.save_png(s, path)


def layout():
    x, y, w, h = PANEL
    views = "#BDIR#Screens/RateScreen/Button"
    bw, bh = 220, 56
    bx = x + (w - bw) // 2
    return [
        screens.image("Background", 100, -171, 0, 0),
        screens.image("Panel", 101, x, y, 10),
        screens.text("Title", 102, x, y + 22, w, 50, 6, "Title", 12),
        screens.image("Stars", 103, x + (w - 260) // 2, y + 84, 12),
        screens.text("Message", 500, x + 40, y + 146, w - 80, 100, 3, "RateMessage", 12),
        screens.button("RateNow", 1, bx, y + 262, bw, bh, 4, views, 20),
        screens.button("Back", 2, bx, y + 330, bw, bh, 5, views, 20),
    ]


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else "data"
    folder = os.path.join(data, "Screens/RateScreen")
    os.makedirs(folder, exist_ok=True)
    background(os.path.join(folder, "Background.jpg"))
    panel(os.path.join(folder, "Panel.png"))
    stars(os.path.join(folder, "Stars.png"))
    for view in art.VIEWS:
        art.button_view(os.path.join(folder, "Button" + view + ".png"), 220, 56, view)
    screens.write_screen(os.path.join(folder, "RateScreen.AppScreen"), "RateScreen", layout())
    with open(os.path.join(data, "Local/en/RateScreen.txt"), "w", newline="\n") as fh:
        fh.write("\n".join(TEXTS) + "\n")
    with open(os.path.join(folder, "RateURL.txt"), "w", newline="\n") as fh:
        fh.write(RATE_URL + "\n")


if __name__ == "__main__":
    main()
