"""Every picture of the game, built from masks and painted in layers."""

import math
import os
import re
from collections import namedtuple

from . import font
from .png import encode
from .layout import PAUSE_MENU, PLAY_COLOURS, TITLE_MENU, WHITE
from .raster import Canvas, Mask, Rng, clamp01, mix

PALETTE = tuple(colour for _, colour in PLAY_COLOURS)
RED, GREEN, BLUE, YELLOW = PALETTE
TEXT = (0.93, 0.95, 1.0)
SOFT_TEXT = (0.72, 0.78, 0.9)
ACCENT = (0.45, 0.8, 1.0)


def _grey(v):
    return (v, v, v)


# --- the player's craft, in a 64-unit box, nose up --------------------------

_SHIP_HALF = [(32, 3), (36, 15), (39.5, 29), (46, 38), (60, 51), (60, 57),
              (43, 54), (39, 60), (32, 55)]


def _ship_outline():
    right = _SHIP_HALF
    left = [(64 - x, y) for x, y in reversed(right[1:-1])]
    return right + left


def _scaled(points, s, ox=0.0, oy=0.0):
    return [(ox + x * s, oy + y * s) for x, y in points]


def _ship_layers(size, s, ox=0.0, oy=0.0):
    """Masks of the hull and its shading facets at scale s (64 units -> 64*s px)."""
    hull = Mask(size, size)
    hull.polygon(_scaled(_ship_outline(), s, ox, oy), 8)
    shade = Mask(size, size)  # the side turned from the light
    shade.polygon(_scaled(_SHIP_HALF, s, ox, oy), 8)
    wing_shadow = Mask(size, size)
    for sign in (1, -1):
        wing_shadow.polygon(_scaled([(32 + sign * 9, 38), (32 + sign * 25, 52),
                                     (32 + sign * 12, 51)], s, ox, oy), 8)
    canopy = Mask(size, size)
    canopy.polygon(_scaled([(32 + 4.2 * math.sin(t / 20 * 2 * math.pi),
                             27 + 9 * math.cos(t / 20 * 2 * math.pi)) for t in range(20)],
                           s, ox, oy), 8)
    glint = Mask(size, size)
    glint.capsule(ox + 30.6 * s, oy + 21.5 * s, ox + 30.6 * s, oy + 25.5 * s, 0.9 * s)
    seams = Mask(size, size)
    for sign in (1, -1):
        seams.capsule(ox + (32 + sign * 7.5) * s, oy + 36 * s, ox + (32 + sign * 12) * s,
                      oy + 54 * s, 0.55 * s)
    return hull, shade.times(hull), wing_shadow.times(hull), canopy, glint, seams


def ship_canvas(size, s, ox, oy, tint, canvas=None):
    canvas = canvas or Canvas(size, size)
    hull, shade, wing_shadow, canopy, glint, seams = _ship_layers(size, s, ox, oy)

    def shaded(v):
        return tuple(c * v for c in tint)

    canvas.paint(hull, lambda x, y: shaded(1.0 - 0.12 * clamp01((y - oy) / (60 * s))))
    canvas.paint(shade, shaded(0.8))
    canvas.paint(wing_shadow, shaded(0.66))
    canvas.paint(seams, shaded(0.5))
    canvas.paint(canopy, shaded(0.28))
    canvas.paint(glint, shaded(0.95))
    return canvas


def ship():
    c = ship_canvas(64, 1.0, 0.0, 0.0, WHITE)
    return encode(64, 64, c.rgba_bytes(WHITE), True)


# --- asteroid -----------------------------------------------------------------

def _value_noise(rng, cells):
    grid = [[rng.uniform() for _ in range(cells + 1)] for _ in range(cells + 1)]

    def at(u, v):
        x, y = u * cells, v * cells
        i, j = min(int(x), cells - 1), min(int(y), cells - 1)
        fx, fy = x - i, y - j
        fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
        top = grid[j][i] + (grid[j][i + 1] - grid[j][i]) * fx
        bottom = grid[j + 1][i] + (grid[j + 1][i + 1] - grid[j + 1][i]) * fx
        return top + (bottom - top) * fy
    return at


