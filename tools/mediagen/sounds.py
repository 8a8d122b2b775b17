"""Sound effects, synthesised sample by sample and written as 16-bit PCM WAV."""

import io
import math
import struct
import wave

from .raster import Rng

RATE = 44100
# -1 dBFS is 29204; aiming a little lower leaves room for rounding.
TARGET_PEAK = 28000
TAU = 2.0 * math.pi


def _osc(shape, phase):
    p = phase % 1.0
    if shape == "sine":
        return math.sin(TAU * p)
    if shape == "tri":
        return 4.0 * p - 1.0 if p < 0.5 else 3.0 - 4.0 * p
    if shape == "saw":
        return 2.0 * p - 1.0
    if shape == "soft_square":  # rounded edges keep the zap from buzzing harshly
        return math.tanh(4.0 * math.sin(TAU * p))
    raise ValueError(shape)


def _sweep(seconds, f0, f1, shape, curve="exp"):
    n = int(seconds * RATE)
    out, phase = [], 0.0
    for i in range(n):
        t = i / n
        f = f0 * (f1 / f0) ** t if curve == "exp" else f0 + (f1 - f0) * t
        phase += f / RATE
        out.append(_osc(shape, phase))
    return out


def _envelope(n, attack, decay_rate):
    """Linear attack in seconds, then exponential decay (per second)."""
    a = max(1, int(attack * RATE))
    return [i / a if i < a else math.exp(-decay_rate * (i - a) / RATE) for i in range(n)]


def _noise(n, rng):
    return [rng.uniform(-1.0, 1.0) for _ in range(n)]


def _lowpass(x, cutoff):
    """One-pole low-pass; cutoff may be a function of the sample index."""
    y, out = 0.0, []
    for i, v in enumerate(x):
        fc = cutoff(i) if callable(cutoff) else cutoff
        a = 1.0 - math.exp(-TAU * fc / RATE)
        y += a * (v - y)
        out.append(y)
    return out


def _mul(*signals):
    out = list(signals[0])
    for s in signals[1:]:
        out = [a * b for a, b in zip(out, s)]
    return out


def _add(*pairs):
    n = max(len(s) for _, s in pairs)
    out = [0.0] * n
    for k, s in pairs:
        for i, v in enumerate(s):
            out[i] += k * v
    return out


def _finish(x, fade_in=0.003, fade_out=0.012):
    """Raised-cosine fades to exact silence at both ends, then normalise."""
    n = len(x)
    fi, fo = int(fade_in * RATE), int(fade_out * RATE)
    x = list(x)
    for i in range(fi):
        x[i] *= 0.5 - 0.5 * math.cos(math.pi * i / fi)
    for i in range(fo):
        x[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / fo)
    x[0] = x[-1] = 0.0
    peak = max(abs(v) for v in x)
    return [int(round(v * TARGET_PEAK / peak)) for v in x]


