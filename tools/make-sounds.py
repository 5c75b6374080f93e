#!/usr/bin/env python3
"""Synthesises the program's eleven built-in sounds into resources/sounds/<Name>.wav.

Run by hand from the repository root: python3 tools/make-sounds.py
Only the standard library is used. Every image is 8-bit mono PCM whose rate, format
record length and sample count are fixed by the program's sound table; the output is
deterministic (seeded noise).
"""
import math
import os
import random
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "sounds")
TAU = 2.0 * math.pi


def read_table():
    """name -> (rate, format record bytes, sample bytes), and the names in their order."""
    table, order = {}, []
    with open(os.path.join(OUT, "table.tsv"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            name, _looped, rate, fmt_len, count = line.split("\t")
            table[name] = (int(rate), int(fmt_len), int(count))
            order.append(name)
    return table, order


TABLE, ORDER = read_table()


# ---------------------------------------------------------------- building blocks

def note_hz(name):
    """'A4', 'C#5', 'Bb3' -> Hz."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    n = steps[name[0]]
    rest = name[1:]
    if rest[0] == "#":
        n += 1
        rest = rest[1:]
    elif rest[0] == "b":
        n -= 1
        rest = rest[1:]
    return 440.0 * 2.0 ** ((n + 12 * (int(rest) - 4)) / 12.0)


class Biquad:
    """RBJ cookbook filters, one sample at a time."""

    def __init__(self, kind, f0, q, rate):
        w = TAU * min(f0, rate * 0.45) / rate
        alpha = math.sin(w) / (2.0 * q)
        c = math.cos(w)
        if kind == "bp":
            b = (alpha, 0.0, -alpha)
        elif kind == "lp":
            b = ((1 - c) / 2, 1 - c, (1 - c) / 2)
        else:  # hp
            b = ((1 + c) / 2, -(1 + c), (1 + c) / 2)
        a0 = 1 + alpha
        self.b0, self.b1, self.b2 = (x / a0 for x in b)
        self.a1, self.a2 = -2 * c / a0, (1 - alpha) / a0
        self.x1 = self.x2 = self.y1 = self.y2 = 0.0

    def __call__(self, x):
        y = self.b0 * x + self.b1 * self.x1 + self.b2 * self.x2 - self.a1 * self.y1 - self.a2 * self.y2
        self.x2, self.x1, self.y2, self.y1 = self.x1, x, self.y1, y
        return y


def wavetable(partials, size=2048):
    """One cycle from (harmonic, amplitude) pairs."""
    return [sum(a * math.sin(TAU * h * i / size) for h, a in partials) for i in range(size)]


_tables = {}


def band_table(kind, f0, rate):
    """A band-limited single-cycle table of a timbre for a note."""
    top = max(1, int(rate * 0.45 / max(f0, 1.0)))
    key = (kind, min(top, 24))
    if key not in _tables:
        n = key[1]
        if kind == "brass":  # saw-like with a lifted middle: bright, round
            p = [(h, (1.0 / h) * (1.0 + 0.8 * math.exp(-((h - 4) ** 2) / 6.0))) for h in range(1, n + 1)]
        elif kind == "string":
            p = [(h, 1.0 / h ** 1.15) for h in range(1, n + 1)]
        elif kind == "reed":  # odd harmonics stronger: hollow, nasal
            p = [(h, (1.0 if h % 2 else 0.45) / h) for h in range(1, n + 1)]
        elif kind == "soft":
            p = [(h, 1.0 / h ** 2.2) for h in range(1, n + 1)]
        else:
            p = [(1, 1.0)]
        _tables[key] = wavetable(p)
    return _tables[key]


def add(buf, start, samples, gain=1.0):
    for i, v in enumerate(samples):
        j = start + i
        if 0 <= j < len(buf):
            buf[j] += v * gain


def add_circular(buf, start, samples, gain=1.0):
    n = len(buf)
    for i, v in enumerate(samples):
        buf[(start + i) % n] += v * gain


def adsr(t, dur, a, d, s, r):
    if t < a:
        return t / a
    if t < a + d:
        return 1.0 - (1.0 - s) * (t - a) / d
    if t < dur - r:
        return s
    if t < dur:
        return s * (dur - t) / r
    return 0.0


def tone(rate, dur, freq, kind="brass", env=(0.01, 0.1, 0.7, 0.1), vib=(0.0, 0.0), glide=None, bright=None):
    """A wavetable note. freq may be a function of time; bright crossfades to a softer table."""
    n = int(dur * rate)
    out = [0.0] * n
    phase = 0.0
    f_of = freq if callable(freq) else (lambda t, f=freq: f)
    base = f_of(0.0)
    hard = band_table(kind, base * 1.5, rate)
    soft = band_table("soft", base * 1.5, rate)
    size = len(hard)
    vib_depth, vib_rate = vib
    for i in range(n):
        t = i / rate
        f = f_of(t) * (1.0 + vib_depth * math.sin(TAU * vib_rate * t) * min(1.0, t / 0.25))
        phase = (phase + f / rate) % 1.0
        k = int(phase * size)
        e = adsr(t, dur, *env)
        mix = bright(t) if bright else 1.0
        out[i] = e * (mix * hard[k] + (1.0 - mix) * soft[k])
    return out


def noise_burst(rate, dur, rng, filt=None, env=lambda t: 1.0):
    n = int(dur * rate)
    out = []
    for i in range(n):
        x = rng.uniform(-1.0, 1.0)
        if filt:
            for f in filt:
                x = f(x)
        out.append(x * env(i / rate))
    return out


def damped(rate, dur, freq, decay, phase=0.0):
    return [math.exp(-i / rate / decay) * math.sin(TAU * freq * i / rate + phase) for i in range(int(dur * rate))]


def finish(samples, count, peak=0.85, fade_in=0.002, fade_out=0.02, rate=8000):
    """Normalised to a peak, ends faded to silence, cut or padded to exactly count."""
    s = (samples + [0.0] * count)[:count]
    top = max(1e-9, max(abs(x) for x in s))
    s = [x * peak / top for x in s]
    fi, fo = int(fade_in * rate), int(fade_out * rate)
    for i in range(min(fi, count)):
        s[i] *= i / fi
    for i in range(min(fo, count)):
        s[count - 1 - i] *= i / fo
    return s


def to_bytes(samples):
    out = bytearray()
    for x in samples:
        v = int(round(128 + 127 * x))
        out.append(min(255, max(1, v)))
    return bytes(out)


def write_wave(name, samples):
    rate, fmt_len, count = TABLE[name]
    data = to_bytes(samples)
    assert len(data) == count, (name, len(data), count)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate, 1, 8)
    if fmt_len == 18:
        fmt += struct.pack("<H", 0)
    body = b"WAVE" + b"fmt " + struct.pack("<I", fmt_len) + fmt + b"data" + struct.pack("<I", count) + data
    image = b"RIFF" + struct.pack("<I", len(body)) + body  # no pad byte after odd data
    with open(os.path.join(OUT, name + ".wav"), "wb") as f:
        f.write(image)


# ---------------------------------------------------------------- the sounds

def bang():
    rate, _, count = TABLE["Bang"]
    rng = random.Random(1)
    buf = [0.0] * count
    # A short tick: a bright noise edge over a small wooden knock.
    add(buf, 0, noise_burst(rate, 0.004, rng, [Biquad("bp", 3200, 1.2, rate)], lambda t: math.exp(-t / 0.0012)), 0.9)
    add(buf, 0, damped(rate, 0.15, 1750, 0.012), 0.7)
    add(buf, 0, damped(rate, 0.15, 820, 0.02), 0.45)
    return finish(buf, count, 0.8, 0.0002, 0.01, rate)


def type_key():
    rate, _, count = TABLE["Type"]
    rng = random.Random(2)
    buf = [0.0] * count
    # Key strike, type bar on the platen, key release, then the frame's fading ring.
    add(buf, 0, noise_burst(rate, 0.006, rng, [Biquad("bp", 4200, 1.0, rate)], lambda t: math.exp(-t / 0.0015)), 0.6)
    add(buf, 0, damped(rate, 0.08, 190, 0.018), 0.35)
    strike = int(0.032 * rate)
    add(buf, strike, noise_burst(rate, 0.012, rng, [Biquad("bp", 2600, 1.4, rate)], lambda t: math.exp(-t / 0.0025)), 1.0)
    add(buf, strike, damped(rate, 0.2, 2230, 0.02), 0.35)
    add(buf, strike, damped(rate, 0.2, 3170, 0.014), 0.25)
    add(buf, strike, damped(rate, 0.3, 410, 0.035), 0.3)
    release = int(0.16 * rate)
    add(buf, release, noise_burst(rate, 0.005, rng, [Biquad("bp", 3600, 1.5, rate)], lambda t: math.exp(-t / 0.0012)), 0.25)
    add(buf, release, damped(rate, 0.1, 1500, 0.01), 0.1)
    add(buf, 0, [math.exp(-i / rate / 0.12) * math.sin(TAU * 115 * i / rate) for i in range(int(0.52 * rate))], 0.04)
    sound = int(0.52 * rate)
    for i in range(sound - int(0.06 * rate), sound):
        buf[i] *= (sound - i) / (0.06 * rate)
    for i in range(sound, count):
        buf[i] = 0.0
    return finish(buf, count, 0.8, 0.0002, 0.01, rate)


def timpani(rate, dur, freq, rng, gain=1.0):
    hit = damped(rate, dur, freq, 0.45)
    over = damped(rate, dur, freq * 1.5, 0.25)
    over2 = damped(rate, dur, freq * 1.98, 0.15)
    thump = noise_burst(rate, 0.05, rng, [Biquad("lp", 400, 0.7, rate)], lambda t: math.exp(-t / 0.01))
    out = [(hit[i] + 0.5 * over[i] + 0.3 * over2[i]) * gain for i in range(len(hit))]
    for i, v in enumerate(thump):
        out[i] += v * 0.8 * gain
    return out


def theme():
    rate, _, count = TABLE["Theme"]
    rng = random.Random(3)
    buf = [0.0] * count
    # Two brass stabs over timpani, then a swelling major chord held by strings and horns.
    stab1 = ["C3", "G3", "C4", "Eb4", "G4"]
    stab2 = ["Ab2", "Eb3", "Ab3", "C4", "Eb4", "Ab4"]
    final = ["C3", "G3", "C4", "E4", "G4", "C5", "E5"]
    for i, n in enumerate(stab1):
        add(buf, 0, tone(rate, 0.3, note_hz(n) * (1 + 0.002 * i), "brass", (0.012, 0.08, 0.6, 0.12),
                         bright=lambda t: max(0.2, 1 - t * 3)), 0.16)
    add(buf, 0, timpani(rate, 0.9, 65.4, rng), 0.55)
    s2 = int(0.34 * rate)
    for i, n in enumerate(stab2):
        add(buf, s2, tone(rate, 0.32, note_hz(n) * (1 - 0.002 * i), "brass", (0.012, 0.08, 0.65, 0.12),
                          bright=lambda t: max(0.2, 1 - t * 3)), 0.15)
    add(buf, s2, timpani(rate, 0.9, 51.9, rng), 0.5)
    s3 = int(0.72 * rate)
    held = 2.72
    for i, n in enumerate(final):
        f = note_hz(n) * (1 + 0.0015 * (i - 3))
        add(buf, s3, tone(rate, held, f, "brass", (0.03, 0.25, 0.55, 1.6), vib=(0.003, 5.2 + 0.1 * i),
                          bright=lambda t: max(0.25, 1 - t * 0.8)), 0.12)
        add(buf, s3, tone(rate, held, f * 1.003, "string", (0.25, 0.3, 0.7, 1.4), vib=(0.004, 5.6)), 0.07)
    add(buf, s3, timpani(rate, 2.5, 65.4, rng), 0.7)
    # A cymbal washing up under the last chord.
    hp = Biquad("hp", 5000, 0.7, rate)
    add(buf, s3, noise_burst(rate, held, rng, [hp], lambda t: 0.6 * math.exp(-t / 0.7)), 0.25)
    return finish(buf, count, 0.88, 0.001, 0.25, rate)


def marimba(rate, dur, freq):
    out = []
    for i in range(int(dur * rate)):
        t = i / rate
        v = math.sin(TAU * freq * t) * math.exp(-t / 0.35)
        if freq * 4 < rate * 0.45:
            v += 0.25 * math.sin(TAU * freq * 4 * t) * math.exp(-t / 0.06)
        out.append(v * min(1.0, t / 0.002))
    return out


def joke():
    rate, _, count = TABLE["Joke"]
    rng = random.Random(4)
    buf = [0.0] * count
    start = int(0.1 * rate)
    eighth = 60.0 / 140 / 2
    melody = ("C5 - A4 F4 A4 C5 D5 C5 | Bb4 - G4 E4 G4 Bb4 C5 Bb4 | A4 C5 F5 C5 A4 C5 D5 E5 | "
              "F5 - C5 - A4 G4 F4 -").replace("|", "").split()
    bass = ("F3 . C3 . F3 . C3 . | C3 . G2 . C3 . G2 . | F3 . C3 . F3 . A3 . | Bb2 . C3 . F2 . . .").replace("|", "").split()
    for k, n in enumerate(melody):
        if n == "-":
            continue
        t0 = start + int(k * eighth * rate)
        add(buf, t0, marimba(rate, 0.5, note_hz(n)), 0.45)
    for k, n in enumerate(bass):
        if n == ".":
            continue
        t0 = start + int(k * eighth * rate)
        add(buf, t0, tone(rate, eighth * 0.9, note_hz(n), "reed", (0.01, 0.05, 0.6, 0.05)), 0.35)
    # Offbeat woodblock for the bounce.
    for k in range(1, len(melody), 2):
        t0 = start + int(k * eighth * rate)
        add(buf, t0, damped(rate, 0.06, 1250, 0.012), 0.18)
    # A slide whistle up, then a "ta-da" and a sproingy low note.
    t_slide = start + int(len(melody) * eighth * rate)
    slide = 0.55
    add(buf, t_slide, tone(rate, slide, lambda t: 600 * 2 ** (1.6 * t / slide), "sine", (0.03, 0.05, 0.9, 0.05),
                           vib=(0.01, 7.0)), 0.5)
    t_end = t_slide + int((slide + 0.05) * rate)
    for n in ["F4", "A4", "C5", "F5"]:
        add(buf, t_end, marimba(rate, 1.2, note_hz(n)), 0.3)
        add(buf, t_end, tone(rate, 1.1, note_hz(n), "brass", (0.01, 0.1, 0.5, 0.7)), 0.08)
    add(buf, t_end + int(0.25 * rate),
        tone(rate, 0.9, lambda t: 110 * (1 + 0.06 * math.sin(TAU * 9 * t) * math.exp(-t / 0.4)), "reed",
             (0.01, 0.1, 0.6, 0.5)), 0.3)
    return finish(buf, count, 0.85, 0.002, 0.3, rate)


def formant_voice(rate, dur, f0_of, formants, rng, breath=0.2, growl=None, env=lambda t: 1.0):
    """A glottal pulse train plus breath through parallel resonators."""
    n = int(dur * rate)
    filters = [(Biquad("bp", f, q, rate), g) for f, q, g in formants]
    out = []
    phase = 0.0
    for i in range(n):
        t = i / rate
        f0 = f0_of(t) * (1.0 + 0.03 * rng.uniform(-1, 1))
        phase += f0 / rate
        src = 0.0
        if phase >= 1.0:
            phase -= 1.0
            src = 1.0
        src = src * 2.0 + 0.6 * (phase - 0.5) + breath * rng.uniform(-1, 1)
        if growl:
            src *= growl(t)
        out.append(sum(f(src) * g for f, g in filters) * env(t))
    return out


def lion():
    rate, _, count = TABLE["Lion"]
    rng = random.Random(5)
    dur = count / rate

    def f0(t):
        return 95 + 70 * math.sin(math.pi * min(1.0, t / 1.1)) - 15 * t

    def growl(t):
        return 0.6 + 0.4 * math.sin(TAU * 27 * t + 2 * math.sin(TAU * 3 * t))

    def env(t):
        return min(1.0, t / 0.18) * (1.0 if t < 0.8 else max(0.0, 1 - (t - 0.8) / 0.45))

    v = formant_voice(rate, dur, f0, [(650, 3, 1.0), (1100, 4, 0.7), (2400, 5, 0.3), (300, 2, 0.8)], rng,
                      breath=0.5, growl=growl, env=env)
    lp = Biquad("lp", 2800, 0.7, rate)
    v = [lp(x) for x in v]
    return finish(v, count, 0.88, 0.01, 0.05, rate)


def elephant():
    rate, _, count = TABLE["Elephant"]
    rng = random.Random(6)
    dur = count / rate

    def f0(t):
        up = 330 + 230 * min(1.0, t / 0.2)
        return up * (1 + 0.04 * math.sin(TAU * 7.5 * t)) * (1 - 0.18 * max(0.0, t - 0.95) / 0.3)

    def env(t):
        return min(1.0, t / 0.06) * (0.75 + 0.25 * math.sin(TAU * 2.2 * t + 1)) * (
            1.0 if t < 1.0 else max(0.0, 1 - (t - 1.0) / 0.26))

    v = tone(rate, dur, f0, "reed", (0.02, 0.1, 0.9, 0.05), bright=lambda t: 1.0)
    e = [env(i / rate) for i in range(len(v))]
    nasal = Biquad("bp", 1300, 2.5, rate)
    rough = [rng.uniform(-1, 1) * 0.15 for _ in v]
    out = [(0.6 * x + 0.9 * nasal(x) + r * x) * e[i] for i, (x, r) in enumerate(zip(v, rough))]
    return finish(out, count, 0.85, 0.005, 0.04, rate)


def condle():
    rate, _, count = TABLE["Condle"]
    rng = random.Random(7)
    buf = [0.0] * count
    # A hoarse two-syllable croak, "krr-aah, krr-aah", from a big wading bird of our own.
    for start, dur, pitch in ((0.0, 0.42, 240.0), (0.48, 0.46, 215.0)):
        def f0(t, p=pitch, d=dur):
            return p * (1.25 - 0.35 * t / d)

        def rattle(t):
            return 0.35 + 0.65 * (0.5 + 0.5 * math.sin(TAU * 42 * t)) if t < 0.12 else 1.0

        def env(t, d=dur):
            return min(1.0, t / 0.02) * max(0.0, 1 - max(0.0, t - d * 0.6) / (d * 0.4))

        v = formant_voice(rate, dur, f0, [(500, 3, 0.8), (900, 4, 1.0), (1800, 5, 0.6), (2900, 6, 0.25)], rng,
                          breath=0.35, growl=rattle, env=env)
        add(buf, int(start * rate), v)
    return finish(buf, count, 0.85, 0.005, 0.03, rate)


def got_it():
    rate, _, count = TABLE["GotIt"]
    rng = random.Random(8)
    buf = [0.0] * count
    # "Ta-ta-ta-taaa": a triplet pickup into a held major chord with a drum under it.
    step = 0.13
    for k, n in enumerate(["G4", "C5", "E5"]):
        add(buf, int(k * step * rate), tone(rate, step * 0.95, note_hz(n), "brass", (0.008, 0.04, 0.7, 0.03)), 0.35)
    t0 = int(3 * step * rate)
    held = 2.55
    for i, n in enumerate(["C4", "E4", "G4", "C5", "G5"]):
        add(buf, t0, tone(rate, held, note_hz(n) * (1 + 0.002 * (i - 2)), "brass", (0.02, 0.2, 0.6, 1.5),
                          vib=(0.004, 5.5), bright=lambda t: max(0.3, 1 - t * 0.7)), 0.15)
    add(buf, t0, tone(rate, held, note_hz("C3"), "reed", (0.02, 0.2, 0.6, 1.5)), 0.15)
    add(buf, t0, timpani(rate, 2.0, 65.4, rng), 0.45)
    for k in range(3):
        add(buf, int(k * step * rate), noise_burst(rate, 0.08, rng, [Biquad("bp", 1800, 0.9, rate)],
                                                   lambda t: math.exp(-t / 0.02)), 0.15)
    return finish(buf, count, 0.87, 0.002, 0.3, rate)


def savanna():
    rate, _, count = TABLE["Savanna"]
    rng = random.Random(9)
    length = count / rate
    fade = int(1.0 * rate)

    def loop_sin(cycles, t, phase=0.0):
        # Whole cycles per loop, so the modulation lines up at the seam.
        return math.sin(TAU * cycles * t / length + phase)

    # Wind: low-passed noise with slow gusts, rendered a bit long and cross-faded at the seam.
    total = count + fade
    lp1, lp2 = Biquad("lp", 500, 0.7, rate), Biquad("lp", 900, 0.7, rate)
    wind = []
    for i in range(total):
        t = (i % count) / rate
        gust = 0.55 + 0.25 * loop_sin(2, t) + 0.15 * loop_sin(5, t, 1.3) + 0.05 * loop_sin(11, t, 0.4)
        wind.append(lp2(lp1(rng.uniform(-1, 1))) * gust)
    buf = [0.0] * count
    for i in range(count):
        buf[i] = wind[i]
    for i in range(fade):
        w = i / fade
        buf[i] = wind[i] * math.sin(0.5 * math.pi * w) + wind[count + i] * math.cos(0.5 * math.pi * w)

    # Insects: a high shimmering buzz in slow swells, plus a cricket that chirps in threes.
    bp = Biquad("bp", 3400, 6, rate)
    hiss = [bp(rng.uniform(-1, 1)) for _ in range(total)]
    for i in range(fade):
        w = i / fade
        hiss[i] = hiss[i] * math.sin(0.5 * math.pi * w) + hiss[count + i] * math.cos(0.5 * math.pi * w)
    for i in range(count):
        t = i / rate
        swell = max(0.0, 0.5 + 0.5 * loop_sin(3, t, 2.0))
        pulse = 0.5 + 0.5 * math.sin(TAU * 48 * t)
        buf[i] += hiss[i] * 0.25 * swell * pulse
    chirp = [math.sin(TAU * 3100 * i / rate) * math.sin(math.pi * i / (0.03 * rate)) for i in range(int(0.03 * rate))]
    t = 0.3
    while t < length - 0.2:
        for k in range(3):
            add_circular(buf, int((t + k * 0.055) * rate), chirp, 0.1)
        t += 0.9 + rng.uniform(-0.15, 0.25)

    # Distant birds: a few falling whistles and a two-note call here and there.
    def whistle(f_start, f_end, dur):
        n = int(dur * rate)
        out, ph = [], 0.0
        for i in range(n):
            f = f_start + (f_end - f_start) * i / n
            ph += f / rate
            out.append(math.sin(TAU * ph) * math.sin(math.pi * i / n))
        return out

    for at, kind in ((2.1, 0), (5.6, 1), (9.3, 0), (12.8, 2), (16.4, 1), (19.9, 0), (22.6, 2)):
        if kind == 0:
            add_circular(buf, int(at * rate), whistle(2600, 1800, 0.35), 0.12)
        elif kind == 1:
            add_circular(buf, int(at * rate), whistle(1900, 2300, 0.12), 0.1)
            add_circular(buf, int((at + 0.2) * rate), whistle(1700, 1600, 0.2), 0.1)
        else:
            for k in range(4):
                add_circular(buf, int((at + k * 0.09) * rate), whistle(3000, 2700, 0.05), 0.07)

    mean = sum(buf) / count
    buf = [x - mean for x in buf]
    top = max(abs(x) for x in buf)
    # A background: well below the calls, no fades at the ends so the loop runs on.
    return [x * 0.55 / top for x in buf]


def get15():
    rate, _, count = TABLE["Get15"]
    buf = [0.0] * count

    def bell(freq, dur):
        partials = [(1.0, 1.0, 0.35), (2.0, 0.5, 0.2), (2.76, 0.35, 0.12), (5.4, 0.15, 0.05)]
        out = []
        for i in range(int(dur * rate)):
            t = i / rate
            v = sum(a * math.exp(-t / d) * math.sin(TAU * freq * r * t)
                    for r, a, d in partials if freq * r < rate * 0.45)
            out.append(v * min(1.0, t / 0.002, (dur - t) / 0.05))
        return out

    # A quick rising "ding-ding-diing" of small bells.
    for k, (n, d) in enumerate((("E5", 1.4), ("G#5", 1.4), ("B5", 1.4))):
        add(buf, int(k * 0.09 * rate), bell(note_hz(n), d), 0.5 if k < 2 else 0.7)
    return finish(buf, count, 0.82, 0.001, 0.2, rate)


def owl():
    rate, _, count = TABLE["Owl"]
    rng = random.Random(11)
    buf = [0.0] * count
    # "hoo, HOOO": a soft short hoot and a longer falling one, breathy.
    lp = Biquad("lp", 900, 0.7, rate)
    for start, dur, f, g in ((0.0, 0.11, 410, 0.6), (0.17, 0.32, 400, 1.0)):
        n = int(dur * rate)
        ph = 0.0
        for i in range(n):
            t = i / rate
            fr = f * (1.0 - 0.08 * t / dur) * (1 + 0.01 * math.sin(TAU * 6 * t))
            ph += fr / rate
            env = math.sin(math.pi * min(1.0, t / (dur * 0.35)) / 2) * min(1.0, (dur - t) / (dur * 0.45))
            v = math.sin(TAU * ph) + 0.15 * math.sin(2 * TAU * ph) + 0.12 * lp(rng.uniform(-1, 1))
            j = int(start * rate) + i
            if j < count:
                buf[j] += v * env * g
    return finish(buf, count, 0.8, 0.005, 0.02, rate)


MAKERS = {"Bang": bang, "Type": type_key, "Theme": theme, "Joke": joke, "Lion": lion, "Elephant": elephant,
          "Condle": condle, "GotIt": got_it, "Savanna": savanna, "Get15": get15, "Owl": owl}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name in ORDER:
        write_wave(name, MAKERS[name]())
        print(name)


if __name__ == "__main__":
    main()
