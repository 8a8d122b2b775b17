"""Quorvane's theme: synthesised instruments and an original tune in A minor."""

import math

from .raster import Rng
from .xm import KEY_OFF, Instrument, Sample, module_bytes

SPEED, BPM = 6, 128          # one row is a sixteenth note at 128 beats a minute
ROWS = 64                    # four bars of sixteen rows
CHANNELS = 8
KICK, SNARE, HAT, BASS, LEAD, ARP, PAD_LOW, PAD_HIGH = range(CHANNELS)
C4_HZ = 261.6256
TAU = 2.0 * math.pi


# --- instruments -------------------------------------------------------------------

def _tuning(frames_per_second_at_c4):
    """Relative note and finetune that make note C-4 play at this rate."""
    semis = 12.0 * math.log2(frames_per_second_at_c4 / 8363.0)
    rel = int(round(semis))
    return rel, max(-128, min(127, int(round((semis - rel) * 128))))


def _to_int16(x, peak=0.9):
    top = max(abs(v) for v in x) or 1.0
    return [int(round(v * 32767 * peak / top)) for v in x]


def _additive(n, cycles, harmonics, amp, phase=0.0):
    """Band-limited wave: `cycles` whole periods in n frames, so a loop over n is seamless."""
    out = [0.0] * n
    for h in range(1, harmonics + 1):
        a = amp(h)
        if a == 0.0:
            continue
        w = TAU * cycles * h / n
        for i in range(n):
            out[i] += a * math.sin(w * i + phase * h)
    return out


def _drum_sample(name, frames, rate, volume, panning=128):
    """Drums are struck at C-4, which then plays them at their own rate."""
    rel, fine = _tuning(rate)
    return Sample(name, _to_int16(frames), volume, rel, fine, panning)


def _kick():
    rate, n = 22050, int(0.32 * 22050)
    out, phase = [], 0.0
    for i in range(n):
        t = i / rate
        f = 45.0 + 120.0 * math.exp(-t * 28.0)
        phase += f / rate
        body = math.sin(TAU * phase) * math.exp(-t * 9.0)
        click = math.exp(-t * 400.0) * 0.5
        out.append(math.tanh(1.8 * body + click))
    return _drum_sample("kick", out, rate, 64)


def _snare():
    rate, n = 22050, int(0.24 * 22050)
    rng = Rng(0x5AE)
    out, low, phase = [], 0.0, 0.0
    for i in range(n):
        t = i / rate
        noise = rng.uniform(-1.0, 1.0)
        low += 0.35 * (noise - low)
        phase += (185.0 + 60.0 * math.exp(-t * 40.0)) / rate
        tone = math.sin(TAU * phase) * math.exp(-t * 30.0)
        out.append((noise - 0.6 * low) * math.exp(-t * 16.0) + 0.7 * tone)
    return _drum_sample("snare", out, rate, 44)


def _hat():
    rate, n = 44100, int(0.07 * 44100)
    rng = Rng(0x4A7)
    out, low = [], 0.0
    for i in range(n):
        noise = rng.uniform(-1.0, 1.0)
        low += 0.2 * (noise - low)
        out.append((noise - low) * math.exp(-i / rate * 55.0))
    return _drum_sample("hat", out, rate, 26, 150)


def _bass():
    period, attack = 256, 24
    sub = _additive(period, 1, 1, lambda h: 0.6)

    def cycle(bright):
        saw = _additive(period, 1, 22, lambda h: math.exp(-h * (1.0 - bright) * 0.35) / h)
        return [a + b for a, b in zip(sub, saw)]

    # Bright at the pluck, settling cycle by cycle into a darker loop.
    frames = []
    for c in range(attack):
        frames += cycle(0.25 + 0.75 * (1.0 - c / attack) ** 2)
    frames += cycle(0.25)
    rel, fine = _tuning(period * C4_HZ)
    return Sample("bass", _to_int16(frames), 52, rel, fine, 128, attack * period, period)


def _chorus(name, period, loop_periods, voices, harmonics, amp, volume):
    """Several slightly detuned voices, each a whole number of cycles in the loop."""
    n = period * loop_periods
    out = [0.0] * n
    for offset, gain, phase in voices:
        wave = _additive(n, loop_periods + offset, harmonics, amp, phase)
        out = [a + gain * b for a, b in zip(out, wave)]
    rel, fine = _tuning(period * C4_HZ)
    return Sample(name, _to_int16(out), volume, rel, fine, 128, 0, n)


def _lead():
    # A hollow pulse: odd harmonics strong, even ones soft.
    return _chorus("lead", 128, 64, ((0, 1.0, 0.0), (1, 0.45, 1.3)), 14,
                   lambda h: (1.0 if h % 2 else 0.35) / h, 40)


def _pad():
    return _chorus("pad", 128, 128, ((0, 1.0, 0.0), (-1, 0.7, 0.7), (1, 0.7, 2.1),
                                     (2, 0.35, 4.0)), 10,
                   lambda h: 1.0 / h * math.exp(-h * 0.12), 30)


