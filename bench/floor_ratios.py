#!/usr/bin/python3
"""The five screens' cost a frame as a multiple of the floor, measured side by side.

    /usr/bin/python3 bench/floor_ratios.py [--exe build/quiltora] [--floor build/bench/floor]
                                           [--reps 7] [--frames 300] [--only NAME ...]
                                           [--shots DIR]

The floor is bench/floor: a 1366 x 768 window cleared and covered by one opaque textured quad a
frame (its clear-only and blended modes are measured too, for reference). The screens are the
main menu, a 10 x 10 three-colour board in play, the level summary over the board of a won
level, the stages map and the kingdom, each reached the way a player reaches it (the input
script clicks, the player's files are written first) with the fixed clock (--fixed-delta), and
from the main menu on held to 60 frames a second of real time (--paced). A figure is the whole
process's CPU time (every thread, the software renderer's included) a frame over --frames frames
once the screen has settled, read from the game's --timings lines.

One repetition measures the floor and every screen one after the other; --reps repetitions
interleave them, so a change of the machine's load touches all alike, and the medians are
printed with each screen's ratio to the floor's median. A ratio holds across machines; an
absolute time does not. Run it with /usr/bin/python3 (the level summary's moves are found on a
screenshot with the cairo module, as tools/make_screenshots.py does). --shots DIR writes the last
frame of each screen's first run there, to see that each run showed its screen.
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

SETTLE = 60  # frames between the screen's arrival and the start of the measure


def floor_cpu(floor, mode, frames):
    env = dict(os.environ, SDL_VIDEODRIVER="offscreen")
    out = subprocess.run([floor, "--mode", mode, "--frames", str(frames)], env=env, capture_output=True,
                         text=True, check=True).stdout
    return float(re.search(r"cpu-ms (\S+)", out).group(1))


class Screens:
    """The five screens: for each, how to reach it and the frame (counted from the main menu)
    from which it stands."""

    def __init__(self, exe, work, data10):
        self.exe = exe
        self.work = work
        self.data10 = data10
        game = shots.Game(exe, work)
        game.find_menu_frame()
        self.menu = game.menu
        # The won level 1: its moves are found once on a screenshot of its board.
        _, self.win_events, self.win_end = shots.win_level_one(game, "summary")

    def setup(self, name):
        """(data folder, per-user folder, arguments, events, frame from the menu at which the
        screen stands). Events are keyed by frame from the start, as make_screenshots writes them."""
        m = self.menu
        user = shots.new_user(self.work, "bench-" + name)
        if name == "main menu":
            shots.write_players(user, [("MARTA", shots.profile("MARTA", 1, ""))], "MARTA")
            return shots.DATA, user, [], [(m + 10, "move %d %d" % shots.AWAY)], 30
        if name == "10x10 board":
            shots.write_players(user, [("MARTA", shots.profile("MARTA", 10, "GameScreen"))], "MARTA")
            return self.data10, user, ["--level", "10"], [(m + 370, "move %d %d" % shots.AWAY)], 420
        if name == "level summary":
            shots.write_players(user, [("MARTA", shots.profile("MARTA", 1, "GameScreen"))], "MARTA")
            events = list(self.win_events) + [(self.win_end + 100, "move 900 700")]
            return shots.DATA, user, ["--level", "1"], events, self.win_end + 470 - m
        if name == "stages map":
            passed = [(n, 3 if n % 4 else 2) for n in range(1, 13)]
            shots.write_players(user, [("MARTA", shots.profile("MARTA", 13, "Stages", passed, score=420))], "MARTA")
            events = shots.click(m + 40, shots.MENU_PLAY) + shots.click(m + 90, shots.CONTINUE)
            events.append((m + 100, "move 512 720"))
            return shots.DATA, user, [], events, 330
        if name == "kingdom":
            passed = [(n, 3 if n % 3 else 2) for n in range(1, 9)]
            body = shots.profile("MARTA", 9, "Kingdom", passed, score=640)
            owned = [5, 22, 1, 12, 19, 15, 2]
            body += "Buildings{\n\ti = %d\n\tBuildingStage = 1\n%s\n}\n" % (
                len(owned), "\n".join("\tObject%d = %d" % (k + 1, b) for k, b in enumerate(owned)))
            shots.write_players(user, [("MARTA", body)], "MARTA")
            events = shots.click(m + 40, shots.MENU_PLAY) + shots.click(m + 90, shots.CONTINUE)
            events.append((m + 250, "move 760 300"))
            return shots.DATA, user, [], events, 300
        raise KeyError(name)

    def cpu(self, name, frames, shot=None):
        """CPU milliseconds a frame of the screen, from one paced run (its last frame written to
        shot when given)."""
        data, user, args, events, stands = self.setup(name)
        first = stands + SETTLE
        first += -first % 60  # the --timings lines come every 60 frames from the main menu
        last = first + frames + (-frames % 60)
        script = os.path.join(self.work, "bench.input")
        with open(script, "w") as f:
            for frame, event in sorted(events, key=lambda e: e[0]):
                f.write("%d %s\n" % (frame, event))
        env = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy")
        out = subprocess.run([self.exe, "--data", data, "--user-dir", user, "--fixed-delta", "--paced", "--timings",
                              "--input", script, "--menu-frames", str(last), "--frames", "100000"] + args +
                             (["--screenshot", shot] if shot else []),
                             env=env, capture_output=True, text=True, timeout=900).stdout
        marks = {}
        for line in out.splitlines():
            parts = line.split()
            if parts[:1] == ["frames"]:
                marks[int(parts[1]) - self.menu] = float(parts[3])
        if first not in marks or last not in marks:
            sys.exit("%s: no CPU figures for frames %d and %d after the main menu:\n%s" % (name, first, last, out))
        return (marks[last] - marks[first]) / (last - first)


NAMES = ["main menu", "10x10 board", "level summary", "stages map", "kingdom"]
FLOORS = ["clear", "opaque", "blended"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", default=os.path.join(ROOT, "build", "quiltora"))
    parser.add_argument("--floor", default=os.path.join(ROOT, "build", "bench", "floor"))
    parser.add_argument("--reps", type=int, default=7)
    parser.add_argument("--frames", type=int, default=300)
    parser.add_argument("--only", nargs="*", choices=NAMES)
    parser.add_argument("--shots")
    args = parser.parse_args()
    names = args.only or NAMES
    work = tempfile.mkdtemp(prefix="quiltora-floor-")
    try:
        screens = Screens(os.path.abspath(args.exe), work, data_copy(work))
        results = {n: [] for n in FLOORS + names}
        start = time.time()
        for rep in range(args.reps):
            for mode in FLOORS:
                results[mode].append(floor_cpu(args.floor, mode, args.frames))
            for name in names:
                shot = None
                if args.shots and rep == 0:
                    os.makedirs(args.shots, exist_ok=True)
                    shot = os.path.join(args.shots, name.replace(" ", "-") + ".png")
                results[name].append(screens.cpu(name, args.frames, shot))
            print("repetition %d of %d (%.0f s): %s" % (rep + 1, args.reps, time.time() - start, ", ".join(
                "%s %.2f" % (n, results[n][-1]) for n in FLOORS + names)), flush=True)
        with open("/proc/loadavg") as f:
            load = f.read().split()[:3]
        floor = statistics.median(results["opaque"])
        print("\nmedians of %d interleaved repetitions, CPU ms a frame (load average now %s)" % (
            args.reps, " ".join(load)))
        for n in FLOORS:
            print("  floor, %-16s %6.2f ms   %.2f x the floor" % (n, statistics.median(results[n]),
                                                                   statistics.median(results[n]) / floor))
        for n in names:
            med = statistics.median(results[n])
            print("  %-23s %6.2f ms   %.2f x the floor   (runs %s)" % (
                n, med, med / floor, ", ".join("%.2f" % v for v in results[n])))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
