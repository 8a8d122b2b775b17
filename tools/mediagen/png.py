"""A minimal PNG writer: 8-bit RGB or RGBA, non-interlaced."""

import struct
import zlib


def _chunk(kind, payload):
    body = kind + payload
    return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _filtered(raw, width, height, bpp):
    # Per row, the cheaper of no filter and Up, by the usual sum-of-bytes guess.
    stride = width * bpp
    out = bytearray()
    prev = bytes(stride)
    for y in range(height):
        row = raw[y * stride:(y + 1) * stride]
        up = bytes((a - b) & 0xFF for a, b in zip(row, prev))
        cost_none = sum(b if b < 128 else 256 - b for b in row)
        cost_up = sum(b if b < 128 else 256 - b for b in up)
        if cost_up < cost_none:
            out.append(2)
            out += up
        else:
            out.append(0)
            out += row
        prev = row
    return bytes(out)


def encode(width, height, pixels, alpha):
    """pixels: bytes of RGB or RGBA rows, top row first."""
    bpp = 4 if alpha else 3
    if len(pixels) != width * height * bpp:
        raise ValueError("pixel data does not match the picture size")
    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    data = zlib.compress(_filtered(bytes(pixels), width, height, bpp), 9)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header) + _chunk(b"IDAT", data)
            + _chunk(b"IEND", b""))
