#!/usr/bin/env python3
"""Makes the seed corpus and the dictionary of every fuzz target (fuzz/corpus/<target>/ and
fuzz/dict/<target>.dict) from the game's own data folder.

Seeds are small, valid files of each format taken from data/ (screens are also cut into one
screen per object, so each object kind has a small seed of its own); targets that read several
files get their parts joined by NUL bytes, the way the target splits them. Pictures are the
data's small PNGs and the same pictures written as JPEG (baseline and progressive), BMP and TGA
(plain and run-length). Dictionaries hold the syntax of each format and every block and entry
name that the data's files of that kind use.

Run from the repository root:  /usr/bin/python3 tools/make_fuzz_corpus.py
(needs the Debian package python3-pil for the picture formats; it is installed when missing).
"""
import glob
import hashlib
import io
import os
import re
import subprocess
import sys
import zipfile
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "data")
FUZZ = os.path.join(ROOT, "fuzz")


def need_pil():
    try:
        import PIL  # noqa: F401
    except ImportError:
        sudo = [] if os.geteuid() == 0 else ["sudo"]
        subprocess.check_call(sudo + ["apt-get", "install", "-y", "-qq", "python3-pil"])


def read(path):
    with open(os.path.join(DATA, path), "rb") as f:
        return f.read()


