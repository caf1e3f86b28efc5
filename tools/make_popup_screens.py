#!/usr/bin/env python3
"""Writes the pop-up files of the message, continue, name-entry and players pop-ups.

    tools/make_popup_screens.py [data folder]     (default: data)

Each pop-up is one panel object at the middle of the screen (512, 384) that carries the show and
hide animations (1 and 2: 500 ms, the panel grows from 90 % and fades in, and back); everything
else lies below it, placed from that middle point, so that it follows the animation: a veil over
the whole screen, the panel's picture, texts and buttons. The pictures come from
tools/make_popup_art.py, the buttons' from tools/make_shell_art.py. Python 3 standard library
only.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_shell_screens import Obj, button, image, text, write_screen  # noqa: E402

CX, CY = 512, 384
PANEL_PAD = 16  # the panel pictures' margin (tools/make_popup_art.py)
MENU = "#BDIR#Screens/MainMenu/"
SHOW_HIDE = [
    "Type = 0",
    'Name = "Animator"',
    "DefaultAnim = 0, 0",
    "ANIMS{",
    "\tAnim{",
    "\t\tid = 1",
    '\t\tName = "Show"',
    '\t\tGradient = "255,255,255,0.00000000,0.00000000#255,255,255,1.00000000,1.00000000"',
    '\t\tTransform = "0.899999976,0.899999976,0.00000000,0.00000000,0#1.00000000,1.00000000,0.00000000,1.00000000,0"',
    "\t}",
    "\tAnim{",
    "\t\tid = 2",
    '\t\tName = "Hide"',
    '\t\tGradient = "255,255,255,1.00000000,0.00000000#255,255,255,0.00000000,1.00000000"',
    '\t\tTransform = "1.00000000,1.00000000,0.00000000,0.00000000,0#0.899999976,0.899999976,0.00000000,1.00000000,0"',
    "\t}",
    "}",
]


def animator():
    return ["Component{"] + ["\t" + line for line in SHOW_HIDE] + ["}"]


def backdrop(layer):
    """The veil: a 32 x 32 picture stretched over the whole 1366 x 768 window with room to spare,
    so that it still covers it while the panel is at 90 %."""
    w, h = 1560, 880
    return image("Backdrop", 90, -w / 2, -h / 2, layer, url="#BDIR#PopUps/Backdrop.png", sx=w / 32.0, sy=h / 32.0)


def panel_picture(w, h, layer):
    return image("Panel", 91, -w / 2 - PANEL_PAD, -h / 2 - PANEL_PAD, layer)


def centre(name, oid, subs):
    return Obj(name, oid, 0, CX, CY, 0, subs=subs, components=animator())


def small(name, oid, x, y, line, layer=20):
    return button(name, oid, x, y, 180, 48, line, MENU + "Small", layer)


def big(name, oid, x, y, line, layer=20):
    return button(name, oid, x, y, 220, 56, line, MENU + "Button", layer)


def switched_off(name, x, y, line, layer=18):
    """What a disabled button leaves at its place: its greyed picture and caption."""
    return image(name, 0, x, y, layer, url=MENU + "SmallDisabled.png",
                 subs=[text(name + "Text", 0, 0, 0, 180, 48, line, "ButtonOff", layer + 1)])


def info_popup():
    w, h = 540, 280
    return [centre("CenterPoint", 1, [
        backdrop(1),
        panel_picture(w, h, 2),
        text("Message", 3, -240, -110, 480, 130, 0, "Message", 10),
        small("Yes", 101, -200, 50, 1),
        small("No", 102, 20, 50, 2),
        small("Ok", 103, -200, 50, 3),
        small("Cancel", 104, 20, 50, 4),
    ])]


def continue_popup():
    w, h = 500, 380
    return [centre("Panel", 10, [
        backdrop(1),
        panel_picture(w, h, 2),
        text("Title", 40, -230, -168, 460, 50, 1, "PopUpTitle", 10),
        text("Subtitle", 41, -230, -116, 460, 40, 5, "Message", 10),
        big("Continue", 1, -110, -56, 2),
        big("NewGame", 2, -110, 14, 3),
        small("Back", 3, -90, 96, 6),
    ])]


def enter_name_popup():
    w, h = 540, 330
    caret = image("Caret", 4, 210, 13, 13)
    entry = text("Entry", 5, -210, -70, 420, 60, 0, "Entry", 12)
    entry.subs = [caret]
    return [centre("CentPoint", 1, [
        backdrop(1),
        panel_picture(w, h, 2),
        text("Title", 20, -250, -140, 500, 50, 1, "PopUpTitle", 10),
        image("Field", 21, -220, -70, 11),
        entry,
        text("Taken", 6, -250, 0, 500, 34, 2, "Notice", 12),
        switched_off("OkOff", -200, 62, 3),
        small("Ok", 103, -200, 62, 3),
        small("Cancel", 104, 20, 62, 4),
    ])]


def profiles_popup():
    w, h = 660, 560
    slot_w, slot_h = 340, 46
    x0, y0, step = -300, -188, 58
    subs = [
        backdrop(1),
        panel_picture(w, h, 2),
        text("Title", 20, -290, -262, 580, 50, 1, "PopUpTitle", 10),
    ]
    for k in range(6):
        y = y0 + k * step
        subs.append(image("Picked%d" % (k + 1), 301 + k, x0 - 8, y - 8, 11,
                          url="#BDIR#PopUps/Profiles/Picked.png"))
        subs.append(button("Slot%d" % (k + 1), 201 + k, x0, y, slot_w, slot_h, 0,
                           "#BDIR#PopUps/Profiles/Slot", 20, cls="Slot"))
    bx = 122
    subs += [
        switched_off("NewOff", bx, y0, 4),
        small("New", 102, bx, y0, 4),
        small("Rename", 103, bx, y0 + 66, 5),
        switched_off("DeleteOff", bx, y0 + 132, 6),
        small("Delete", 104, bx, y0 + 132, 6),
        big("Ok", 101, -110, y0 + 6 * step + 22, 3),
    ]
    return [centre("Panel", 1, subs)]


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else "data"
    popups = os.path.join(data, "PopUps")
    write_screen(os.path.join(popups, "InfoPopUp", "InfoPopUp.AppPopUp"), "Info", info_popup())
    write_screen(os.path.join(popups, "Continue", "Continue.AppPopUp"), "ContinuePopUp", continue_popup())
    write_screen(os.path.join(popups, "Entername", "EnterName.AppPopUp"), "EnterName", enter_name_popup())
    write_screen(os.path.join(popups, "Profiles", "Profiles.AppPopUp"), "ProfileManager", profiles_popup())


if __name__ == "__main__":
    main()
