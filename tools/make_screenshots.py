#!/usr/bin/python3
"""Makes the README's screenshots (docs/screenshots/*.png) from the built game.

    /usr/bin/python3 tools/make_screenshots.py [--game build/quiltora] [--only NAME ...]

Every screen is reached the way a player reaches it: the real executable runs headless on data/
with the fixed clock (--fixed-delta), a replayed input script clicks its buttons and plays its
board (--input), and the last frame is written (--screenshot). The players' files a screen needs
(several players, a player twelve levels into the game, ...) are written first into a fresh
per-user folder. Board cells are found on a first screenshot of the level (the covered cells'
lavender), so the moves follow the game's own layout.

Each picture is the whole 1366 x 768 window scaled to 960 pixels wide (pycairo). A run that
prints an error or warning line, or that does not reach its screen, stops the script with the
game's output. Run it with /usr/bin/python3, which has the cairo module.
"""
import argparse
import concurrent.futures
import os
import re
import shutil
import subprocess
import sys
import tempfile

import cairo

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "data")
OUT = os.path.join(ROOT, "docs", "screenshots")
OUT_WIDTH = 960
MAX_BYTES = 300 * 1024

WINDOW_X = 171  # the 1024 x 768 picture sits this far from the left of the 1366-wide window
COVER = (0xE0, 0xDA, 0xE9)  # a covered cell

# Places on the 1024 x 768 picture: the main menu's buttons, the continue pop-up's Continue, the
# game panel's menu button, first hint and colour buttons (two and three colours), the summary's
# Next.
MENU_PLAY, MENU_OPTIONS, MENU_PLAYERS = (512, 374), (512, 446), (512, 518)
CONTINUE = (512, 356)
PANEL_MENU = (1059, 708)
PANEL_HINT1 = (1064, 297)
PANEL_COLOURS3 = [(1049, 214), (1095, 214), (1141, 214)]
SUMMARY_NEXT = (642, 644)
AWAY = (880, 690)  # where the pointer covers nothing
KINGDOM_SLOTS = [(110, 700), (270, 700), (430, 700), (590, 700)]  # the kingdom's four offers
KINGDOM_BUILT = 420  # frames from a purchase until the building stands and the offers are back


# ---------------------------------------------------------------------------------------------
# Running the game


class Game:
    def __init__(self, exe, work):
        self.exe = exe
        self.work = work
        self.menu = None  # the frame at which the main menu comes (the same every run)

    def run(self, name, user, args, events=(), expect_screen=True):
        """Runs the game with the per-user folder `user`, replaying `events` ((frame, text)
        pairs); returns the screenshot's path and the standard output."""
        shot = os.path.join(self.work, name + ".png")
        script = os.path.join(self.work, name + ".input")
        with open(script, "w") as f:
            for frame, event in sorted(events, key=lambda e: e[0]):
                f.write("%d %s\n" % (frame, event))
        env = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy")
        command = [self.exe, "--data", DATA, "--user-dir", user, "--fixed-delta", "--screenshot", shot,
                   "--input", script] + args
        done = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=600, text=True)
        bad = [line for line in done.stdout.splitlines() if "ERROR" in line or "WARNING" in line]
        if done.returncode != 0 or bad or (expect_screen and not os.path.exists(shot)):
            sys.exit("%s: the game ended with %d:\n%s" % (name, done.returncode, done.stdout))
        return shot, done.stdout

    def find_menu_frame(self):
        user = new_user(self.work, "timing")
        _, out = self.run("timing", user, ["--timings", "--menu-frames", "0", "--frames", "5000"],
                          expect_screen=False)
        m = re.search(r"^timing main-menu \S+ (\d+)$", out, re.M)
        if not m:
            sys.exit("no main-menu timing in:\n" + out)
        self.menu = int(m.group(1))


def click(frame, point, button=1):
    x, y = point
    return [(frame, "move %d %d" % (x, y)), (frame + 1, "down %d" % button), (frame + 2, "up %d" % button)]


