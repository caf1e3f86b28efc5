#!/usr/bin/env python3
"""Draws the options pop-up and the credits background, and writes the pop-up's file.

    /usr/bin/python3 tools/make_options_art.py [data folder]     (default: data)

Pictures (pycairo, through the helpers and palette of tools/artlib.py and the panel of
tools/make_popup_art.py, so the pop-up matches the main menu and the other pop-ups: a navy panel
with a cream rim, stitching and quilt patches along its top, warm orange buttons, cream titles
with a brown outline):

  PopUps/Options/Panel.png            the panel, with quilt-patch bullets beside the labels and
                                      stitched lines between the groups
  PopUps/Options/SliderTrack.png      the groove of a volume slider
  PopUps/Options/Knob.png             its knob
  PopUps/Options/Toggle{On,Off}*.png  the switch pairs' buttons, four views each
  PopUps/Options/Small*.png           the buttons OK, Credits, Menu and Replay, four views each
  Screens/Credits/back.jpg            the credits' background, 1366 x 768 (the meadow at night)

The pop-up file "PopUps/Options/Options.AppPopUp" is laid out as the other pop-ups of
tools/make_popup_screens.py: one object at the middle of the screen carries the show and hide
animations, and below it the veil, the panel's picture and every widget, placed from that middle
point. Its ids are the ones the options code looks up (see game/shell/Options.h). The captions
are lines of "Local/en/Options.txt".
"""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import make_popup_art as popart  # noqa: E402
import make_popup_screens as popups  # noqa: E402
import artlib as art  # noqa: E402
import make_shell_screens as screens  # noqa: E402

cairo = art.cairo
rgb = art.rgb
CREAM, PATCHES = art.CREAM, art.PATCHES

# Geometry of the panel's body (virtual pixels, from its top-left corner); the body is centred on
# the 1024 x 768 screen.
PANEL_W, PANEL_H = 560, 510
LABEL_X, LABEL_W, ROW_H = 64, 190, 40
TRACK_X, TRACK_W, KNOB = 236, 276, 36
TOGGLE_W, TOGGLE_H = 96, 40
TOGGLE_X = PANEL_W - 48 - TOGGLE_W
TITLE_Y = 26
SLIDER_ROWS = (98, 154)               # music, sound
SWITCH_ROWS = (230, 286, 342)         # full screen, wide screen, cursor
SEPARATORS = (212, 404)
BUTTON_W, BUTTON_H, BUTTON_Y = 116, 48, 428
BUTTON_XS = [30 + i * (BUTTON_W + 12) for i in range(4)]  # Menu, Credits, OK, Replay


def panel(path):
    """The other pop-ups' panel at this size, with the options' own marks drawn over it."""
    pad = popart.panel(path, PANEL_W, PANEL_H)
    s = cairo.ImageSurface.create_from_png(path)
    cr = cairo.Context(s)
    cr.translate(pad, pad)
    # Separators: a cream stitch line between the groups.
    for y in SEPARATORS:
        cr.move_to(40, y)
        cr.line_to(PANEL_W - 40, y)
        art.stitch(cr, (*CREAM, 0.35), 2, [8, 6])
    # A patch bullet before every label, each row its own colour.
    rows = list(SLIDER_ROWS) + list(SWITCH_ROWS)
    for i, y in enumerate(rows):
        art.patch(cr, LABEL_X - 30, y + ROW_H / 2 - 9, 18, PATCHES[i % len(PATCHES)], stitch=False)
    art.save_png(s, path)


def slider_track(path):
    s, cr = art.surface(TRACK_W, KNOB)
    groove = 14
    y = (KNOB - groove) / 2
    art.rounded(cr, 1, y, TRACK_W - 2, groove, groove / 2)
    art.fill_outlined(cr, art.vertical(cr, y, y + groove, [(0, (0.07, 0.08, 0.15, 0.95)),
                                                           (1, (0.15, 0.17, 0.29, 0.95))]),
                      (*CREAM, 0.85), 2)
    # Tick stitches along the groove, a hint of the scale.
    for i in range(1, 10):
        x = KNOB / 2 + (TRACK_W - KNOB) * i / 10
        cr.move_to(x, y + 4)
        cr.line_to(x, y + groove - 4)
        art.outline(cr, (1, 1, 1, 0.28), 1.5)
    art.save_png(s, path)


