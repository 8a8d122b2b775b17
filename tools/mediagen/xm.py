"""A writer for FastTracker 2 extended modules (version 0x0104)."""

import struct

KEY_OFF = 97


def _text(s, n):
    b = s.encode("ascii")[:n]
    return b + b"\0" * (n - len(b))


class Sample:
    def __init__(self, name, frames, volume=64, relative_note=0, finetune=0, panning=128,
                 loop_start=None, loop_length=0):
        """frames: signed 16-bit values; a loop is given in frames and runs forward."""
        self.name, self.frames = name, frames
        self.volume, self.relative_note, self.finetune = volume, relative_note, finetune
        self.panning = panning
        self.loop_start, self.loop_length = loop_start, loop_length

    def header(self):
        looped = self.loop_start is not None
        return struct.pack("<IIIBbBBbB22s", 2 * len(self.frames),
                           2 * (self.loop_start or 0), 2 * self.loop_length if looped else 0,
                           self.volume, self.finetune, (1 if looped else 0) | 0x10,
                           self.panning, self.relative_note, 0, _text(self.name, 22))

    def data(self):
        out = bytearray()
        prev = 0
        for v in self.frames:
            out += struct.pack("<H", (v - prev) & 0xFFFF)
            prev = v
        return bytes(out)


class Instrument:
    def __init__(self, name, sample, volume_envelope=None, sustain=None, fadeout=0,
                 vibrato=(0, 0, 0, 0)):
        """volume_envelope: up to 12 (tick, 0..64) points; sustain: a point index."""
        self.name, self.sample = name, sample
        self.envelope = volume_envelope or []
        self.sustain, self.fadeout, self.vibrato = sustain, fadeout, vibrato

    def encode(self):
        env = self.envelope
        if len(env) > 12:
            raise ValueError("an envelope holds at most 12 points")
        points = b"".join(struct.pack("<HH", x, y) for x, y in env)
        points += b"\0" * (48 - len(points))
        env_type = (1 if env else 0) | (2 if self.sustain is not None else 0)
        head = struct.pack("<I22sBH", 263, _text(self.name, 22), 0, 1)
        head += struct.pack("<I", 40) + b"\0" * 96 + points + b"\0" * 48
        head += struct.pack("<BBBBBBBBBB", len(env), 0, self.sustain or 0, 0, 0, 0, 0, 0,
                            env_type, 0)
        head += struct.pack("<BBBBH", *self.vibrato, self.fadeout) + b"\0" * 22
        assert len(head) == 263
        return head + self.sample.header() + self.sample.data()


def _pack_cell(cell):
    note, ins, vol, fx, param = cell
    fields = (note, ins, vol, fx, param)
    flags = 0
    body = bytearray()
    for bit, v in enumerate(fields):
        if v:
            flags |= 1 << bit
            body.append(v)
    return bytes([0x80 | flags]) + bytes(body)


def pattern_bytes(rows):
    """rows: lists of (note, instrument, volume column, effect, parameter) per channel."""
    data = b"".join(_pack_cell(cell) for row in rows for cell in row)
    return struct.pack("<IBHH", 9, 0, len(rows), len(data)) + data


def module_bytes(name, channels, patterns, orders, restart, speed, bpm, instruments):
    if channels % 2 or not 2 <= channels <= 32:
        raise ValueError("channel count must be even, 2 to 32")
    head = b"Extended Module: " + _text(name, 20) + b"\x1a" + _text("mediagen", 20)
    head += struct.pack("<HIHHHHHHHH", 0x0104, 276, len(orders), restart, channels,
                        len(patterns), len(instruments), 1, speed, bpm)
    head += bytes(orders) + b"\0" * (256 - len(orders))
    body = b"".join(pattern_bytes(p) for p in patterns)
    body += b"".join(i.encode() for i in instruments)
    return head + body