def drag(frame, a, b, button=1):
    """Press on a, move to b, release there: one line of cells. Takes five frames."""
    return [(frame, "move %d %d" % a), (frame + 1, "down %d" % button), (frame + 2, "move %d %d" % b),
            (frame + 4, "up %d" % button)]


# ---------------------------------------------------------------------------------------------
# Players' files


def new_user(work, name):
    user = os.path.join(work, name + "-user")
    shutil.rmtree(user, ignore_errors=True)
    os.makedirs(os.path.join(user, ".Velkaro", "Quiltora-2", "Profiles"))
    return user


def player_id(name):
    return "-".join(str(ord(c)) for c in name)


def write_players(user, players, current):
    """players: (name, AppProfile body) pairs; current: the current player's name."""
    folder = os.path.join(user, ".Velkaro", "Quiltora-2", "Profiles")
    index = 'Settings{\n\tCurrProfile = "%s"\n}\n' % player_id(current)
    for name, body in players:
        index += 'Profile{\n\tId = "%s"\n\tName = "%s"\n}\n' % (player_id(name), name)
        with open(os.path.join(folder, player_id(name) + ".AppProfile"), "w") as f:
            f.write(body)
    with open(os.path.join(folder, "Profiles.dat"), "w") as f:
        f.write(index)


def profile(name, level, screen, passed=(), score=0):
    """A player at `level`, on `screen`, with the levels of `passed` ((level, stars) pairs) won;
    the help, the kingdom's help and the map's first pan already seen."""
    records = ["%d,1,1,%d,%d,0,0" % (n, stars, 10 * stars + 20) for n, stars in passed]
    records.append("%d,0,1,0,0,0,0" % level)
    stars = sum(s for _, s in passed)
    lines = "\n".join("\tLevel%d = \"%s\"" % (i + 1, r) for i, r in enumerate(records))
    return ('Data{\n\tName = "%s"\n\tLevel = %d\n\tScore = %d\n\tStars = %d\n\tScreen = "%s"\n'
            "\tMapScreenAnimationShowed = 1\n\tTutorialScreenShowed = 1\n\tKingdomTutorialScreenShowed = 1\n}\n"
            "Levels{\n\ti = %d\n%s\n}\n" % (name, level, score, stars, screen, len(records), lines))


# ---------------------------------------------------------------------------------------------
# Levels and their boards


def read_level(n):
    """(columns, rows, colour ids, cells[row][column] holding a colour id or 0)."""
    with open(os.path.join(DATA, "Game", "Levels", "Picross", "Level-%d.PACLevel" % n)) as f:
        text = f.read()
    cols, rows = (int(v) for v in re.search(r"Dims = (\d+), (\d+)", text).groups())
    colours = [int(v) for v in re.search(r'Colors = "([^"]*)"', text).group(1).split()]
    cells = []
    for r in range(rows):
        line = re.search(r"Row%d = ([^\n]*)" % r, text).group(1)
        cells.append([int(v) for v in line.split(",")])
    if len(colours) == 1:  # one colour: the rows hold 1 for its cells
        cells = [[colours[0] if v else 0 for v in row] for row in cells]
    return cols, rows, colours, cells


class Board:
    """Where a level's cells lie on the 1024 x 768 picture, found on a screenshot taken while
    every cell is still covered."""

    def __init__(self, shot, cols, rows):
        img = cairo.ImageSurface.create_from_png(shot)
        w, h, stride, data = img.get_width(), img.get_height(), img.get_stride(), img.get_data()
        xs, ys = [], []
        for y in range(0, h):
            row = y * stride
            for x in range(WINDOW_X, WINDOW_X + 1024):
                b, g, r = data[row + 4 * x], data[row + 4 * x + 1], data[row + 4 * x + 2]
                if abs(r - COVER[0]) < 12 and abs(g - COVER[1]) < 12 and abs(b - COVER[2]) < 12:
                    xs.append(x)
                    ys.append(y)
        if not xs:
            sys.exit("no covered cell on " + shot)
        self.left, self.right = min(xs) - WINDOW_X, max(xs) - WINDOW_X
        self.top, self.bottom = min(ys), max(ys)
        self.cw = (self.right - self.left + 1) / cols
        self.ch = (self.bottom - self.top + 1) / rows

    def cell(self, x, y):
        return (round(self.left + (x + 0.5) * self.cw), round(self.top + (y + 0.5) * self.ch))