def asteroid():
    size, cx, cy = 64, 32.0, 32.0
    rng = Rng(0xA57E401D)
    points = []
    n = 12
    for k in range(n):
        a = 2 * math.pi * (k + rng.uniform(-0.3, 0.3)) / n
        # Every other corner dips in, so the outline reads as broken rock.
        rad = (27.5 if k % 2 else 22.5) + rng.uniform(-2.5, 3.0)
        points.append((cx + rad * math.cos(a), cy + rad * math.sin(a)))
    body = Mask(size, size)
    body.polygon(points, 8)
    fine = _value_noise(rng, 9)
    coarse = _value_noise(rng, 4)
    craters = [(24, 22, 6.0), (40, 38, 7.5), (21, 41, 4.0), (42, 19, 3.5), (33, 48, 3.0)]
    light = (-0.55, -0.62, 0.56)

    def shade(x, y):
        px, py = x + 0.5, y + 0.5
        nx, ny = (px - cx) / 31.0, (py - cy) / 31.0
        nz = math.sqrt(max(0.05, 1.0 - nx * nx - ny * ny))
        for kx, ky, kr in craters:
            dx, dy = (px - kx) / kr, (py - ky) / kr
            d2 = dx * dx + dy * dy
            if d2 < 1.0:  # a bowl: its normals lean inward
                nx, ny = nx - dx * 0.7, ny - dy * 0.7
            elif d2 < 1.69:  # the raised rim
                nx, ny = nx + dx * 0.25, ny + dy * 0.25
        ln = math.sqrt(nx * nx + ny * ny + nz * nz)
        lit = max(0.0, (nx * light[0] + ny * light[1] + nz * light[2]) / ln)
        v = 0.34 + 0.62 * lit
        v *= 0.82 + 0.18 * coarse(px / size, py / size) + 0.12 * (fine(px / size, py / size) - 0.5)
        v = min(1.0, max(0.22, v))
        return (v, v, v)

    c = Canvas(size, size)
    c.paint(body, shade)
    return encode(size, size, c.rgba_bytes(WHITE), True)


def bullet():
    size = 16
    c = Canvas(size, size)
    m = Mask(size, size)
    for y in range(size):
        for x in range(size):
            d = math.hypot(x + 0.5 - 8, y + 0.5 - 8) / 7.6
            # A solid core, so the shot keeps its full tint at the centre.
            m.data[y * size + x] = clamp01(1.3 * (1.0 - d * d)) ** 1.6
    c.paint(m, WHITE)
    return encode(size, size, c.rgba_bytes(WHITE), True)


def dot():
    return encode(8, 8, b"\xff" * (8 * 8 * 3), False)


def arrow():
    size = 32
    shape = [(5, 4), (29, 16), (5, 28), (11, 16)]
    body = Mask(size, size)
    body.polygon(shape, 8)
    rim = body.blurred(1, 2)
    rim.data = [clamp01(v * 2.2) for v in rim.data]
    c = Canvas(size, size)
    c.paint(rim, (0.12, 0.05, 0.0), 0.9)
    c.paint(body, lambda x, y: mix((1.0, 1.0, 0.75), (1.0, 0.72, 0.05), clamp01((y - 4) / 24)))
    hi = Mask(size, size)
    hi.capsule(8, 7.5, 24, 15.5, 0.8)
    c.paint(hi.times(body), (1.0, 1.0, 1.0), 0.8)
    return encode(size, size, c.rgba_bytes((1.0, 0.85, 0.3)), True)


# --- text helpers ----------------------------------------------------------------

def _text_mask(w, h, items, cell, weight=0.55):
    """items: (x, baseline, text); x None centres the line on the picture."""
    m = Mask(w, h)
    for x, baseline, text in items:
        if x is None:
            x = (w - font.text_width(text, cell)) / 2.0
        font.draw_text(m, text, x, baseline, cell, weight)
    return m


