#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <iterator>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/game_process.h"
#include "support/sdl_library.h"

// Last: Xlib defines macros such as None and Status.
#include <X11/Xlib.h>

namespace {

// Words of a case's script: an xdotool key name is pressed and let go; "close"
// is the window manager's close request; "lose" plays a game until it is lost.
struct Case {
  const char* what;
  const char* setup;  // shell, run in a folder holding a copy of media/
  const char* env;    // one extra NAME=value entry, or ""
  const char* script;
  const char* out;  // all of standard output
  const char* err;  // all of standard error; see matches() for "..."
  int status;
};

// Through play and the pause menu and back to the title, then quit.
const char kTour[] = "Escape Return space Escape Down Return Escape";

const Case kCases[] = {
    // First: by far the longest, it runs while the others take their turns.
    {"fail.png at game over", "rm media/img/fail.png", "", "lose", "",
     "Missing image file: fail.png\n", 1},
    {"no media/", "rm -r media", "", "", "", "Missing image file: ship.png\n", 1},
    {"ship.png", "rm media/img/ship.png", "", "", "", "Missing image file: ship.png\n", 1},
    {"asteroid.png", "rm media/img/asteroid.png", "", "", "", "Missing image file: asteroid.png\n",
     1},
    {"bullet.png", "rm media/img/bullet.png", "", "", "", "Missing image file: bullet.png\n", 1},
    {"splash.png", "rm media/img/splash.png", "", "", "", "Missing image file: splash.png\n", 1},
    {"dot.png", "rm media/img/dot.png", "", "Escape", "", "Missing image file: dot.png\n", 1},
    {"title.png", "rm media/img/title.png", "", "Escape", "", "Missing image file: title.png\n", 1},
    {"info.png", "rm media/img/info.png", "", "Escape", "", "Missing image file: info.png\n", 1},
    {"arrow.png", "rm media/img/arrow.png", "", "Escape", "", "Missing image file: arrow.png\n", 1},
    {"menu.png", "rm media/img/menu.png", "", "Escape Return Escape", "",
     "Missing image file: menu.png\n", 1},
    {"empty picture", ": >media/img/asteroid.png", "", "", "", "Missing image file: asteroid.png\n",
     1},
    {"truncated picture", "head -c 400 media/img/splash.png >x && mv x media/img/splash.png", "",
     "", "", "libpng error: ...\nMissing image file: splash.png\n", 1},
    {"no picture", "echo no picture >media/img/bullet.png", "", "", "",
     "Missing image file: bullet.png\n", 1},
    {"palette picture", "convert media/img/ship.png PNG8:media/img/ship.png", "", kTour,
     "Image is not truecolour: ship.png\n", "", 0},
    {"missing WAV", "rm media/snd/fire.wav", "", kTour, "", "Unable to load WAV file: fire.wav\n",
     0},
    {"empty WAV", ": >media/snd/death.wav", "", kTour, "", "Unable to load WAV file: death.wav\n",
     0},
    {"corrupt WAV", "printf 'RIFF\\377\\0\\0\\0WAVEfmt junk' >media/snd/select2.wav", "", kTour, "",
     "Unable to load WAV file: select2.wav\n", 0},
    {"missing XM", "rm media/snd/quorvane.xm", "", kTour, "", "", 0},
    {"corrupt XM", "head -c 3000 media/snd/quorvane.xm >x && mv x media/snd/quorvane.xm", "", kTour,
     "", "", 0},
    {"no such audio driver", "", "SDL_AUDIODRIVER=none-such", kTour, "",
     "Unable to open audio: ...\n", 0},
    {"DISPLAY unset", "", "DISPLAY=", "", "", "Unable to initalise SDL: ...\n", 1},
    {"no such display", "", "DISPLAY=:4095", "", "", "Unable to initalise SDL: ...\n", 1},
    {"close on the title", "", "", "Escape close", "", "", 0},
    {"close in play", "", "", "Escape Return close", "", "", 0},
    {"close on the pause menu", "", "", "Escape Return Escape close", "", "", 0},
};

// Cases run side by side, each game window in a corner of its own so that
// reading its pixels sees no other.
const int kLanes = 3;
const char* const kLanePlace[kLanes] = {"0 0", "640 0", "0 512"};
const int kLossSeconds = 150;

// A "..." in the expected text stands for one line's worth of another
// library's words: SDL's error text, or libpng's complaint.
bool matches(const std::string& text, const std::string& expected) {
  size_t gap = expected.find("...");
  if (gap == std::string::npos) return text == expected;
  std::string head = expected.substr(0, gap), tail = expected.substr(gap + 3);
  if (text.size() <= head.size() + tail.size()) return false;
  std::string middle = text.substr(head.size(), text.size() - head.size() - tail.size());
  return text.compare(0, gap, head) == 0 &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0 &&
         middle.find('\n') == std::string::npos;
}

// SDL 2 gives each new window the focus and lets go of the keys held down in
// the window that loses it: no game starts while another has a key down.
std::mutex focus;

// Xlib's own handler ends the process on any error, such as a window gone.
int ignoreError(Display*, XErrorEvent*) { return 0; }

// Sent to the window with XSendEvent, not typed into the focus, which the games
// of other lanes take; xdotool types instead when the window has the focus.
std::string xdo(const std::string& window, const std::string& steps) {
  std::lock_guard<std::mutex> keysDown(focus);
  Display* display = XOpenDisplay(nullptr);
  XSetErrorHandler(ignoreError);
  Window focused;
  int revert;
  if (display && XGetInputFocus(display, &focused, &revert) && focused == std::stoul(window))
    XSetInputFocus(display, PointerRoot, RevertToPointerRoot, CurrentTime);
  if (display) XCloseDisplay(display);
  std::string command = "xdotool";
  std::istringstream words(steps);
  for (std::string word; words >> word;) {
    command += " " + word;
    if (word == "keydown" || word == "keyup") command += " --window " + window;
  }
  return shell(command + " 2>/dev/null");
}

void requestClose(const std::string& window) {
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  XSetErrorHandler(ignoreError);
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

// The layout of the rocks follows from how many stars the title menu redrew,
// so Return comes 0.17 s after the title appears, between two stars' turns.
// Then a short turn to the right and thrust to the end, pressed anew each
// second should a change of focus let it go.
void lose(GameProcess& game, const std::string& window) {
  xdo(window, "keydown Escape sleep 0.17 keydown Return sleep 0.15 keyup Escape keyup Return");
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  xdo(window, "keydown Right sleep 0.24 keyup Right");
  for (int second = 0; second < kLossSeconds && !game.exited(); second++) {
    xdo(window, "keydown Up");
    std::this_thread::sleep_for(std::chrono::seconds(1));
  }
}

// The game's window, once shown; empty if the game ends first.
std::string windowOf(GameProcess& game) {
  std::string window;
  std::string search = "xdotool search --all --onlyvisible --pid " + std::to_string(game.pid) +
                       " --name '^Quorvane$' 2>/dev/null";
  waitFor([&] { return !(window = shell(search)).empty() || game.exited(); });
  return window;
}

void play(GameProcess& game, const std::string& window, const std::string& script, int lane) {
  ASSERT_FALSE(window.empty()) << "no window; status " << game.status << ": " << game.err();
  if (!game.exited()) expectSdlLibrary(game.pid);
  shell("xdotool windowmove " + window + " " + kLanePlace[lane] + " 2>/dev/null");
  // The splash fading shows that the frame loop runs and will see a press.
  // Not merely drawn: a new window under SDL 2 shows whatever lay beneath it.
  std::string seen, before;
  ASSERT_TRUE(waitFor([&] {
    before = seen;
    seen = shell("timeout 5 import -window " + window + " -format '%[fx:mean]' info: 2>&1");
    return game.exited() || (!before.empty() && seen != before);
  }));

  std::istringstream words(script);
  for (std::string word; words >> word;) {
    if (word == "close") {
      requestClose(window);
    } else if (word == "lose") {
      lose(game, window);
    } else {
      xdo(window, "keydown " + word + " sleep 0.2 keyup " + word + " sleep 0.1");
    }
  }
}

void run(const Case& c, int lane) {
  SCOPED_TRACE(c.what);
  std::string dir = shell("mktemp -d /tmp/quorvane-fault-XXXXXX");
  shell("cp -r '" QUORVANE_SOURCE_DIR "/media' " + dir + " && cd " + dir + " && " +
        (*c.setup ? c.setup : "true"));
  {
    std::unique_lock<std::mutex> starting(focus);
    GameProcess game(dir, *c.env ? std::vector<std::string>{c.env} : std::vector<std::string>{});
    std::string window = windowOf(game);
    starting.unlock();
    if (*c.script) play(game, window, c.script, lane);
    EXPECT_TRUE(game.waitExit()) << "still running";
    EXPECT_TRUE(game.exitedWith(c.status)) << "wait status " << game.status;
    EXPECT_PRED2(matches, game.out(), c.out);
    EXPECT_PRED2(matches, game.err(), c.err);
  }
  shell("rm -rf " + dir);
}

TEST(EndToEnd, FaultsEndTheRunOrAreSurvivedAsDesigned) {
  // Parked over no window, the pointer gives the focus to none.
  shell("xdotool mousemove 1279 1023");
  std::atomic<size_t> next(0);
  std::vector<std::thread> lanes;
  for (int lane = 0; lane < kLanes; lane++) {
    lanes.emplace_back([&, lane] {
      for (size_t i; (i = next++) < std::size(kCases);) run(kCases[i], lane);
    });
  }
  for (std::thread& lane : lanes) lane.join();
}

}  // namespace
