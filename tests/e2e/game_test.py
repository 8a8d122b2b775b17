# The real game, started as a player or a package starts it, and driven by
# real X key events under the X server that scripts/in-xvfb gives each test:
# a key typed for a game that has just quit goes to the window under the
# pointer, which on a shared server could be another test's.
#   game_test.py [--list | Class.test_name ...]
# CTest runs each test alone (tests/CMakeLists.txt), with QUORVANE_BINARY,
# QUORVANE_SOURCE_DIR and QUORVANE_BUILD_DIR naming the game and its trees.

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import unittest

SOURCE = os.environ.get("QUORVANE_SOURCE_DIR", "")
sys.path[:0] = [os.path.join(SOURCE, "tools"), os.path.join(SOURCE, "scripts")]
from game_driver import START_SECONDS, Game, driver, shell, wait_for  # noqa: E402
from mediagen import layout, pictures  # noqa: E402  (both found through SOURCE)

# The game sees a lost display at its next frame and ends well within a
# second; the bound only tells an end from a spin that never ends.
LOST_DISPLAY_SECONDS = 10


# The SDL 1.2 that QUORVANE_EXPECT_SDL names is the one mapped.
def expect_sdl_library(test, game):
    expected = os.environ.get("QUORVANE_EXPECT_SDL")
    if not expected:
        return
    with open(f"/proc/{game.pid}/maps") as maps:
        mapped = set(re.findall(r"(/\S*/libSDL-1\.2\.so\S*)$", maps.read(), re.M))
    test.assertEqual(len(mapped), 1, f"not one SDL 1.2 mapped: {mapped}")
    # Whether SDL 2 is mapped says nothing: Debian 12's libmikmod links it.
    # The library itself names the SDL 2 it loads only if it is sdl12-compat.
    with open(mapped.pop(), "rb") as library:
        found = "sdl12-compat" if b"libSDL2-2.0.so" in library.read() else "classic"
    test.assertEqual(found, expected)


# The window, the library, and frames that change: the splash fading
# shows that the frame loop runs and will see a press. Not merely drawn:
# a new window under SDL 2 shows whatever lay beneath it.
def start_frames(test, game):
    window = game.window()
    test.assertTrue(window, f"no window; status {game.process.returncode}: {game.output(1)}")
    if not game.exited():
        expect_sdl_library(test, game)
    seen = []

    def changed():
        seen.append(shell(f"timeout 5 import -window {window} -format '%[fx:mean]' info: 2>&1"))
        return len(seen) > 1 and seen[-1] != seen[-2]

    test.assertTrue(wait_for(lambda: game.exited() or changed(), START_SECONDS), "no frames")


# ImageMagick fx: a red window pixel at one place and a green one at another.
def red_and_green(red, green):
    r, g = "p{%d,%d}" % red, "p{%d,%d}" % green
    return f"{r}.r>0.8&&{r}.g<0.25&&{g}.g>0.8&&{g}.r<0.25"


# Each screen of the scripts told apart by the window's pixels: a menu's
# yellow cursor, not a white star, at an item; the play field's red top and
# green bottom edge; the pause menu's red and green bar.
def shows(screen):
    def cursor_at(menu, item):
        row = dict(menu.items)[item]
        return f"&&p{{{layout.CURSOR_X},{row}}}.r>0.8&&p{{{layout.CURSOR_X},{row}}}.b<0.6"

    title = driver('printf %s "$title_menu_shows"')
    field = red_and_green((320, 8), (320, 471))
    menu = field + "&&" + red_and_green((257, 317), (299, 317))
    return {"title": title, "title-quit": title + cursor_at(layout.TITLE_MENU, "Quit"),
            "play": f"{field}&&!({menu})", "pause": menu + cursor_at(layout.PAUSE_MENU, "Resume"),
            "quit": menu + cursor_at(layout.PAUSE_MENU, "Quit to title")}[screen]


# A case's script is steps "key>screen": the key, an xdotool key name or
# "close" for the window manager's close request, is pressed until the screen
# shows. The last key is pressed until the game has ended; any other without a
# screen is pressed once, for an effect too brief to look for. A script may end
# instead with the game's X server ending (LOSE_DISPLAY), or with SIGTERM.
# The expected standard error is a regular expression: a ".+" there stands for
# one line of another library's words, such as SDL's error text or libpng's
# complaint; "{display}" for the game's display. Standard output stays empty.
LOSE_DISPLAY = "lose-display"
TERM = "SIGTERM"
# Through play, a shot and the pause menu and back to the title, then quit.
TOUR = "Escape>title Return>play space Escape>pause Down>quit Return>title Escape"
# (what, shell set-up in a folder holding a copy of media/, extra environment,
# script, standard error, exit status)
CASES = [
    ("no media/", "rm -r media", "", "", "Missing image file: ship.png\n", 1),
    ("truncated picture", "truncate -s 400 media/img/splash.png", "", "",
     "libpng error: .+\nMissing image file: splash.png\n", 1),
    ("corrupt WAV", r"printf 'RIFF\377\0\0\0WAVEfmt junk' >media/snd/select2.wav", "", TOUR,
     "Unable to load WAV file: select2.wav\n", 0),
    ("corrupt XM", "truncate -s 3000 media/snd/quorvane.xm", "", TOUR, "", 0),
    ("no such audio driver", "", "SDL_AUDIODRIVER=none-such", TOUR,
     "Unable to open audio: .+\n", 0),
    ("audio device fails to open", "", "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/nonexistent/out",
     TOUR, "Unable to open audio: .+\n", 0),
    ("DISPLAY unset", "", "DISPLAY=", "", "Unable to initalise SDL: .+\n", 1),
    ("video without OpenGL", "", "SDL_VIDEODRIVER=dummy", "", "Unable to set video mode: .+\n", 1),
    # Up from the first item wraps to the last.
    ("the title's quit item", "", "", "Escape>title Up>title-quit Return", "", 0),
    # The second Down moves the cursor only once the game has seen the key released.
    ("close", "", "", "Escape>title Return>play Escape>pause Down>quit Down>pause close", "", 0),
    ("SIGTERM in play", "", "", f"Escape>title Return>play {TERM}", "", 0),
]
# Each picture is missing at the first screen that needs it, reached by these
# keys; the game-over card's is lost in a death test of the unit program.
KEYS_TO = {"start": "", "title": "Escape", "pause": "Escape>title Return>play Escape"}
CASES += [(p.name, f"rm media/img/{p.name}", "", KEYS_TO[p.first_needed_on],
           f"Missing image file: {p.name}\n", 1)
          for p in pictures.PICTURES if p.first_needed_on != "game over"]