def _glow_title(canvas, text, centre_row, cell, glow_colour, top, bottom, glow=9):
    w, h = canvas.w, canvas.h
    baseline = font.centred_baseline(centre_row, cell)
    m = _text_mask(w, h, [(None, baseline, text)], cell, 0.6)
    halo = m.blurred(glow)
    canvas.paint(halo.scaled(1.6), glow_colour, 0.85)
    canvas.paint(m.blurred(2), glow_colour, 0.8)
    cap_top = baseline - font.CAP_ROWS * cell
    canvas.paint(m, lambda x, y: mix(top, bottom, clamp01((y - cap_top) / (font.CAP_ROWS * cell))))


def _colour_bar(canvas, row, centre_x, seg, gap, thick=3.0):
    x = centre_x - (4 * seg + 3 * gap) / 2.0
    for colour in PALETTE:
        m = Mask(canvas.w, canvas.h)
        m.capsule(x + thick, row, x + seg - thick, row, thick)
        canvas.paint(m.blurred(3), colour, 0.7)
        canvas.paint(m, colour)
        x += seg + gap


def _stars(canvas, rng, count, x0, y0, x1, y1):
    for _ in range(count):
        m = Mask(canvas.w, canvas.h)
        x, y = rng.uniform(x0, x1), rng.uniform(y0, y1)
        r = 0.35 + rng.uniform() ** 3 * 1.1
        m.disc(x, y, r)
        canvas.paint(m, mix((0.7, 0.8, 1.0), WHITE, rng.uniform()), 0.35 + 0.65 * rng.uniform())


def _nebula(canvas, rng, blobs):
    for x, y, r, colour, strength in blobs:
        m = Mask(canvas.w, canvas.h)
        for _ in range(7):
            m.disc(x + rng.uniform(-r, r) * 0.6, y + rng.uniform(-r, r) * 0.4,
                   r * rng.uniform(0.35, 0.7), 0.5)
        canvas.paint(m.blurred(r * 0.35), colour, strength)


def _space(size, top, bottom):
    c = Canvas(size, size)
    c.fill(lambda x, y: mix(top, bottom, y / (size - 1.0)))
    return c


# --- cards and screens -----------------------------------------------------------

def splash():
    rng = Rng(0x5B1A54)
    c = _space(512, (0.0, 0.0, 0.02), (0.02, 0.01, 0.06))
    _nebula(c, rng, [(150, 200, 140, (0.25, 0.1, 0.5), 0.5),
                     (380, 300, 150, (0.05, 0.2, 0.5), 0.5),
                     (260, 250, 90, (0.3, 0.5, 0.9), 0.25)])
    _stars(c, rng, 170, 0, 0, 512, 512)
    _glow_title(c, "QUORVANE", 236, 9.0, (0.3, 0.6, 1.0), WHITE, (0.6, 0.85, 1.0), 12)
    _colour_bar(c, 300, 256, 56, 12)
    sub = _text_mask(512, 512, [(None, font.centred_baseline(340, 2.0), "a space shooter in four colours")], 2.0)
    c.paint(sub, SOFT_TEXT)
    return encode(512, 512, c.rgb_bytes(), False)


def _menu_words(canvas, menu, cell):
    m = _text_mask(canvas.w, canvas.h,
                   [(menu.text_x, font.centred_baseline(menu.picture_row(y), cell), text)
                    for text, y in menu.items], cell, 0.6)
    shadow = m.blurred(1, 2)
    canvas.paint(shadow.scaled(2.0), (0.0, 0.0, 0.05), 0.8)
    canvas.paint(m, lambda px, py: mix(WHITE, (0.75, 0.88, 1.0), clamp01((py % 42) / 42.0)))


def title():
    c = Canvas(512, 512)
    _glow_title(c, "QUORVANE", 104, 8.0, (0.25, 0.55, 1.0), WHITE, (0.55, 0.82, 1.0), 10)
    _colour_bar(c, 160, 256, 50, 10)
    _menu_words(c, TITLE_MENU, 3.0)
    hint = _text_mask(512, 512, [(None, font.centred_baseline(458, 1.6),
                                  "Up and Down to move, Enter to choose")], 1.6)
    c.paint(hint, SOFT_TEXT, 0.85)
    return encode(512, 512, c.rgba_bytes(), True)


