#!/usr/bin/env python3
"""Makes the example neighbour-count levels.

    tools/make_fap_levels.py [--data DIR]

Writes DIR/Game/Levels/FAP/Level-1.FAPLevel .. Level-3.FAPLevel (DIR defaults to the
repository's data/).

In a neighbour-count level some cells carry a number of one colour: how many cells of that
colour lie in the 3 x 3 block centred on the cell (the cell included, cells past the border
left out). The player paints the cells; a number cell can only take its own colour.

Every picture is drawn below as text art, one letter per colour of the game's palette
("." is an empty cell). The script starts with a number on every cell (a coloured cell counts
its own colour, an empty cell one of the level's colours in turn), checks that the numbers
lead to the picture by plain counting alone, then takes numbers away one by one, in a fixed
pseudo-random order, keeping each removal only while the picture can still be reached that
way. So every level has exactly one solution and needs no guessing. A picture that cannot be
made so stops the script with a message; nothing is written then. The output depends on
nothing but this file.
"""
import os
import random
import sys

# Palette letters, in the order of the game's palette (colour id = position + 1); the same
# letters as tools/make_levels.py.
LETTERS = "ROYGFSBNPKWDACET"

# (art, size index) per level; the size index picks the tile side from GridSizes.txt
# (24, 28, 32, 36, 40, 44, 48, 52, 56, 64, 72 pixels).
LEVELS = [
    ([
        ".RR.RR",
        "RRRRRR",
        "RRRRRR",
        ".RRRR.",
        "..RR..",
        "......",
    ], 10),
    ([
        "...GG...",
        "..GGGG..",
        ".GGGGGG.",
        "GGGGGGGG",
        ".GGGGGG.",
        "...WW...",
        "...WW...",
        "..WWWW..",
    ], 9),
    ([
        "....RR....",
        "...RRRR...",
        "..RRRRRR..",
        ".RRRRRRRR.",
        "..DDDDDD..",
        "..DBDDBD..",
        "..DDDDDD..",
        "..DDBBDD..",
        "..DDBBDD..",
        "..DDBBDD..",
    ], 8),
]

BLOCK = [(-1, -1), (0, -1), (1, -1), (-1, 0), (0, 0), (1, 0), (-1, 1), (0, 1), (1, 1)]


def parse(art):
    rows, cols = len(art), len(art[0])
    colours = []
    grid = {}
    for y, line in enumerate(art):
        if len(line) != cols:
            sys.exit("make_fap_levels: ragged art")
        for x, ch in enumerate(line):
            if ch == ".":
                grid[x, y] = 0
                continue
            if ch not in LETTERS:
                sys.exit("make_fap_levels: unknown letter %r" % ch)
            cid = LETTERS.index(ch) + 1
            if cid not in colours:
                colours.append(cid)
            grid[x, y] = cid
    return cols, rows, colours, grid


def block(x, y, cols, rows):
    return [(x + dx, y + dy) for dx, dy in BLOCK if 0 <= x + dx < cols and 0 <= y + dy < rows]


def counts(numbers, grid, cols, rows):
    """The count each number shows for the solution grid."""
    return {p: sum(1 for q in block(p[0], p[1], cols, rows) if grid[q] == c) for p, c in numbers.items()}


def solves(numbers, grid, cols, rows, colours):
    """True when counting alone fixes every cell to the solution."""
    shown = counts(numbers, grid, cols, rows)
    dom = {}
    for p in grid:
        # A number cell takes only its own colour or none.
        dom[p] = {0, numbers[p]} if p in numbers else {0, *colours}
    cons = [(block(p[0], p[1], cols, rows), c, shown[p]) for p, c in numbers.items()]
    changed = True
    while changed:
        changed = False
        for cells, c, n in cons:
            must = [q for q in cells if dom[q] == {c}]
            may = [q for q in cells if c in dom[q]]
            if len(must) > n or len(may) < n:
                return False
            if len(must) == n:
                for q in may:
                    if dom[q] != {c}:
                        dom[q].discard(c)
                        changed = True
            elif len(may) == n:
                for q in may:
                    if dom[q] != {c}:
                        dom[q] = {c}
                        changed = True
        if any(not d for d in dom.values()):
            return False
    return all(dom[p] == {grid[p]} for p in grid)


def make(art, seed):
    cols, rows, colours, grid = parse(art)
    rng = random.Random(seed)
    numbers = {}
    k = 0
    for y in range(rows):
        for x in range(cols):
            if grid[x, y]:
                numbers[x, y] = grid[x, y]
            else:
                numbers[x, y] = colours[k % len(colours)]
                k += 1
    if not solves(numbers, grid, cols, rows, colours):
        sys.exit("make_fap_levels: a picture is not fixed even by a number on every cell")
    order = sorted(numbers)
    rng.shuffle(order)
    for p in order:
        c = numbers.pop(p)
        if not solves(numbers, grid, cols, rows, colours):
            numbers[p] = c
    return cols, rows, colours, grid, numbers


def level_text(cols, rows, colours, grid, numbers, size):
    lines = ["Data{",
             "\tDims = %d, %d" % (cols, rows),
             "\tSize = %d" % size,
             '\tColors = "%s"' % " ".join(str(c) for c in colours),
             "\tPosition = 0, 0",
             "}",
             "Tiles{"]
    for y in range(rows):
        lines.append("\tRow%d = %s" % (y, ", ".join(str(grid[x, y]) for x in range(cols))))
    lines += ["}", "TilesData{"]
    crosses = ":".join("0" for _ in colours)
    for y in range(rows):
        cells = ['"%d|0|%s"' % (numbers.get((x, y), 0), crosses) for x in range(cols)]
        lines.append("\tRow%d = %s" % (y, ", ".join(cells)))
    lines.append("}")
    return "\n".join(lines) + "\n"


def main():
    data = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
    args = sys.argv[1:]
    if args[:1] == ["--data"] and len(args) == 2:
        data = args[1]
    elif args:
        sys.exit(__doc__)
    texts = []
    for n, (art, size) in enumerate(LEVELS, 1):
        cols, rows, colours, grid, numbers = make(art, seed=n)
        texts.append(level_text(cols, rows, colours, grid, numbers, size))
        print("Level-%d: %d x %d, %d colours, %d numbers" % (n, cols, rows, len(colours), len(numbers)))
    folder = os.path.join(data, "Game", "Levels", "FAP")
    os.makedirs(folder, exist_ok=True)
    for n, text in enumerate(texts, 1):
        with open(os.path.join(folder, "Level-%d.FAPLevel" % n), "w", encoding="latin-1", newline="\n") as f:
            f.write(text)


if __name__ == "__main__":
    main()
