#!/usr/bin/env python3
"""Where the memory is: runs the game headless (software renderer, fixed clock) to four places a
player reaches, one run each, and prints the "memory-parts" line each run ends with (see
"--timings" in game/startup/main.cpp), in MB: at the main menu; in the kingdom; on the stages map
after it; on a board after that. The player left the game in the kingdom after level 1, the
helps seen, so each run goes Play, Continue (the kingdom), Play (the map), Play (level 2).

    bench/memory.py [build/quiltora ...]

With several executables the runs are interleaved, each place once per executable in turn.
Standard library only. A run that prints an error or warning line, or ends on a blank frame, stops
the benchmark (bench/gamerun.py); the memory is read before the last frame is read back for that.
"""
import os
import sys
import tempfile

from gamerun import measured, run_game

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROFILE_ID = "75-105-109"
# (place, frames after the main menu came at which the run ends, clicks before: (frame, x, y))
CLICKS = [(50, 512, 374), (102, 512, 356), (250, 870, 700), (400, 919, 722)]
PLACES = [("main menu", 120, 0), ("kingdom", 222, 2), ("stages map", 390, 3), ("board", 700, 4)]
PARTS = ["rss", "renderer-code", "textures", "pictures", "fonts", "sounds", "heap", "anonymous"]


def player(user):
    profiles = os.path.join(user, ".Velkaro", "Quiltora-2", "Profiles")
    os.makedirs(profiles)
    with open(os.path.join(profiles, "Profiles.dat"), "w") as f:
        f.write('Settings{\n\tCurrProfile = "%s"\n}\nProfile{\n\tId = "%s"\n\tName = "Kim"\n}\n' % (PROFILE_ID, PROFILE_ID))
    with open(os.path.join(profiles, PROFILE_ID + ".AppProfile"), "w") as f:
        f.write('Data{\n\tName = "Kim"\n\tLevel = 2\n\tScore = 46\n\tScreen = "Kingdom"\n'
                '\tKingdomTutorialScreenShowed = 1\n\tTutorialScreenShowed = 1\n\tMapScreenAnimationShowed = 1\n}\n'
                'Levels{\n\ti = 2\n\tLevel1 = "1,1,1,3,46,25,10"\n\tLevel2 = "2,1,0,0,0,0,0"\n}\n')


def run(exe, frames, clicks):
    with tempfile.TemporaryDirectory() as base:
        user = os.path.join(base, "user")
        player(user)
        script = os.path.join(base, "input.txt")
        with open(script, "w") as f:
            for frame, x, y in CLICKS[:clicks]:
                f.write("%d move %d %d\n%d down 1\n%d up 1\n" % (frame, x, y, frame, frame + 2))
        out, _ = measured(run_game, exe, ["--fixed-delta", "--from-menu", "--menu-frames", str(frames),
                                          "--input", script], user=user, label="%d frames from the menu" % frames)
    rss = None
    for line in out.splitlines():
        fields = line.split()
        if fields and fields[0] == "memory-parts":
            values = dict(zip(fields[1::2], fields[2::2]))
            return [int(values[p]) / 1024.0 for p in PARTS]
        if fields and fields[0] == "frames":
            rss = int(fields[4]) / 1024.0
    # A build from before the parts were told: its resident memory at its last "frames" line.
    if rss is None:
        raise RuntimeError("no memory line:\n" + out)
    return [rss] + [float("nan")] * (len(PARTS) - 1)


def main():
    exes = sys.argv[1:] or [os.path.join(ROOT, "build", "quiltora")]
    results = {}
    for place, frames, clicks in PLACES:
        for exe in exes:
            results[(exe, place)] = run(exe, frames, clicks)
    for exe in exes:
        print(exe)
        print("%-11s " % "MB" + " ".join("%13s" % p for p in PARTS))
        for place, _, _ in PLACES:
            print("%-11s " % place + " ".join("%13.1f" % v for v in results[(exe, place)]))


if __name__ == "__main__":
    main()
