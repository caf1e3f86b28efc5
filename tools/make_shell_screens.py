#!/usr/bin/env python3
"""Writes the screen files of the loading screen and the main menu from compact descriptions.

    tools/make_shell_screens.py [data folder]     (default: data)

Every picture is an image widget whose file lies beside the screen file: a widget named N shows
N.png (or N.jpg), and the button views share their pictures through "imageUrl". The pictures
themselves come from tools/make_shell_art.py. Python 3 standard library only.
"""
import math
import os
import sys


def f(v):
    return "%.6f" % v


class Obj:
    """One game object of a screen file."""

    def __init__(self, name, oid, otype, x=0.0, y=0.0, layer=0, enabled=1, scale=1.0, rgb=(255, 255, 255),
                 alpha=1.0, own=None, subs=None, collider=None, saved_inside=1, components=None, sx=None, sy=None):
        self.name, self.oid, self.otype = name, oid, otype
        self.x, self.y, self.layer, self.enabled, self.scale = x, y, layer, enabled, scale
        self.rgb, self.alpha = rgb, alpha
        self.own = own or []
        self.subs = subs or []
        self.collider = collider
        self.saved_inside = saved_inside
        # Further "Component" blocks, as lines (an animator, for instance).
        self.components = components or []
        # A scale other than the uniform one (a small picture stretched over an area).
        self.sx = scale if sx is None else sx
        self.sy = scale if sy is None else sy

    def lines(self, depth):
        t = "\t" * depth
        out = [t + "GameObject{",
               t + "\tBasic{",
               t + '\t\tName = "%s"' % self.name,
               t + "\t\tId = %d" % self.oid,
               t + "\t\tType = %d" % self.otype,
               t + "\t\tEnabled = %d" % self.enabled,
               t + "\t\tDrawLayer = %d" % self.layer,
               t + "\t\tUpdateLayer = 0",
               t + "\t}",
               t + "\tFlags{",
               t + "\t\tisGlobal = 0",
               t + "\t\tisSavedInternaly = %d" % self.saved_inside,
               t + "\t\tisNotSaved = 0",
               t + "\t\tisAssetToBeLoad = 1",
               t + "\t\tisUpdatedWithDraw = 0",
               t + "\t}",
               t + "\tStates{",
               t + "\t\tState{",
               t + '\t\t\tName = "DEFAULT"',
               t + '\t\t\tDim = "%s,%s,0.000000,0.000000,0.000000,0.000000,0.000000,0.000000,0.000000,0,0"'
               % (f(self.x), f(self.y)),
               t + '\t\t\tTFR = "%s,%s,0.000000,0.000000,0"' % (f(self.sx), f(self.sy)),
               t + '\t\t\tRGB = "%d,%d,%d,%s,1.000000"' % (self.rgb + (f(self.alpha),)),
               t + "\t\t}",
               t + "\t}",
               t + "\tComponents{"]
        if self.collider:
            w, h = self.collider
            out += [t + "\t\tComponent{",
                    t + "\t\t\tType = 1",
                    t + '\t\t\tName = "Collider"',
                    t + "\t\t\tShape{",
                    t + "\t\t\t\tPoints = 4",
                    t + "\t\t\t\tCenter = 0.000000, 0.000000"]
            # Corner points in polar form: distance from the object's point and angle in degrees.
            for i, (px, py) in enumerate([(0, 0), (w, 0), (w, h), (0, h)], 1):
                dist = math.hypot(px, py)
                ang = math.degrees(math.atan2(py, px)) if dist else 0.0
                out.append(t + "\t\t\t\tPoint%d = %s, %s" % (i, f(dist), f(ang)))
            out += [t + "\t\t\t}", t + "\t\t}"]
        out += [t + "\t\t" + line for line in self.components]
        out += [t + "\t}", t + "\tOwnData{"]
        out += [t + "\t\t" + line for line in self.own]
        out += [t + "\t}", t + "\tSubObjects{"]
        for sub in self.subs:
            out += sub.lines(depth + 2)
        out += [t + "\t}", t + "}"]
        return out


def image(name, oid, x, y, layer, url=None, **kw):
    own = ['imageUrl = "%s"' % url] if url else []
    return Obj(name, oid, 2, x, y, layer, own=own, **kw)


def text(name, oid, x, y, w, h, line, cls, layer, **kw):
    return Obj(name, oid, 1, x, y, layer, own=["Sizes = %d, %d" % (w, h), "TextLine = %d" % line,
                                               'Class = "%s"' % cls], **kw)


