#!/usr/bin/env python3
"""Writes the screen and pop-up files of the stages map, the level summary, the lose pop-up, the
awards pop-ups and the help pop-ups, with their text files, the level names and the award
catalogue "Awards.txt".

    tools/make_stages_screens.py [data folder]     (default: data)

The pictures come from tools/make_stages_art.py (which reads the sizes and the map's level
points from here); the buttons use the main menu's pictures. The thumbnails' records
"Screens/Stages/MiniLevels.txt" come from the levels: tools/make_levels.py --mini FILE.
Python 3 standard library only.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_shell_screens import Obj, button, image, text, write_screen  # noqa: E402
from make_popup_screens import SHOW_HIDE, animator, backdrop, CX, CY, PANEL_PAD, small, big  # noqa: E402

# The map: four strips of 1366 x 1024, scrolled from y 0 (top) to -3328 (bottom).
MAP_W, MAP_H = 1366, 4096
PANEL_SIZES = {
    "Panelik": (76, 64),
    "Stars": (64, 22),
    "Panel": (520, 64),
    "Back": (196, 68),
    "SummaryWindow": (600, 640),
    "Stats": (360, 250),
    "LoseWindow": (520, 300),
    "AwardsMain": (760, 600),
    "GiveAward": (520, 420),
    "Help": (700, 560),
}


# The thumbnails' four columns, and the map's two buttons in the bottom corners beside them: a
# thumbnail (76 wide) never passes under a button (180 wide on a backing 196 wide) wherever the
# map is scrolled, in the wide picture and in the 4:3 one.
COLUMNS = [248, 424, 600, 776]
BUTTONS_X = {"AwardsButton": 105, "Next": 919}  # middles, mirrored inside the 1024 x 768 picture
BUTTONS_Y = 724


def level_points():
    """One hundred points on a winding path, level 1 at the bottom: 25 rows of four, each row
    running the other way, x in the 1024-wide picture, y on the map."""
    points = []
    xs = COLUMNS
    for row in range(25):
        y = MAP_H - 170 - row * 150
        order = xs if row % 2 == 0 else xs[::-1]
        for i, x in enumerate(order):
            wobble = (-18, 14, -10, 20)[(row + i) % 4]
            points.append((x, y + wobble))
    return points


POINTS = level_points()
MENU = "#BDIR#Screens/MainMenu/"
STAGES = "#BDIR#Screens/Stages/"


def light_button(name, oid, x, y, line, layer):
    """A glowing button (the map's): the main menu's small button views."""
    b = button(name, oid, x, y, 180, 48, line, MENU + "Small", layer)
    b.otype = 7
    return b


def stages_screen():
    strips = [image("Map%d" % (i + 1), 0, 0, 1024 * i, 0, url=STAGES + "Map%d.jpg" % (i + 1)) for i in range(4)]
    points = [Obj("L%d" % (k + 1), k + 1, 0, x, y) for k, (x, y) in enumerate(POINTS)]
    holder = Obj("Levels", 1001, 0, 171, 0, subs=points)
    pw, ph = PANEL_SIZES["Panel"]
    px = 512 - pw / 2
    panel = image("Panel", 0, px, 6, 40, url=STAGES + "Panel.png", subs=[
        text("LevelText", 0, 20, 12, 90, 34, 3, "GamePanel", 41),
        text("Level", 0, 106, 12, 60, 34, 0, "GamePanel", 41),
        text("ScoreText", 0, 176, 12, 90, 34, 4, "GamePanel", 41),
        text("Money", 0, 262, 12, 110, 34, 0, "GamePanel", 41),
        text("Stars", 0, 418, 12, 80, 34, 0, "GamePanel", 41),
    ])
    bw, bh = PANEL_SIZES["Back"]
    nx, ax = BUTTONS_X["Next"], BUTTONS_X["AwardsButton"]
    return [
        Obj("Map", 100, 0, -171, 0, subs=strips + [holder]),
        panel,
        # Play and Awards mirror each other inside the 1024 x 768 picture, so that both show in
        # the 4:3 picture too, each in a bottom corner beside the thumbnails' columns.
        image("NextBack", 0, nx - bw / 2, BUTTONS_Y - bh / 2, 42, url=STAGES + "NextBack.png"),
        light_button("Next", 1, nx - 90, BUTTONS_Y - 24, 1, 43),
        image("AwardsBack", 0, ax - bw / 2, BUTTONS_Y - bh / 2, 42, url=STAGES + "AwardsBack.png"),
        light_button("AwardsButton", 11, ax - 90, BUTTONS_Y - 24, 2, 43),
    ]


def summary_screen():
    w, h = PANEL_SIZES["SummaryWindow"]
    folder = "#BDIR#PopUps/LevelSummary/"
    # The summary's stars land on (588, 142), (652, 132), (716, 142) less 171: their slots.
    slots = [image("StarSlot%d" % (i + 1), 0, x - CX, y - CY, 3, url=folder + "StarSlot.png")
             for i, (x, y) in enumerate(((417, 142), (481, 132), (545, 142)))]
    show = ["Component{", "\tType = 0", '\tName = "Animator"', "\tDefaultAnim = 0, 0", "\tANIMS{", "\t\tAnim{",
            "\t\t\tid = 1", '\t\t\tName = "Show"',
            '\t\t\tGradient = "255,255,255,0.00000000,0.00000000#255,255,255,1.00000000,0.300000012#'
            '255,255,255,1.00000000,1.00000000"',
            '\t\t\tTransform = "0.899999976,0.899999976,0.00000000,0.00000000,0#1.00000000,1.00000000,0.00000000,'
            '0.300000012,0#1.00000000,1.00000000,0.00000000,1.00000000,0"',
            "\t\t}", "\t}", "}"]
    window = Obj("TheWindow", 10, 0, CX, CY, 0, components=show, subs=[
        backdrop(1),
        image("Window", 0, -w / 2 - PANEL_PAD, -h / 2 - PANEL_PAD, 2, url=folder + "Window.png"),
        text("Title", 2, -280, -300, 560, 46, 0, "PopUpTitle", 10),
    ] + slots + [
        small("Next", 11, 40, 236, 1),
        small("Restart", 12, -220, 236, 2),
    ])
    sw, sh = PANEL_SIZES["Stats"]
    sx, sy = CX - sw / 2, CY - sh / 2
    stats = image("Stats", 20, sx, sy, 6, url=folder + "Stats.png", alpha=0.0, subs=[
        text("ScoreLabel", 0, 20, 30, 160, 40, 5, "Slot", 7),
        text("LevelScoreData", 21, 180, 30, 160, 40, 0, "Entry", 7),
        text("MistakesLabel", 0, 20, 104, 160, 40, 6, "Slot", 7),
        text("MistakesData", 22, 180, 104, 160, 40, 0, "Entry", 7),
        text("TimeLabel", 0, 20, 178, 160, 40, 7, "Slot", 7),
        text("LevelTimeData", 23, 180, 178, 160, 40, 0, "Entry", 7),
    ])
    # The statistics toggle: two buttons on one spot; the one shown is the one that is not clicked.
    tx, ty = CX - 90, CY + 178
    return [window, stats,
            button("StatsHide", 14, tx, ty, 180, 48, 4, MENU + "Small", 30),
            button("StatsShow", 13, tx, ty, 180, 48, 3, MENU + "Small", 30)]


def lose_popup():
    w, h = PANEL_SIZES["LoseWindow"]
    # Index 1 of the animator shows the window (index 0 leaves it as it is).
    anims = ["Component{", "\tType = 0", '\tName = "Animator"', "\tDefaultAnim = 0, 0", "\tANIMS{",
             "\t\tAnim{", "\t\t\tid = 3", '\t\t\tName = "Rest"', "\t\t}"]
    anims += ["\t\t" + line for line in SHOW_HIDE[4:10]]
    anims += ["\t}", "}"]
    return [Obj("LoseWindow", 1, 0, CX, CY, 0, components=anims, subs=[
        backdrop(1),
        image("Window", 0, -w / 2 - PANEL_PAD, -h / 2 - PANEL_PAD, 2, url="#BDIR#PopUps/LoseScreen/Window.png"),
        text("Title", 0, -240, -120, 480, 50, 1, "PopUpTitle", 10),
        text("Message", 0, -240, -60, 480, 70, 2, "RateMessage", 10),
        small("Menu", 101, -210, 50, 3),
        small("Replay", 102, 30, 50, 4),
    ])]


def give_award_popup():
    w, h = PANEL_SIZES["GiveAward"]
    return [Obj("Panel", 1, 0, CX, CY, 0, components=animator(), subs=[
        backdrop(1),
        image("Back", 0, -w / 2 - PANEL_PAD, -h / 2 - PANEL_PAD, 2, url="#BDIR#PopUps/GiveAward/Panel.png"),
        text("Heading", 0, -240, -190, 480, 44, 1, "PopUpTitle", 10),
        image("Award", 2, 0, -60, 10, url="#BDIR#PopUps/AwardsShow/Award-1.png", scale=1.4),
        text("Title", 3, -240, 30, 480, 44, 0, "PopUpTitle", 10),
        text("Opis", 4, -230, 80, 460, 70, 0, "RateMessage", 10),
        text("Hint", 0, -240, 160, 480, 30, 2, "Notice", 10),
    ])]


def awards_popup():
    w, h = PANEL_SIZES["AwardsMain"]
    subs = [
        backdrop(1),
        image("Back", 0, -w / 2 - PANEL_PAD, -h / 2 - PANEL_PAD, 2, url="#BDIR#PopUps/AwardsShow/Main.png"),
        text("Heading", 0, -300, -280, 600, 50, 1, "PopUpTitle", 10),
        text("Hint", 0, -300, 250, 600, 30, 2, "Notice", 10),
    ]
    for i in range(18):
        row, col = divmod(i, 6)
        # Top-left corners of the 96-pixel pictures: the grid centred on the panel.
        x = -348 + col * 120
        y = -200 + row * 150
        subs.append(image("Award%d" % (i + 1), 101 + i, x, y, 10,
                          url="#BDIR#PopUps/AwardsShow/Award-%d.png" % (i + 1)))
    return [Obj("Main", 1, 0, CX, CY, 0, components=animator(), subs=subs)]


def help_popup(folder):
    w, h = PANEL_SIZES["Help"]
    return [Obj("Panel", 1, 0, CX, CY, 0, components=animator(), subs=[
        backdrop(1),
        image("Back", 0, -w / 2 - PANEL_PAD, -h / 2 - PANEL_PAD, 2, url="#BDIR#PopUps/%s/Panel.png" % folder),
        text("Title", 0, -320, -260, 640, 50, 1, "PopUpTitle", 10),
        text("Body", 0, -310, -196, 620, 250, 2, "RateMessage", 10),
        big("OkButton", 5, -110, 196, 3),
    ])]


TEXTS = {
    "Stages.txt": ["Play", "Awards", "Level", "Score"],
    "LevelSummary.txt": ["Next", "Play again", "Statistics", "Picture", "Score", "Mistakes", "Time"],
    "LoseSCreen.txt": ["Out of tries", "Six mistakes end the level. Try again from the start?", "Menu",
                       "Try again"],
    "GiveAward.txt": ["New award!", "Click to go on"],
    "HelpScreen.txt": [
        "How to play",
        "The numbers beside each row and above each column tell how many cells of the current colour "
        "lie there, in order, in unbroken runs. Drag with the left button to uncover cells, with the "
        "right button (or the hammer) to cross out cells that stay empty. Finish one colour, then the "
        "next. Six mistakes lose the level; hints uncover two cells for you.",
        "Got it",
    ],
    "KingdomHelpScreen.txt": [
        "Your kingdom",
        "Every won level brings money. Spend it here on new buildings, four to a stage: each one you "
        "raise brings the kingdom to life, and creatures move in. When you are ready, go on to the map "
        "and play the next level.",
        "Got it",
    ],
}

# The awards: id, title, description (the titles and descriptions go to the awards pop-up's text
# file, lines 3 on: title then description per award).
AWARDS = [
    (1, "Steady Hand", "Finish 20 levels without a mistake."),
    (2, "On My Own", "Finish 25 levels without a hint."),
    (3, "Bright Ideas", "Use 48 hints."),
    (4, "Starry Quilt", "Collect 75 stars."),
    (5, "Uncoverer", "Uncover 1600 cells."),
    (6, "Cross Stitch", "Cross out 900 cells."),
    (7, "Patchwork Path", "Finish 30 levels."),
    (8, "Builder", "Own 14 buildings in your kingdom."),
    (9, "Spender", "Spend 5000 in your kingdom."),
    (10, "Flawless", "Finish 50 levels without a mistake."),
    (11, "Self-Made", "Finish 40 levels without a hint."),
    (12, "Lamplighter", "Use 96 hints."),
    (13, "Constellation", "Collect 200 stars."),
    (14, "Great Uncoverer", "Uncover 4000 cells."),
    (15, "Master Stitcher", "Cross out 1600 cells."),
    (16, "Long Road", "Finish 75 levels."),
    (17, "Royal Builder", "Own all 28 buildings of your kingdom."),
    (18, "Patron", "Spend 8000 in your kingdom."),
]


def awards_texts():
    lines = ["Awards", "Click anywhere to close"]
    for _, name, desc in AWARDS:
        lines += [name, desc]
    return lines


def awards_file():
    out = []
    for k, (aid, _, _) in enumerate(AWARDS):
        out += ["Award{", "\tId = %d" % aid, "\tName = %d" % (3 + 2 * k), "\tdescription = %d" % (4 + 2 * k), "}"]
    return "\n".join(out) + "\n"


# Names for the level pictures (tools/make_levels.py names them); a name seen before gets
# "Big" in front.
SPECIAL_NAMES = {
    "icecream": "Ice Cream", "ufo": "UFO", "airballoon": "Hot-Air Balloon", "cactuspot": "Potted Cactus",
    "mushhouse": "Mushroom House", "gingercat": "Ginger Cat", "appletree": "Apple Tree",
    "xmastree": "Christmas Tree", "housegarden": "House and Garden", "pirateship": "Pirate Ship",
    "owlnight": "Owl at Night", "night": "Starry Night", "city": "City", "tropical": "Tropical Fish",
    "clownfish": "Clownfish", "ladybug": "Ladybug", "sailboat": "Sailboat", "watermelon": "Watermelon",
}


def level_names():
    import make_levels
    names, seen = [], set()
    for raw in make_levels.LEVELS:
        base = raw.rstrip("0123456789")
        name = SPECIAL_NAMES.get(base, base.capitalize())
        if base in seen:
            name = "Big " + name
        seen.add(base)
        names.append(name)
    return names


def write_text(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="latin-1", newline="\n") as fh:
        fh.write("\n".join(lines) + "\n")


def main():
    data = sys.argv[1] if len(sys.argv) > 1 else "data"
    write_screen(os.path.join(data, "Screens/Stages/Stages.AppScreen"), "Stages", stages_screen())
    write_screen(os.path.join(data, "PopUps/LevelSummary/LevelSummary.AppScreen"), "Level Summary",
                 summary_screen())
    write_screen(os.path.join(data, "PopUps/LoseScreen/LoseSCreen.AppScreen"), "LoseScreen", lose_popup())
    write_screen(os.path.join(data, "PopUps/GiveAward/GiveAward.AppPopUp"), "GiveAward", give_award_popup())
    write_screen(os.path.join(data, "PopUps/AwardsShow/AwardsShow.AppPopUp"), "AwardsShow", awards_popup())
    write_screen(os.path.join(data, "PopUps/Help/HelpScreen.AppPopUp"), "Help", help_popup("Help"))
    write_screen(os.path.join(data, "PopUps/KingdomHelp/KingdomHelpScreen.AppPopUp"), "KingdomHelp",
                 help_popup("KingdomHelp"))
    local = os.path.join(data, "Local", "en")
    for name, lines in TEXTS.items():
        write_text(os.path.join(local, name), lines)
    write_text(os.path.join(local, "AwardsShow.txt"), awards_texts())
    write_text(os.path.join(local, "LevelNames.txt"), level_names())
    with open(os.path.join(data, "Awards.txt"), "w", newline="\n") as fh:
        fh.write(awards_file())


if __name__ == "__main__":
    main()