def _pluck():
    period = 128
    wave = _additive(period, 1, 12, lambda h: (1.0 / h) if h % 2 else 0.0)
    rel, fine = _tuning(period * C4_HZ)
    return Sample("pluck", _to_int16(wave), 30, rel, fine, 96, 0, period)


def instruments():
    return [
        Instrument("Kick", _kick()),
        Instrument("Snare", _snare()),
        Instrument("Hat", _hat()),
        Instrument("Bass", _bass(), [(0, 64), (3, 58), (12, 36), (24, 26)], fadeout=0x800),
        Instrument("Lead", _lead(), [(0, 40), (2, 64), (10, 50), (40, 42)], sustain=3,
                   fadeout=0x300, vibrato=(0, 48, 3, 10)),
        Instrument("Pluck", _pluck(), [(0, 64), (4, 40), (16, 12), (30, 0)]),
        Instrument("Pad", _pad(), [(0, 0), (14, 64), (60, 50)], sustain=2, fadeout=0x200),
    ]


INS_KICK, INS_SNARE, INS_HAT, INS_BASS, INS_LEAD, INS_PLUCK, INS_PAD = range(1, 8)


# --- the tune ------------------------------------------------------------------------

# Chord name: bass root, the two pad notes, the arpeggio notes (MIDI numbers).
CHORDS = {
    "Am7": (33, (64, 67), (57, 60, 64, 67, 72)),
    "Fmaj7": (29, (64, 69), (53, 57, 60, 64, 69)),
    "Dm7": (38, (65, 69), (50, 53, 57, 60, 65)),
    "E7sus": (40, (62, 69), (52, 57, 59, 62, 64)),
    "E": (40, (62, 68), (52, 56, 59, 62, 64)),
    "F": (29, (65, 69), (53, 57, 60, 65, 69)),
    "G": (31, (62, 67), (55, 59, 62, 67, 71)),
    "Em7": (28, (62, 67), (52, 55, 59, 62, 67)),
    "Am": (33, (64, 69), (57, 60, 64, 69, 72)),
    "Esus4": (28, (64, 69), (52, 57, 59, 64, 69)),
    "Bbmaj7": (34, (65, 69), (58, 62, 65, 69, 74)),
}

_NAMES = {"C": 0, "C#": 1, "D": 2, "D#": 3, "E": 4, "F": 5, "F#": 6, "G": 7, "G#": 8,
          "A": 9, "A#": 10, "Bb": 10, "B": 11}


def _midi(name):
    return 12 * (int(name[-1]) + 1) + _NAMES[name[:-1]]


def _xm_note(midi):
    return midi - 11  # XM note 49 (C-4) is MIDI 60


def _melody(bars):
    """Bars of 'note-rows' tokens (r is a rest) to (row, midi or None) events."""
    events, row = [], 0
    for bar in bars:
        start = row
        for token in bar.split():
            name, length = token.rsplit("-", 1)
            events.append((row, None if name == "r" else _midi(name)))
            row += int(length)
        assert row - start == 16, bar
    return events


MELODIES = {
    "A1": ["E5-3 D5-1 C5-2 E5-2 A5-4 G5-2 E5-2", "F5-2 E5-2 C5-4 r-2 C5-2 D5-2 E5-2",
           "F5-3 E5-1 D5-2 F5-2 A5-4 C6-2 A5-2", "G#5-4 B5-4 E5-6 r-2"],
    "A2": ["A5-2 G5-2 E5-2 C5-2 D5-2 E5-2 G5-4", "A5-3 G5-1 E5-4 C5-4 r-4",
           "D5-2 F5-2 A5-2 D6-4 C6-2 A5-2 F5-2", "E5-2 G#5-2 B5-2 D6-2 E6-6 r-2"],
    "B1": ["C6-4 A5-2 C6-2 F6-4 E6-2 C6-2", "D6-3 C6-1 B5-2 G5-2 B5-4 D6-4",
           "E6-4 D6-2 B5-2 G5-4 B5-2 D6-2", "C6-6 B5-2 A5-6 r-2"],
    "B2": ["A5-2 C6-2 F6-4 E6-2 C6-2 A5-4", "B5-2 D6-2 G6-4 F6-2 D6-2 B5-4",
           "A5-4 B5-4 E6-4 D6-4", "G#5-6 B5-2 E6-8"],
    "C1": ["A5-8 F5-8", "E5-8 C5-4 E5-4", "F5-6 A5-2 D6-8", "B5-8 G#5-8"],
    "C2": ["A5-4 D6-4 A5-4 F5-4", "G5-4 E5-4 C5-4 E5-4", "F5-4 A5-4 D6-4 F6-4", "E6-8 r-8"],
    "D": ["D6-4 C6-4 A5-4 F5-4", "A5-4 C6-4 F6-4 E6-4", "E6-4 D6-4 B5-4 A5-4",
          "G#5-4 B5-4 E5-6 r-2"],
}

