"""Running the game for a benchmark, shared by the scripts in bench/: a run that measured nothing
is refused. The game runs with --timings (on SDL's offscreen driver unless another is asked for,
silent audio); the benchmark stops with the reason when the game fails, prints an error or a
warning line (on its output or its error stream), or ends on a blank frame (its
"last-frame-commonest-colour" line: one colour over at least BLANK of it). A data folder put
together for a benchmark is made of hard links to data/ (copies where a link cannot be made):
the game reads nothing through a symbolic link that leads out of its folders.

    /usr/bin/python3 bench/gamerun.py [build/quiltora]

checks the check itself: a run to the main menu passes; one that ends on the splash's first,
black frame, and one on a data folder without its screens, are refused (exit status 0 when all
three hold)."""
import os
import re
import resource
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "data")
EXE = os.path.join(ROOT, "build", "quiltora")
REPORT_LINE = re.compile(r"^[A-Z ]*(ERROR|WARNING)\b")
BLANK = 0.99


class RunRefused(Exception):
    pass


def refusal(label, status, out, err):
    """Why the run measured nothing, or None."""
    reports = [line for line in (out + err).splitlines() if REPORT_LINE.match(line)]
    if status != 0:
        return "%s: the game ended with status %d\n%s" % (label, status, err[-2000:])
    if reports:
        return "%s: the game reported %d error or warning lines, the first:\n%s" % (
            label, len(reports), "\n".join(reports[:5]))
    found = re.search(r"^last-frame-commonest-colour (\S+)$", out, re.M)
    if not found:
        return "%s: the game did not tell its last frame (no last-frame-commonest-colour line)" % label
    if float(found.group(1)) >= BLANK:
        return "%s: the game's last frame is blank (one colour over %s of it)" % (label, found.group(1))
    return None


def run_game(exe, args, data=DATA, user=None, video="offscreen", label="the game", timeout=900):
    """Runs the game on data with args (--timings added) in the per-user folder user (a fresh
    one when None); returns its standard output and the CPU seconds of the process (user and
    system, every thread). Raises RunRefused when the run measured nothing."""
    own_user = user is None
    if own_user:
        user = tempfile.mkdtemp(prefix="quiltora-bench-")
    env = dict(os.environ, SDL_VIDEODRIVER=video, SDL_AUDIODRIVER="dummy")
    try:
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        done = subprocess.run([exe, "--data", data, "--user-dir", user, "--timings"] + args, env=env,
                              capture_output=True, text=True, errors="replace", timeout=timeout)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
    finally:
        if own_user:
            shutil.rmtree(user, ignore_errors=True)
    why = refusal(label, done.returncode, done.stdout, done.stderr)
    if why:
        raise RunRefused(why)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return done.stdout, cpu


def measured(run, *args, **kwargs):
    """run_game, the benchmark stopped with the reason when the run is refused."""
    try:
        return run(*args, **kwargs)
    except RunRefused as refused:
        sys.exit(str(refused))


def data_copy(dst, changes=None):
    """data/ put together at dst from hard links (copies where a link cannot be made), with the
    files of changes (path inside the folder: text) written in place of or beside data/'s."""

    def link(src, to):
        try:
            os.link(src, to)
        except OSError:
            shutil.copy2(src, to)

    shutil.copytree(DATA, dst, copy_function=link)
    for path, text in (changes or {}).items():
        target = os.path.join(dst, path)
        if os.path.exists(target):
            os.remove(target)  # (a link: data/'s own file stays as it is)
        with open(target, "w", encoding="ascii", newline="\n") as f:
            f.write(text)
    return dst


def main():
    exe = sys.argv[1] if len(sys.argv) > 1 else EXE
    with tempfile.TemporaryDirectory() as tmp:
        no_screens = data_copy(os.path.join(tmp, "data"))
        shutil.rmtree(os.path.join(no_screens, "Screens"))
        cases = [("the main menu", DATA, ["--fixed-delta", "--from-menu", "--menu-frames", "30", "--frames", "5000"],
                  None),
                 ("the splash's first frame, still black", DATA, ["--fixed-delta", "--frames", "1"], "blank"),
                 ("no screens", no_screens, ["--fixed-delta", "--frames", "400"], "error or warning")]
        failed = False
        for label, data, args, refused_for in cases:
            try:
                run_game(exe, args, data=data, label=label)
                why = None
            except RunRefused as refused:
                why = str(refused)
            ok = why is None if refused_for is None else why is not None and refused_for in why.splitlines()[0]
            print("%s %s" % ("ok  " if ok else "FAIL", why.splitlines()[0] if why else label + ": measured"))
            failed |= not ok
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
