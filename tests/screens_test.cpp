#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "audio/audio.h"
#include "engine/engine.h"
#include "game/colours.h"
#include "game/play_state.h"
#include "gfx/texture.h"
#include "screens/fail_state.h"
#include "screens/pause_state.h"
#include "screens/splash_state.h"
#include "screens/title_state.h"
#include "support/test_window.h"

namespace {

const float kFrame = 0.008f;

// A channel keeps the chunk it last played, so this counts plays in a short test.
int timesPlayed(const std::string& name) {
  int count = 0;
  for (int channel = 0; channel < Mix_AllocateChannels(-1); channel++) {
    if (Mix_GetChunk(channel) == soundBank.at(name)) count++;
  }
  return count;
}

template <class T>
bool isA(State* state) {
  return dynamic_cast<T*>(state) != nullptr;
}

State* top() { return stateStack->back(); }

// A screen that wrongly quits ends the process with status 0, which ctest
// would count as a pass.
void failIfMidTest() {
  if (!testing::UnitTest::GetInstance()->current_test_info()) return;
  std::fputs("the process exited before the test ended\n", stderr);
  std::_Exit(1);
}

void clearEngine() {
  delete pendingState;
  pendingState = nullptr;
  popStates(static_cast<int>(stateStack->size()));
  updateStates(0);
}

// Releases both cursor keys for a frame, then holds the given ones for a frame.
template <class Menu>
int moveCursor(Menu& menu, InputMap& keys, bool up, bool down) {
  keys["up"] = keys["down"] = false;
  menu.update(&keys, kFrame);
  keys["up"] = up;
  keys["down"] = down;
  menu.update(&keys, kFrame);
  return menu.selection;
}

class ScreensTest : public testing::Test {
 protected:
  void SetUp() override {
    openTestWindow();
    initAudio();
    // The engine's exit clean-up frees the sounds; without the engine, do it here.
    std::atexit(freeAudio);
    useFakeClock(1000);
  }

  void TearDown() override { clearEngine(); }

  // Runs a whole fade, one step per update, with the clock alone deciding.
  template <class Fade>
  void fadeThrough(const char* image) {
    SCOPED_TRACE(image);
    Fade fade;
    advanceFakeTime(9);
    fade.update(&keys, 1);
    EXPECT_EQ(fade.step, 0);
    float alpha[251] = {};
    for (int step = 1; step <= 250; step++) {
      // A long stall still takes only one step.
      advanceFakeTime(step == 1 ? 1 : step == 120 ? 5000 : 10);
      fade.update(&keys, 5);
      ASSERT_EQ(fade.step, step);
      ASSERT_EQ(isA<TitleState>(pendingState), step == 250);
      alpha[step] = fade.picture->alpha;
    }
    EXPECT_LT(alpha[99], 0.99f);
    EXPECT_GT(alpha[99], 0.98f);
    EXPECT_EQ(alpha[150], alpha[99]);
    EXPECT_NEAR(alpha[249], 0, 1e-4);
    EXPECT_EQ(alpha[250], 0.0f);
    EXPECT_EQ(popCount, 1);
    EXPECT_EQ(textureCache->count(image), 0u);
    clearEngine();
  }

  // Through the engine, so the title menu that follows reads the keys too: it
  // would start a game on "enter" and quit on "esc".
  template <class Fade>
  void skipWith(const std::vector<const char*>& pressed) {
    SCOPED_TRACE(pressed.size() == 2 ? "both" : pressed[0]);
    Fade* fade = new Fade;
    stateStack->push_back(fade);
    for (const char* other : {"space", "up", "down", "left", "right", "menu"})
      (*inputMap)[other] = true;
    advanceFakeTime(10);
    updateStates(kFrame);
    EXPECT_EQ(fade->step, 1);
    inputMap->clear();

    for (const char* key : pressed) (*inputMap)[key] = true;
    advanceFakeTime(5);
    updateStates(kFrame);
    EXPECT_EQ(pendingState, nullptr) << "the ending step waits for its 10 ms";
    advanceFakeTime(5);
    updateStates(kFrame);
    EXPECT_EQ(fade->picture->alpha, 0.0f);
    updateStates(kFrame);
    ASSERT_EQ(stateStack->size(), 1u);
    EXPECT_TRUE(isA<TitleState>(top()));
    EXPECT_FALSE((*inputMap)["esc"]);
    EXPECT_FALSE((*inputMap)["enter"]);
    clearEngine();
  }