def runs(cells, colour, y):
    """The runs of `colour` in row y, as (first, last) columns."""
    out, x, row = [], 0, cells[y]
    while x < len(row):
        if row[x] != colour:
            x += 1
            continue
        end = x
        while end + 1 < len(row) and row[end + 1] == colour:
            end += 1
        out.append((x, end))
        x = end + 1
    return out


# ---------------------------------------------------------------------------------------------
# The screens


def shot_main_menu(game):
    user = new_user(game.work, "menu")
    write_players(user, [("MARTA", profile("MARTA", 1, ""))], "MARTA")
    events = [(game.menu + 10, "move %d %d" % AWAY)]
    return game.run("main-menu", user, ["--menu-frames", "90", "--frames", "5000"], events)[0]


def shot_players(game):
    user = new_user(game.work, "players")
    names = ["MARTA", "JONAS", "LEO"]
    write_players(user, [(n, profile(n, 1 + 7 * i, "Stages")) for i, n in enumerate(names)], "JONAS")
    m = game.menu
    return game.run("players", user, ["--menu-frames", "200", "--frames", "5000"], click(m + 40, MENU_PLAYERS))[0]


def shot_map(game):
    user = new_user(game.work, "map")
    passed = [(n, 3 if n % 4 else 2) for n in range(1, 13)]
    write_players(user, [("MARTA", profile("MARTA", 13, "Stages", passed, score=420))], "MARTA")
    m = game.menu
    events = click(m + 40, MENU_PLAY) + click(m + 90, CONTINUE) + [(m + 100, "move 512 720")]
    return game.run("map", user, ["--menu-frames", "330", "--frames", "5000"], events)[0]


def level_start(game, name, n):
    """A player at level n (its files written) and the board of the level found on the screen."""
    user = new_user(game.work, name)
    write_players(user, [("MARTA", profile("MARTA", n, "GameScreen"))], "MARTA")
    cols, rows, colours, cells = read_level(n)
    play = game.menu + 380  # the tiles have flown in
    shot, _ = game.run(name + "-board", user, ["--level", str(n), "--frames", str(play)])
    return user, (cols, rows, colours, cells), Board(shot, cols, rows), play


def shot_level(game):
    """Level 56 (three colours) partly played: three rows and a column of its first colour, a
    mistake, crosses, one row of the second colour and a hint, then the first colour again."""
    user, (cols, rows, colours, cells), board, f = level_start(game, "level", 56)
    events = []
    first, second = colours[0], colours[1]
    for y in (4, 6, 8):
        for a, b in runs(cells, first, y):
            events += drag(f, board.cell(a, y), board.cell(b, y))
            f += 8
    # Column 5 from row 3 to row 11 (the first colour all the way).
    events += drag(f, board.cell(5, 3), board.cell(5, 7))
    f += 8
    # A mistake: an empty cell of row 5 uncovered.
    events += drag(f, board.cell(4, 5), board.cell(4, 5))
    f += 8
    # A cross with the right button: row 11's empty left end.
    events += drag(f, board.cell(0, 11), board.cell(3, 11), button=2)
    f += 8
    # The second colour, its row 2.
    events += click(f, PANEL_COLOURS3[1])
    f += 6
    for a, b in runs(cells, second, 2):
        events += drag(f, board.cell(a, 2), board.cell(b, 2))
        f += 8
    events += click(f, PANEL_HINT1)
    f += 120
    # Back to the first colour, its clues shown.
    events += click(f, PANEL_COLOURS3[0])
    f += 6
    events.append((f + 10, "move %d %d" % board.cell(9, 9)))
    return game.run("level", user, ["--frames", str(f + 150), "--level", "56"], events)[0]