def knob(path):
    s, cr = art.surface(KNOB, KNOB)
    c = KNOB / 2
    cr.arc(c, c + 1.5, c - 2, 0, 2 * math.pi)
    cr.set_source_rgba(0, 0, 0, 0.3)
    cr.fill()
    cr.arc(c, c, c - 2.5, 0, 2 * math.pi)
    g = cairo.RadialGradient(c - 5, c - 6, 2, c, c, c)
    g.add_color_stop_rgb(0, *rgb("FFC58E"))
    g.add_color_stop_rgb(1, *rgb("E06A36"))
    art.fill_outlined(cr, g, rgb("8C3A1A"), 2.5)
    cr.arc(c, c, c - 8, 0, 2 * math.pi)
    art.stitch(cr, (1, 1, 1, 0.7), 1.5, [3, 2.5])
    art.save_png(s, path)


# (track top, track bottom, rim) of the switch views, for on and off.
TOGGLE_COLOURS = {
    "On": {"Normal": ("8CCB6E", "5E9E48"), "Over": ("A4DC86", "72B25A"), "Click": ("5E9E48", "6FAE56"),
           "Disabled": ("B2B2B2", "969696")},
    "Off": {"Normal": ("59627F", "434A66"), "Over": ("6D7796", "535B7A"), "Click": ("3E4560", "4A5270"),
            "Disabled": ("B2B2B2", "969696")},
}