def _panel(canvas, x0, y0, x1, y1, radius, fill, fill_alpha, edge):
    inner = Mask(canvas.w, canvas.h)
    inner.round_rect(x0, y0, x1, y1, radius)
    canvas.paint(inner, fill, fill_alpha)
    hole = Mask(canvas.w, canvas.h)
    hole.round_rect(x0 + 2, y0 + 2, x1 - 2, y1 - 2, radius - 2)
    frame = inner.minus(hole)
    canvas.paint(frame.blurred(2), edge, 0.5)
    canvas.paint(frame, edge)


def info():
    c = Canvas(512, 512)
    _panel(c, 14, 22, 498, 490, 14, (0.01, 0.02, 0.08), 0.82, (0.35, 0.6, 1.0))
    _glow_title(c, "HOW TO PLAY", 56, 4.0, (0.25, 0.55, 1.0), WHITE, (0.6, 0.85, 1.0), 5)
    cell, left = 2.0, 40
    layers = {}

    def put(colour, x, row, text):
        layers.setdefault(colour, []).append((x, font.centred_baseline(row, cell), text))

    put(ACCENT, left, 96, "CONTROLS")
    row = 118
    for key, action in (("Arrows or W A S D", "turn and thrust"), ("Space", "fire"),
                        ("P or Esc", "pause"), ("Enter", "choose"), ("Esc", "go back")):
        put(YELLOW, left + 8, row, key)
        put(TEXT, 250, row, action)
        row += 20
    put(ACCENT, left, 226, "COLOURS")
    # Colour words are painted in their own colour, so the rule reads at a glance.
    rules = [[[(TEXT, "Your ship takes the colour of the edge it")],
              [(TEXT, "last flew through: "), (RED, "top red"), (TEXT, ", "),
               (GREEN, "bottom green"), (TEXT, ",")],
              [(BLUE, "left blue"), (TEXT, ", "), (YELLOW, "right yellow"), (TEXT, ".")]],
             [[(TEXT, "Bullets keep the ship's colour.")]],
             [[(TEXT, "A bullet destroys only an asteroid of")],
              [(TEXT, "exactly its colour.")]],
             [[(TEXT, "An asteroid kills the ship only when their")],
              [(TEXT, "colours match.")]],
             [[(WHITE, "A white ship is safe: "), (TEXT, "at the start, after")],
              [(TEXT, "each death and at each new wave.")]]]
    row = 250
    for rule in rules:
        for parts in rule:
            x = left + 8
            for colour, text in parts:
                put(colour, x, row, text)
                x += font.advance(text, cell)
            row += 19
        row += 6
    for colour, items in layers.items():
        c.paint(_text_mask(512, 512, items, cell, 0.58), colour)
    hint = _text_mask(512, 512, [(None, font.centred_baseline(472, 1.6), "Esc to go back")], 1.6)
    c.paint(hint, SOFT_TEXT, 0.85)
    return encode(512, 512, c.rgba_bytes(), True)


def pause_menu():
    c = Canvas(256, 256)
    _panel(c, 8, 12, 248, 244, 12, (0.01, 0.02, 0.08), 0.85, (0.35, 0.6, 1.0))
    _glow_title(c, "Paused", 52, 4.0, (0.25, 0.55, 1.0), WHITE, (0.6, 0.85, 1.0), 5)
    _menu_words(c, PAUSE_MENU, 2.4)
    _colour_bar(c, 206, 128, 34, 8, 2.0)
    return encode(256, 256, c.rgba_bytes(), True)


