#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "engine/engine.h"
#include "game/colours.h"
#include "game/play_state.h"
#include "screens/menu_layout.h"
#include "screens/title_state.h"
#include "support/test_window.h"

namespace fs = std::filesystem;

namespace {

// Closing the window and a missing display are among the end-to-end faults.
TEST(StartAndExitDeathTest, TheTitleMenusQuitItemEndsTheProcessWithStatusZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  openTestWindow();
  TitleState title;
  title.selection = TitleMenu::kQuit;
  InputMap keys = {{"enter", true}};
  EXPECT_EXIT(title.update(&keys, kFrame), testing::ExitedWithCode(0), "");
}

// The child's copy of media/, removed as it exits.
char mediaCopy[] = "/tmp/quorvane-no-fail-XXXXXX";

// Runs the game from a copy of media/ without fail.png, from a game on its last
// ship to the frame that loses it.
void loseTheLastShipWithoutTheGameOverPicture() {
  // Standard output joins standard error, which must then hold one line only.
  std::fflush(stdout);
  if (dup2(2, 1) < 0 || !mkdtemp(mediaCopy)) return;
  std::atexit([] { fs::remove_all(mediaCopy); });
  fs::copy(QUORVANE_SOURCE_DIR "/media", fs::path(mediaCopy) / "media",
           fs::copy_options::recursive);
  fs::remove(fs::path(mediaCopy) / "media/img/fail.png");
  if (chdir(mediaCopy) != 0) return;

  useFakeClock(1000);
  initEngine();
  lastTick = fakeTime();
  PlayState* play = new PlayState;
  popStates(1);
  pushState(play);
  play->lives = 0;
  // A still rock on the ship, in the ship's colour, so that it kills.
  Asteroid* rock = new Asteroid(play->ship->x, play->ship->y, 32);
  rock->vx = rock->vy = rock->spin = 0;
  rock->setColour(kRed);
  play->ship->setColour(kRed);
  play->asteroids->push_back(rock);
  for (int frame = 0; frame < 10; frame++) {
    advanceFakeTime(kFrameMs);
    runFrame();
  }
}

TEST(StartAndExitDeathTest, AMissingGameOverPictureEndsTheProcessWithStatusOneAtTheLastDeath) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(loseTheLastShipWithoutTheGameOverPicture(), testing::ExitedWithCode(1),
              "^Missing image file: fail\\.png\n$");
}

}  // namespace
