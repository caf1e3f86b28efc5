#!/usr/bin/env python3
"""Start-up benchmark: runs the game headless (software renderer, real frame pacing) several
times and reports, as medians:

  first frame   process start to the first frame shown (the partner splash's first frame)
  main menu     process start to the first frame with the main menu current and everything
                loaded, less the partner splash's own display time (its first frame to the
                loading screen's first frame)
  peak memory   the process's peak resident memory at that moment

    bench/startup.py [build/quiltora] [runs]

Reads the "--timings" lines of the executable; standard library only. A run that prints an error
or warning line, or ends on a blank frame, stops the benchmark (bench/gamerun.py).
"""
import os
import statistics
import sys
import tempfile
import time

from gamerun import measured, run_game

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def run_once(exe):
    with tempfile.TemporaryDirectory() as user:
        start = time.monotonic() * 1000.0
        out, _ = measured(run_game, exe, ["--frames", "600"], user=user, label="start-up")
    marks = {}
    for line in out.splitlines():
        parts = line.split()
        if len(parts) >= 3 and parts[0] in ("timing", "memory"):
            marks[parts[1]] = float(parts[2])
    splash = marks["loading"] - marks["first-frame"]
    return (marks["first-frame"] - start, marks["main-menu"] - start - splash, marks["peak-kb"] / 1024.0, splash)


def main():
    exe = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "quiltora")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    results = [run_once(exe) for _ in range(runs)]
    first, menu, memory, splash = (statistics.median(r[i] for r in results) for i in range(4))
    print("runs: %d (medians)" % runs)
    print("first frame:  %7.1f ms   (goal: within 116 ms)" % first)
    print("main menu:    %7.1f ms   (goal: within 1500 ms; splash display of %.0f ms excluded)" % (menu, splash))
    print("peak memory:  %7.1f MB   (goal: at most 160 MB)" % memory)


if __name__ == "__main__":
    main()