def fail():
    rng = Rng(0xFA11)
    c = _space(512, (0.02, 0.0, 0.01), (0.0, 0.0, 0.02))
    _nebula(c, rng, [(256, 250, 170, (0.5, 0.05, 0.1), 0.6),
                     (110, 380, 110, (0.25, 0.03, 0.3), 0.5),
                     (400, 130, 90, (0.35, 0.08, 0.02), 0.4)])
    _stars(c, rng, 110, 0, 0, 512, 512)
    # Shards of the lost craft drift away from the centre.
    for k in range(9):
        a = 2 * math.pi * k / 9 + rng.uniform(-0.3, 0.3)
        d = rng.uniform(160, 215)
        x, y = 256 + d * math.cos(a), 250 + d * 0.8 * math.sin(a)
        if 190 < y < 330:  # keep the words clear
            y += 140 if y > 260 else -140
        s = rng.uniform(5, 11)
        spin = rng.uniform(0, 2 * math.pi)
        tri = [(x + s * math.cos(spin + t), y + s * math.sin(spin + t)) for t in (0, 2.3, 4.1)]
        m = Mask(512, 512)
        m.polygon(tri, 4)
        c.paint(m, _grey(rng.uniform(0.45, 0.75)))
    _glow_title(c, "GAME OVER", 236, 8.0, (1.0, 0.12, 0.1), WHITE, (1.0, 0.7, 0.6), 12)
    sub = _text_mask(512, 512, [(None, font.centred_baseline(306, 2.2), "The colours have faded")], 2.2)
    c.paint(sub, (0.85, 0.7, 0.75))
    return encode(512, 512, c.rgb_bytes(), False)


def icon(size):
    c = Canvas(size, size)
    s = size / 64.0
    tile = Mask(size, size)
    tile.round_rect(1 * s, 1 * s, 63 * s, 63 * s, 12 * s)
    c.paint(tile, lambda x, y: mix((0.04, 0.06, 0.2), (0.0, 0.0, 0.05), y / size))
    edge_w = 1.6 * s
    for colour, (x0, y0, x1, y1) in zip(PALETTE, ((16, 5, 48, 5), (16, 59, 48, 59),
                                                  (5, 16, 5, 48), (59, 16, 59, 48))):
        m = Mask(size, size)
        m.capsule(x0 * s, y0 * s, x1 * s, y1 * s, edge_w)
        c.paint(m, colour)
    rng = Rng(size)
    for _ in range(int(6 + size / 16)):
        m = Mask(size, size)
        m.disc(rng.uniform(10, 54) * s, rng.uniform(10, 54) * s, max(0.5, 0.5 * s))
        c.paint(m, WHITE, rng.uniform(0.3, 0.8))
    k = 0.72
    glow = _ship_layers(size, s * k, size * (1 - k) / 2, size * (1 - k) / 2 + 1 * s)[0]
    c.paint(glow.blurred(max(1, 3 * s)), (1.0, 0.9, 0.2), 0.6)
    ship_canvas(size, s * k, size * (1 - k) / 2, size * (1 - k) / 2 + 1 * s, YELLOW, c)
    return encode(size, size, c.rgba_bytes(), True)


# Every picture the game reads from media/img/: what draws it, the screen that
# first needs it (a missing file ends the run there), and whether it is loaded
# with the window. Adding one touches this list and the screen that draws it.
Picture = namedtuple("Picture", "name build first_needed_on preload", defaults=(False,))
PICTURES = (
    Picture("ship.png", ship, "start", preload=True),
    Picture("asteroid.png", asteroid, "start", preload=True),
    Picture("bullet.png", bullet, "start", preload=True),
    Picture("dot.png", dot, "title"),
    Picture("arrow.png", arrow, "title"),
    Picture("splash.png", splash, "start"),
    Picture("title.png", title, "title"),
    Picture("info.png", info, "title"),
    Picture("menu.png", pause_menu, "pause"),
    Picture("fail.png", fail, "game over"),
)


def icon_sizes():
    """The desktop icon sizes: those that data/installed-files installs."""
    listing = os.path.join(os.path.dirname(__file__), "..", "..", "data", "installed-files")
    with open(listing) as f:
        return [int(size) for size in re.findall(r"media/icons/quorvane-(\d+)\.png", f.read())]


def all_pictures():
    """File paths under media/ to builder functions; the icons are for the desktop."""
    out = {"img/" + picture.name: picture.build for picture in PICTURES}
    for size in icon_sizes():
        out["icons/quorvane-%d.png" % size] = (lambda n=size: icon(n))
    return out
