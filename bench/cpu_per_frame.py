"""The measure shared by the per-frame CPU benchmarks (bench/screen_cpu.py, bench/frame_cpu.py):
the game run headless on the software renderer (Mesa's llvmpipe), paced at 60 frames per second,
twice for each figure, ending at two frame counts; the difference of the two runs' CPU time (user
and system, every thread of the process, the renderer's included) over the frames between is the
cost of a frame, without the start-up."""
from gamerun import measured, run_game


def process_cpu(exe, data, args):
    """CPU seconds of one run of the game on data with args, in a fresh per-user folder (the
    benchmark stops when the run measured nothing: bench/gamerun.py)."""
    return measured(run_game, exe, args, data=data, label=" ".join(args))[1]


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
