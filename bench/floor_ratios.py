#!/usr/bin/python3
"""The screens' cost a frame as a multiple of the floor, measured side by side.

    /usr/bin/python3 bench/floor_ratios.py [--variant LABEL=EXE[,ARG...]] ... [--floor build/bench/floor]
                                           [--reps 7] [--frames 300] [--only NAME ...] [--shots DIR]

The floor is bench/floor: a 1366 x 768 window cleared and covered by one opaque textured quad a
frame (its clear-only and blended modes are measured too, for reference). The screens are the
main menu, a 10 x 10 three-colour board waiting for a move, the 20 x 15 board of level 100 in
play (a line uncovered every eight frames, 240 frames measured), the level summary over the board of a won level
while its picture and stars fly in ("summary effects") and once it stands, the stages map and
the kingdom, each reached the way a player reaches it (the input script clicks, the player's
files are written first) with the fixed clock (--fixed-delta), and from the main menu on held to
60 frames a second of real time (--paced); and a 30 x 20 three-colour board waiting for a move
with every frame drawn in full (--no-buffer-age --no-frame-cache, whatever the variant), the cost
of a large board's full draw (the first frame of a screen). A figure is the whole process's CPU time (every
thread, the software renderer's included) a frame over --frames frames once the screen has
settled (the summary's effects over the 240 frames they last), read from the game's --timings
lines. A run that prints an error or warning line, or ends on a blank frame, stops the benchmark
(bench/gamerun.py).

A variant is a build and its options: by default build/quiltora as it is; give several to
compare them in the same run (say the build before a change, and this one with --no-buffer-age
to draw as where the window keeps none of its frames). One repetition runs, for each screen, the
floor and then every variant, so each screen has floor runs of its own, next to it in time; the
repetitions interleave everything, so a change of the machine's load touches all alike. Printed
for each screen and variant: the median CPU time a frame, the ratio of that median to the median
of the screen's floor runs, and the spread of the ratio (the lowest and highest of the
repetitions' ratios, each a screen's run against the floor run just before it) and the most
memory the frame cache held at a run's end (its copy of the window and its records); then the
shares of the window drawn again and changed (its cells where a frame differs from the one its
buffer held) a frame over the measured frames, medians of the runs, and the draw calls of the
run's last frame. A ratio holds
across machines; an absolute time does not. Run it with /usr/bin/python3 (the boards' cells are
found on a screenshot with the cairo module, as tools/make_screenshots.py does). --shots DIR
writes the last frame of each screen's first run there, to see that each run showed its screen.

--paths compares the ways frames reach the window (--frame-path; platform/WindowFrames.h) in one
run: "full" (every frame drawn in full: --no-buffer-age --no-frame-cache), "auto" (the path the
platform gives) and each path forced that the platform has (a short run first finds which path a
forced one ends up on; those that end on one already measured are left out), each also given as
a multiple of "full". --video DRIVER runs the floor and the measured runs in a real window of
SDL's video driver (x11, wayland: the display in the environment) instead of SDL's offscreen one.
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools"))
sys.path.insert(0, os.path.join(ROOT, "bench"))

import make_screenshots as shots  # noqa: E402  (the players' files, clicks and the won level)
from frame_cpu import data_copy  # noqa: E402  (data/ with level 10 made a 10 x 10 three-colour board)
from gamerun import measured, run_game  # noqa: E402  (a run that measured nothing stops the benchmark)

SETTLE = 60  # frames between the screen's arrival and the start of the measure
EFFECTS = 240  # frames the summary's picture and stars take to fly in, from the last move on
MOVE_EVERY = 8  # frames from one line uncovered to the next on the board in play
PLAYED = 240  # frames of the board in play measured (its lines are all uncovered after about 300)


VIDEO = "offscreen"  # SDL's video driver for the measured runs (--video)
PATHS = ["buffer-age", "preserved", "copy-sub-buffer", "kept-texture", "window-copy"]


def floor_cpu(floor, mode, frames):
    env = dict(os.environ, SDL_VIDEODRIVER=VIDEO)
    out = subprocess.run([floor, "--mode", mode, "--frames", str(frames)], env=env, capture_output=True,
                         text=True, check=True).stdout
    return float(re.search(r"cpu-ms (\S+)", out).group(1))


class Screens:
    """The screens: for each, how to reach it, the frame (counted from the main menu) from which
    it is measured and for how many frames at most."""

    def __init__(self, exe, work, data10):
        self.work = work
        self.data10 = data10
        game = shots.Game(exe, work)
        game.find_menu_frame()
        self.menu = game.menu
        # The won level 1 and the played level 100: their moves are found once on screenshots of
        # their boards.
        _, self.win_events, self.win_end = shots.win_level_one(game, "summary")
        self.play_events, self.play_start = self.play_level_100(game)

    def play_level_100(self, game):
        """Uncovers level 100's lines colour by colour, one every MOVE_EVERY frames."""
        _, (cols, rows, colours, cells), board, f = shots.level_start(game, "board-in-play", 100)
        start, events = f, []
        for k, colour in enumerate(colours):
            if k > 0:
                events += shots.click(f, shots.PANEL_COLOURS3[k])
                f += MOVE_EVERY
            for y in range(rows):
                for a, b in shots.runs(cells, colour, y):
                    events += shots.drag(f, board.cell(a, y), board.cell(b, y))
                    f += MOVE_EVERY
        return events, start

    def setup(self, name):
        """(data folder, per-user folder, arguments, events, frame from the menu at which the
        measure starts, most frames measured). Events are keyed by frame from the start, as
        make_screenshots writes them."""
        m = self.menu
        user = shots.new_user(self.work, "bench-" + name.replace(" ", "-"))
        if name == "main menu":
            shots.write_players(user, [("MARTA", shots.profile("MARTA", 1, ""))], "MARTA")
            return shots.DATA, user, [], [(m + 10, "move %d %d" % shots.AWAY)], 30 + SETTLE, None
        if name == "10x10 board":
            shots.write_players(user, [("MARTA", shots.profile("MARTA", 10, "GameScreen"))], "MARTA")
            return self.data10, user, ["--level", "10"], [(m + 370, "move %d %d" % shots.AWAY)], 420 + SETTLE, None
        if name == "30x20 board, full draw":
            # A large board's every frame drawn in full through the batch, as the first frame of a
            # screen is (and every frame while the frame cache rests).
            shots.write_players(user, [("MARTA", shots.profile("MARTA", 11, "GameScreen"))], "MARTA")
            return self.data10, user, ["--level", "11", "--no-buffer-age", "--no-frame-cache"], \
                [(m + 370, "move %d %d" % shots.AWAY)], 420 + SETTLE, None
        if name == "20x15 board in play":
            shots.write_players(user, [("MARTA", shots.profile("MARTA", 100, "GameScreen"))], "MARTA")
            return shots.DATA, user, ["--level", "100"], self.play_events, self.play_start - m, PLAYED
        if name in ("summary effects", "level summary"):
            shots.write_players(user, [("MARTA", shots.profile("MARTA", 1, "GameScreen"))], "MARTA")
            events = list(self.win_events) + [(self.win_end + 100, "move 900 700")]
            if name == "summary effects":
                return shots.DATA, user, ["--level", "1"], events, self.win_end - m, EFFECTS
            return shots.DATA, user, ["--level", "1"], events, self.win_end + 470 - m + SETTLE, None
        if name == "stages map":
            passed = [(n, 3 if n % 4 else 2) for n in range(1, 13)]
            shots.write_players(user, [("MARTA", shots.profile("MARTA", 13, "Stages", passed, score=420))], "MARTA")
            events = shots.click(m + 40, shots.MENU_PLAY) + shots.click(m + 90, shots.CONTINUE)
            events.append((m + 100, "move 512 720"))
            return shots.DATA, user, [], events, 330 + SETTLE, None
        if name == "kingdom":
            passed = [(n, 3 if n % 3 else 2) for n in range(1, 9)]
            body = shots.profile("MARTA", 9, "Kingdom", passed, score=640)
            owned = [5, 22, 1, 12, 19, 15, 2]
            body += "Buildings{\n\ti = %d\n\tBuildingStage = 1\n%s\n}\n" % (
                len(owned), "\n".join("\tObject%d = %d" % (k + 1, b) for k, b in enumerate(owned)))
            shots.write_players(user, [("MARTA", body)], "MARTA")
            events = shots.click(m + 40, shots.MENU_PLAY) + shots.click(m + 90, shots.CONTINUE)
            events.append((m + 250, "move 760 300"))
            return shots.DATA, user, [], events, 300 + SETTLE, None
        raise KeyError(name)

    def cpu(self, name, exe, options, frames, shot=None):
        """One paced run of the screen (its last frame written to shot when given): its CPU
        milliseconds a frame, the frame cache's memory at the end (kB), the shares of the window
        drawn again and changed a frame, and the draw calls of its last frame."""
        data, user, args, events, first, most = self.setup(name)
        first += -first % 60  # the --timings lines come every 60 frames from the main menu
        frames = min(frames, most) if most else frames
        last = first + frames + (-frames % 60)
        script = os.path.join(self.work, "bench.input")
        with open(script, "w") as f:
            for frame, event in sorted(events, key=lambda e: e[0]):
                f.write("%d %s\n" % (frame, event))
        out, _ = measured(run_game, exe, ["--fixed-delta", "--paced", "--input", script, "--menu-frames", str(last),
                                          "--frames", "100000"] + args + options +
                          (["--screenshot", shot] if shot else []), data=data, user=user, video=VIDEO, label=name)
        marks = {}
        for line in out.splitlines():
            parts = line.split()
            if parts[:1] == ["frames"]:
                marks[int(parts[1]) - self.menu] = [float(v) for v in (parts[3], parts[5], parts[6])]
        if first not in marks or last not in marks:
            sys.exit("%s: no CPU figures for frames %d and %d after the main menu:\n%s" % (name, first, last, out))
        cache = re.search(r"^frame-cache(?: \S+){5} (\d+)$", out, re.M)
        draws = re.search(r"^draws (\d+)", out, re.M)
        cpu, redrawn, changed = [(b - a) / (last - first) for a, b in zip(marks[first], marks[last])]
        return cpu, int(cache.group(1)) if cache else 0, redrawn, changed, int(draws.group(1)) if draws else 0