VERSE = ("Am7", "Fmaj7", "Dm7", "E")

# Each section: chords, melody, lead volume, which parts play (bar by bar where it matters).
SECTIONS = [
    dict(chords=("Am7", "Fmaj7", "Dm7", "E7sus"), melody=None, bass="long", drums=(0, 0, 1, 1),
         fill=True, arp_rise=True),
    dict(chords=VERSE, melody="A1", lead=44, bass="octave", drums=(2, 2, 2, 2), fill=False),
    dict(chords=VERSE, melody="A2", lead=44, bass="octave", drums=(2, 2, 2, 2), fill=True),
    dict(chords=("F", "G", "Em7", "Am"), melody="B1", lead=50, bass="octave",
         drums=(3, 3, 3, 3), fill=False),
    dict(chords=("F", "G", "Esus4", "E"), melody="B2", lead=50, bass="octave",
         drums=(3, 3, 3, 3), fill=True),
    dict(chords=("Dm7", "Am7", "Bbmaj7", "E"), melody="C1", lead=34, bass="long",
         drums=(0, 0, 1, 1), fill=False),
    dict(chords=("Dm7", "Am7", "Bbmaj7", "E"), melody="C2", lead=40, bass="octave",
         drums=(1, 2, 2, 2), fill=True),
    dict(chords=("Dm7", "F", "Esus4", "E"), melody="D", lead=46, bass="octave",
         drums=(3, 3, 3, 2), fill=True),
]

# The intro is also where the song comes back round, so the loop has no seam.
ORDERS = [0, 1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 7]
RESTART = 0


def _vol(v):
    return 0x10 + max(0, min(64, v))


def _section_rows(sec):
    rows = [[[0, 0, 0, 0, 0] for _ in range(CHANNELS)] for _ in range(ROWS)]

    def put(row, ch, note, ins, vol=0, fx=0, param=0):
        rows[row][ch] = [note, ins, vol, fx, param]

    for bar, name in enumerate(sec["chords"]):
        root, pad, arp = CHORDS[name]
        base = bar * 16
        # Pads: two voices, held for the bar and panned apart.
        put(base, PAD_LOW, _xm_note(pad[0]), INS_PAD, _vol(40), 0x08, 0x50)
        put(base, PAD_HIGH, _xm_note(pad[1]), INS_PAD, _vol(36), 0x08, 0xB0)
        # Arpeggio: up and back down the chord, a sixteenth at a time.
        order = (0, 1, 2, 3, 4, 3, 2, 1)
        for step in range(16):
            level = 34 if step % 4 == 0 else 24
            if sec.get("arp_rise"):
                level = int(level * (0.45 + 0.55 * (base + step) / ROWS))
            put(base + step, ARP, _xm_note(arp[order[step % 8]] + 12), INS_PLUCK, _vol(level))
        # Bass.
        if sec["bass"] == "octave":
            for step in range(0, 16, 2):
                note = root + (12 if step % 4 == 2 else 0)
                put(base + step, BASS, _xm_note(note), INS_BASS, _vol(56 if step % 4 == 0 else 44))
        elif not (sec.get("arp_rise") and bar == 0):
            for step, offset, level in ((0, 0, 56), (6, 0, 40), (10, 7, 40), (12, 12, 44)):
                put(base + step, BASS, _xm_note(root + offset), INS_BASS, _vol(level))
        # Drums: 0 none, 1 kick and hats, 2 add the snare, 3 add busier hats.
        level = sec["drums"][bar]
        last_bar = bar == 3 and sec["fill"]
        for step in range(16):
            row = base + step
            if level >= 1 and step % 4 == 0:
                put(row, KICK, _xm_note(60), INS_KICK, _vol(64))
            if level >= 1 and step % 2 == 0:
                put(row, HAT, _xm_note(60), INS_HAT, _vol(52 if step % 4 == 2 else 30))
            if level >= 3 and step % 2 == 1:
                put(row, HAT, _xm_note(60), INS_HAT, _vol(18))
            if level >= 2 and step in (4, 12):
                put(row, SNARE, _xm_note(60), INS_SNARE, _vol(60))
            if last_bar and step >= 8 and (step >= 12 or step % 2 == 0):
                put(row, SNARE, _xm_note(60), INS_SNARE, _vol(28 + 3 * step))
    if sec["melody"]:
        for row, midi in _melody(MELODIES[sec["melody"]]):
            if midi is None:
                put(row, LEAD, KEY_OFF, 0)
            else:
                put(row, LEAD, _xm_note(midi), INS_LEAD, _vol(sec["lead"]))
    elif rows[0][LEAD][0] == 0:
        put(0, LEAD, KEY_OFF, 0)  # a held note from the section before stops here
    return [[tuple(c) for c in r] for r in rows]


def module():
    patterns = [_section_rows(sec) for sec in SECTIONS]
    return module_bytes("Quorvane", CHANNELS, patterns, ORDERS, RESTART, SPEED, BPM,
                        instruments())


def all_music():
    return {"snd/quorvane.xm": module}