def toggle(path, state, view):
    w, h = TOGGLE_W, TOGGLE_H
    s, cr = art.surface(w, h)
    top, bottom = TOGGLE_COLOURS[state][view]
    r = h / 2 - 2
    art.rounded(cr, 2, 2, w - 4, h - 4, r)
    art.fill_outlined(cr, art.vertical(cr, 0, h, [(0, rgb(top)), (1, rgb(bottom))]), (*CREAM, 0.95), 2.5)
    # The knob: right when on, left when off.
    kx = w - 2 - r if state == "On" else 2 + r
    cr.arc(kx, h / 2 + 1, r - 4, 0, 2 * math.pi)
    cr.set_source_rgba(0, 0, 0, 0.25)
    cr.fill()
    cr.arc(kx, h / 2, r - 4, 0, 2 * math.pi)
    cr.set_source(art.vertical(cr, 4, h - 4, [(0, (1.0, 0.98, 0.92)), (1, CREAM)]))
    cr.fill()
    # The word on the free side.
    word = "ON" if state == "On" else "OFF"
    cr.select_font_face(art.FONT, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    cr.set_font_size(15)
    e = cr.text_extents(word)
    free_c = (2 + (w - 2 * r - 4) / 2) if state == "On" else (w - 2 - (w - 2 * r - 4) / 2)
    cr.move_to(free_c - e.x_advance / 2, h / 2 + e.height / 2 - 0.5)
    cr.set_source_rgba(1, 1, 1, 0.95 if view != "Disabled" else 0.7)
    cr.show_text(word)
    art.save_png(s, path)


def night_scene(path):
    w, h = 1366, 768
    s, cr = art.surface(w, h)
    horizon = 560
    cr.set_source(art.vertical(cr, 0, horizon, [(0, rgb("151A33")), (0.65, rgb("2B3160")), (1, rgb("5B4A78"))]))
    cr.rectangle(0, 0, w, h)
    cr.fill()
    rnd = random.Random(11)
    # Stars, fewer toward the horizon.
    for _ in range(260):
        x, y = rnd.uniform(0, w), rnd.uniform(0, horizon) ** 1.15 / horizon ** 0.15
        r = rnd.choice((0.7, 0.9, 1.1, 1.5))
        cr.arc(x, y, r, 0, 2 * math.pi)
        cr.set_source_rgba(1, 0.97, 0.88, rnd.uniform(0.35, 0.9))
        cr.fill()
    # The moon with its glow, high on the right.
    art.glow(cr, 1130, 130, 20, 170, [(0, (1, 0.95, 0.8, 0.35)), (1, (1, 0.95, 0.8, 0))])
    # A crescent: the moon's disc with an offset disc cut out of it.
    cr.save()
    cr.arc(1130, 130, 42, 0, 2 * math.pi)
    cr.new_sub_path()
    cr.arc(1148, 118, 36, 0, 2 * math.pi)
    cr.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    cr.clip()
    cr.arc(1130, 130, 42, 0, 2 * math.pi)
    cr.set_source_rgb(1.0, 0.96, 0.84)
    cr.fill()
    cr.restore()
    # Hills and the quilt meadow, in the dimmed colours of night.
    art.hill(cr, w, horizon - 40, 34, 0.7, 0.006, rgb("2E4A4A"), rgb("22393C"), h)
    art.hill(cr, w, horizon + 8, 26, 2.1, 0.0045, rgb("28433A"), rgb("1C3230"), h)
    def field(_row):
        return tuple(v * 0.24 + 0.06 for v in PATCHES[rnd.randrange(len(PATCHES))])
    art.quilt_fields(cr, w, h, horizon + 36, 5, field, 0.08)
    # Fireflies over the meadow.
    for _ in range(40):
        x, y = rnd.uniform(0, w), rnd.uniform(horizon - 60, h - 20)
        art.glow(cr, x, y, 0, 7, [(0, (1, 0.95, 0.55, 0.8)), (1, (1, 0.95, 0.55, 0))])
    # A gentle darkening behind the roll's column, so the lines read well everywhere.
    shade = cairo.LinearGradient(0, 0, w, 0)
    shade.add_color_stop_rgba(0, 0.05, 0.06, 0.12, 0)
    shade.add_color_stop_rgba(0.3, 0.05, 0.06, 0.12, 0.35)
    shade.add_color_stop_rgba(0.7, 0.05, 0.06, 0.12, 0.35)
    shade.add_color_stop_rgba(1, 0.05, 0.06, 0.12, 0)
    cr.set_source(shade)
    cr.rectangle(0, 0, w, h)
    cr.fill()
    art.save_jpg(s, path, quality=90)


# ---- The pop-up file ----

def switch_button(name, oid, x, y, state, layer):
    """A button of a switch pair: four views, pictures only."""
    url = "#BDIR#PopUps/Options/Toggle" + state
    subs = [screens.image(name + view, oid * 10 + i + 1, 0, 0, layer, url=url + view + ".png")
            for i, view in enumerate(("Normal", "Over", "Click", "Disabled"))]
    return screens.Obj(name, oid, 3, x, y, layer, own=["Sizes = %d, %d" % (TOGGLE_W, TOGGLE_H),
                                                      "ChangeSpeed = 0.100000001"],
                       subs=subs, collider=(TOGGLE_W, TOGGLE_H))


def slider(name, track_id, knob_id, picture_id, x, y, layer):
    """The track (an over box as long as the slider) with its groove picture and its knob."""
    groove = screens.image(name + "Groove", picture_id, 0, 0, layer, url="#BDIR#PopUps/Options/SliderTrack.png")
    knob_obj = screens.Obj(name + "Knob", knob_id, 2, 0, 0, layer + 2,
                           own=['imageUrl = "#BDIR#PopUps/Options/Knob.png"'], collider=(KNOB, KNOB))
    return screens.Obj(name + "Track", track_id, 5, x + TRACK_X, y + (ROW_H - KNOB) / 2, layer,
                       own=["Sizes = %d, %d" % (TRACK_W, KNOB)], subs=[groove, knob_obj])


def label(name, oid, x, y, line, layer):
    return screens.text(name, oid, x + LABEL_X, y, LABEL_W, ROW_H, line, "OptionsLabel", layer)


def options_popup():
    layer = 40
    views = "#BDIR#PopUps/Options/Small"
    music_y, sound_y = SLIDER_ROWS
    full_y, wide_y, cursor_y = SWITCH_ROWS
    toggle_dy = (ROW_H - TOGGLE_H) / 2
    # Everything is placed from the middle point: the body's top-left corner is at (ox, oy).
    ox, oy = -PANEL_W / 2, -PANEL_H / 2
    subs = [
        popups.backdrop(1),
        popups.panel_picture(PANEL_W, PANEL_H, 2),
        screens.text("Title", 2, ox, oy + TITLE_Y, PANEL_W, 50, 1, "PopUpTitle", layer + 2),
        label("MusicLabel", 20, ox, oy + music_y, 2, layer + 2),
        slider("Music", 6, 7, 60, ox, oy + music_y, layer + 1),
        label("SoundLabel", 21, ox, oy + sound_y, 3, layer + 2),
        slider("Sound", 8, 10, 61, ox, oy + sound_y, layer + 1),
        label("FullScreenLabel", 22, ox, oy + full_y, 4, layer + 2),
        switch_button("FullScreenOn", 210, ox + TOGGLE_X, oy + full_y + toggle_dy, "On", layer + 2),
        switch_button("FullScreenOff", 211, ox + TOGGLE_X, oy + full_y + toggle_dy, "Off", layer + 2),
        label("WideScreenLabel", 13, ox, oy + wide_y, 5, layer + 2),
        switch_button("WideScreenOn", 230, ox + TOGGLE_X, oy + wide_y + toggle_dy, "On", layer + 2),
        switch_button("WideScreenOff", 231, ox + TOGGLE_X, oy + wide_y + toggle_dy, "Off", layer + 2),
        label("CursorLabel", 23, ox, oy + cursor_y, 6, layer + 2),
        switch_button("CursorOn", 220, ox + TOGGLE_X, oy + cursor_y + toggle_dy, "On", layer + 2),
        switch_button("CursorOff", 221, ox + TOGGLE_X, oy + cursor_y + toggle_dy, "Off", layer + 2),
        screens.button("Menu", 104, ox + BUTTON_XS[0], oy + BUTTON_Y, BUTTON_W, BUTTON_H, 10, views, layer + 4),
        screens.button("Credits", 102, ox + BUTTON_XS[1], oy + BUTTON_Y, BUTTON_W, BUTTON_H, 8, views, layer + 4),
        screens.button("Ok", 101, ox + BUTTON_XS[2], oy + BUTTON_Y, BUTTON_W, BUTTON_H, 7, views, layer + 4),
        screens.button("Replay", 103, ox + BUTTON_XS[3], oy + BUTTON_Y, BUTTON_W, BUTTON_H, 9, views, layer + 4),
    ]
    # The middle point carries the show and hide animations of every pop-up of the shell.
    return [popups.centre("CenterPoint", 1, subs)]


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else "data"
    folder = os.path.join(data, "PopUps/Options")
    panel(os.path.join(folder, "Panel.png"))
    slider_track(os.path.join(folder, "SliderTrack.png"))
    knob(os.path.join(folder, "Knob.png"))
    for state in ("On", "Off"):
        for view in ("Normal", "Over", "Click", "Disabled"):
            toggle(os.path.join(folder, "Toggle%s%s.png" % (state, view)), state, view)
    for view in art.VIEWS:
        art.button_view(os.path.join(folder, "Small" + view + ".png"), BUTTON_W, BUTTON_H, view)
    night_scene(os.path.join(data, "Screens/Credits/back.jpg"))
    screens.write_screen(os.path.join(folder, "Options.AppPopUp"), "Options", options_popup())


if __name__ == "__main__":
    main()
