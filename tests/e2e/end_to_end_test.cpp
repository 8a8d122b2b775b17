#include <gtest/gtest.h>

#include "support/game_process.h"
#include "support/sdl_library.h"

namespace {

TEST(EndToEnd, EscapeSkipsTheSplashAndEscapeAgainQuitsFromTheTitleMenu) {
  GameProcess game;
  std::string window = game.window();
  ASSERT_FALSE(window.empty()) << "status " << game.status << ": " << game.err();
  EXPECT_EQ(shell("xdotool getwindowgeometry " + window + " | grep -o '[0-9]*x[0-9]*'"), "640x480");
  expectSdlLibrary(game.pid);

  // The splash fading in shows that the frame loop runs and will see a press.
  ASSERT_TRUE(waitFor([&] { return game.looks("mean>0.02"); }));
  ASSERT_TRUE(pressUntil(
      game, "Escape", [&] { return game.looks(kTitleMenuShows); }, "the title menu"));
  ASSERT_TRUE(pressUntil(
      game, "Escape", [&] { return game.exited(); }, "the end of the game"));
  EXPECT_TRUE(game.exitedWith(0)) << "status " << game.status;
  EXPECT_EQ(game.err(), "");
}

}  // namespace
