"""The pictures and the sound effects that the game reads, written out as C++.

Each is listed once, beside what makes it: PICTURES in pictures.py, EFFECTS in
sounds.py. From those lists the generator makes the files, and this writes the
headers src/gfx/picture_list.h and src/audio/effect_list.h, from which the
game loads them and the tests check them; so no file is left out of either.
"""

from . import pictures, sounds
from .layout import generated_header

# The screens that first need a picture, in the order a game reaches them, as
# the C++ enumerators that name them.
SCREENS = (("start", "kAtStart"), ("title", "kOnTitle"), ("pause", "kOnPause"),
           ("game over", "kOnGameOver"))

# clang-format would pack a list into columns; one entry a line reads better.
_FORMAT_OFF = "// clang-format off\n"
_FORMAT_ON = "// clang-format on\n"


def picture_header():
    screens = dict(SCREENS)
    out = ["// Every picture that the game reads from media/img/, with the first screen\n",
           "// that needs it, where a missing file ends the run. The pictures of play are\n",
           "// loaded with the window, so that play never reads the disk.\n",
           "enum FirstNeededOn { %s };\n\n" % ", ".join(name for _, name in SCREENS),
           "struct PictureFile {\n",
           "  const char* name;\n",
           "  FirstNeededOn firstNeededOn;\n",
           "  bool preload;\n",
           "};\n\n",
           "// Those of play are loaded in this order, which fixes their texture ids.\n",
           _FORMAT_OFF, "const PictureFile kPictures[] = {\n"]
    for picture in pictures.PICTURES:
        assert picture.first_needed_on == "start" or not picture.preload, picture.name
        out.append("    {\"%s\", %s, %s},\n" % (picture.name, screens[picture.first_needed_on],
                                                 "true" if picture.preload else "false"))
    out += ["};\n", _FORMAT_ON]
    return generated_header("pictures.py", out)


def effect_header():
    out = ["// Every sound effect that the game reads from media/snd/, in the order it\n",
           "// loads them, and so reports those that fail.\n",
           _FORMAT_OFF, "const char* const kEffects[] = {\n"]
    out += ["    \"%s\",\n" % name for name, _ in sounds.EFFECTS]
    out += ["};\n", _FORMAT_ON]
    return generated_header("sounds.py", out)


def all_headers():
    """File paths under the repository to builder functions."""
    return {"src/gfx/picture_list.h": picture_header, "src/audio/effect_list.h": effect_header}