def wav_bytes(samples):
    buf = io.BytesIO()
    with wave.open(buf, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        # wave takes frames in the machine's own byte order and writes them
        # little-endian: packed "<", they came out byte-swapped on s390x.
        w.writeframes(struct.pack("=%dh" % len(samples), *samples))
    return buf.getvalue()


def fire():
    n = int(0.2 * RATE)
    zap = _sweep(0.2, 1700.0, 240.0, "soft_square")
    body = _lowpass(zap, lambda i: 6000.0 - 5000.0 * i / n)
    click = _mul(_noise(n, Rng(11)), _envelope(n, 0.001, 90.0))
    return _finish(_mul(_add((1.0, body), (0.35, click)), _envelope(n, 0.002, 16.0)))


def explode():
    n = int(0.8 * RATE)
    rng = Rng(22)
    rumble = _lowpass(_noise(n, rng), lambda i: 4200.0 * math.exp(-5.0 * i / n) + 150.0)
    thump = _sweep(0.8, 110.0, 38.0, "sine")
    crackle = _mul(_noise(n, rng), [1.0 if rng.uniform() < 0.04 else 0.0 for _ in range(n)])
    mix = _add((1.6, rumble), (0.6, _mul(thump, _envelope(n, 0.002, 9.0))),
               (0.25, _lowpass(crackle, 3000.0)))
    mix = _mul(mix, _envelope(n, 0.004, 5.5))
    peak = max(abs(v) for v in mix)
    # Soft clipping lifts the body of the blast against its first crack.
    return _finish([math.tanh(2.5 * v / peak) for v in mix], fade_out=0.05)


def death():
    n = int(0.95 * RATE)
    rng = Rng(33)
    fall = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = 420.0 * (50.0 / 420.0) ** (i / n) * (1.0 + 0.04 * math.sin(TAU * 9.0 * t))
        phase += f / RATE
        fall.append(_osc("saw", phase))
    fall = _lowpass(fall, 1800.0)
    roar = _lowpass(_lowpass(_noise(n, rng), 900.0), 600.0)
    mix = _add((0.7, fall), (2.2, roar))
    env = [min(1.0, i / (0.01 * RATE)) * (1.0 - i / n) ** 1.5 for i in range(n)]
    return _finish(_mul(mix, env), fade_out=0.06)


def select1():
    n = int(0.07 * RATE)
    tone = _add((1.0, _sweep(0.07, 1320.0, 1320.0, "sine")),
                (0.25, _sweep(0.07, 2640.0, 2640.0, "tri")))
    return _finish(_mul(tone, _envelope(n, 0.002, 45.0)))


def select2():
    parts = []
    for f, dur in ((880.0, 0.08), (1318.5, 0.14)):
        n = int(dur * RATE)
        tone = _add((1.0, _sweep(dur, f, f, "tri")), (0.3, _sweep(dur, f * 2, f * 2, "sine")))
        parts += _mul(tone, _envelope(n, 0.003, 22.0))
    return _finish(parts)


def switch():
    n = int(0.3 * RATE)
    out, phase = [], 0.0
    for i in range(n):
        t = i / n
        f = 260.0 * (1500.0 / 260.0) ** t
        phase += f * (1.0 + 0.02 * math.sin(TAU * 30.0 * i / RATE)) / RATE
        out.append(_osc("tri", phase) * (0.75 + 0.25 * math.sin(TAU * 24.0 * i / RATE)))
    shimmer = _sweep(0.3, 520.0, 3000.0, "sine")
    env = [math.sin(math.pi * min(1.0, (i / n) ** 0.7)) for i in range(n)]
    return _finish(_mul(_add((1.0, out), (0.3, shimmer)), env))


def win():
    # A rising run up a major chord, landing on a held chord.
    notes = (523.25, 659.25, 783.99, 1046.5, 1318.5, 1568.0)
    step = 0.09
    total = int(1.5 * RATE)
    out = [0.0] * total
    for k, f in enumerate(notes + (1046.5, 1318.5, 1568.0)):
        start = int((k if k < len(notes) else len(notes)) * step * RATE)
        held = k >= len(notes) - 1
        dur = total - start
        env = _envelope(dur, 0.004, 2.6 if held else 14.0)
        tone = _add((1.0, _sweep(dur / RATE, f, f, "tri")),
                    (0.2, _sweep(dur / RATE, f * 2.0, f * 2.0, "sine")))
        gain = 0.55 if k >= len(notes) else 1.0
        for i, v in enumerate(_mul(tone, env)):
            out[start + i] += gain * v
    return _finish(out, fade_out=0.08)


# Every sound effect, in the order the game loads them, and what synthesises it.
# Adding one touches this list and the code that plays it.
EFFECTS = (("explode.wav", explode), ("death.wav", death), ("select1.wav", select1),
           ("select2.wav", select2), ("fire.wav", fire), ("switch.wav", switch), ("win.wav", win))


def all_sounds():
    """File paths under media/ to builder functions."""
    return {"snd/" + name: (lambda f=f: wav_bytes(f())) for name, f in EFFECTS}
