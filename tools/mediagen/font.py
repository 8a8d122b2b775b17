"""Quorvane's own bitmap font, drawn as smooth strokes.

Glyphs sit on a grid five cells wide: rows 0-6 hold capitals, lower case
spans rows 2-6, descenders use rows 7-8. Lit cells become round nodes joined
to their lit neighbours, so scaled text keeps clean anti-aliased edges.
"""

_GLYPHS = {
    "A": ".###. #...# #...# ##### #...# #...# #...#",
    "B": "####. #...# #...# ####. #...# #...# ####.",
    "C": ".###. #...# #.... #.... #.... #...# .###.",
    "D": "####. #...# #...# #...# #...# #...# ####.",
    "E": "##### #.... #.... ####. #.... #.... #####",
    "F": "##### #.... #.... ####. #.... #.... #....",
    "G": ".###. #...# #.... #.### #...# #...# .###.",
    "H": "#...# #...# #...# ##### #...# #...# #...#",
    "I": "### .#. .#. .#. .#. .#. ###",
    "J": "..### ...#. ...#. ...#. #..#. #..#. .##..",
    "K": "#...# #..#. #.#.. ##... #.#.. #..#. #...#",
    "L": "#.... #.... #.... #.... #.... #.... #####",
    "M": "#...# ##.## #.#.# #.#.# #...# #...# #...#",
    "N": "#...# #...# ##..# #.#.# #..## #...# #...#",
    "O": ".###. #...# #...# #...# #...# #...# .###.",
    "P": "####. #...# #...# ####. #.... #.... #....",
    "Q": ".###. #...# #...# #...# #.#.# #..#. .##.#",
    "R": "####. #...# #...# ####. #.#.. #..#. #...#",
    "S": ".#### #.... #.... .###. ....# ....# ####.",
    "T": "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
    "U": "#...# #...# #...# #...# #...# #...# .###.",
    "V": "#...# #...# #...# #...# #...# .#.#. ..#..",
    "W": "#...# #...# #...# #.#.# #.#.# #.#.# .#.#.",
    "X": "#...# #...# .#.#. ..#.. .#.#. #...# #...#",
    "Y": "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..",
    "Z": "##### ....# ...#. ..#.. .#... #.... #####",
    "a": "..... ..... .###. ....# .#### #...# .####",
    "b": "#.... #.... ####. #...# #...# #...# ####.",
    "c": "..... ..... .###. #.... #.... #.... .###.",
    "d": "....# ....# .#### #...# #...# #...# .####",
    "e": "..... ..... .###. #...# ##### #.... .###.",
    "f": "..## .#.. #### .#.. .#.. .#.. .#..",
    "g": "..... ..... .#### #...# #...# #...# .#### ....# .###.",
    "h": "#.... #.... ####. #...# #...# #...# #...#",
    "i": "# . # # # # #",
    "j": "..# ... ..# ..# ..# ..# ..# #.# .#.",
    "k": "#... #... #..# #.#. ##.. #.#. #..#",
    "l": "#. #. #. #. #. #. .#",
    "m": "..... ..... ##.#. #.#.# #.#.# #...# #...#",
    "n": "..... ..... ####. #...# #...# #...# #...#",
    "o": "..... ..... .###. #...# #...# #...# .###.",
    "p": "..... ..... ####. #...# #...# #...# ####. #.... #....",
    "q": "..... ..... .#### #...# #...# #...# .#### ....# ....#",
    "r": "..... ..... #.##. ##..# #.... #.... #....",
    "s": "..... ..... .#### #.... .###. ....# ####.",
    "t": ".#.. .#.. #### .#.. .#.. .#.. ..##",
    "u": "..... ..... #...# #...# #...# #...# .####",
    "v": "..... ..... #...# #...# #...# .#.#. ..#..",
    "w": "..... ..... #...# #...# #.#.# #.#.# .#.#.",
    "x": "..... ..... #...# .#.#. ..#.. .#.#. #...#",
    "y": "..... ..... #...# #...# #...# #...# .#### ....# .###.",
    "z": "..... ..... ##### ...#. ..#.. .#... #####",
    "0": ".###. #...# #..## #.#.# ##..# #...# .###.",
    "1": ".#. ##. .#. .#. .#. .#. ###",
    "2": ".###. #...# ....# ...#. ..#.. .#... #####",
    "3": "####. ....# ....# .###. ....# ....# ####.",
    "4": "...#. ..##. .#.#. #..#. ##### ...#. ...#.",
    "5": "##### #.... ####. ....# ....# #...# .###.",
    "6": ".###. #.... #.... ####. #...# #...# .###.",
    "7": "##### ....# ...#. ..#.. .#... .#... .#...",
    "8": ".###. #...# #...# .###. #...# #...# .###.",
    "9": ".###. #...# #...# .#### ....# ....# .###.",
    ".": ". . . . . . #",
    ",": ".. .. .. .. .. .. .# #.",
    ":": ". . # . . . #",
    ";": ".. .. .# .. .. .. .# #.",
    "!": "# # # # # . #",
    "?": ".###. #...# ....# ...#. ..#.. ..... ..#..",
    "'": "# #",
    '"': "#.# #.#",
    "-": "... ... ... ... ###",
    "+": "..... ..... ..#.. ..#.. ##### ..#.. ..#..",
    "=": ".... .... .... #### .... #### ....",
    "/": "....# ....# ...#. ..#.. .#... #.... #....",
    "(": "..# .#. #.. #.. #.. .#. ..#",
    ")": "#.. .#. ..# ..# ..# .#. #..",
    "<": "...# ..#. .#.. #... .#.. ..#. ...#",
    ">": "#... .#.. ..#. ...# ..#. .#.. #...",
}

