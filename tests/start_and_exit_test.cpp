#include <gtest/gtest.h>

#include "screens/menu_layout.h"
#include "screens/title_state.h"
#include "support/game_process.h"
#include "support/test_window.h"

// After GoogleTest, whose names None and Bool are macros here.
#include <X11/Xlib.h>

namespace {

// Asks the window to close, as a window manager does when the player closes it.
void requestClose(const std::string& window) {
  Display* display = XOpenDisplay(nullptr);
  XEvent close = {};
  close.xclient.type = ClientMessage;
  close.xclient.window = std::stoul(window);
  close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSendEvent(display, close.xclient.window, False, NoEventMask, &close);
  XCloseDisplay(display);
}

TEST(StartAndExit, ClosingTheWindowEndsTheGameWithStatusZero) {
  GameProcess game;
  std::string window = game.window();
  ASSERT_FALSE(window.empty()) << "status " << game.status << ": " << game.err();
  requestClose(window);
  ASSERT_TRUE(game.waitExit()) << "the game did not end";
  EXPECT_TRUE(game.exitedWith(0)) << "status " << game.status;
  EXPECT_EQ(game.err(), "");
  EXPECT_EQ(game.out(), "") << "every picture is in true colour";
}

TEST(StartAndExit, WithoutVideoTheGameSaysWhyAndEndsWithStatusOne) {
  GameProcess game(QUORVANE_SOURCE_DIR, {"SDL_VIDEODRIVER=none"});
  ASSERT_TRUE(game.waitExit());
  EXPECT_TRUE(game.exitedWith(1)) << "status " << game.status;
  // One line that names the failure; SDL's own words vary between its versions.
  const std::string said = game.err();
  EXPECT_TRUE(said.rfind("Unable to initalise SDL: ", 0) == 0 && said.find('\n') == said.size() - 1)
      << said;
}

TEST(StartAndExitDeathTest, TheTitleMenusQuitItemEndsTheProcessWithStatusZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  openTestWindow();
  TitleState title;
  title.selection = TitleMenu::kQuit;
  InputMap keys = {{"enter", true}};
  EXPECT_EXIT(title.update(&keys, kFrame), testing::ExitedWithCode(0), "");
}

}  // namespace