class EndToEnd(unittest.TestCase):
    def play(self, game, script):
        start_frames(self, game)
        steps = script.split()
        for i, step in enumerate(steps):
            key, _, screen = step.partition(">")
            if screen:
                game.press_until(key, lambda test=shows(screen): game.looks(test),
                                 f"the {screen} screen")
            elif key == LOSE_DISPLAY:
                # scripts/in-xvfb starts this test's X server beside the test.
                shell(f"pkill -x -P {os.getppid()} Xvfb")
                self.assertTrue(wait_for(game.exited, LOST_DISPLAY_SECONDS),
                                f"still running {LOST_DISPLAY_SECONDS} s after its X server ended")
            elif key == TERM:
                os.kill(game.pid, signal.SIGTERM)
            elif i == len(steps) - 1:
                game.press_until(key, game.exited, "the end")
            else:
                game.press(key)

    def run_case(self, what, setup, env, script, err, status):
        with tempfile.TemporaryDirectory(prefix="quorvane-fault-") as folder:
            shutil.copytree(os.path.join(SOURCE, "media"), os.path.join(folder, "media"))
            subprocess.run(["sh", "-c", setup or "true"], cwd=folder, check=True)
            with Game(os.environ["QUORVANE_BINARY"], folder, env.split()) as game:
                if script:
                    self.play(game, script)
                self.assertTrue(wait_for(game.exited), "still running")
                self.assertEqual(game.process.returncode, status, game.output(1))
                self.assertEqual(game.output(0), "")
                expected = err.replace("{display}", os.environ["DISPLAY"])
                self.assertTrue(re.fullmatch(expected, game.output(1)), game.output(1))

    # The first failing case ends the test: the rest would only add minutes.
    def test_faults_end_the_run_or_are_survived_as_designed(self):
        for case in CASES:
            try:
                self.run_case(*case)
            except AssertionError as failure:
                raise AssertionError(f"{case[0]}: {failure}") from None

    # It ends the X server it runs under, so it is a test of its own.
    def test_losing_the_display_in_play_ends_the_game(self):
        self.run_case("in play", "", "", f"Escape>title Return>play {LOSE_DISPLAY}",
                      "Lost the X display {display}\n", 1)


# The build installed with a /usr prefix into a staging folder of its
# own, as a package build does.
class Installed(unittest.TestCase):
    def setUp(self):
        self.stage = tempfile.mkdtemp(prefix="quorvane-install-")
        self.addCleanup(shutil.rmtree, self.stage)
        subprocess.run(["cmake", "--install", os.environ["QUORVANE_BUILD_DIR"], "--prefix", "/usr"],
                       env=dict(os.environ, DESTDIR=self.stage), check=True,
                       stdout=subprocess.DEVNULL)

    def usr(self, path):
        return os.path.join(self.stage, "usr", path)

    # Exactly what data/installed-files lists.
    def test_lays_out_the_files_as_debian_games_do_and_every_validator_passes_them(self):
        self.assertEqual(shell(f"cd '{self.stage}/usr' && find . ! -type d | sed 's|^\\./||' | sort"),
                         shell(f"'{SOURCE}/scripts/installed-files'"))
        # Each prints nothing on a clean file; the whole tree, as lintian
        # validates a package, has only the hints scripts/check-appstream allows.
        for check in (f"desktop-file-validate {self.usr('share/applications/quorvane.desktop')}",
                      f"mandoc -T lint -W warning {self.usr('share/man/man6/quorvane.6')}",
                      f"'{SOURCE}/scripts/check-appstream' '{self.stage}'"):
            self.assertEqual(shell(check + " 2>&1"), "", check)

    # Started as the desktop entry does, from anywhere, through the launcher.
    def test_launcher_starts_the_game_from_any_folder_where_escape_skips_the_splash_and_quits(self):
        os.symlink(self.usr("games/quorvane"), os.path.join(self.stage, "quorvane"))
        with Game(os.path.join(self.stage, "quorvane"), "/") as game:
            start_frames(self, game)
            self.assertEqual(shell(f"xdotool getwindowgeometry {game.window()}"
                                   " | grep -o '[0-9]*x[0-9]*'"), "640x480")
            game.press_until("Escape", lambda: game.looks(shows("title")), "the title menu")
            game.press_until("Escape", game.exited, "the end of the game")
            self.assertEqual(game.process.returncode, 0)
            self.assertEqual(game.output(1), "")


if __name__ == "__main__":
    if sys.argv[1:] == ["--list"]:
        for suite in unittest.defaultTestLoader.loadTestsFromModule(sys.modules[__name__]):
            for test in suite:
                print(test.id().split(".", 1)[1])
        sys.exit(0)
    unittest.main(verbosity=2)