  InputMap keys;
};

TEST_F(ScreensTest, FadesPeakJustUnderNinetyNineHundredthsThenHandOverAtStep250) {
  fadeThrough<SplashState>("splash.png");
  fadeThrough<FailState>("fail.png");
}

TEST_F(ScreensTest, OnlyEscAndEnterSkipTheFadesAndNeitherReachesTheTitle) {
  std::atexit(failIfMidTest);
  for (const std::vector<const char*>& pressed :
       {std::vector<const char*>{"esc"}, {"enter"}, {"esc", "enter"}}) {
    skipWith<SplashState>(pressed);
    skipWith<FailState>(pressed);
  }
}

TEST_F(ScreensTest, MenuCursorsMoveOncePerPressUpFirstAndWrap) {
  TitleState title;
  keys["down"] = true;
  for (int i = 0; i < 3; i++) title.update(&keys, kFrame);
  EXPECT_EQ(title.selection, 1);
  EXPECT_EQ(title.arrow->y, 327);
  EXPECT_EQ(timesPlayed("select1.wav"), 1);

  EXPECT_EQ(moveCursor(title, keys, false, true), 2);
  EXPECT_EQ(moveCursor(title, keys, false, true), 0);
  EXPECT_EQ(moveCursor(title, keys, true, false), 2);
  title.update(&keys, kFrame);
  EXPECT_EQ(title.selection, 2) << "still locked while \"up\" is held";
  EXPECT_EQ(moveCursor(title, keys, true, true), 1);
  EXPECT_EQ(title.arrow->y, 327);

  // The pause menu starts locked: the key that opened it may still be down.
  PauseState pause;
  pause.update(&keys, kFrame);
  EXPECT_EQ(pause.selection, 0);
  EXPECT_EQ(moveCursor(pause, keys, false, true), 1);
  EXPECT_EQ(pause.arrow->y, 262);
  EXPECT_EQ(moveCursor(pause, keys, false, true), 0);
  EXPECT_EQ(moveCursor(pause, keys, true, false), 1);
}

TEST_F(ScreensTest, TitleEnterOpensInfoWhereEscReturnsOrStartsAGame) {
  std::atexit(failIfMidTest);
  TitleState title;
  title.selection = 1;
  keys["enter"] = true;
  title.update(&keys, kFrame);
  EXPECT_TRUE(title.showInfo);
  EXPECT_FALSE(keys["enter"]);

  keys["esc"] = true;
  title.update(&keys, kFrame);
  title.update(&keys, kFrame);
  EXPECT_FALSE(title.showInfo);
  EXPECT_EQ(title.selection, 1);

  title.selection = 0;
  keys["enter"] = true;
  title.update(&keys, kFrame);
  EXPECT_EQ(popCount, 1);
  EXPECT_TRUE(isA<PlayState>(pendingState));
  EXPECT_TRUE(keys["enter"]) << "the new game's first update sees it";
  EXPECT_EQ(textureCache->count("title.png"), 0u);
  EXPECT_EQ(timesPlayed("select2.wav"), 3);
}

TEST_F(ScreensTest, TitleEscOrQuitItemEndsTheProcessWithStatusZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto choose = [&](int selection, const char* key) {
    TitleState title;
    title.selection = selection;
    keys[key] = true;
    title.update(&keys, kFrame);
  };
  EXPECT_EXIT(choose(0, "esc"), testing::ExitedWithCode(0), "");
  EXPECT_EXIT(choose(2, "enter"), testing::ExitedWithCode(0), "");
}

TEST_F(ScreensTest, PauseEscAndEnterResumeOrQuitToTitleWhichPrevails) {
  struct Case {
    int selection;
    const char* key;
    int pops, select2Plays;
  };
  Case cases[] = {{0, "esc", 1, 0}, {1, "esc", 1, 0}, {0, "enter", 1, 1}, {1, "enter", 2, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.key << " on item " << c.selection);
    PauseState pause;
    pause.selection = c.selection;
    keys[c.key] = true;
    pause.update(&keys, kFrame);
    EXPECT_EQ(popCount, c.pops);
    EXPECT_FALSE(keys[c.key]);
    EXPECT_EQ(isA<TitleState>(pendingState), c.pops == 2);
    EXPECT_EQ(timesPlayed("select2.wav"), c.select2Plays);
    clearEngine();
  }

  // Both in one frame, through the engine: quitting prevails, and the new
  // title menu does not see the "esc", which would quit the program.
  std::atexit(failIfMidTest);
  stateStack->push_back(new PlayState);
  PauseState* pause = new PauseState;
  pause->selection = 1;
  stateStack->push_back(pause);
  (*inputMap)["enter"] = (*inputMap)["esc"] = true;
  updateStates(kFrame);
  updateStates(kFrame);
  ASSERT_EQ(stateStack->size(), 1u);
  EXPECT_TRUE(isA<TitleState>(top()));
  EXPECT_FALSE((*inputMap)["esc"]);
}

void frames(int count) {
  for (int i = 0; i < count; i++) {
    advanceFakeTime(kFrameMs);
    runFrame();
  }
}

bool onInfoPage(State* state) {
  return isA<TitleState>(state) && static_cast<TitleState*>(state)->showInfo;
}

// Each key goes down for a few frames, then up for a few; then the top screen
// must be the one given.
void play(const std::vector<std::pair<const char*, bool (*)(State*)>>& script) {
  for (const auto& step : script) {
    (*inputMap)[step.first] = true;
    frames(3);
    (*inputMap)[step.first] = false;
    frames(3);
    ASSERT_TRUE(step.second(top())) << "after " << step.first;
  }
}

// The leak check runs this too: it starts and ends as the real program does.
TEST(WholeGame, EveryScreenInTurnAndBackToTheTitle) {
  std::atexit(failIfMidTest);
  useFakeClock(1000);
  initEngine();
  ASSERT_TRUE(isA<SplashState>(top()));
  play({{"esc", isA<TitleState>}, {"down", isA<TitleState>}, {"enter", onInfoPage}});
  play({{"esc", isA<TitleState>}, {"up", isA<TitleState>}, {"enter", isA<PlayState>}});
  play({{"esc", isA<PauseState>}, {"esc", isA<PlayState>}, {"menu", isA<PauseState>}});
  play({{"down", isA<PauseState>}, {"enter", isA<TitleState>}, {"enter", isA<PlayState>}});
  EXPECT_EQ(stateStack->size(), 1u);

  for (int death = 1; death <= 4; death++) {
    PlayState* game = static_cast<PlayState*>(top());
    game->ship->setColour(kRed);
    Asteroid* rock = new Asteroid(game->ship->x, game->ship->y, 32);
    rock->vx = rock->vy = rock->spin = 0;
    rock->setColour(kRed);
    game->asteroids->push_back(rock);
    frames(1);
    ASSERT_EQ(game->lives, 3 - death);
  }
  frames(1);
  ASSERT_TRUE(isA<FailState>(top()));
  EXPECT_FALSE(Mix_PlayingMusic());
  play({{"enter", isA<TitleState>}});
  EXPECT_EQ(stateStack->size(), 1u);
  EXPECT_TRUE(Mix_PlayingMusic());
}

}  // namespace