NAMES = ["main menu", "10x10 board", "20x15 board in play", "level summary", "summary effects", "stages map",
         "kingdom", "30x20 board, full draw"]
FLOORS = ["clear", "opaque", "blended"]


def path_taken(exe, options):
    """The frame path (as --timings names it) the game takes with the options, from a short run."""
    out, _ = measured(run_game, exe, ["--fixed-delta", "--from-menu", "--menu-frames", "1", "--frames", "5000"] + options,
                      video=VIDEO, label="frame path " + " ".join(options))
    found = re.search(r"^frame-path (\S+)", out, re.M)
    return found.group(1) if found else "?"


def path_variants(exe):
    """full, auto and each forced path the platform has (one variant for each path taken)."""
    variants = [("full", exe, ["--no-buffer-age", "--no-frame-cache"])]
    taken = {}
    auto = path_taken(exe, [])
    variants.append(("auto", exe, []))
    print("frame paths: auto takes %s" % auto)
    for name in PATHS:
        got = path_taken(exe, ["--frame-path", name])
        print("  --frame-path %s takes %s" % (name, got))
        if got != auto and got not in taken:
            taken[got] = name
            variants.append((name, exe, ["--frame-path", name]))
    return variants


def parse_variant(text):
    label, _, rest = text.partition("=")
    parts = rest.split(",") if rest else [os.path.join(ROOT, "build", "quiltora")]
    return label, os.path.abspath(parts[0]), parts[1:]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--variant", action="append", type=parse_variant,
                        help="LABEL=EXE[,ARG...]: a build and its options (several: compared side by side)")
    parser.add_argument("--floor", default=os.path.join(ROOT, "build", "bench", "floor"))
    parser.add_argument("--reps", type=int, default=7)
    parser.add_argument("--frames", type=int, default=300)
    parser.add_argument("--only", nargs="*", choices=NAMES)
    parser.add_argument("--shots")
    parser.add_argument("--paths", action="store_true", help="compare the frame paths the platform has")
    parser.add_argument("--video", default="offscreen", help="SDL's video driver for the measured runs")
    args = parser.parse_args()
    global VIDEO
    VIDEO = args.video
    variants = args.variant or [parse_variant("now=")]
    if args.paths:
        variants = path_variants(variants[0][1])
    names = args.only or NAMES
    work = tempfile.mkdtemp(prefix="quiltora-floor-")
    try:
        screens = Screens(variants[0][1], work, data_copy(work))
        floors = {n: [] for n in FLOORS}
        paired = {n: [] for n in names}  # each screen's own floor runs
        results = {(n, v[0]): [] for n in names for v in variants}
        cache_kb = {}  # the most memory the frame cache held at a run's end
        shares = {}  # the shares of the window drawn again and changed a frame, and the last frame's draw calls
        start = time.time()
        for rep in range(args.reps):
            for mode in FLOORS:
                floors[mode].append(floor_cpu(args.floor, mode, args.frames))
            for name in names:
                paired[name].append(floor_cpu(args.floor, "opaque", args.frames))
                for label, exe, options in variants:
                    shot = None
                    if args.shots and rep == 0:
                        os.makedirs(args.shots, exist_ok=True)
                        shot = os.path.join(args.shots, "%s-%s.png" % (name.replace(" ", "-"), label))
                    ms, kb, redrawn, changed, draws = screens.cpu(name, exe, options, args.frames, shot)
                    results[(name, label)].append(ms)
                    cache_kb[(name, label)] = max(cache_kb.get((name, label), 0), kb)
                    shares.setdefault((name, label), []).append((redrawn, changed, draws))
            print("repetition %d of %d (%.0f s): floor %s; %s" % (
                rep + 1, args.reps, time.time() - start, " ".join("%.2f" % paired[n][-1] for n in names),
                ", ".join("%s/%s %.2f" % (n, l, results[(n, l)][-1]) for n in names for l, _, _ in variants)),
                flush=True)
        with open("/proc/loadavg") as f:
            load = f.read().split()[:3]
        floor = statistics.median(floors["opaque"])
        print("\nmedians of %d interleaved repetitions, CPU ms a frame (load average now %s)" % (
            args.reps, " ".join(load)))
        for n in FLOORS:
            print("  floor, %-23s %6.2f ms   %.2f x the floor" % (n, statistics.median(floors[n]),
                                                                   statistics.median(floors[n]) / floor))
        for n in names:
            own = statistics.median(paired[n])
            for label, _, _ in variants:
                runs = results[(n, label)]
                med = statistics.median(runs)
                ratios = [r / f for r, f in zip(runs, paired[n])]
                full = ""
                if label != "full" and (n, "full") in results:
                    of = [r / f for r, f in zip(runs, results[(n, "full")])]
                    full = ", %.2f x full (spread %.2f to %.2f)" % (
                        med / statistics.median(results[(n, "full")]), min(of), max(of))
                redrawn, changed, draws = (statistics.median(v) for v in zip(*shares[(n, label)]))
                print("  %-21s %-15s %6.2f ms   %.2f x its floor (%.2f ms), spread %.2f to %.2f%s, frame cache %d kB"
                      "   (runs %s)" % (n, label, med, med / own, own, min(ratios), max(ratios), full,
                                        cache_kb[(n, label)], ", ".join("%.2f" % v for v in runs)))
                print("  %-21s %-15s drawn again %.1f%% of the window a frame where %.1f%% changed (%.2f times); "
                      "%d draw calls in its last frame" % ("", "", 100 * redrawn, 100 * changed,
                                                            redrawn / changed if changed > 0 else 0.0, draws))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