def button(name, oid, x, y, w, h, line, views_url, layer, cls="Button"):
    """A button with its four views (picture and caption each); the pictures are shared."""
    subs = []
    for i, view in enumerate(("Normal", "Over", "Click", "Disabled")):
        dy = 2 if view == "Click" else 0
        subs.append(image(name + view, oid * 10 + 2 * i + 1, 0, 0, layer, url=views_url + view + ".png"))
        subs.append(text(name + view + "Text", oid * 10 + 2 * i + 2, 0, dy, w, h, line, cls, layer + 1))
    return Obj(name, oid, 3, x, y, layer, own=["Sizes = %d, %d" % (w, h),
                                                                 "ChangeSpeed = 0.100000001"],
               subs=subs, collider=(w, h))


PETALS = Obj("Petals", 900, 6, 512, -12, 5, own=[
    "EP{",
    '\tType = "BASIC_EMITTER"',
    "\tStandards{",
    '\t\tName = "Petals"',
    "\t\tMaxParticles = 96",
    "\t\tCountPerSecond = 5",
    "\t\tLifeTime = 6000, 9000",
    "\t\tBlend = 3",
    "\t\tStarted = 1",
    '\t\tShape = "BOX)700.000000&4.00000000&0.00000000&0.00000000&0.00000000&0.00000000"',
    "\t}",
    "\tEmissionObjects{",
    '\t\tColorizer = "GRADIENT_BETWEEN)255,190,210,0.00000000,0.00000000#255,190,210,0.949999988,0.100000001#'
    '255,170,200,0.949999988,0.850000024#255,160,190,0.00000000,1.00000000&255,235,240,0.00000000,0.00000000#'
    '255,230,236,0.949999988,0.100000001#250,205,220,0.949999988,0.850000024#250,200,215,0.00000000,1.00000000"',
    '\t\tTransformer = "TRANSFORM_ARRAY)0.899999976,0.899999976,0.00000000,0.00000000,0#0.899999976,0.899999976,'
    '360.000000,1.00000000,0&0.699999988,0.699999988,40.0000000,0.00000000,0#0.699999988,0.699999988,'
    '-300.000000,1.00000000,0"',
    "\t}",
    "\tIMAGES{",
    "\t\tImagesCount = 1",
    "\t\tImagesFiltered = 1",
    "\t\tImagesMipmapped = 0",
    '\t\tImage1 = "#BDIR#Particles/Petal.png", 12, 12',
    "\t}",
    "\tSpecial{",
    "\t\tForce = 0.400000006, 0.899999976",
    "\t\tAcc = 0.00000000, 0.00000000",
    "\t\tAngle = 70, 40",
    "\t\tGravity = 0.400000006, 90",
    "\t}",
    "}",
])


def loading_screen():
    # The bar (id 2) lies in its track; it is drawn from the left by the fraction loaded.
    return [
        image("Background", 1, -171, 0, 0),
        image("BarTrack", 3, 252, 600, 10),
        image("Bar", 2, 260, 608, 11),
        text("Loading", 4, 252, 556, 520, 36, 1, "Button", 12),
    ]


# The rate button (id 502, text line 6, pictures "Small*.png"): the menu shows it only where the
# game can be rated (the store edition, until rated); the menu hides it everywhere else.
WITH_RATE_BUTTON = True
RATE_BUTTON = None


def main_menu():
    global RATE_BUTTON
    RATE_BUTTON = button("Rate", 502, 820, 682, 180, 48, 6, "#BDIR#Screens/MainMenu/Small", 20)
    views = "#BDIR#Screens/MainMenu/Button"
    x, w, h = 402, 220, 56
    return [
        image("Background", 1, -171, 0, 0),
        PETALS,
        image("Panel", 2, 362, 318, 10),
        button("Play", 11, x, 346, w, h, 2, views, 20),
        button("Options", 12, x, 418, w, h, 3, views, 20),
        button("Players", 13, x, 490, w, h, 4, views, 20),
        button("Exit", 14, x, 562, w, h, 5, views, 20),
        Obj("Bird", 70, 4, 830, 560, 30, scale=1.5, own=['AVOUrl = "#BDIR#Anims/Bird"']),
    ] + ([RATE_BUTTON] if WITH_RATE_BUTTON else [])


def write_screen(path, name, objects):
    out = ["Data{", '\tName = "%s"' % name, "}", "Assets{", "}", "Flags{", "\tisSetupedAtLoading = 1",
           "\tisFreedByLeave = 0", "}", "Objects{"]
    for obj in objects:
        out += obj.lines(1)
    out.append("}")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as fh:
        fh.write("\n".join(out) + "\n")


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else "data"
    write_screen(os.path.join(data, "Screens/LoadingScreen/LoadingScreen.AppScreen"), "Loading Screen",
                 loading_screen())
    write_screen(os.path.join(data, "Screens/MainMenu/MainMenu.AppScreen"), "MainMenu", main_menu())


if __name__ == "__main__":
    main()
