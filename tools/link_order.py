#!/usr/bin/env python3
"""What the folders' libraries really use of one another: reads the symbols of each folder's
static library (nm) and lists every symbol that an object of one folder uses and that only a
folder above it, or a folder of its own tier, defines. The order is the one
tests/game/FolderDependencyTest.cpp holds for the includes.

    tools/link_order.py FOLDER=LIBRARY.a ...

(for example game/levels=build/libquiltora_game_levels.a). Prints one line per use against the
order ("game/levels Tile.cpp.o uses TTile::Draw(...) of game/puzzle") and exits with 1 when there
is any, else prints how many uses between folders it read and exits with 0.

A symbol that the folder itself or a folder below defines, weakly too (an inline function, a
template, a class's virtual table emitted where it is used), is no use upward: only a strong
definition found nowhere but above counts.
"""
import collections
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ORDER_FILE = os.path.join(HERE, '..', 'tests', 'game', 'FolderDependencyTest.cpp')
STRONG = set('TDBRCG')  # text, data, bss, read-only, common, small data


def tiers(path=ORDER_FILE):
    """{folder: tier from the top (0)} from the kTiers table of the include test."""
    with open(path) as f:
        text = f.read()
    table = text[text.index('kTiers'):]
    table = table[:table.index('};')]
    order = {}
    for number, row in enumerate(re.findall(r'\{([^{}]*)\}', table)):
        for folder in re.findall(r'"([^"]+)"', row):
            order[folder] = number
    return order


def symbols(library):
    """[(object, kind, symbol)] of the library: kind is nm's letter, 'U' for a use."""
    out = subprocess.run(['nm', '-o', library], check=True, capture_output=True, text=True).stdout
    found = []
    for line in out.splitlines():
        # "lib.a:object.o: 0000000000000000 T symbol" or "lib.a:object.o:                  U symbol"
        head, _, rest = line.rpartition('.o:')
        if not head:
            continue
        fields = rest.split()
        if len(fields) < 2:
            continue
        kind, name = fields[-2], fields[-1]
        found.append((head.rpartition(':')[2] + '.o', kind, name))
    return found


def demangle(names):
    if not names:
        return {}
    out = subprocess.run(['c++filt'], input='\n'.join(names), check=True, capture_output=True, text=True).stdout
    return dict(zip(names, out.splitlines()))


def uses_against_order(libraries, order):
    """[(folder, object, symbol, defining folder)], and the number of uses between folders."""
    strong = collections.defaultdict(set)  # symbol -> folders that define it strongly
    anyhow = collections.defaultdict(set)  # symbol -> folders that define it at all
    uses = []
    for folder, library in libraries:
        for obj, kind, name in symbols(library):
            if kind == 'U':
                uses.append((folder, obj, name))
            elif kind.isupper() or kind in 'uvw':
                anyhow[name].add(folder)
                if kind in STRONG:
                    strong[name].add(folder)
    wrong, between = [], 0
    for folder, obj, name in uses:
        owners = strong.get(name)
        if not owners or folder in owners:
            continue
        between += 1
        # Defined (any way) in the folder itself or below: no use upward.
        if any(order[f] > order[folder] for f in anyhow[name] if f != folder) or folder in anyhow[name]:
            continue
        for owner in sorted(owners):
            if order[owner] <= order[folder]:
                wrong.append((folder, obj, name, owner))
    return wrong, between


def main(argv):
    order = tiers()
    libraries = []
    for arg in argv:
        folder, _, library = arg.partition('=')
        if folder not in order:
            print(f'{folder}: no place in the order of {ORDER_FILE}')
            return 2
        libraries.append((folder, library))
    wrong, between = uses_against_order(libraries, order)
    names = demangle(sorted({name for _, _, name, _ in wrong}))
    for folder, obj, name, owner in sorted(wrong):
        print(f'{folder} {obj} uses {names[name]} of {owner}')
    if wrong:
        print(f'{len(wrong)} uses against the order of the folders')
        return 1
    print(f'{between} uses between folders, none against the order')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
