#!/usr/bin/python3
"""Packs the small pictures that a screen always loads together into one shared texture each.

    /usr/bin/python3 tools/make_atlases.py [--data DIR]

Run it after the other tools/make_*.py scripts, which write the pictures one file each and name
them so in the screen files. The loading screen reads one file a frame, so every picture of a
screen costs every start a frame; a shared texture (a picture file and, beside it, a text file of
the same name that lists the pictures in it: their count, then for each its name, x, y, width and
height) is one file, however many pictures it holds. For each group below this script:

- packs the pictures in rows, each with its edge pixels repeated once around it, so that a
  filtered picture samples at its edges exactly what it sampled as a file of its own;
- writes the texture and its list (the texture's name in lower case, as the game looks it up);
- names the pictures in every screen and pop-up file as "texture|NAME" instead of their files;
- removes the pictures' own files, which nothing reads any more (unless a group keeps them: the
  awards' files are also loaded by the game under their own names).

Pixels are copied byte for byte (the pictures are decoded here, not through cairo, whose
premultiplied alpha would round semi-transparent pixels). A texture is only for pictures with
transparent pixels: an opaque picture alone in its file is drawn without mixing, which the
transparent gaps of a texture would lose. A widget that took a picture named after it beside its
screen file, without a saved url, gets the picture's new name saved in its own data.
"""
import argparse
import glob
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pngwrite import png_bytes  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# texture (under the data folder) -> (pictures, as glob patterns under the data folder; keep the
# pictures' own files).
GROUPS = {
    "Screens/Kingdom/TreesAtlas.png": (["Screens/Kingdom/Tree-*.png"], False),
    "Screens/Kingdom/Buildings/BuildingsAtlas.png": (["Screens/Kingdom/Buildings/Building-*.png"], False),
    "Screens/Kingdom/PanelAtlas.png": ([
        "Screens/Kingdom/Coin.png", "Screens/Kingdom/Star.png", "Screens/Kingdom/Check.png",
        "Screens/Kingdom/Card.png", "Screens/Kingdom/BuiltCard.png",
        "Screens/Kingdom/SlotNormal.png", "Screens/Kingdom/SlotOver.png"], False),
    "Screens/MainMenu/ButtonsAtlas.png": (["Screens/MainMenu/Button*.png", "Screens/MainMenu/Small*.png"], False),
    "Screens/MainGame/PanelAtlas.png": ([
        "Screens/MainGame/Menu*.png", "Screens/MainGame/Help*.png", "Screens/MainGame/PickerColor*.png",
        "Screens/MainGame/PanelStar.png", "Screens/MainGame/PanelStarSlot.png"], False),
    "Screens/RateScreen/ButtonsAtlas.png": (["Screens/RateScreen/Button*.png", "Screens/RateScreen/Stars.png"], False),
    "Screens/Stages/PanelAtlas.png": ([
        "Screens/Stages/Panel.png", "Screens/Stages/NextBack.png", "Screens/Stages/AwardsBack.png"], False),
    "PopUps/Options/WidgetsAtlas.png": ([
        "PopUps/Options/SliderTrack.png", "PopUps/Options/Knob.png", "PopUps/Options/Toggle*.png",
        "PopUps/Options/Small*.png"], False),
    "PopUps/Profiles/SlotsAtlas.png": (["PopUps/Profiles/Picked.png", "PopUps/Profiles/Slot*.png"], False),
    "PopUps/LevelSummary/PartsAtlas.png": (["PopUps/LevelSummary/StarSlot.png", "PopUps/LevelSummary/Stats.png"], False),
    "PopUps/AwardsShow/AwardsAtlas.png": (["PopUps/AwardsShow/Award-*.png"], True),
}

MAX_WIDTH = 2048
SCREEN_FILES = ("*.AppScreen", "*.AppPopUp")


