#!/usr/bin/env python3
"""The folders' include graph: every quoted include of the sources below platform/, engine/,
game/ and online/, counted folder to folder (engine/ and game/ by their subfolders; their roots
are the umbrella headers), and the circles among the folders.

    tools/include_graph.py [ROOT] [-v]

prints one line "from -> to: n" per pair of folders, then "circles: [...]" (each circle the
folders that reach one another); -v also lists the include lines of every arrow within a
circle. Exits with 1 when there is a circle, else 0. tests/game/FolderDependencyTest.cpp holds
the order the arrows must follow.
"""
import collections
import os
import re
import sys

ROOTS = ('platform', 'engine', 'game', 'online')
INCLUDE = re.compile(r'\s*#\s*include\s*"([^"]+)"')


def folder(path):
    parts = path.split('/')
    if parts[0] in ('engine', 'game') and len(parts) > 2:
        return '/'.join(parts[:2])
    return parts[0]


def arrows(root):
    """{(from, to): ["file:line include", ...]} between different folders."""
    found = collections.defaultdict(list)
    for top in ROOTS:
        for dirpath, _, files in os.walk(os.path.join(root, top)):
            for name in sorted(files):
                if not name.endswith(('.cpp', '.h')):
                    continue
                path = os.path.relpath(os.path.join(dirpath, name), root)
                source = folder(path)
                with open(os.path.join(root, path), errors='replace') as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m or m.group(1).split('/')[0] not in ROOTS:
                            continue
                        target = folder(m.group(1))
                        if target != source:
                            found[(source, target)].append(f'{path}:{number} {m.group(1)}')
    return found


def circles(edges):
    """The strongly connected sets of more than one folder (Tarjan)."""
    adjacent = collections.defaultdict(set)
    for a, b in edges:
        adjacent[a].add(b)
    nodes = sorted(set(adjacent) | {b for _, b in edges})
    index, low, stack, on_stack, result = {}, {}, [], set(), []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in sorted(adjacent[v]):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            group = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                group.append(w)
                if w == v:
                    break
            if len(group) > 1:
                result.append(sorted(group))

    for v in nodes:
        if v not in index:
            visit(v)
    return result


def main(argv):
    args = [a for a in argv if a != '-v']
    root = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    edges = arrows(root)
    for (a, b), lines in sorted(edges.items()):
        print(f'{a} -> {b}: {len(lines)}')
    found = circles(edges)
    print('circles:', found)
    if '-v' in argv:
        for group in found:
            for (a, b), lines in sorted(edges.items()):
                if a in group and b in group:
                    print(f'{a} -> {b}:', *lines, sep='\n    ')
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
