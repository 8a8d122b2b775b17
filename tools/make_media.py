#!/usr/bin/env python3
"""Writes every picture, sound and the music of Quorvane under media/, and the
C++ headers under src/ of what the game and the pictures share and of the
pictures and effects that the game reads.

Everything is drawn or synthesised here from code, with seeded randomness, so
each run gives byte-identical files. Standard library only.

    python3 tools/make_media.py [--out DIR] [NAME ...]

NAME picks files whose path contains it (for quick previews).
"""

import argparse
import os
import sys
import time

TOOLS = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, TOOLS)

from mediagen import catalogue, layout, music, pictures, sounds  # noqa: E402


def builders():
    """Paths under the repository root to builder functions."""
    out = {}
    for media in (pictures.all_pictures(), sounds.all_sounds(), music.all_music()):
        out.update(("media/" + path, build) for path, build in media.items())
    out.update(layout.all_headers())
    out.update(catalogue.all_headers())
    return out


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.dirname(TOOLS),
                        help="folder to write media/ and src/ into (default: the repository)")
    parser.add_argument("--quiet", action="store_true")
    parser.add_argument("names", nargs="*")
    args = parser.parse_args(argv)
    for path, build in sorted(builders().items()):
        if args.names and not any(n in path for n in args.names):
            continue
        started = time.time()
        data = build()
        target = os.path.join(args.out, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)
        if not args.quiet:
            print("%-26s %7d bytes  %.1fs" % (path, len(data), time.time() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