SPACE_CELLS = 3.0
CAP_ROWS = 7


def _parse(rows):
    grid = rows.split()
    return [(c, r) for r, line in enumerate(grid) for c, ch in enumerate(line) if ch == "#"]


def _links(cells):
    """Strokes between lit neighbours; diagonals only where no corner is lit,
    so staircases turn into slopes but solid corners stay square."""
    lit = set(cells)
    links = []
    for c, r in cells:
        for dc, dr in ((1, 0), (0, 1)):
            if (c + dc, r + dr) in lit:
                links.append(((c, r), (c + dc, r + dr)))
        for dc in (1, -1):
            if (c + dc, r + 1) in lit and (c + dc, r) not in lit and (c, r + 1) not in lit:
                links.append(((c, r), (c + dc, r + 1)))
        links.append(((c, r), (c, r)))  # every node, so lone dots show too
    return links


class _Glyph:
    def __init__(self, rows):
        self.cells = _parse(rows)
        self.width = max(c for c, _ in self.cells) + 1
        self.links = _links(self.cells)


GLYPHS = {ch: _Glyph(rows) for ch, rows in _GLYPHS.items()}


def text_width(text, cell, tracking=1.0):
    """Advance of the whole string in pixels (without the trailing gap)."""
    total = 0.0
    for ch in text:
        if ch == " ":
            total += SPACE_CELLS * cell
        else:
            total += (GLYPHS[ch].width + tracking) * cell
    return total - (tracking * cell if text and text[-1] != " " else 0.0)


def advance(text, cell, tracking=1.0):
    """Where the next piece of text starts when set right after this one."""
    return text_width(text + "I", cell, tracking) - text_width("I", cell, tracking)


def draw_text(mask, text, x, baseline, cell, weight=0.55, tracking=1.0):
    """Strokes text into the mask from its left edge and baseline; returns the right edge."""
    top = baseline - CAP_ROWS * cell
    r = weight * cell
    for ch in text:
        if ch == " ":
            x += SPACE_CELLS * cell
            continue
        glyph = GLYPHS[ch]
        for (c0, r0), (c1, r1) in glyph.links:
            mask.capsule(x + (c0 + 0.5) * cell, top + (r0 + 0.5) * cell,
                         x + (c1 + 0.5) * cell, top + (r1 + 0.5) * cell, r)
        x += (glyph.width + tracking) * cell
    return x - tracking * cell


def centred_baseline(centre_row, cell):
    """Baseline that centres the capital height on a pixel row."""
    return centre_row + 0.5 + CAP_ROWS * cell / 2.0

