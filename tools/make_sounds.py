#!/usr/bin/env python3
"""Makes the game's music and sound effects in data/Sound/.

Everything is synthesised here (plucked tones, soft pads, a round bass and light percussion),
written as 16-bit mono WAV and encoded to Ogg Vorbis with oggenc (Debian package vorbis-tools).
The encoded files are committed, so only someone changing the sounds needs to run this:

    python3 tools/make_sounds.py [--out data/Sound]

Music tracks are short loops whose last notes ring over into the start, so they repeat without
a seam. The same seeds give the same notes on every run.
"""

import argparse
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

RATE = 22050
TWO_PI = 2.0 * math.pi


def midi_hz(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


class Buffer:
    """A float mix buffer; notes past its end wrap to the start when `wrap` is set."""

    def __init__(self, seconds, wrap):
        self.n = int(round(seconds * RATE))
        self.data = [0.0] * self.n
        self.wrap = wrap

    def add(self, start, samples):
        n = self.n
        data = self.data
        i = int(start * RATE)
        for v in samples:
            if i >= n:
                if not self.wrap:
                    break
                i -= n
            data[i] += v
            i += 1


def pluck(freq, seconds, bright=0.35, decay=3.5):
    """A soft plucked tone: a few harmonics under an exponential decay."""
    count = int(seconds * RATE)
    attack = int(0.004 * RATE)
    out = []
    w = TWO_PI * freq / RATE
    for i in range(count):
        t = i / RATE
        env = math.exp(-decay * t)
        if i < attack:
            env *= i / attack
        tail = count - i
        if tail < 400:
            env *= tail / 400.0
        ph = w * i
        out.append(env * (math.sin(ph) + bright * math.sin(2 * ph) * math.exp(-3 * t)
                          + 0.12 * math.sin(3 * ph) * math.exp(-6 * t)))
    return out


def pad(freq, seconds, level=1.0):
    """A slow, slightly detuned chord voice."""
    count = int(seconds * RATE)
    attack = int(0.35 * RATE)
    release = int(0.6 * RATE)
    w1 = TWO_PI * freq * 0.997 / RATE
    w2 = TWO_PI * freq * 1.003 / RATE
    out = []
    for i in range(count):
        env = 1.0
        if i < attack:
            env = i / attack
        if count - i < release:
            env *= (count - i) / release
        out.append(level * env * 0.5 * (math.sin(w1 * i) + math.sin(w2 * i) + 0.2 * math.sin(2 * w1 * i)))
    return out


def bass(freq, seconds):
    count = int(seconds * RATE)
    w = TWO_PI * freq / RATE
    out = []
    for i in range(count):
        t = i / RATE
        env = math.exp(-2.2 * t) * min(1.0, i / 60.0)
        tail = count - i
        if tail < 300:
            env *= tail / 300.0
        out.append(env * (math.sin(w * i) + 0.25 * math.sin(2 * w * i)))
    return out


def kick(seconds=0.25):
    count = int(seconds * RATE)
    out = []
    phase = 0.0
    for i in range(count):
        t = i / RATE
        f = 50.0 + 70.0 * math.exp(-30 * t)
        phase += TWO_PI * f / RATE
        out.append(math.exp(-14 * t) * math.sin(phase))
    return out


def shaker(rng, seconds=0.05):
    count = int(seconds * RATE)
    out = []
    last = 0.0
    for i in range(count):
        v = rng.uniform(-1.0, 1.0)
        hp = v - last  # a crude high-pass keeps it airy
        last = v
        out.append(hp * 0.5 * math.exp(-60 * i / RATE))
    return out


SCALES = {
    "major_penta": [0, 2, 4, 7, 9],
    "minor_penta": [0, 3, 5, 7, 10],
    "major": [0, 2, 4, 5, 7, 9, 11],
    "dorian": [0, 2, 3, 5, 7, 9, 10],
    "lydian": [0, 2, 4, 6, 7, 9, 11],
}

# Chords as (root offset in semitones, quality) per bar.
TRACKS = [
    dict(name="Morning Meadow", root=60, scale="major_penta", mode="major", bpm=96, seed=11,
         chords=[(0, "maj"), (9, "min"), (5, "maj"), (7, "maj")] * 2, drums=True),
    dict(name="Quiet Loom", root=57, scale="minor_penta", mode="dorian", bpm=84, seed=23,
         chords=[(0, "min"), (5, "maj"), (3, "maj"), (10, "maj")] * 2, drums=False),
    dict(name="Bright Stitches", root=62, scale="major_penta", mode="major", bpm=108, seed=37,
         chords=[(0, "maj"), (7, "maj"), (9, "min"), (5, "maj")] * 2, drums=True),
    dict(name="Garden Path", root=55, scale="major", mode="lydian", bpm=90, seed=41,
         chords=[(0, "maj"), (2, "maj"), (9, "min"), (7, "maj")] * 2, drums=True),
    dict(name="Evening Thread", root=64, scale="minor_penta", mode="dorian", bpm=78, seed=53,
         chords=[(0, "min"), (8, "maj"), (3, "maj"), (10, "maj")] * 2, drums=False),
    dict(name="Market Day", root=65, scale="major_penta", mode="major", bpm=112, seed=67,
         chords=[(0, "maj"), (5, "maj"), (2, "min"), (7, "maj")] * 2, drums=True),
]


def chord_notes(root, quality):
    third = 4 if quality == "maj" else 3
    return [root, root + third, root + 7]


def make_track(spec):
    rng = random.Random(spec["seed"])
    beat = 60.0 / spec["bpm"]
    bar = 4 * beat
    bars = len(spec["chords"])
    buf = Buffer(bars * bar, wrap=True)
    root = spec["root"]

    # Pads and bass follow the chords.
    for b, (off, quality) in enumerate(spec["chords"]):
        start = b * bar
        for note in chord_notes(root - 12 + off, quality):
            buf.add(start, pad(midi_hz(note), bar + 0.5, level=0.10))
        bass_note = root - 24 + off
        for k, beats in enumerate((0, 2, 3) if b % 2 else (0, 1.5, 2, 3)):
            buf.add(start + beats * beat, [v * 0.32 for v in bass(midi_hz(bass_note + (7 if k == 2 else 0)), beat * 0.95)])

    # The melody: a gentle walk over the scale in eighth notes, resting now and then, leaning
    # on chord tones on strong beats. The second half answers the first with small changes.
    scale = SCALES[spec["scale"]]
    pool = [root + 12 * o + s for o in (0, 1) for s in scale] + [root + 24]
    idx = len(pool) // 3
    phrase = []
    for step in range(bars * 8 // 2):
        b = step // 8
        off, quality = spec["chords"][b]
        if step % 8 in (0, 4) and rng.random() < 0.7:
            targets = [n for n in pool if (n - root - off) % 12 in [(x - root) % 12 for x in chord_notes(root, quality)]]
            if targets:
                idx = pool.index(min(targets, key=lambda n: abs(n - pool[idx])))
        else:
            idx = max(0, min(len(pool) - 1, idx + rng.choice([-2, -1, -1, 0, 1, 1, 2])))
        rest = rng.random() < (0.22 if step % 2 else 0.08)
        length = 2 if rng.random() < 0.3 and step % 2 == 0 else 1
        phrase.append(None if rest else (pool[idx], length))
    answer = list(phrase)
    for k in range(len(answer) - 8, len(answer)):
        if answer[k] and rng.random() < 0.5:
            n, length = answer[k]
            answer[k] = (max(pool[0], n - rng.choice([2, 3, 5])), length)
    answer[-2] = (root + 12, 2)
    answer[-1] = None
    melody = phrase + answer
    half = beat / 2
    for step, item in enumerate(melody):
        if item:
            note, length = item
            buf.add(step * half, [v * 0.30 for v in pluck(midi_hz(note), half * length + 0.6)])
            # A quiet echo a dotted eighth later.
            buf.add(step * half + 0.75 * beat, [v * 0.08 for v in pluck(midi_hz(note), half * length + 0.4)])

    if spec["drums"]:
        k = [v * 0.45 for v in kick()]
        for b in range(bars):
            for beats in (0, 2.5) if b % 2 else (0, 2):
                buf.add(b * bar + beats * beat, k)
            for e in range(8):
                buf.add(b * bar + e * half, [v * (0.16 if e % 2 else 0.09) for v in shaker(rng)])
    return buf.data


def effect_buffer(seconds):
    return Buffer(seconds, wrap=False)


def make_effects():
    rng = random.Random(5)
    fx = {}

    b = effect_buffer(0.045)
    w = TWO_PI * 1900.0 / RATE
    b.add(0, [math.exp(-160 * i / RATE) * (math.sin(w * i) + 0.3 * rng.uniform(-1, 1)) for i in range(b.n)])
    fx["sfx/click.ogg"] = b.data

    b = effect_buffer(0.12)
    b.add(0, [v * 0.8 for v in pluck(midi_hz(84), 0.12, bright=0.2, decay=35)])
    fx["sfx/Tile-Right.ogg"] = b.data

    b = effect_buffer(0.25)
    w = TWO_PI * 110.0 / RATE
    b.add(0, [math.exp(-14 * i / RATE) * (math.sin(w * i) + 0.4 * math.sin(3.01 * w * i)) * 0.7 for i in range(b.n)])
    fx["sfx/Tile-Wrong.ogg"] = b.data

    b = effect_buffer(0.9)
    for k, n in enumerate((79, 83, 86, 91)):
        b.add(k * 0.07, [v * 0.35 for v in pluck(midi_hz(n), 0.6, decay=6)])
    fx["sfx/Game_Hint.ogg"] = b.data

    b = effect_buffer(0.45)
    phase = 0.0
    out = []
    for i in range(b.n):
        t = i / RATE
        phase += TWO_PI * (400 + 900 * t / 0.45) / RATE
        out.append(math.sin(math.pi * t / 0.45) * 0.35 * (math.sin(phase) * 0.6 + 0.4 * rng.uniform(-1, 1)))
    b.add(0, out)
    fx["sfx/hint-load.ogg"] = b.data

    b = effect_buffer(0.7)
    b.add(0, [v * 0.4 for v in pluck(midi_hz(81), 0.6, decay=5)])
    b.add(0.09, [v * 0.4 for v in pluck(midi_hz(88), 0.6, decay=5)])
    fx["sfx/hintuse.ogg"] = b.data

    b = effect_buffer(1.6)
    for k, n in enumerate((72, 76, 79, 84)):
        b.add(k * 0.11, [v * 0.33 for v in pluck(midi_hz(n), 1.1, decay=3)])
    for n in (60, 64, 67):
        b.add(0.44, [v * 0.12 for v in pad(midi_hz(n), 1.1)])
    fx["sfx/win.ogg"] = b.data

    b = effect_buffer(1.5)
    for k, n in enumerate((67, 63, 60)):
        b.add(k * 0.28, [v * 0.35 for v in pluck(midi_hz(n), 0.9, decay=3)])
    fx["sfx/Lose.ogg"] = b.data

    b = effect_buffer(0.9)
    for k in range(3):
        knock = [math.exp(-40 * i / RATE) * (math.sin(TWO_PI * 180 * i / RATE) * 0.6 + 0.4 * rng.uniform(-1, 1))
                 for i in range(int(0.15 * RATE))]
        b.add(k * 0.26, [v * 0.6 for v in knock])
    fx["sfx/construction.ogg"] = b.data
    return fx


def normalise(data, peak=0.8):
    top = max(1e-9, max(abs(v) for v in data))
    scale = peak / top
    # A soft knee keeps any stray peak round.
    return [math.tanh(v * scale * 1.1) / math.tanh(1.1) for v in data]


def write_wav(path, data):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        frames = bytearray()
        for v in data:
            frames += struct.pack("<h", max(-32767, min(32767, int(round(v * 32767)))))
        w.writeframes(bytes(frames))


def encode(wav, ogg, quality):
    os.makedirs(os.path.dirname(ogg), exist_ok=True)
    subprocess.run(["oggenc", "-Q", "-s", "1", "-q", str(quality), "-o", ogg, wav], check=True)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "data", "Sound"))
    args = parser.parse_args()
    if not shutil.which("oggenc"):
        sys.exit("oggenc not found: install the Debian package vorbis-tools")
    out = os.path.abspath(args.out)
    with tempfile.TemporaryDirectory() as tmp:
        # One block per track, in playing order; Url is relative to the Sound/ folder.
        lines = []
        for n, spec in enumerate(TRACKS, start=1):
            rel = "Music/Track-%d.ogg" % n
            wav = os.path.join(tmp, "track%d.wav" % n)
            write_wav(wav, normalise(make_track(spec), 0.7))
            encode(wav, os.path.join(out, rel), 3)
            lines.append('Track{\n\tName = "%s"\n\tUrl = "%s"\n}\n' % (spec["name"], rel))
            print("made", rel)
        for rel, data in make_effects().items():
            wav = os.path.join(tmp, os.path.basename(rel) + ".wav")
            write_wav(wav, normalise(data, 0.85))
            encode(wav, os.path.join(out, rel), 3)
            print("made", rel)
        with open(os.path.join(out, "Tracks.txt"), "w", encoding="ascii", newline="\n") as f:
            f.write("".join(lines))


if __name__ == "__main__":
    main()
