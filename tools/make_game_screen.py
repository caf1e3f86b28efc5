#!/usr/bin/python3
"""Writes the game screen's file and the pictures of its objects (pycairo, Debian package
python3-cairo).

    /usr/bin/python3 tools/make_game_screen.py

Writes data/Screens/MainGame/GameScreen.AppScreen, its text file data/Local/en/GameScreen.txt,
and beside the screen file the pictures its objects show by name: the panel's card, the star and
its slot, the colour swatch and its frame button, and the menu and help buttons.

It also draws the pictures the game draws itself over the panel (made at twice the size they
show, since the panel draws them at half scale, each with its top-left corner on its point):
    Picker-Circle-Fill.png, Picker-Circle-Frame.png   a colour button: white swatch (the colour
                                    tints it) and its ring, 36 pixels on screen, the ring 4 wider
    Picker-Tick.png, Color-Picked.png   the tick of a finished colour, the current colour's halo
    Hint-0.png, Hint-1.png          a hint button full and empty (the charge gauge shows the lower
                                    part of the full one over the empty one), 50 pixels
    reka-normal/over.png, hak-normal/over.png   the hand and hammer tool buttons, 64 pixels
    frame.png                       the frame around the current tool (64 pixels, drawn 1:1)
and, below data/, the pictures of the game's flights and effects:
    Effects/Stars/star-1.png        the flying star (the panel's star)
    Effects/ball.png                the ball of a flying hint's trail (white: the trail tints it)
    Effects/Hint.png                a hint charge on its way to its button (drawn additively)
    Effects/hammer/hammer-1..42.png the hammer striking, 42 frames of one loop, centred
The ten backgrounds (objects 1001 to 1010, all disabled: the screen enables one at random each time a
level opens) are drawn by tools/make_playfield_images.py.

The panel: one object "GamePanel" whose place the game keeps at the window's right edge; its
children lie to the left of it (negative x):
    PanelBack                       the card
    StarsPanel > StarSlot1..3, Star1..3
    ColorsPicker > PickerColorImage, PickerColor (button), Picker-Color-1..3 (points)
    HintsPanel > Hint-1..6 (points, 50 x 50)
    ToolsPanel > ToolHand, ToolHammer (points)
    Mistakes                        the mistake counter (text line 1 is its label)
    MenuButton, HelpButton
A point is an empty object: the panel's widgets are drawn with their top-left corner on it.
"""
import math
import os
import sys

import cairo

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import fill_outlined, glow, outline, rgba, rounded, star_path, stitch  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCREEN_DIR = os.path.join(ROOT, "data", "Screens", "MainGame")
EFFECTS_DIR = os.path.join(ROOT, "data", "Effects")
# The game asks for "effects/hammer/...": the data folder was made for a file system that ignores
# letter case, where that is the folder Effects; the game's path lookup finds it the same way. A
# second folder "effects" beside "Effects" would hide the first from lookups that ignore case.
HAMMER_DIR = os.path.join(ROOT, "data", "Effects", "hammer")
TEXT_FILE = os.path.join(ROOT, "data", "Local", "en", "GameScreen.txt")

TEXTS = ["Mistakes", "Menu", "Help"]

# The card of the panel, relative to the panel's place (the window's top-right corner).
CARD_X, CARD_Y, CARD_W, CARD_H = -188, 8, 180, 752
MID = CARD_W // 2  # the card's middle, relative to its left edge


def vertical(y0, y1, top, bottom):
    g = cairo.LinearGradient(0, y0, 0, y1)
    g.add_color_stop_rgba(0, *top)
    g.add_color_stop_rgba(1, *bottom)
    return g


def image(name, w, h, draw, folder=SCREEN_DIR):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    cr = cairo.Context(s)
    draw(cr, w, h)
    path = os.path.join(folder, name + ".png")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    s.write_to_png(path)
    print("made", os.path.relpath(path, ROOT))


# ---------------------------------------------------------------------------------------------
# Pictures

def well(cr, x, y, w, h, r):
    """A shallow recess in the card."""
    rounded(cr, x, y, w, h, r)
    cr.set_source_rgba(0.1, 0.03, 0.06, 0.28)
    cr.fill()
    rounded(cr, x + 0.5, y + 1.5, w - 1, h - 1.5, r)
    outline(cr, (1, 0.95, 0.9, 0.12), 1.5)


