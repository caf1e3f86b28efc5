"""The measure shared by the per-frame CPU benchmarks (bench/screen_cpu.py, bench/frame_cpu.py):
the game run headless on the software renderer (Mesa's llvmpipe), paced at 60 frames per second,
twice for each figure, ending at two frame counts; the difference of the two runs' CPU time (user
and system, every thread of the process, the renderer's included) over the frames between is the
cost of a frame, without the start-up."""
import os
import shutil
import subprocess
import sys
import tempfile


def process_cpu(exe, data, args):
    """CPU seconds of one run of the game on data with args, in a fresh per-user folder."""
    user = tempfile.mkdtemp(prefix="quiltora-bench-")
    env = dict(os.environ, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy")
    try:
        proc = subprocess.Popen([exe, "--data", data, "--user-dir", user] + args,
                                env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(proc.pid, 0)
        if status != 0:
            sys.exit("the game failed (status %d)" % status)
        return usage.ru_utime + usage.ru_stime
    finally:
        shutil.rmtree(user, ignore_errors=True)


def frame_costs(exe, data, args_ending_at, first, last, runs):
    """Milliseconds of CPU a frame between frame first and frame last, one figure a pair of runs,
    sorted; args_ending_at(frames) gives the game's arguments for a run that ends there."""
    per_frame = []
    for _ in range(runs):
        short = process_cpu(exe, data, args_ending_at(first))
        long = process_cpu(exe, data, args_ending_at(last))
        per_frame.append((long - short) / (last - first) * 1000.0)
    return sorted(per_frame)


def report(label, per_frame, width):
    print("%-*s %.2f ms CPU a frame (median of %d; runs %s)" % (
        width, label, per_frame[len(per_frame) // 2], len(per_frame), ", ".join("%.2f" % v for v in per_frame)))