def write_corpus(target, seeds):
    folder = os.path.join(FUZZ, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    # Inputs a fuzzer found are kept by hand as "regression-*" seeds: never thrown away here.
    for old in os.listdir(folder):
        if not old.startswith("regression-"):
            os.remove(os.path.join(folder, old))
    for name, data in seeds:
        digest = hashlib.sha1(data).hexdigest()[:8]
        with open(os.path.join(folder, f"{name}-{digest}"), "wb") as f:
            f.write(data)


def zip_bytes(files, compression=None):
    """A zip of (name, bytes) pairs, the same bytes at every run (fixed dates)."""
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as z:
        for name, data in files:
            info = zipfile.ZipInfo(name, date_time=(2026, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED if compression is None else compression
            info.external_attr = (0o40755 if name.endswith("/") else 0o100644) << 16
            z.writestr(info, data)
    return out.getvalue()


def write_dict(target, tokens):
    os.makedirs(os.path.join(FUZZ, "dict"), exist_ok=True)
    lines = []
    for t in sorted(set(tokens), key=lambda b: (len(b), b)):
        text = "".join(chr(c) if 32 <= c < 127 and c not in (34, 92) else f"\\x{c:02X}" for c in t)
        lines.append(f'"{text}"')
    with open(os.path.join(FUZZ, "dict", target + ".dict"), "w") as f:
        f.write(f"# {target}: made by tools/make_fuzz_corpus.py from data/\n")
        f.write("\n".join(lines) + "\n")


# ---- block files ----

BLOCK_SYNTAX = [b"{", b"}", b"=", b",", b'"', b"::", b"\\\"", b"\\n", b"true", b"false", b"-", b".", b"e+38",
                b"\xEF\xBB\xBF", b"\xFF\xFE", b"\xFE\xFF", b"\r\n", b"\t", b"2147483647", b"-2147483648",
                b"9e9", b"nan", b"inf", b"$FF", b"%101"]


def block_names(text):
    """Every block and entry name of a block-file text."""
    names = set(re.findall(rb"^\s*([A-Za-z_][A-Za-z0-9_]*)\s*[{=]", text, re.M))
    return names


def top_level_blocks(text, name):
    """The text of every top-level child block called name inside the first block "Objects"."""
    start = text.find(b"Objects{")
    if start < 0:
        return []
    pos = start + len(b"Objects{")
    out, depth, quote, begin = [], 0, False, None
    while pos < len(text):
        c = text[pos:pos + 1]
        if c == b'"' and text[pos - 1:pos] != b"\\":
            quote = not quote
        elif not quote and c == b"{":
            if depth == 0:
                line_start = text.rfind(b"\n", 0, pos) + 1
                begin = line_start if text[line_start:pos].strip() == name else None
            depth += 1
        elif not quote and c == b"}":
            if depth == 0:
                break
            depth -= 1
            if depth == 0 and begin is not None:
                out.append(text[begin:pos + 1] + b"\n")
        pos += 1
    return out


def utf16(text):
    return b"\xFF\xFE" + text.decode("latin-1").encode("utf-16-le")


# ---- pictures ----

def picture_seeds():
    from PIL import Image
    seeds = []
    for path in ["Particles/Petal.png", "Anims/Bird/images/beak.png", "App/Cursors/Arrow.png"]:
        seeds.append(("png-" + os.path.basename(path), read(path)))
    source = Image.open(os.path.join(DATA, "Particles/Petal.png")).convert("RGBA").resize((12, 12))
    rgb = Image.new("RGB", source.size, (40, 60, 80))
    rgb.paste(source, mask=source.split()[3])

    def save(img, fmt, **kw):
        buf = io.BytesIO()
        img.save(buf, fmt, **kw)
        return buf.getvalue()

    seeds += [
        ("png-grey", save(rgb.convert("L"), "PNG")),
        ("png-palette", save(rgb.convert("P", palette=Image.ADAPTIVE, colors=8), "PNG")),
        ("png-text-chunks", with_text_chunks(read("Particles/Petal.png"))),
        ("jpeg-baseline", save(rgb, "JPEG", quality=70)),
        ("jpeg-progressive", save(rgb, "JPEG", quality=70, progressive=True)),
        ("jpeg-grey", save(rgb.convert("L"), "JPEG", quality=70)),
        ("jpeg-cmyk", save(rgb.convert("CMYK"), "JPEG", quality=70)),
        ("bmp-24", save(rgb, "BMP")),
        ("bmp-32", save(source, "BMP")),
        ("bmp-8", save(rgb.convert("P", palette=Image.ADAPTIVE, colors=16), "BMP")),
        ("bmp-1", save(rgb.convert("1"), "BMP")),
        ("tga-32", save(source, "TGA")),
        ("tga-24-rle", save(rgb, "TGA", compression="tga_rle")),
        ("tga-grey", save(rgb.convert("L"), "TGA")),
        ("tga-palette", save(rgb.convert("P", palette=Image.ADAPTIVE, colors=16), "TGA")),
    ]
    return seeds


def png_chunk(kind, body):
    return len(body).to_bytes(4, "big") + kind + body + zlib.crc32(kind + body).to_bytes(4, "big")


def with_text_chunks(png, packed=20):
    """The PNG with chunks that are not pixels after its header: `packed` compressed texts of 1 MB
    each (costly to unpack, a kilobyte to send), a text, an international text (compressed) and a
    colour profile; the decoder must skip them all unread."""
    megabyte = zlib.compress(bytes(1 << 20), 9)
    chunks = b"".join(png_chunk(b"zTXt", b"Comment\0\0" + megabyte) for _ in range(packed))
    chunks += png_chunk(b"tEXt", b"Title\0seed")
    chunks += png_chunk(b"iTXt", b"Description\0\1\0en\0\0" + megabyte)
    chunks += png_chunk(b"iCCP", b"profile\0\0" + zlib.compress(bytes(4096)))
    return png[:33] + chunks + png[33:]


PICTURE_TOKENS = [b"\x89PNG\r\n\x1a\n", b"IHDR", b"IDAT", b"IEND", b"PLTE", b"tRNS", b"gAMA", b"iCCP",
                  b"zTXt", b"iTXt", b"tEXt", b"sRGB", b"cHRM", b"sBIT", b"acTL", b"fdAT",
                  b"\xFF\xD8\xFF", b"\xFF\xC0", b"\xFF\xC2", b"\xFF\xC4", b"\xFF\xDA", b"\xFF\xDB", b"\xFF\xDD",
                  b"\xFF\xD9", b"\xFF\xEE", b"Adobe", b"JFIF", b"BM", b"\x28\x00\x00\x00", b"\x0C\x00\x00\x00",
                  b"\x7C\x00\x00\x00", b"\x03\x00\x00\x00", b"\xFF\xFF", b"\xFF\x7F", b"\x00\x80", b"\x20",
                  b"\x08", b"\x18", b"\x0A", b"\x09", b"\x02"]


def main():
    need_pil()
    screens = {name: (read(f"Screens/{folder}/{name}.AppScreen"), read(f"Local/en/{name}.txt"))
               for folder, name in (("MainMenu", "MainMenu"), ("MainGame", "GameScreen"),
                                    ("LoadingScreen", "LoadingScreen"))}
    popup = read("PopUps/Options/Options.AppPopUp")
    menu_txt = screens["MainMenu"][1]
    gfx, vectors, anims = (read("Anims/Bird/" + n) for n in ("Gfxs.avo", "Vectors.avo", "Anims.avo"))
    presets = read("App/Data/EmitterPresets.dat")
    petals = read("Particles/Petals.EmitterPreset")
    levels = {n: read(f"Game/Levels/Picross/Level-{n}.PACLevel") for n in (1, 37, 100)}
    init_ini = read("App/Data/Init.ini")

    # Block files: every kind the data holds, one re-encoded as UTF-16.
    block_files = [("classes", read("App/Data/Classes.dat")), ("fonts", read("App/Data/Fonts.dat")),
                   ("mouse", read("App/Data/Mouse.dat")), ("presets", presets), ("petals", petals),
                   ("object", read("Particles/StartScreenPetals.GameObject")), ("tracks", read("Sound/Tracks.txt")),
                   ("gfxs", gfx), ("anims", anims), ("vectors", vectors), ("level", levels[1]),
                   ("mouse-utf16", utf16(read("App/Data/Mouse.dat")))]
    write_corpus("blockfile", block_files)
    all_names = set()
    for _, text in block_files + [(n, t) for n, (t, _) in screens.items()]:
        all_names |= block_names(text)
    write_dict("blockfile", BLOCK_SYNTAX + list(all_names))

    # Levels: fresh ones, and one in progress with its play state.
    in_progress = levels[1].rstrip()[:-1] + (
        b"\tTilesData{\n\t\tisSaved = 1\n\t\tColor0{\n"
        + b"".join(b"\t\t\trow%d = \"1|0\", \"0|0\", \"1|1\", \"0|0\", \"1|0\"\n" % r for r in range(5))
        + b"\t\t}\n\t}\n\tHints = \"1,0,2\"\n\tHintWasUsed = 1\n}\n")
    write_corpus("level", [(f"level-{n}", t) for n, t in levels.items()] + [("in-progress", in_progress)])
    level_names = set()
    for t in list(levels.values()) + [in_progress]:
        level_names |= block_names(t)
    write_dict("level", BLOCK_SYNTAX + list(level_names) + [b"Color0", b"Row0", b"row0", b"|", b"1|0", b"0|1"])

    # Neighbour-count levels: the shipped ones, and one in play (painted, crossed, a short
    # crosses text).
    fap = {n: read(f"Game/Levels/FAP/Level-{n}.FAPLevel") for n in (1, 3)}
    fap_play = fap[1].replace(b'"0|0|0"', b'"0|1|0"', 3).replace(b'"1|0|0"', b'"1|0|1"', 2) + (
        b'TilesData{\n\tRow0 = "1|1|", "0|0|1:1", "2|0|0"\n}\n')
    write_corpus("faplevel", [(f"level-{n}", t) for n, t in fap.items()] + [("in-play", fap_play)])
    fap_names = set()
    for t in list(fap.values()) + [fap_play]:
        fap_names |= block_names(t)
    write_dict("faplevel", BLOCK_SYNTAX + list(fap_names) + [b"Row0", b"|", b":", b"0|0|0", b"1|1|0:1"])

    # Ini files and the settings file.
    settings = (b"[SCREEN]\nWindowWidth = 1366\nWindowHeight = 768\nVirtualWidth = 1024\nVirtualHeight = 768\n"
                b"FullScreen = 1\nStretched = 1\n\n[LANG]\nLangDir = en\n\n[VOLUME]\nSoundVolume = 0.250000000\n"
                b"MusicVolume = 1.00000000\n\n[OTHER]\nCustomCursor = 0\nGameWasRated = 1\n")
    write_corpus("ini", [("init", init_ini), ("settings", settings), ("init-utf16", utf16(init_ini))])
    write_corpus("settings", [("init", init_ini), ("settings", settings)])
    ini_tokens = [b"[", b"]", b"=", b"\n", b"\r\n", b";", b"#", b"TRUE", b"FALSE", b"-", b".", b"1e9", b"nan",
                  b"inf", b"\xFF\xFE", b"\xEF\xBB\xBF"] + re.findall(rb"[A-Za-z]+", init_ini)
    write_dict("ini", ini_tokens)
    write_dict("settings", ini_tokens + [b"SCREEN", b"LANG", b"VOLUME", b"OTHER", b"Fullscreen"])

    # Text files, with line references into the data folder.
    refs = b"[Local/#LANG#/MainMenu.txt|2]\n[Local/en/Paused.txt|1]\n[Local/#LANG#/MainMenu.txt|x]\nplain\n"
    write_corpus("text", [("menu", menu_txt), ("paused", read("Local/en/Paused.txt")),
                          ("credits", read("Local/en/credits.txt")),
                          ("grid-sizes", read("Game/PlayField/GridSizes.txt")), ("refs", refs),
                          ("menu-utf16", utf16(menu_txt)),
                          ("menu-crlf", menu_txt.replace(b"\n", b"\r\n"))])
    write_dict("text", [b"[", b"]", b"|", b"#LANG#", b"\n", b"\r\n", b"\r", b"../", b"/", b"Local/", b"en/",
                        b"MainMenu.txt", b"\xFF\xFE", b"\xFE\xFF", b"\xEF\xBB\xBF", b"\x00"])

    # Vector-animation packages: Gfxs, Vectors and Anims joined by NUL bytes.
    write_corpus("avo", [("bird", gfx + b"\0" + vectors + b"\0" + anims)])
    write_dict("avo", BLOCK_SYNTAX + list(block_names(gfx) | block_names(vectors) | block_names(anims))
               + [b"\0", b"Img5", b"body.png", b"../"])

    # Screens and their texts: the small ones whole, a pop-up, and one screen per object of the
    # large ones.
    head = b'Data{\n\tName = "Fuzz"\n}\nFlags{\n\tisSetupedAtLoading = 1\n\tisFreedByLeave = 0\n}\nObjects{\n'
    seeds = [("loading", b"\0".join(screens["LoadingScreen"])), ("options", popup + b"\0")]
    names = block_names(popup)
    for name, (text, lines) in screens.items():
        names |= block_names(text)
        if len(text) < 4096:
            continue
        for i, obj in enumerate(top_level_blocks(text, b"GameObject")):
            seeds.append((f"{name}-object{i}", head + obj + b"}\n\0" + lines))
    emitter_object = read("Particles/StartScreenPetals.GameObject")
    seeds.append(("emitter", head + emitter_object + b"}\n\0"))
    write_corpus("screen", seeds)
    write_dict("screen", BLOCK_SYNTAX + list(names | block_names(emitter_object))
               + [b"\0", b"LoadObject", b"TxtFileUrl", b"#BDIR#", b"[BDIR]", b"#LOCAL#", b"Anims/Bird",
                  b"Particles/Star.png"])

    # Emitter presets: the start-up list and a preset file it names.
    named = presets + b'Preset{\n\tLoadPreset = "#BDIR#Preset.dat"\n}\n'
    write_corpus("emitter", [("presets", presets + b"\0"), ("named", named + b"\0" + petals)])
    write_dict("emitter", BLOCK_SYNTAX + list(block_names(presets) | block_names(petals))
               + [b"\0", b"#BDIR#Preset.dat", b"BASIC_EMITTER", b"BOX)", b"ELIPSE)", b"POINT)", b"LINE)",
                  b"COLORIZER)", b"FROM_GRADIENT)", b"RANDOM_COLOR)", b"GRADIENT)", b"GRADIENT_ARRAY)",
                  b"GRADIENT_BETWEEN)", b"TRANSFORMER)", b"TRANSFORM)", b"RANDOM_TFR)", b"TRANSFORM_ARRAY)",
                  b"TRANSFORM_BETWEEN)", b"&", b"#"])

    # Pictures.
    write_corpus("image", picture_seeds())
    write_dict("image", PICTURE_TOKENS)

    # The maker's shared key file: this game's group beside another game's, texts with escapes.
    keyfile = (b"NewsLetter {\n\tSubscribed = 1\n\tQuiltora_2 {\n\t\tSeconds = 12\n\t\tMinutes = 3\n"
               b"\t\tHowManyTimes = 1\n\t}\n\n\tOther_Game {\n\t\tMinutes = 7\n\t\tName = \"A \\7Bb\\7D\", 2.50000000\n"
               b"\t}\n\n}\n\n")
    # Inputs that once found a fault stay as seeds (each also has its test in tests/).
    grown_blank = b"NewsLetter {\n\tOther_Game {\n\t\tSeconds =  2.50000000\n\t}\n\n}\n\n"
    quoted_names = b'Q"u"ote {\n\tA"b"c = 1\n\t\\22x\\20 = "v"\n}\n\n'
    write_corpus("keyfile", [("two-games", keyfile), ("empty-group", b"NewsLetter {\n\n}\n\n"),
                             ("quoted-names", quoted_names),
                             ("crlf", keyfile.replace(b"\n", b"\r\n")), ("regression-number-blank", grown_blank),
                             ("regression-name-with-equals", b"Top {\n\tG = x {\n\t\tA = 1\n\t}\n\n}\n\n"),
                             ("regression-high-escape", b"G {\n\tName = \"A \\9Bb\\E9\"\n}\n\n")])
    write_dict("keyfile", [b"{", b"}", b" {", b"=", b" = ", b",", b", ", b'"', b"\\", b"\\7B", b"\\7D", b"\\22",
                           b"\\5C", b"\\0A", b"\t", b"\n", b"\r\n", b"NewsLetter", b"Subscribed", b"Quiltora_2",
                           b"Seconds", b"Minutes", b"HowManyTimes", b"*", b"0", b"-1", b"2.50000000", b"1e39",
                           b"nan", b"::", b"\\20", b"\\3D"])

    # The newsletter window's settings blocks and its text lines.
    blocks = (b"[SETTINGS]\nPanelX = 400\nPanelY = 300\nFontUrl = fonts/Big.ttf\nColor = $FF8040\n"
              b"[BUTTON]\nType = textbutton\nScale = 0.5\nFlags = %101\n")
    lines = b"Join our newsletter\nYour e-mail:\nThank you!\r\nlast line without end"
    write_corpus("enblock", [("settings", blocks + b"\0" + lines), ("crlf", blocks.replace(b"\n", b"\r\n") + b"\0"),
                             ("lines", b"\0" + lines)])
    write_dict("enblock", [b"[", b"]", b"=", b" = ", b"\n", b"\r\n", b"\t", b"$", b"%", b"-", b".", b"e9", b"\0",
                           b"SETTINGS", b"BUTTON", b"PanelX", b"Type", b"2147483648", b"-2147483649", b"nan"])

    # The launcher's package description (with the pictures of the shipped package) and the
    # server's version reply.
    package = read("launcher/package/launcher.dat")
    reply = b"VelkaroLauncherPackage|2|http://127.0.0.1/package.zip"
    alt = (b"<HEADER>\nHEADERVARS|5\nICONVARS|3\nBANERVARS|4\nALTBANERVARS|3\nVERSION|7\n<BANER>\n"
           b"APPID|quiltora2\nURL|http://a/\nGFX|baner.png\nSHOWIFBUY|0\n<ALTBANER>\nAPPID|stitchwise\n"
           b"URL|http://b/\nGFX|stitchwise.png\n")
    # A third part is a picture of the input's own, "fuzz.png" in the package.
    own = package.replace(b"GFX|stitchwise.png", b"GFX|fuzz.png")
    write_corpus("launcher", [("shipped", package + b"\0" + reply), ("alt-banner", alt + b"\0"),
                              ("crlf", package.replace(b"\n", b"\r\n") + b"\0" + reply + b"|extra"),
                              ("own-picture", own + b"\0" + reply + b"\0" + read("launcher/package/stitchwise.png")),
                              ("own-picture-text-chunks",
                               own + b"\0" + reply + b"\0" + with_text_chunks(read("launcher/package/stitchwise.png")))])
    write_dict("launcher", [b"|", b"\n", b"\r\n", b"\0", b"<HEADER>", b"<ICON>", b"<BANER>", b"<ALTBANER>",
                            b"HEADERVARS", b"ICONVARS", b"BANERVARS", b"ALTBANERVARS", b"VERSION", b"APPID", b"URL",
                            b"GFX", b"SHOWIFBUY", b"$UTMSOURCE$", b"quiltora2", b"baner.png", b"stitchwise.png",
                            b"fuzz.png", b"../", b"/", b"00", b"-1", b"2147483647", b"VelkaroLauncherPackage",
                            b"IHDR", b"IDAT", b"IEND", b"zTXt", b"iTXt", b"tEXt", b"iCCP", b"\x00\x00\x20\x00",
                            b"\x00\x00\x08\x00"])

    # The package as a server sends it: the shipped package zipped (with its description's version
    # raised), and the same with a folder and with its pictures stored without compression.
    files = [(name, read("launcher/package/" + name)) for name in sorted(os.listdir(os.path.join(DATA, "launcher/package")))]
    files = [(n, b.replace(b"VERSION|1", b"VERSION|2") if n == "launcher.dat" else b) for n, b in files]
    write_corpus("archive", [("shipped", zip_bytes(files)), ("stored", zip_bytes(files, zipfile.ZIP_STORED)),
                             ("folder", zip_bytes(files + [("extra/", b"")]))])
    write_dict("archive", [b"PK\x03\x04", b"PK\x01\x02", b"PK\x05\x06", b"launcher.dat", b"baner.png", b"../",
                           b"/", b"\xff\xff\xff\xff", b"\x00\x00\x00\x01", b"\xa1\x81", b"\xed\x41"])

    # The players' files: the index, the progress file of "ANN" and its level in progress.
    index = (b"Settings{\n\tCurrProfile = \"65-78-78\"\n}\nProfile{\n\tId = \"65-78-78\"\n\tName = \"ANN\"\n}\n"
             b"Profile{\n\tId = \"66-79\"\n\tName = \"BO\"\n}\n")
    progress = (b"Data{\n\tName = \"ANN\"\n\tLevel = 3\n\tScore = 950\n\tStars = 5\n\tScreen = \"GameScreen\"\n"
                b"\tMapScreenAnimationShowed = 1\n\tTutorialScreenShowed = 1\n\tKingdomTutorialScreenShowed = 0\n"
                b"\tCurrMusic = 2\n\tMapY = -120\n}\nLevels{\n\ti = 3\n\tLevel1 = \"1,1,1,3,950,412,120\"\n"
                b"\tLevel2 = \"2,1,1,2,800,500,200\"\n\tLevel3 = \"3,0,1,0,0,0,0\"\n}\nStats{\n"
                b"\tLevelsWithoutMistakes = 1\n\tLevelWithoutHint = 2\n\tLevelWithHint = 0\n\tHintUsed = 0\n"
                b"\tTilesUncovered = 500\n\tTilesCrossed = 200\n\tCashSpend = 40\n}\nBuildings{\n\ti = 1\n"
                b"\tBuildingStage = 1\n\tObject1 = 4\n}\nAwards{\n\tAwardsList = \"1 3\"\n}\n")
    other_name = index + b"\0" + b"Data{\n\tName = \"BO\"\n\tLevel = 7\n\tScore = 950\n}\n\0"

    # The same player as one save of this build: a save counter in the progress file, and the
    # level in progress paired with it; beside them the save before (".bak").
    def counted(n):
        return progress.replace(b"\tLevel = 3\n", b"\tLevel = 3\n\tSaveCount = %d\n" % n)

    def paired(level, n):
        return in_progress + b"Progress{\n\tLevel = %d\n\tSaveCount = %d\n}\n" % (level, n)

    pair = index + b"\0" + counted(2) + b"\0" + paired(3, 2) + b"\0" + counted(1) + b"\0" + paired(3, 1)
    # A save cut short between its two files: the level in progress of the next save (level 5),
    # the progress file and the level in progress of the save before.
    cut_short = index + b"\0" + counted(1) + b"\0" + paired(5, 2) + b"\0\0" + paired(3, 1)
    # A progress file cut inside "Stats", and the whole save before it.
    salvage = index + b"\0" + counted(2)[:counted(2).find(b"HintUsed") + 3] + b"\0\0" + counted(1) + b"\0"
    # The same save as this build writes it, with its checks (game/progress/SaveFiles.h), and with
    # one bit of its score flipped: the damaged progress file is taken apart against the save before.
    def checked(text, each_block=True):
        def canonical(lines):
            # The text as the reader gives it back: blocks in capitals, entries in small letters.
            out = b""
            for line in lines:
                body = line.lstrip(b"\t")
                tabs = line[:len(line) - len(body)]
                if body.endswith(b"{"):
                    body = body.upper()
                elif b" = " in body:
                    key, value = body.split(b" = ", 1)
                    body = key.lower() + b" = " + value
                out += tabs + body + b"\n"
            return out

        def check(lines, tabs):
            return tabs + b"Check = \"%08x\"" % zlib.crc32(canonical(lines))

        lines, blocks = text.rstrip(b"\n").split(b"\n"), []
        for line in lines:
            if not line.startswith(b"\t") and line.endswith(b"{"):
                blocks.append([])
            blocks[-1].append(line)
        out = []
        for block in blocks:
            out += block[:-1] + ([check(block, b"\t")] if each_block else []) + block[-1:]
        return b"\n".join(out + [check(lines, b"")]) + b"\n"

    saved = (checked(index) + b"\0" + checked(counted(2)) + b"\0" + checked(paired(3, 2), False) + b"\0" +
             checked(counted(1)) + b"\0" + checked(paired(3, 1), False))
    flipped = saved.replace(b"Score = 950", b"Score = 951", 1)
    write_corpus("profile", [("player", index + b"\0" + progress + b"\0" + in_progress),
                             ("no-index", b"\0" + progress + b"\0"), ("index-only", index + b"\0\0"),
                             ("regression-name-of-another", other_name), ("pair", pair),
                             ("cut-short", cut_short), ("salvage", salvage), ("checked", saved),
                             ("checked-flipped", flipped)])
    write_dict("profile", BLOCK_SYNTAX + list(block_names(index) | block_names(progress) | level_names)
               + [b"\0", b"65-78-78", b"ANN", b"GameScreen", b"Kingdom", b"Stages", b"1,1,1,3,950,412,120",
                  b"SaveCount", b"Progress", b"Check", b"LevelInProgress"])

    # The game's own screens: the first byte picks the screen (in the target's order), the rest
    # is its shipped file and text file.
    game_screens = [("MainMenu", "Screens/MainMenu/MainMenu.AppScreen", "MainMenu"),
                    ("Options", "PopUps/Options/Options.AppPopUp", "Options"),
                    ("Info", "PopUps/InfoPopUp/InfoPopUp.AppPopUp", "InfoPopUp"),
                    ("EnterName", "PopUps/Entername/EnterName.AppPopUp", "EnterName"),
                    ("Continue", "PopUps/Continue/Continue.AppPopUp", "Continue"),
                    ("Profiles", "PopUps/Profiles/Profiles.AppPopUp", "Profiles"),
                    ("Rate", "Screens/RateScreen/RateScreen.AppScreen", "RateScreen"),
                    ("Loading", "Screens/LoadingScreen/LoadingScreen.AppScreen", "LoadingScreen"),
                    ("LevelSummary", "PopUps/LevelSummary/LevelSummary.AppScreen", "LevelSummary"),
                    ("Lose", "PopUps/LoseScreen/LoseSCreen.AppScreen", "LoseSCreen"),
                    ("Help", "PopUps/Help/HelpScreen.AppPopUp", "HelpScreen"),
                    ("Game", "Screens/MainGame/GameScreen.AppScreen", "GameScreen"),
                    ("Stages", "Screens/Stages/Stages.AppScreen", "Stages"),
                    ("Kingdom", "Screens/Kingdom/Kingdom.AppScreen", "Kingdom"),
                    ("KingdomHelp", "PopUps/KingdomHelp/KingdomHelpScreen.AppPopUp", "KingdomHelpScreen"),
                    ("GiveAward", "PopUps/GiveAward/GiveAward.AppPopUp", "GiveAward"),
                    ("AwardsShow", "PopUps/AwardsShow/AwardsShow.AppPopUp", "AwardsShow"),
                    ("Credits", "Screens/Credits/Credits.AppScreen", "credits"),
                    # The newsletter window: its own block file and text lines.
                    ("NewsLetter", "newsletter/newsletter.dat", "../../newsletter/newsletter")]
    seeds, names = [], set()
    for i, (name, path, txt) in enumerate(game_screens):
        text = read(path)
        names |= block_names(text)
        seeds.append((name.lower(), bytes([i]) + text + b"\0" + read(f"Local/en/{txt}.txt")))
    write_corpus("gamescreen", seeds)
    write_dict("gamescreen", BLOCK_SYNTAX + list(names) + [b"\0", b"id = 101", b"id = 201", b"#PLAYER#"])


if __name__ == "__main__":
    sys.exit(main())