def draw_card(cr, w, h):
    # Shadow, then the quilted card with a stitched seam.
    rounded(cr, 3, 6, w - 6, h - 8, 22)
    cr.set_source_rgba(0.12, 0.04, 0.06, 0.35)
    cr.fill()
    rounded(cr, 2, 2, w - 6, h - 8, 22)
    fill_outlined(cr, vertical(0, h, rgba("#7a4a62"), rgba("#4e2c40")), rgba("#f0c987", 0.95), 3)
    rounded(cr, 11, 11, w - 24, h - 26, 15)
    stitch(cr, (1, 0.92, 0.8, 0.45), 1.8, [7.0, 6.0])
    # Wells under the stars, the colours, the hints, the tools and the counter.
    ox, oy = -CARD_X, -CARD_Y  # from panel coordinates to the card's pixels
    well(cr, 16, STARS_Y - CARD_Y - 6, w - 36, 64, 14)
    well(cr, 16, COLORS_Y - CARD_Y - 8, w - 36, 134, 14)
    well(cr, 16, HINTS_Y - CARD_Y - 10, w - 36, 190, 14)
    well(cr, 16, TOOLS_Y - CARD_Y - 10, w - 36, 86, 14)
    well(cr, 16, MISTAKES_Y - CARD_Y - 4, w - 36, 40, 12)
    # A socket under each hint button, so that a slot the level does not offer shows empty.
    for i in range(6):
        col, row = i % 2, i // 2
        cx = MID - 58 + col * 66 + 25
        cy = HINTS_Y - CARD_Y + row * 60 + 25
        cr.arc(cx, cy + 1, 22, 0, 2 * math.pi)
        cr.set_source_rgba(0.1, 0.03, 0.06, 0.3)
        cr.fill()
        cr.arc(cx, cy, 19, 0, 2 * math.pi)
        stitch(cr, (1, 0.92, 0.8, 0.22), 1.5, [4.0, 4.0])
    del ox, oy


def draw_star(cr, w, h):
    c = w / 2
    star_path(cr, c, c + 2, 21, 9.5)
    cr.set_source_rgba(0.25, 0.1, 0.0, 0.35)
    cr.fill()
    star_path(cr, c, c, 21, 9.5)
    g = cairo.LinearGradient(0, 0, 0, h)
    g.add_color_stop_rgba(0, *rgba("#fff3a6"))
    g.add_color_stop_rgba(0.5, *rgba("#ffd23c"))
    g.add_color_stop_rgba(1, *rgba("#f0a418"))
    cr.set_source(g)
    cr.fill_preserve()
    cr.set_line_join(cairo.LINE_JOIN_ROUND)
    outline(cr, rgba("#9a5a10"), 2.5)
    star_path(cr, c - 3, c - 4, 8, 3.5)
    cr.set_source_rgba(1, 1, 1, 0.6)
    cr.fill()


def draw_star_slot(cr, w, h):
    c = w / 2
    star_path(cr, c, c, 21, 9.5)
    cr.set_source_rgba(0.08, 0.02, 0.05, 0.45)
    cr.fill_preserve()
    cr.set_line_join(cairo.LINE_JOIN_ROUND)
    outline(cr, (1, 0.9, 0.75, 0.35), 2)


def draw_swatch(cr, w, h):
    """White, so that the current colour tints it."""
    rounded(cr, 1, 1, w - 2, h - 2, 12)
    g = cairo.LinearGradient(0, 0, w, h)
    g.add_color_stop_rgba(0, 1, 1, 1, 1)
    g.add_color_stop_rgba(1, 0.8, 0.8, 0.8, 1)
    cr.set_source(g)
    cr.fill()
    rounded(cr, 8, 8, w - 16, h - 16, 7)
    stitch(cr, (0.55, 0.55, 0.55, 1), 2, [5.0, 5.0])


def swatch_frame(glow, press):
    def draw(cr, w, h):
        if glow:
            rounded(cr, 1, 1, w - 2, h - 2, 16)
            outline(cr, (1, 0.95, 0.7, glow), 5)
        rounded(cr, 4, 4, w - 8, h - 8, 13)
        outline(cr, rgba("#f0c987" if not press else "#c99a55"), 4 if not press else 5)
        rounded(cr, 7, 7, w - 14, h - 14, 10)
        outline(cr, (0.2, 0.07, 0.1, 0.6), 1.5)
    return draw


def round_button(icon, top, bottom, rim):
    def draw(cr, w, h):
        c = w / 2
        cr.arc(c, c + 2, c - 2, 0, 2 * math.pi)
        cr.set_source_rgba(0.1, 0.03, 0.05, 0.4)
        cr.fill()
        cr.arc(c, c, c - 3, 0, 2 * math.pi)
        fill_outlined(cr, vertical(0, h, rgba(top), rgba(bottom)), rgba(rim), 2.5)
        cr.arc(c, c - 6, c - 12, math.pi, 2 * math.pi)
        cr.set_source_rgba(1, 1, 1, 0.22)
        cr.fill()
        cr.set_source_rgba(1, 1, 1, 1)
        icon(cr, c)
    return draw