def win_level_one(game, name):
    user, (cols, rows, colours, cells), board, f = level_start(game, name, 1)
    events = []
    for y in range(rows):
        for a, b in runs(cells, colours[0], y):
            events += drag(f, board.cell(a, y), board.cell(b, y))
            f += 8
    return user, events, f


def shot_summary(game):
    user, events, f = win_level_one(game, "summary")
    events.append((f + 100, "move 900 700"))
    return game.run("summary", user, ["--level", "1", "--frames", str(f + 470)], events)[0]


def shot_options(game):
    user, board_events, f = None, [], None
    user = new_user(game.work, "options")
    write_players(user, [("MARTA", profile("MARTA", 28, "GameScreen"))], "MARTA")
    f = game.menu + 380
    events = click(f, PANEL_MENU)
    return game.run("options", user, ["--level", "28", "--frames", str(f + 80)], events)[0]


def shot_kingdom(game):
    """A player eleven levels in, who owns the first stage's four buildings and three of the
    second's (what those wins paid, less the prices, is her money), continues into the kingdom and
    buys the fourth (the stage's last): it rises, and the third stage's four are offered."""
    user = new_user(game.work, "kingdom")
    passed = [(n, 3 if n % 3 else 2) for n in range(1, 12)]
    body = profile("MARTA", 12, "Kingdom", passed, score=224)
    owned = [5, 22, 1, 12, 19, 15, 2]
    body += "Buildings{\n\ti = %d\n\tBuildingStage = 1\n%s\n}\n" % (
        len(owned), "\n".join("\tObject%d = %d" % (k + 1, b) for k, b in enumerate(owned)))
    write_players(user, [("MARTA", body)], "MARTA")
    m = game.menu
    shown = m + 90 + 150  # the kingdom has faded in, its offers with it
    events = click(m + 40, MENU_PLAY) + click(m + 90, CONTINUE) + click(shown, KINGDOM_SLOTS[3])
    events.append((shown + 10, "move 760 300"))  # over the land, away from the buttons
    return game.run("kingdom", user, ["--menu-frames", str(shown - m + KINGDOM_BUILT), "--frames", "20000"],
                    events)[0]


SCREENS = {
    "main-menu": shot_main_menu,
    "players": shot_players,
    "map": shot_map,
    "level": shot_level,
    "summary": shot_summary,
    "options": shot_options,
    "kingdom": shot_kingdom,
}


def scaled(src, dst):
    """The window scaled to OUT_WIDTH, or narrower until the file fits in MAX_BYTES."""
    img = cairo.ImageSurface.create_from_png(src)
    width = OUT_WIDTH
    while True:
        scale = width / img.get_width()
        out = cairo.ImageSurface(cairo.FORMAT_RGB24, width, round(img.get_height() * scale))
        ctx = cairo.Context(out)
        ctx.scale(scale, scale)
        ctx.set_source_surface(img, 0, 0)
        ctx.get_source().set_filter(cairo.FILTER_BEST)
        ctx.paint()
        out.write_to_png(dst)
        if os.path.getsize(dst) <= MAX_BYTES or width <= 480:
            return
        width -= 64


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--game", default=os.path.join(ROOT, "build", "quiltora"))
    parser.add_argument("--only", nargs="*", choices=sorted(SCREENS))
    parser.add_argument("--jobs", type=int, default=3)
    args = parser.parse_args()
    if not os.access(args.game, os.X_OK):
        sys.exit("no game at %s: build it first (make build)" % args.game)
    os.makedirs(OUT, exist_ok=True)
    work = tempfile.mkdtemp(prefix="quiltora-shots-")
    try:
        game = Game(os.path.abspath(args.game), work)
        game.find_menu_frame()
        names = args.only or list(SCREENS)
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            shots = dict(zip(names, pool.map(lambda n: SCREENS[n](game), names)))
        for name in names:
            dst = os.path.join(OUT, name + ".png")
            scaled(shots[name], dst)
            print("%s (%d KB)" % (os.path.relpath(dst, ROOT), os.path.getsize(dst) // 1024))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
