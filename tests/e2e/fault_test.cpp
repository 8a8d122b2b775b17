#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/picture_list.h"
#include "screens/menu_layout.h"
#include "support/game_process.h"
#include "support/sdl_library.h"

// Last: Xlib defines macros such as None and Status.
#include <X11/Xlib.h>

namespace {

// A case's script is steps "key>screen": the key, an xdotool key name or
// "close" for the window manager's close request, is pressed until the screen
// shows. The last key is pressed until the game has ended; any other without a
// screen is pressed once, for an effect too brief to look for. A script may end
// instead with the game's X server ending (kLoseDisplay), or with SIGTERM.
struct Case {
  std::string what;
  std::string setup;  // shell, run in a folder holding a copy of media/
  std::string env;    // extra NAME=value entries, space-separated
  std::string script;
  // All of standard error, as a regular expression: a ".+" there stands for
  // one line of another library's words, such as SDL's error text or libpng's
  // complaint. "{display}" stands for the game's display. Standard output
  // stays empty.
  std::string err;
  int status;
};

// Through play, a shot and the pause menu and back to the title, then quit.
const char kTour[] = "Escape>title Return>play space Escape>pause Down>quit Return>title Escape";

const char kLoseDisplay[] = "lose-display";
const char kTerm[] = "SIGTERM";

// The game sees a lost display at its next frame, a few milliseconds on, and
// ends well within a second; but a machine loaded by other builds once took
// longer than that. The bound only tells an end from the old spin, which never
// ended, so it allows for such a machine.
const int kLostDisplaySeconds = 10;

// Each picture is missing at the first screen that needs it, reached by these
// keys; the game-over card's is lost in a death test of the unit program.
const std::map<FirstNeededOn, std::string> kKeysTo = {
    {kAtStart, ""}, {kOnTitle, "Escape"}, {kOnPause, "Escape>title Return>play Escape"}};

const Case kCases[] = {
    {"no media/", "rm -r media", "", "", "Missing image file: ship.png\n", 1},
    {"truncated picture", "truncate -s 400 media/img/splash.png", "", "",
     "libpng error: .+\nMissing image file: splash.png\n", 1},
    {"corrupt WAV", "printf 'RIFF\\377\\0\\0\\0WAVEfmt junk' >media/snd/select2.wav", "", kTour,
     "Unable to load WAV file: select2.wav\n", 0},
    {"corrupt XM", "truncate -s 3000 media/snd/quorvane.xm", "", kTour, "", 0},
    {"no such audio driver", "", "SDL_AUDIODRIVER=none-such", kTour, "Unable to open audio: .+\n",
     0},
    {"audio device fails to open", "", "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/nonexistent/out",
     kTour, "Unable to open audio: .+\n", 0},
    {"DISPLAY unset", "", "DISPLAY=", "", "Unable to initalise SDL: .+\n", 1},
    {"video without OpenGL", "", "SDL_VIDEODRIVER=dummy", "", "Unable to set video mode: .+\n", 1},
    // Up from the first item wraps to the last.
    {"the title's quit item", "", "", "Escape>title Up>title-quit Return", "", 0},
    // The second Down moves the cursor only once the game has seen the key released.
    {"close", "", "", "Escape>title Return>play Escape>pause Down>quit Down>pause close", "", 0},
    {"SIGTERM in play", "", "", std::string("Escape>title Return>play ") + kTerm, "", 0},
};

// Ends the X server that this test runs under, as at a logout: scripts/in-xvfb
// starts one for each test, beside the test.
void endXServer() { shell("pkill -x -P " + std::to_string(getppid()) + " Xvfb"); }

// Each screen of the scripts told apart by the window's pixels.
std::string shows(const std::string& screen) {
  // A menu's yellow cursor, not a white star, at an item; the play field's red
  // top and green bottom edge; the pause menu's red and green bar.
  auto cursorAt = [](int row) {
    std::string p = "p{" + std::to_string(kMenuCursorX) + "," + std::to_string(row) + "}";
    return "&&" + p + ".r>0.8&&" + p + ".b<0.6";
  };
  if (screen == "title") return titleMenuShows();
  if (screen == "title-quit")
    return titleMenuShows() + cursorAt(TitleMenu::kCursorRows[TitleMenu::kQuit]);
  std::string field = redAndGreen(320, 8, 320, 471);
  std::string menu = field + "&&" + redAndGreen(257, 317, 299, 317);
  if (screen == "play") return field + "&&!(" + menu + ")";
  if (screen == "pause") return menu + cursorAt(PauseMenu::kCursorRows[PauseMenu::kResume]);
  if (screen == "quit") return menu + cursorAt(PauseMenu::kCursorRows[PauseMenu::kQuitToTitle]);
  ADD_FAILURE() << "no screen " << screen;
  return "0";
}

void requestClose(const std::string& window) {
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  // Xlib's own handler ends the process on any error, such as a window gone.
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = std::stoul(window);
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XCloseDisplay(display);
}

void play(GameProcess& game, const std::string& script) {
  std::string window = game.window();
  ASSERT_FALSE(window.empty()) << "no window; status " << game.status << ": " << game.err();
  if (!game.exited()) expectSdlLibrary(game.pid);
  // The splash fading shows that the frame loop runs and will see a press.
  // Not merely drawn: a new window under SDL 2 shows whatever lay beneath it.
  std::string seen, before;
  ASSERT_TRUE(waitFor([&] {
    before = seen;
    seen = shell("timeout 5 import -window " + window + " -format '%[fx:mean]' info: 2>&1");
    return game.exited() || (!before.empty() && seen != before);
  }));

  KeySender press = [&](const std::string& key) {
    key == "close" ? requestClose(window) : game.press(key);
  };
  std::istringstream steps(script);
  for (std::string step; steps >> step;) {
    size_t mark = step.find('>');
    std::string key = step.substr(0, mark), screen = step.substr(mark + 1);
    if (mark != std::string::npos) {
      ASSERT_TRUE(pressUntil(
          game, key, [&, test = shows(screen)] { return game.looks(test); },
          "the " + screen + " screen", press));
    } else if (key == kLoseDisplay) {
      endXServer();
      EXPECT_TRUE(waitFor([&] { return game.exited(); }, kLostDisplaySeconds))
          << "still running " << kLostDisplaySeconds << " s after its X server ended";
    } else if (key == kTerm) {
      kill(game.pid, SIGTERM);
    } else if ((steps >> std::ws).eof()) {
      ASSERT_TRUE(pressUntil(
          game, key, [&] { return game.exited(); }, "the end", press));
    } else {
      press(key);
    }
  }
}

void run(const Case& c) {
  SCOPED_TRACE(c.what);
  const std::string err = std::regex_replace(c.err, std::regex("\\{display\\}"), getenv("DISPLAY"));
  std::string dir = shell("mktemp -d /tmp/quorvane-fault-XXXXXX");
  shell("cp -r '" QUORVANE_SOURCE_DIR "/media' " + dir + " && cd " + dir + " && " +
        (c.setup.empty() ? "true" : c.setup));
  {
    std::istringstream entries(c.env);
    GameProcess game(dir, {std::istream_iterator<std::string>(entries), {}});
    if (!c.script.empty()) play(game, c.script);
    EXPECT_TRUE(waitFor([&] { return game.exited(); })) << "still running";
    EXPECT_TRUE(game.exitedWith(c.status)) << "wait status " << game.status;
    EXPECT_EQ(game.out(), "");
    EXPECT_TRUE(std::regex_match(game.err(), std::regex(err))) << "err: " << game.err();
  }
  shell("rm -rf " + dir);
}

TEST(EndToEnd, FaultsEndTheRunOrAreSurvivedAsDesigned) {
  std::vector<Case> cases(std::begin(kCases), std::end(kCases));
  for (const PictureFile& picture : kPictures) {
    std::string name = picture.name;
    if (picture.firstNeededOn != kOnGameOver)
      cases.push_back({name, "rm media/img/" + name, "", kKeysTo.at(picture.firstNeededOn),
                       "Missing image file: " + name + "\n", 1});
  }
  // The first failing case ends the test: the rest would only add minutes.
  for (size_t i = 0; !testing::Test::HasFailure() && i < cases.size(); i++) run(cases[i]);
}

// Each ends the X server it runs under, so each is a test of its own.
Case lostDisplay(const std::string& where, const std::string& keys) {
  return {"display lost " + where,          "", "", keys + " " + kLoseDisplay,
          "Lost the X display {display}\n", 1};
}

TEST(EndToEnd, LosingTheDisplayInPlayEndsTheGame) {
  run(lostDisplay("in play", "Escape>title Return>play"));
}

TEST(EndToEnd, LosingTheDisplayOnTheTitleEndsTheGame) {
  run(lostDisplay("on the title", "Escape>title"));
}

}  // namespace
