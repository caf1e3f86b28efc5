#!/usr/bin/env python3
"""Checks the kingdom's prices against what a playthrough of the shipped levels pays.

    python3 tools/kingdom_economy.py [--data DIR] [--source DIR] [--quiet]

A won level pays its score: one for each tile uncovered (every coloured cell of the picture, when
the player uncovers them all) and ten for each star kept (three to start with). The kingdom offers
its buildings four at a time, in seven stages (the order is the kingdom's own, read from
game/kingdom/Kingdom.cpp); the next four come when the four of a stage stand. The prices are the
shipped ones (data/Local/en/Kingdom.txt, three lines a building in the order of the kingdom's
screen file, data/Screens/Kingdom/Kingdom.AppScreen).

The player it follows wins every level once, in order, with two stars (the average asked of a
player who keeps the first mistake or the clock from taking a second star), visits the kingdom
after each win and buys while the money reaches an offered building, the cheapest first. It
checks that:
  - every win of level 1 that keeps a star buys a building, even with five wrong crosses on tiles
    of the picture (each leaves its tile's point out);
  - this player owns every building by the end of level 100;
  - along the way the awards that count buildings owned (game/progress/Profile.cpp) and money
    spent (game/progress/Awards.cpp) are all reached.
It prints each purchase with the level after which it is made, and exits with 1 after a line for
each check that fails (2 when the files cannot be read).
"""
import argparse
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
STAR_PAY = 10           # a kept star adds ten to a level's score
AVERAGE_STARS = 2       # the stars of the player followed, at every level
MOST_MISTAKES = 5       # the sixth mistake loses a level
STAGE_SIZE = 4


class DataError(Exception):
    pass


def read(path):
    try:
        with open(path, encoding="latin-1") as fh:
            return fh.read()
    except OSError as e:
        raise DataError("cannot read %s: %s" % (path, e.strerror))


# ---------------------------------------------------------------------------------------------
# Block files: "Name{" opens a block, "}" closes it, "key = value" is an entry.

def parse_blocks(text):
    """The file as nested [name, entries, children] lists; names and keys upper-cased."""
    root = ["", {}, []]
    stack = [root]
    for line in text.splitlines():
        line = line.strip()
        if not line:
            continue
        if line.endswith("{"):
            block = [line[:-1].strip().upper(), {}, []]
            stack[-1][2].append(block)
            stack.append(block)
        elif line == "}":
            if len(stack) > 1:
                stack.pop()
        elif "=" in line:
            key, value = line.split("=", 1)
            stack[-1][1].setdefault(key.strip().upper(), value.strip().strip('"'))
    return root


def child(block, name):
    for c in block[2]:
        if c[0] == name:
            return c
    return None


def level_cells(path):
    """The coloured cells of a level's picture: what uncovering it all pays."""
    tiles = child(child(parse_blocks(read(path)), "LEVEL") or ["", {}, []], "TILES")
    if tiles is None:
        raise DataError("%s has no tiles" % path)
    cells = 0
    for key, row in tiles[1].items():
        if key.startswith("ROW"):
            cells += sum(1 for v in row.split(",") if v.strip() not in ("", "0"))
    if cells == 0:
        raise DataError("%s has no coloured cell" % path)
    return cells


def shipped_levels(data):
    folder = os.path.join(data, "Game", "Levels", "Picross")
    cells = []
    while os.path.exists(os.path.join(folder, "Level-%d.PACLevel" % (len(cells) + 1))):
        cells.append(level_cells(os.path.join(folder, "Level-%d.PACLevel" % (len(cells) + 1))))
    if not cells:
        raise DataError("no levels in " + folder)
    return cells


def building_ids(data):
    """The buildings' ids in the kingdom screen file's order (the children of object 1002)."""
    path = os.path.join(data, "Screens", "Kingdom", "Kingdom.AppScreen")

    def find(block):
        for c in block[2]:
            if c[0] == "GAMEOBJECT" and (child(c, "BASIC") or ["", {}])[1].get("ID") == "1002":
                return c
            found = find(c)
            if found:
                return found
        return None

    holder = find(parse_blocks(read(path)))
    if holder is None:
        raise DataError(path + " has no object 1002 (the buildings)")
    subs = child(holder, "SUBOBJECTS") or ["", {}, []]
    return [int(child(c, "BASIC")[1].get("ID", "0")) for c in subs[2] if c[0] == "GAMEOBJECT"]


def shipped_prices(data):
    """Building id -> (name, price), from the kingdom's text file."""
    ids = building_ids(data)
    path = os.path.join(data, "Local", "en", "Kingdom.txt")
    lines = read(path).splitlines()
    if len(lines) < 3 * len(ids):
        raise DataError("%s holds %d lines, too few for %d buildings" % (path, len(lines), len(ids)))
    prices = {}
    for n, bid in enumerate(ids):
        name, price = lines[3 * n].strip(), lines[3 * n + 2].strip()
        if not re.fullmatch(r"[0-9]+", price):
            raise DataError("%s line %d: the price of %s is not a number: %r" % (path, 3 * n + 3, name, price))
        prices[bid] = (name, int(price))
    return prices