def menu_icon(cr, c):
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    cr.set_line_width(4.5)
    for dy in (-9, 0, 9):
        cr.move_to(c - 11, c + dy)
        cr.line_to(c + 11, c + dy)
    cr.stroke()


def help_icon(cr, c):
    cr.select_font_face("DejaVu Sans", cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    cr.set_font_size(32)
    e = cr.text_extents("?")
    cr.move_to(c - e.x_bearing - e.width / 2, c - e.y_bearing - e.height / 2)
    cr.show_text("?")


BUTTON_VIEWS = (("Normal", "#f6a35c", "#d9682e", "#7a3212"),
                ("Over", "#ffc07c", "#ec8548", "#7a3212"),
                ("Click", "#d9682e", "#c25a24", "#5e260e"),
                ("Disabled", "#b9aaa2", "#8f8079", "#5a4d47"))


# ---------------------------------------------------------------------------------------------
# The game's own widgets over the panel (twice their size on screen)

GOLD = "#f0c987"
PLUM_DARK = "#3e2433"


def draw_picker_fill(cr, w, h):
    """Grey tones only: the colour of the layer multiplies them."""
    c = w / 2
    cr.arc(c, c, c - 1, 0, 2 * math.pi)
    g = cairo.LinearGradient(0, 0, w, h)
    g.add_color_stop_rgba(0, 1, 1, 1, 1)
    g.add_color_stop_rgba(1, 0.74, 0.74, 0.74, 1)
    cr.set_source(g)
    cr.fill()
    cr.arc(c, c, c - 9, 0, 2 * math.pi)
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    stitch(cr, (0.55, 0.55, 0.55, 0.9), 2.5, [6.0, 5.0])
    g = cairo.RadialGradient(c - 10, c - 12, 1, c - 10, c - 12, c * 0.8)
    g.add_color_stop_rgba(0, 1, 1, 1, 0.75)
    g.add_color_stop_rgba(1, 1, 1, 1, 0)
    cr.set_source(g)
    cr.arc(c, c, c - 1, 0, 2 * math.pi)
    cr.fill()


def draw_picker_frame(cr, w, h):
    """The ring around a 72-pixel swatch whose corner lies 8 pixels in."""
    c = w / 2
    cr.arc(c, c + 2, 38, 0, 2 * math.pi)
    outline(cr, (0.12, 0.04, 0.06, 0.35), 6)
    cr.arc(c, c, 38, 0, 2 * math.pi)
    cr.set_line_width(5.5)
    g = cairo.LinearGradient(0, c - 40, 0, c + 40)
    g.add_color_stop_rgba(0, *rgba("#fbe6b4"))
    g.add_color_stop_rgba(1, *rgba("#c9964e"))
    cr.set_source(g)
    cr.stroke()
    cr.arc(c, c, 35.2, 0, 2 * math.pi)
    outline(cr, rgba("#5e2f1a", 0.8), 1.6)
    cr.arc(c, c, 40.8, 0, 2 * math.pi)
    outline(cr, rgba("#5e2f1a", 0.6), 1.4)


def draw_picker_tick(cr, w, h):
    def path():
        cr.move_to(w * 0.22, h * 0.52)
        cr.line_to(w * 0.42, h * 0.72)
        cr.line_to(w * 0.78, h * 0.28)
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    cr.set_line_join(cairo.LINE_JOIN_ROUND)
    path()
    outline(cr, rgba(PLUM_DARK, 0.85), 15)
    path()
    outline(cr, (1, 1, 1, 1), 8.5)


def draw_color_picked(cr, w, h):
    """A halo drawn additively around the current colour's ring (50 pixels on screen)."""
    c = w / 2
    glow(cr, c, c, 30, c, [(0, (1, 0.95, 0.7, 0)), (0.45, (1, 0.95, 0.75, 1)), (0.7, (1, 0.9, 0.6, 0.8)),
                           (1, (1, 0.85, 0.5, 0))])


def bulb_path(cr, c, top):
    """A light bulb: the glass round above, the neck narrowing into the cap."""
    r = 17
    gy = top + r
    cr.move_to(c - 8, gy + 21)
    cr.curve_to(c - 9, gy + 12, c - r, gy + 9, c - r, gy)
    cr.arc(c, gy, r, math.pi, 2 * math.pi)
    cr.curve_to(c + r, gy + 9, c + 9, gy + 12, c + 8, gy + 21)
    cr.close_path()
    return gy


def bulb_cap(cr, c, gy, colour, line):
    rounded(cr, c - 9, gy + 21, 18, 12, 3.5)
    fill_outlined(cr, colour, line, 2)
    cr.set_line_width(1.6)
    for dy in (25, 29):
        cr.move_to(c - 8, gy + dy)
        cr.line_to(c + 8, gy + dy)
    cr.stroke()


def hint_button(full):
    def draw(cr, w, h):
        c = w / 2
        cr.arc(c, c + 2, c - 3, 0, 2 * math.pi)
        cr.set_source_rgba(0.1, 0.03, 0.05, 0.4)
        cr.fill()
        cr.arc(c, c, c - 4, 0, 2 * math.pi)
        if full:
            cr.set_source(vertical(0, h, rgba("#ffe28a"), rgba("#f0962e")))
        else:
            cr.set_source(vertical(0, h, rgba("#6e4a5e"), rgba("#4a2b3c")))
        cr.fill_preserve()
        outline(cr, rgba("#7a3212" if full else "#2e1824"), 3)
        # The quilt's stitch inside the rim.
        cr.arc(c, c, c - 11, 0, 2 * math.pi)
        stitch(cr, rgba("#fff6d8", 0.8) if full else rgba("#e8cfe0", 0.25), 2, [5.0, 5.0])
        if full:
            glow(cr, c, 40, 2, 34, [(0, (1, 1, 0.9, 0.95)), (1, (1, 1, 0.8, 0))])
        gy = bulb_path(cr, c, 20)
        if full:
            g = cairo.RadialGradient(c - 5, gy - 6, 1, c, gy, 22)
            g.add_color_stop_rgba(0, 1, 1, 1, 1)
            g.add_color_stop_rgba(1, *rgba("#ffe680"))
            cr.set_source(g)
        else:
            cr.set_source_rgba(*rgba("#8c7082", 0.6))
        cr.fill_preserve()
        outline(cr, rgba("#8a4a14" if full else "#2e1824", 0.9), 2.5)
        bulb_cap(cr, c, gy, rgba("#fff4e0") if full else rgba("#9d8594"),
                 rgba("#8a4a14") if full else rgba("#2e1824"))
        # The filament.
        cr.set_line_width(2)
        cr.set_source_rgba(*rgba("#e07a10" if full else "#5e4252"))
        cr.move_to(c - 5, gy + 18)
        cr.line_to(c - 5, gy + 4)
        cr.line_to(c - 2, gy)
        cr.line_to(c + 2, gy + 4)
        cr.line_to(c + 5, gy)
        cr.line_to(c + 5, gy + 18)
        cr.stroke()
        # Rays.
        if full:
            cr.set_line_cap(cairo.LINE_CAP_ROUND)
            cr.set_line_width(3)
            cr.set_source_rgba(1, 1, 1, 0.95)
            for a in (-150, -115, -65, -30):
                t = math.radians(a)
                cr.move_to(c + 24 * math.cos(t), gy + 24 * math.sin(t))
                cr.line_to(c + 31 * math.cos(t), gy + 31 * math.sin(t))
            cr.stroke()
    return draw


def tool_back(cr, w, h, over):
    rounded(cr, 5, 8, w - 10, h - 11, 26)
    cr.set_source_rgba(0.1, 0.03, 0.05, 0.4)
    cr.fill()
    rounded(cr, 5, 5, w - 10, h - 11, 26)
    if over:
        cr.set_source(vertical(0, h, rgba("#fffaf0"), rgba("#ffe0a6")))
    else:
        cr.set_source(vertical(0, h, rgba("#fbeedd"), rgba("#e9cfa9")))
    cr.fill_preserve()
    outline(cr, rgba("#9a5a3a" if not over else "#c0703a"), 4)
    rounded(cr, 15, 15, w - 30, h - 31, 17)
    stitch(cr, rgba("#b88a64", 0.7), 2.5, [8.0, 7.0])


def capsule(cr, x1, y1, x2, y2, width):
    """A round-ended bar from (x1, y1) to (x2, y2), as a closed path."""
    a = math.atan2(y2 - y1, x2 - x1)
    r = width / 2
    cr.new_sub_path()
    cr.arc(x2, y2, r, a - math.pi / 2, a + math.pi / 2)
    cr.arc(x1, y1, r, a + math.pi / 2, a + 3 * math.pi / 2)
    cr.close_path()


def hand_icon(cr, w, h):
    """An open hand, palm toward the player."""
    skin_top, skin_bottom, line = rgba("#ffdcbc"), rgba("#f0b486"), rgba("#8a4b2a")
    cr.save()
    cr.translate(w / 2 + 4, h / 2 + 2)
    cr.rotate(math.radians(-8))
    parts = []
    fingers = ((-18, -8, -19, -36), (-6, -10, -6, -44), (6, -10, 7, -42), (17, -7, 19, -32))
    for x1, y1, x2, y2 in fingers:
        parts.append(lambda x1=x1, y1=y1, x2=x2, y2=y2: capsule(cr, x1, y1, x2, y2, 12.5))
    parts.append(lambda: capsule(cr, -20, 12, -36, -6, 13))
    parts.append(lambda: rounded(cr, -25, -14, 50, 46, 16))

    def fill_all():
        for p in parts:
            cr.new_path()
            p()
            cr.set_source(vertical(-44, 32, skin_top, skin_bottom))
            cr.fill()
    # Outline first, wide, then the skin over it, so that only the silhouette keeps a line.
    for p in parts:
        cr.new_path()
        p()
        outline(cr, line, 6)
    fill_all()
    # The creases between the fingers and the palm.
    cr.set_line_width(2)
    cr.set_line_cap(cairo.LINE_CAP_ROUND)
    cr.set_source_rgba(*rgba("#c27a50", 0.85))
    for x in (-12, 0, 12):
        cr.move_to(x, -14)
        cr.line_to(x, -6)
    cr.stroke()
    cr.arc(-2, 16, 12, math.radians(200), math.radians(300))
    cr.stroke()
    cr.restore()


def hammer_shape(cr, length, handle, head_w, head_h):
    """A hammer along +x from the origin (the handle's end) to its head at x = length."""
    rounded(cr, -2, -handle / 2, length + 4, handle, handle / 2.2)
    g = cairo.LinearGradient(0, -handle / 2, 0, handle / 2)
    g.add_color_stop_rgba(0, *rgba("#d9995a"))
    g.add_color_stop_rgba(1, *rgba("#8a5426"))
    fill_outlined(cr, g, rgba("#3b2414"), 2.5)
    # The grip.
    rounded(cr, -2, -handle / 2 - 1, length * 0.35, handle + 2, handle / 2.2)
    cr.set_source_rgba(*rgba("#c0392b"))
    cr.fill_preserve()
    cr.set_source_rgba(*rgba("#3b2414"))
    cr.stroke()
    rounded(cr, length - head_w / 2, -head_h / 2, head_w, head_h, 4)
    g = cairo.LinearGradient(length - head_w / 2, 0, length + head_w / 2, 0)
    g.add_color_stop_rgba(0, *rgba("#f1f4f6"))
    g.add_color_stop_rgba(1, *rgba("#8d979e"))
    fill_outlined(cr, g, rgba("#2a2f33"), 2.5)
    # The striking face, a little wider, on the side that leads the blow (-y).
    rounded(cr, length - head_w / 2 - 2, -head_h / 2 - 2, head_w + 4, 9, 2.5)
    cr.set_source_rgba(*rgba("#b8c1c7"))
    cr.fill_preserve()
    cr.set_source_rgba(*rgba("#2a2f33"))
    cr.stroke()


def hammer_icon(cr, w, h):
    cr.save()
    cr.translate(w * 0.72, h * 0.74)
    cr.rotate(math.radians(-135))
    hammer_shape(cr, 58, 11, 20, 44)
    cr.restore()


def tool_button(icon, over):
    def draw(cr, w, h):
        tool_back(cr, w, h, over)
        icon(cr, w, h)
    return draw


def draw_tool_frame(cr, w, h):
    rounded(cr, 1.5, 1.5, w - 3, h - 3, 14)
    outline(cr, rgba("#5e2f1a", 0.75), 3)
    rounded(cr, 3.5, 3.5, w - 7, h - 7, 12)
    outline(cr, rgba("#ffd75e"), 3.5)
    rounded(cr, 6, 6, w - 12, h - 12, 10)
    outline(cr, (1, 1, 1, 0.8), 1.5)


# ---------------------------------------------------------------------------------------------
# Flights and effects

def draw_ball(cr, w, h):
    c = w / 2
    glow(cr, c, c, 0, c, [(t, (1, 1, 1, 0.85 * (1 - t * t) ** 3)) for t in (i / 8 for i in range(9))])


def draw_hint_charge(cr, w, h):
    """A warm spark: a glow with a four-pointed star, drawn additively."""
    c = w / 2
    glow(cr, c, c, 0, c, [(0, (1, 0.95, 0.6, 0.9)), (0.5, (1, 0.75, 0.2, 0.35)), (1, (1, 0.6, 0.1, 0))])
    four_point_star(cr, c, c, c - 2, 0.2)
    cr.set_source_rgba(1, 1, 0.92, 1)
    cr.fill()


HAMMER_FRAMES = 42
HAMMER_SIZE = 128
PIVOT = (106.0, 84.0)   # the grip's end, about which the hammer swings
ARM = 64.0              # from the grip's end to the head's middle
HEAD_W, HEAD_H = 22.0, 46.0
GROUND = PIVOT[1] + HEAD_H / 2 + 2  # where the face meets the nail's head
RAISED, STRIKE = 250.0, 180.0  # degrees: head up and back, head down on the nail


def ease(t):
    return t * t * (3 - 2 * t)


def hammer_pose(t):
    """The swing's angle, the blow's speed (0..1) and the impact's age (0..1, or None) at the
    loop's fraction t."""
    if t < 0.5:          # lifting, slowing at the top
        return STRIKE + (RAISED - STRIKE) * math.sin(t / 0.5 * math.pi / 2), 0.0, None
    if t < 0.66:         # the blow, gathering speed
        u = (t - 0.5) / 0.16
        return RAISED + (STRIKE - RAISED) * u * u, u, None
    u = (t - 0.66) / 0.34  # on the nail: a small bounce, the sparks fly
    return STRIKE + 5.0 * math.sin(min(1.0, u * 3) * math.pi), 0.0, u


def four_point_star(cr, x, y, r, pinch=0.24):
    for i in range(8):
        a = math.radians(45 * i - 90)
        d = r if i % 2 == 0 else r * pinch
        (cr.move_to if i == 0 else cr.line_to)(x + d * math.cos(a), y + d * math.sin(a))
    cr.close_path()


def draw_hammer_frame(n):
    def draw(cr, w, h):
        angle, speed, impact = hammer_pose((n - 1) / HAMMER_FRAMES)
        px, py = PIVOT
        nail_x = px + ARM * math.cos(math.radians(STRIKE))
        # The nail it drives, sinking a little with each loop's blow.
        cr.set_line_cap(cairo.LINE_CAP_ROUND)
        cr.set_line_width(3.5)
        cr.set_source_rgba(*rgba("#4d555a"))
        cr.move_to(nail_x, GROUND + 1)
        cr.line_to(nail_x, GROUND + 12)
        cr.stroke()
        rounded(cr, nail_x - 7, GROUND - 1, 14, 4, 1.5)
        fill_outlined(cr, rgba("#9aa4ab"), rgba("#2a2f33"), 1.2)
        # The swish behind a fast blow.
        if speed > 0.35:
            for k, r in enumerate((ARM - 10, ARM + 4, ARM + 16)):
                cr.new_path()
                cr.arc(px, py, r, math.radians(angle + 8), math.radians(angle + 8 + 30 * speed))
                outline(cr, (1, 1, 1, 0.55 * speed), 3 - k * 0.6)
        cr.save()
        cr.translate(px, py)
        cr.rotate(math.radians(angle))
        hammer_shape(cr, ARM, 11, HEAD_W, HEAD_H)
        cr.restore()
        if impact is not None and impact < 0.75:
            u = impact / 0.75
            # A flash on the nail, then sparks flying out to both sides and fading.
            glow(cr, nail_x, GROUND, 0, 26, [(0, (1, 0.97, 0.75, 0.9 * (1 - u))), (1, (1, 0.8, 0.4, 0))])
            for k, a in enumerate((-172, -148, -124, -56, -32, -8)):
                t = math.radians(a)
                d = 14 + 20 * ease(u)
                r = (10 if k % 2 == 0 else 7) * (1 - 0.4 * u)
                four_point_star(cr, nail_x + d * math.cos(t), GROUND - 2 + d * math.sin(t), r)
                fill_outlined(cr, (1, 0.86, 0.3, 1 - u), (0.55, 0.3, 0.05, 0.8 * (1 - u)), 1)
    return draw


def main_effects():
    image("Picker-Circle-Fill", 72, 72, draw_picker_fill)
    image("Picker-Circle-Frame", 88, 88, draw_picker_frame)
    image("Picker-Tick", 56, 56, draw_picker_tick)
    image("Color-Picked", 100, 100, draw_color_picked)
    image("Hint-0", 100, 100, hint_button(True))
    image("Hint-1", 100, 100, hint_button(False))
    image("reka-normal", 128, 128, tool_button(hand_icon, False))
    image("reka-over", 128, 128, tool_button(hand_icon, True))
    image("hak-normal", 128, 128, tool_button(hammer_icon, False))
    image("hak-over", 128, 128, tool_button(hammer_icon, True))
    image("frame", 64, 64, draw_tool_frame)
    image("star-1", STAR, STAR, draw_star, os.path.join(EFFECTS_DIR, "Stars"))
    image("ball", 16, 16, draw_ball, EFFECTS_DIR)
    image("Hint", 48, 48, draw_hint_charge, EFFECTS_DIR)
    for n in range(1, HAMMER_FRAMES + 1):
        image("hammer-%d" % n, HAMMER_SIZE, HAMMER_SIZE, draw_hammer_frame(n), HAMMER_DIR)


# ---------------------------------------------------------------------------------------------
# Layout (y of each group, relative to the panel's place)

STARS_Y = 28
STAR, STAR_STEP = 46, 46
COLORS_Y = 112
HINTS_Y = 272
TOOLS_Y = 486
MISTAKES_Y = 600
BUTTONS_Y = 680


# ---------------------------------------------------------------------------------------------
# The screen file

class Obj:
    def __init__(self, name, oid, kind=0, x=0.0, y=0.0, layer=0, enabled=1, load=1, rgb=(255, 255, 255),
                 own=None, subs=None, collider=None, draw=None):
        self.name, self.id, self.kind = name, oid, kind
        self.x, self.y, self.layer, self.enabled, self.load = x, y, layer, enabled, load
        self.rgb, self.own, self.subs = rgb, own or [], subs or []
        self.collider, self.draw = collider, draw

    def write(self, out, depth, internal):
        t = "\t" * depth
        w = out.append
        w(t + "GameObject{")
        w(t + "\tBasic{")
        w(t + '\t\tName = "%s"' % self.name)
        w(t + "\t\tId = %d" % self.id)
        w(t + "\t\tType = %d" % self.kind)
        w(t + "\t\tEnabled = %d" % self.enabled)
        w(t + "\t\tDrawLayer = %d" % self.layer)
        w(t + "\t\tUpdateLayer = 0")
        w(t + "\t}")
        w(t + "\tFlags{")
        w(t + "\t\tisGlobal = 0")
        w(t + "\t\tisSavedInternaly = %d" % internal)
        w(t + "\t\tisNotSaved = 0")
        w(t + "\t\tisAssetToBeLoad = %d" % self.load)
        w(t + "\t\tisUpdatedWithDraw = 0")
        w(t + "\t}")
        w(t + "\tStates{")
        w(t + "\t\tState{")
        w(t + '\t\t\tName = "DEFAULT"')
        w(t + '\t\t\tDim = "%.6f,%.6f,0.00000000,0.00000000,0.00000000,0.00000000,0.00000000,0.00000000,'
              '0.00000000,0,0"' % (self.x, self.y))
        w(t + '\t\t\tTFR = "1.00000000,1.00000000,0.00000000,0.00000000,0"')
        w(t + '\t\t\tRGB = "%d,%d,%d,1.00000000,1.00000000"' % self.rgb)
        w(t + "\t\t}")
        w(t + "\t}")
        w(t + "\tComponents{")
        if self.collider:
            cw, ch = self.collider
            w(t + "\t\tComponent{")
            w(t + "\t\t\tType = 1")
            w(t + '\t\t\tName = "Collider"')
            w(t + "\t\t\tShape{")
            w(t + "\t\t\t\tPoints = 4")
            w(t + "\t\t\t\tCenter = 0.00000000, 0.00000000")
            for i, (px, py) in enumerate(((0, 0), (cw, 0), (cw, ch), (0, ch)), start=1):
                w(t + "\t\t\t\tPoint%d = %.8f, %.8f" % (i, px, py))
            w(t + "\t\t\t}")
            w(t + "\t\t}")
        w(t + "\t}")
        if self.draw:
            w(t + "\tDrawObject{")
            for line in self.draw:
                w(t + "\t\t" + line)
            w(t + "\t}")
        w(t + "\tOwnData{")
        for line in self.own:
            w(t + "\t\t" + line)
        w(t + "\t}")
        w(t + "\tSubObjects{")
        for sub in self.subs:
            sub.write(out, depth + 2, 0)
        w(t + "\t}")
        w(t + "}")


IMAGE, TEXT, BUTTON = 2, 1, 3


def point(name, oid, x, y):
    return Obj(name, oid, 0, x, y, layer=40)


def picture(name, oid, x, y, layer, url=None, load=1, enabled=1):
    own = ['imageUrl = "#BDIR#Screens/MainGame/%s.png"' % url] if url else []
    return Obj(name, oid, IMAGE, x, y, layer=layer, own=own, load=load, enabled=enabled)


def button(name, oid, x, y, w, h, views, layer):
    subs = [picture(view, oid + 1 + i, 0, 0, layer) for i, view in enumerate(views)]
    return Obj(name, oid, BUTTON, x, y, layer=layer, collider=(w, h),
               own=["Sizes = %d, %d" % (w, h), "ChangeSpeed = 0.100000001"], subs=subs)


def build_objects():
    objects = []
    for n in range(1, 11):
        objects.append(picture("Background%d" % n, 1000 + n, -171, 0, 0, load=0, enabled=0))

    stars = []
    for i in range(3):
        sx = MID + (i - 1) * STAR_STEP - STAR // 2
        sy = 4 if i == 1 else 10
        stars.append(picture("StarSlot%d" % (i + 1), 2011 + i, sx, sy, 11, url="PanelStarSlot"))
    for i in range(3):
        sx = MID + (i - 1) * STAR_STEP - STAR // 2
        sy = 4 if i == 1 else 10
        stars.append(picture("Star%d" % (i + 1), 2001 + i, sx, sy, 12, url="PanelStar"))

    colors = [picture("PickerColorImage", 2101, MID - 32, 0, 12),
              button("PickerColor", 2110, MID - 36, -4, 72, 72,
                     ["PickerColorNormal", "PickerColorOver", "PickerColorClick", "PickerColorDisabled"], 13)]
    for i in range(3):
        colors.append(point("Picker-Color-%d" % (i + 1), 2121 + i, MID - 18 + (i - 1) * 46, 84))

    hints = []
    for i in range(6):
        col, row = i % 2, i // 2
        hints.append(point("Hint-%d" % (i + 1), 2201 + i, MID - 58 + col * 66, row * 60))

    tools = [point("ToolHand", 2301, MID - 70, 0), point("ToolHammer", 2302, MID + 6, 0)]

    panel = Obj("GamePanel", 2000, 0, 0, 0, layer=10, subs=[
        picture("PanelBack", 2900, CARD_X, CARD_Y, 10),
        Obj("StarsPanel", 2010, 0, CARD_X, STARS_Y, layer=10, subs=stars),
        Obj("ColorsPicker", 2100, 0, CARD_X, COLORS_Y, layer=10, subs=colors),
        Obj("HintsPanel", 2200, 0, CARD_X, HINTS_Y, layer=10, subs=hints),
        Obj("ToolsPanel", 2300, 0, CARD_X, TOOLS_Y, layer=10, subs=tools),
        Obj("Mistakes", 2400, TEXT, CARD_X + 10, MISTAKES_Y, layer=14,
            own=["Sizes = %d, 32" % (CARD_W - 20), "TextLine = 1", 'Class = "GamePanel"']),
        button("MenuButton", 2500, CARD_X + MID - 66, BUTTONS_Y, 56, 56,
               ["MenuNormal", "MenuOver", "MenuClick", "MenuDisabled"], 14),
        button("HelpButton", 2510, CARD_X + MID + 10, BUTTONS_Y, 56, 56,
               ["HelpNormal", "HelpOver", "HelpClick", "HelpDisabled"], 14),
    ])
    objects.append(panel)
    return objects


def write_screen():
    out = ["Data{", '\tName = "GameScreen"', "}", "Assets{", "}", "Flags{", "\tisSetupedAtLoading = 1",
           "\tisFreedByLeave = 0", "}", "Objects{"]
    for obj in build_objects():
        obj.write(out, 1, 1)
    out.append("}")
    path = os.path.join(SCREEN_DIR, "GameScreen.AppScreen")
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(out) + "\n")
    print("made", os.path.relpath(path, ROOT))
    os.makedirs(os.path.dirname(TEXT_FILE), exist_ok=True)
    with open(TEXT_FILE, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(TEXTS) + "\n")
    print("made", os.path.relpath(TEXT_FILE, ROOT))


def main():
    os.makedirs(SCREEN_DIR, exist_ok=True)
    image("PanelBack", CARD_W, CARD_H, draw_card)
    image("PanelStar", STAR, STAR, draw_star)
    image("PanelStarSlot", STAR, STAR, draw_star_slot)
    image("PickerColorImage", 64, 64, draw_swatch)
    for view, shine, press in (("Normal", 0, False), ("Over", 0.7, False), ("Click", 0.4, True),
                              ("Disabled", 0, False)):
        image("PickerColor" + view, 72, 72, swatch_frame(shine, press))
    for view, top, bottom, rim in BUTTON_VIEWS:
        image("Menu" + view, 56, 56, round_button(menu_icon, top, bottom, rim))
        image("Help" + view, 56, 56, round_button(help_icon, top, bottom, rim))
    main_effects()
    write_screen()


if __name__ == "__main__":
    main()