def read_png(path):
    """(width, height, rows of RGBA bytes) of an 8-bit, non-interlaced RGB or RGBA PNG."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit("%s: not a PNG" % path)
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            w, h, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    if depth != 8 or colour not in (2, 6) or interlace:
        sys.exit("%s: only 8-bit RGB or RGBA PNGs without interlacing are packed" % path)
    bpp = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = w * bpp
    rows, prev = [], bytearray(stride)
    for y in range(h):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        prev = line
        if bpp == 3:
            line = bytearray(v for k in range(w) for v in (line[3 * k], line[3 * k + 1], line[3 * k + 2], 255))
        rows.append(line)
    return w, h, rows


def shelves(sizes, order, width):
    """Places the boxes in rows no wider than width, in the given order: their (x, y) and the
    height used."""
    places, x, y, row = [None] * len(sizes), 0, 0, 0
    for i in order:
        w, h = sizes[i]
        if x + w > width:
            x, y, row = 0, y + row, 0
        places[i] = (x, y)
        x += w
        row = max(row, h)
    return places, y + row


def pack(sizes):
    """Places (w, h) boxes in rows, tallest first, at the row width that leaves the least unused
    area: their (x, y) and the texture's size."""
    order = sorted(range(len(sizes)), key=lambda i: (-sizes[i][1], -sizes[i][0]))
    widest = max(w for w, _ in sizes)
    best = None
    for width in range(widest, min(MAX_WIDTH, sum(w for w, _ in sizes)) + 1):
        places, height = shelves(sizes, order, width)
        used = max(x + sizes[i][0] for i, (x, _) in enumerate(places))
        if best is None or used * height < best[1] * best[2]:
            best = (places, used, height)
    return best


def build(data, texture, patterns, keep):
    files = sorted({f for p in patterns for f in glob.glob(os.path.join(data, p))})
    if not files:
        return {}
    pictures = [read_png(f) for f in files]
    for f, (w, h, rows) in zip(files, pictures):
        if all(rows[y][4 * x + 3] == 255 for y in range(h) for x in range(w)):
            sys.exit("%s is opaque: leave it in its own file" % f)
    places, tw, th = pack([(w + 2, h + 2) for w, h, _ in pictures])
    out = [bytearray(4 * tw) for _ in range(th)]
    lines = [str(len(files))]
    for f, (w, h, rows), (px, py) in zip(files, pictures, places):
        # The picture with its border: the edge pixels repeated once on every side.
        for y in range(-1, h + 1):
            src = rows[min(max(y, 0), h - 1)]
            line = src[0:4] + src + src[4 * w - 4:4 * w]
            out[py + 1 + y][4 * px:4 * px + 4 * (w + 2)] = line
        name = os.path.splitext(os.path.basename(f))[0]
        lines += [name, str(px + 1), str(py + 1), str(w), str(h)]
    folder, base = os.path.split(os.path.join(data, texture))
    path = os.path.join(folder, base.lower())
    with open(path, "wb") as fh:
        fh.write(png_bytes(tw, th, out))
    with open(os.path.splitext(path)[0] + ".txt", "w") as fh:
        fh.write("\n".join(lines) + "\n")
    rel_texture = os.path.relpath(path, data)
    urls = {}
    for f in files:
        rel = os.path.relpath(f, data)
        urls["#BDIR#" + rel] = "#BDIR#%s|%s" % (rel_texture, os.path.splitext(os.path.basename(f))[0])
        if not keep:
            os.remove(f)
    print("%s: %d pictures, %d x %d" % (rel_texture, len(files), tw, th))
    return urls


def name_widget(text, name, url, path):
    """The screen file's text with url saved in the own data of every widget called name."""
    at = 0
    while True:
        at = text.find('Name = "%s"\n' % name, at)
        if at < 0:
            return text
        kind = text.find("Type = ", at)
        if text[kind:text.find("\n", kind)] != "Type = 2":  # not an image widget
            at = kind
            continue
        own = text.find("OwnData{\n", at)
        close = text.find("}", own)
        if own >= 0 and "imageUrl = " in text[own:close]:  # its saved url is renamed above
            at = close
            continue
        if own < 0 or text[own + len("OwnData{\n"):close].strip():
            sys.exit("%s: the widget %s has own data of its own; name its picture by hand" % (path, name))
        indent = text[text.rfind("\n", 0, own) + 1:own]
        line = '%s\timageUrl = "%s"\n' % (indent, url)
        text = text[:own + len("OwnData{\n")] + line + text[own + len("OwnData{\n"):]
        at = own


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--data", default=os.path.join(ROOT, "data"))
    args = parser.parse_args()
    urls = {}
    for texture, (patterns, keep) in GROUPS.items():
        urls.update(build(args.data, texture, patterns, keep))
    for pattern in SCREEN_FILES:
        for f in glob.glob(os.path.join(args.data, "**", pattern), recursive=True):
            text = open(f, encoding="utf-8").read()
            new = text
            for old, url in urls.items():
                new = new.replace('"%s"' % old, '"%s"' % url)
                # A widget named after a picture beside its screen file took that picture without
                # a saved url: it now names the picture in the texture.
                if os.path.dirname(os.path.join(args.data, old[len("#BDIR#"):])) == os.path.dirname(f):
                    new = name_widget(new, os.path.splitext(os.path.basename(old))[0], url, f)
            if new != text:
                with open(f, "w", encoding="utf-8") as fh:
                    fh.write(new)


if __name__ == "__main__":
    main()
