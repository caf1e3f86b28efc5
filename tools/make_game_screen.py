#!/usr/bin/python3
"""Writes the game screen's file and the pictures of its objects (pycairo, Debian package
python3-cairo).

    /usr/bin/python3 tools/make_game_screen.py

Writes data/Screens/MainGame/GameScreen.AppScreen, its text file data/Local/en/GameScreen.txt,
and beside the screen file the pictures its objects show by name: the panel's card, the star and
its slot, the colour swatch and its frame button, and the menu and help buttons. The ten
backgrounds (objects 1001 to 1010, all disabled: the screen enables one at random each time a
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

import cairo

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCREEN_DIR = os.path.join(ROOT, "data", "Screens", "MainGame")
TEXT_FILE = os.path.join(ROOT, "data", "Local", "en", "GameScreen.txt")

TEXTS = ["Mistakes", "Menu", "Help"]

# The card of the panel, relative to the panel's place (the window's top-right corner).
CARD_X, CARD_Y, CARD_W, CARD_H = -188, 8, 180, 752
MID = CARD_W // 2  # the card's middle, relative to its left edge


def rgb(hexcode, a=1.0):
    hexcode = hexcode.lstrip("#")
    return tuple(int(hexcode[i:i + 2], 16) / 255.0 for i in (0, 2, 4)) + (a,)


def rounded_rect(cr, x, y, w, h, r):
    cr.new_sub_path()
    cr.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    cr.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    cr.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    cr.arc(x + r, y + r, r, math.pi, 1.5 * math.pi)
    cr.close_path()


def vertical(y0, y1, top, bottom):
    g = cairo.LinearGradient(0, y0, 0, y1)
    g.add_color_stop_rgba(0, *top)
    g.add_color_stop_rgba(1, *bottom)
    return g


def image(name, w, h, draw):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
    cr = cairo.Context(s)
    draw(cr, w, h)
    path = os.path.join(SCREEN_DIR, name + ".png")
    s.write_to_png(path)
    print("made", os.path.relpath(path, ROOT))


# ---------------------------------------------------------------------------------------------
# Pictures

def well(cr, x, y, w, h, r):
    """A shallow recess in the card."""
    rounded_rect(cr, x, y, w, h, r)
    cr.set_source_rgba(0.1, 0.03, 0.06, 0.28)
    cr.fill()
    rounded_rect(cr, x + 0.5, y + 1.5, w - 1, h - 1.5, r)
    cr.set_line_width(1.5)
    cr.set_source_rgba(1, 0.95, 0.9, 0.12)
    cr.stroke()


def draw_card(cr, w, h):
    # Shadow, then the quilted card with a stitched seam.
    rounded_rect(cr, 3, 6, w - 6, h - 8, 22)
    cr.set_source_rgba(0.12, 0.04, 0.06, 0.35)
    cr.fill()
    rounded_rect(cr, 2, 2, w - 6, h - 8, 22)
    cr.set_source(vertical(0, h, rgb("#7a4a62"), rgb("#4e2c40")))
    cr.fill_preserve()
    cr.set_line_width(3)
    cr.set_source_rgba(*rgb("#f0c987", 0.95))
    cr.stroke()
    cr.save()
    cr.set_dash([7.0, 6.0])
    cr.set_line_width(1.8)
    cr.set_source_rgba(1, 0.92, 0.8, 0.45)
    rounded_rect(cr, 11, 11, w - 24, h - 26, 15)
    cr.stroke()
    cr.restore()
    # Wells under the stars, the colours, the hints, the tools and the counter.
    ox, oy = -CARD_X, -CARD_Y  # from panel coordinates to the card's pixels
    well(cr, 16, STARS_Y - CARD_Y - 6, w - 36, 64, 14)
    well(cr, 16, COLORS_Y - CARD_Y - 8, w - 36, 134, 14)
    well(cr, 16, HINTS_Y - CARD_Y - 10, w - 36, 190, 14)
    well(cr, 16, TOOLS_Y - CARD_Y - 10, w - 36, 86, 14)
    well(cr, 16, MISTAKES_Y - CARD_Y - 4, w - 36, 40, 12)
    del ox, oy


def star_path(cr, cx, cy, outer, inner):
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = -math.pi / 2 + i * math.pi / 5
        (cr.move_to if i == 0 else cr.line_to)(cx + r * math.cos(a), cy + r * math.sin(a))
    cr.close_path()


def draw_star(cr, w, h):
    c = w / 2
    star_path(cr, c, c + 2, 21, 9.5)
    cr.set_source_rgba(0.25, 0.1, 0.0, 0.35)
    cr.fill()
    star_path(cr, c, c, 21, 9.5)
    g = cairo.LinearGradient(0, 0, 0, h)
    g.add_color_stop_rgba(0, *rgb("#fff3a6"))
    g.add_color_stop_rgba(0.5, *rgb("#ffd23c"))
    g.add_color_stop_rgba(1, *rgb("#f0a418"))
    cr.set_source(g)
    cr.fill_preserve()
    cr.set_line_join(cairo.LINE_JOIN_ROUND)
    cr.set_line_width(2.5)
    cr.set_source_rgba(*rgb("#9a5a10"))
    cr.stroke()
    star_path(cr, c - 3, c - 4, 8, 3.5)
    cr.set_source_rgba(1, 1, 1, 0.6)
    cr.fill()


def draw_star_slot(cr, w, h):
    c = w / 2
    star_path(cr, c, c, 21, 9.5)
    cr.set_source_rgba(0.08, 0.02, 0.05, 0.45)
    cr.fill_preserve()
    cr.set_line_join(cairo.LINE_JOIN_ROUND)
    cr.set_line_width(2)
    cr.set_source_rgba(1, 0.9, 0.75, 0.35)
    cr.stroke()


def draw_swatch(cr, w, h):
    """White, so that the current colour tints it."""
    rounded_rect(cr, 1, 1, w - 2, h - 2, 12)
    g = cairo.LinearGradient(0, 0, w, h)
    g.add_color_stop_rgba(0, 1, 1, 1, 1)
    g.add_color_stop_rgba(1, 0.8, 0.8, 0.8, 1)
    cr.set_source(g)
    cr.fill()
    cr.save()
    cr.set_dash([5.0, 5.0])
    cr.set_line_width(2)
    cr.set_source_rgba(0.55, 0.55, 0.55, 1)
    rounded_rect(cr, 8, 8, w - 16, h - 16, 7)
    cr.stroke()
    cr.restore()


def swatch_frame(glow, press):
    def draw(cr, w, h):
        if glow:
            rounded_rect(cr, 1, 1, w - 2, h - 2, 16)
            cr.set_line_width(5)
            cr.set_source_rgba(1, 0.95, 0.7, glow)
            cr.stroke()
        rounded_rect(cr, 4, 4, w - 8, h - 8, 13)
        cr.set_line_width(4 if not press else 5)
        cr.set_source_rgba(*rgb("#f0c987" if not press else "#c99a55"))
        cr.stroke()
        rounded_rect(cr, 7, 7, w - 14, h - 14, 10)
        cr.set_line_width(1.5)
        cr.set_source_rgba(0.2, 0.07, 0.1, 0.6)
        cr.stroke()
    return draw


def round_button(icon, top, bottom, rim):
    def draw(cr, w, h):
        c = w / 2
        cr.arc(c, c + 2, c - 2, 0, 2 * math.pi)
        cr.set_source_rgba(0.1, 0.03, 0.05, 0.4)
        cr.fill()
        cr.arc(c, c, c - 3, 0, 2 * math.pi)
        cr.set_source(vertical(0, h, rgb(top), rgb(bottom)))
        cr.fill_preserve()
        cr.set_line_width(2.5)
        cr.set_source_rgba(*rgb(rim))
        cr.stroke()
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
    for view, glow, press in (("Normal", 0, False), ("Over", 0.7, False), ("Click", 0.4, True),
                              ("Disabled", 0, False)):
        image("PickerColor" + view, 72, 72, swatch_frame(glow, press))
    for view, top, bottom, rim in BUTTON_VIEWS:
        image("Menu" + view, 56, 56, round_button(menu_icon, top, bottom, rim))
        image("Help" + view, 56, 56, round_button(help_icon, top, bottom, rim))
    write_screen()


if __name__ == "__main__":
    main()
