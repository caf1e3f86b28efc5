#!/usr/bin/env python3
"""Draws the pictures of the shell's pop-ups: the message, continue, name-entry and players
pop-ups, in the main menu's look (navy quilted panels with a cream rim and stitching, a row of
quilt patches along the top, the menu's orange buttons).

    /usr/bin/python3 tools/make_popup_art.py [data folder]     (default: data)

The palette and the drawing helpers are those of tools/artlib.py. The pop-up files that
place these pictures come from tools/make_popup_screens.py. The buttons reuse the main menu's
pictures ("Screens/MainMenu/Button*.png" and "Small*.png").
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artlib import (BROWN, PATCHES, fill_outlined, outline, panel_body, patch, rgb, rounded,  # noqa: E402
                    save_png, stitch, surface, vertical)

# Panel sizes, shared with tools/make_popup_screens.py.
PANELS = {
    "InfoPopUp": (540, 280),
    "Continue": (500, 380),
    "Entername": (540, 330),
    "Profiles": (660, 560),
}
SLOT = (340, 46)       # a player's slot button
FIELD = (440, 60)      # the name-entry field
CARET = (3, 34)
# Room around a panel's picture for its shadow and the patches over its top edge.
PANEL_PAD = 16
GOLD = rgb("FFCF5A")


def panel(path, w, h):
    """The menu's panel, larger: a soft shadow, the navy body with a cream rim and a dashed stitch,
    and a row of quilt patches along the top edge."""
    pad = PANEL_PAD
    s, cr = surface(w + 2 * pad, h + 2 * pad)
    cr.translate(pad, pad)
    panel_body(cr, w, h)
    # Patches peeking over the top edge, centred.
    size, gap = 26, 8
    n = 7
    x0 = w / 2 - (n * size + (n - 1) * gap) / 2
    for i in range(n):
        patch(cr, x0 + i * (size + gap), -size / 2 + 2, size, PATCHES[i % len(PATCHES)])
    save_png(s, path)
    return pad


def backdrop(path):
    """A small flat veil, stretched over the whole screen behind a pop-up."""
    s, cr = surface(32, 32)
    cr.set_source_rgba(0.08, 0.09, 0.17, 0.52)
    cr.paint()
    save_png(s, path)


# (top, bottom, rim, stitch alpha) of a player's slot: cream quilt paper.
SLOT_VIEWS = {
    "Normal": (rgb("FFF6E0"), rgb("F2DFB4"), rgb("9C7040"), 0.5),
    "Over": (rgb("FFFBEE"), rgb("FBE9C2"), rgb("B8864C"), 0.6),
    "Click": (rgb("E9D3A4"), rgb("F4E2BC"), rgb("7C5430"), 0.5),
    "Disabled": (rgb("D6D6D6"), rgb("BDBDBD"), rgb("7A7A7A"), 0.3),
}


def slot(path, view):
    w, h = SLOT
    top, bottom, rim, seam = SLOT_VIEWS[view]
    s, cr = surface(w, h)
    r = 12
    rounded(cr, 1.5, 1.5, w - 3, h - 3, r)
    fill_outlined(cr, vertical(cr, 0, h, [(0, top), (1, bottom)]), rim, 2.5)
    rounded(cr, 6, 6, w - 12, h - 12, r * 0.6)
    stitch(cr, (*rim, seam), 1.2, [5, 4])
    # A small patch at the left end, like a name tag sewn on.
    patch(cr, 14, (h - 22) / 2, 22, PATCHES[3] if view != "Disabled" else (0.6, 0.6, 0.6), stitch=False)
    save_png(s, path)


def picked(path):
    """The current player's mark: a golden ring around the slot with a soft glow and a star."""
    w, h = SLOT[0] + 16, SLOT[1] + 16
    s, cr = surface(w + 40, h)
    ox = 0
    for i, a in enumerate((0.10, 0.16, 0.24)):
        inset = 6 - 2 * i
        rounded(cr, ox + inset, inset, w - 2 * inset, h - 2 * inset, 18 - i * 2)
        outline(cr, (*GOLD, a), 4)
    rounded(cr, ox + 5, 5, w - 10, h - 10, 15)
    outline(cr, GOLD, 3)
    # The star, right of the slot.
    cx, cy, ro, ri = w + 20, h / 2, 15, 6.5
    cr.move_to(cx, cy - ro)
    for k in range(1, 10):
        a = -math.pi / 2 + k * math.pi / 5
        r = ri if k % 2 else ro
        cr.line_to(cx + r * math.cos(a), cy + r * math.sin(a))
    cr.close_path()
    fill_outlined(cr, vertical(cr, cy - ro, cy + ro, [(0, rgb("FFE58A")), (1, rgb("F4A83A"))]), BROWN, 1.5)
    save_png(s, path)


def field(path):
    w, h = FIELD
    s, cr = surface(w, h)
    rounded(cr, 1.5, 1.5, w - 3, h - 3, 14)
    fill_outlined(cr, vertical(cr, 0, h, [(0, rgb("F3ECDA")), (1, rgb("FFFBF0"))]), rgb("9C7040"), 2.5)
    # An inner shadow along the top edge: the field is sunk into the panel.
    rounded(cr, 4, 4, w - 8, 14, 10)
    cr.set_source(vertical(cr, 4, 18, [(0, (0, 0, 0, 0.12)), (1, (0, 0, 0, 0))]))
    cr.fill()
    save_png(s, path)


def caret(path):
    w, h = CARET
    s, cr = surface(w, h)
    cr.rectangle(0, 0, w, h)
    cr.set_source_rgb(*rgb("303C5E"))
    cr.fill()
    save_png(s, path)


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else "data"
    popups = os.path.join(data, "PopUps")
    backdrop(os.path.join(popups, "Backdrop.png"))
    for folder, (w, h) in PANELS.items():
        panel(os.path.join(popups, folder, "Panel.png"), w, h)
    for view in SLOT_VIEWS:
        slot(os.path.join(popups, "Profiles", "Slot" + view + ".png"), view)
    picked(os.path.join(popups, "Profiles", "Picked.png"))
    field(os.path.join(popups, "Entername", "Field.png"))
    caret(os.path.join(popups, "Entername", "Caret.png"))


if __name__ == "__main__":
    main()