def offer_order(source):
    path = os.path.join(source, "game", "kingdom", "Kingdom.cpp")
    m = re.search(r"BuildingsQ\s*=\s*\{([^}]*)\}", read(path))
    if not m:
        raise DataError(path + ": no offer order (BuildingsQ)")
    return [int(v) for v in re.findall(r"[0-9]+", re.sub(r"//[^\n]*", "", m.group(1)))]


def award_rules(source):
    """(money spent thresholds, buildings owned thresholds) of the awards."""
    awards = read(os.path.join(source, "game", "progress", "Awards.cpp"))
    profile = read(os.path.join(source, "game", "progress", "Profile.cpp"))
    spent = sorted(int(v) for v in re.findall(r"CashSpend\s*>=\s*([0-9]+)", awards))
    owned = sorted(int(v) for v in re.findall(r"Buildings\.size\(\)\s*(?:>=|==)\s*([0-9]+)", profile))
    if not spent or not owned:
        raise DataError("the awards' rules for money spent or buildings owned were not found")
    return spent, owned


# ---------------------------------------------------------------------------------------------
# The playthrough

def playthrough(cells, order, prices, stars):
    """Purchases (level, building id, price, money left, spent, owned) of the player followed."""
    money = spent = stage = 0
    owned = []
    purchases = []
    stages = [order[i:i + STAGE_SIZE] for i in range(0, len(order), STAGE_SIZE)]
    for level, c in enumerate(cells, 1):
        money += c + STAR_PAY * stars
        while stage < len(stages):
            offered = [b for b in stages[stage] if b not in owned]
            affordable = sorted((prices[b][1], b) for b in offered if prices[b][1] <= money)
            if not affordable:
                break
            price, bid = affordable[0]
            money -= price
            spent += price
            owned.append(bid)
            purchases.append((level, bid, price, money, spent, len(owned)))
            if all(b in owned for b in stages[stage]):
                stage += 1
    return purchases


def check(data, source, quiet):
    cells = shipped_levels(data)
    prices = shipped_prices(data)
    order = offer_order(source)
    spent_rules, owned_rules = award_rules(source)
    failures = []
    if sorted(order) != sorted(prices) or len(set(order)) != len(order):
        failures.append("the offer order %s does not name each building of the screen file once" % order)
        return failures
    for bid in order:
        if prices[bid][1] <= 0:
            failures.append("%s has no price" % prices[bid][0])

    pay = [c + STAR_PAY * AVERAGE_STARS for c in cells]
    total_price = sum(p for _, p in prices.values())
    purchases = playthrough(cells, order, prices, AVERAGE_STARS)
    if not quiet:
        print("%d levels pay %d with %d stars each (%d with three); the %d buildings cost %d" %
              (len(cells), sum(pay), AVERAGE_STARS, sum(cells) + 3 * STAR_PAY * len(cells), len(prices), total_price))
        for level, bid, price, money, spent, count in purchases:
            print("  after level %3d: %-18s %6d   money left %5d, spent %6d, buildings %2d" %
                  (level, prices[bid][0], price, money, spent, count))

    # Level 1, won keeping a star, with every mistake a wrong cross on a tile of the picture.
    first_offer = order[:STAGE_SIZE]
    cheapest = min(prices[b][1] for b in first_offer)
    worst_first_win = cells[0] - MOST_MISTAKES + STAR_PAY
    if worst_first_win < cheapest:
        failures.append("a win of level 1 with one star and five mistakes pays %d; the cheapest first offer costs %d"
                        % (worst_first_win, cheapest))
    if not purchases or purchases[0][0] != 1:
        failures.append("the first win of level 1 buys nothing")

    if len(purchases) < len(order):
        failures.append("with %d stars a level, %d of the %d buildings are bought by level %d (they cost %d, the "
                        "levels pay %d)" % (AVERAGE_STARS, len(purchases), len(order), len(cells), total_price, sum(pay)))
    spent = purchases[-1][4] if purchases else 0
    for rule in spent_rules:
        if spent < rule:
            failures.append("the award for %d spent is not reached: %d spent by level %d" % (rule, spent, len(cells)))
        elif not quiet:
            level = next(p[0] for p in purchases if p[4] >= rule)
            print("award for %d spent: after level %d" % (rule, level))
    for rule in owned_rules:
        if len(purchases) < rule:
            failures.append("the award for %d buildings is not reached: %d bought by level %d"
                            % (rule, len(purchases), len(cells)))
        elif not quiet:
            print("award for %d buildings: after level %d" % (rule, purchases[rule - 1][0]))
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--data", default=os.path.join(ROOT, "data"), help="the data folder (default: data/)")
    parser.add_argument("--source", default=ROOT, help="the source tree, for the offer order and the awards")
    parser.add_argument("--quiet", action="store_true", help="print only what fails")
    args = parser.parse_args()
    try:
        failures = check(args.data, args.source, args.quiet)
    except DataError as e:
        print("kingdom_economy: " + str(e), file=sys.stderr)
        return 2
    for f in failures:
        print("FAILED: " + f)
    if not failures and not args.quiet:
        print("The prices hold.")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
