#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
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

// Runs the engine's updates with just these keys down. Several, so that a key
// left set reaches the next screen: the title menu starts a game on "enter" and
// quits on "esc"; the game opens the pause menu on "esc".
void updateWith(const std::vector<const char*>& pressed, int updates) {
  inputMap->clear();
  for (const char* key : pressed) (*inputMap)[key] = true;
  for (int i = 0; i < updates; i++) updateStates(kFrame);
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

  // A whole fade, the clock alone deciding each step; then skips through the
  // engine, after keys that must not skip.
  template <class Fade>
  void checkFade(const char* image) {
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
    EXPECT_EQ(alpha[250], 0.0f);
    EXPECT_EQ(popCount, 1);
    EXPECT_EQ(textureCache->count(image), 0u);
    clearEngine();

    for (auto pressed : {std::vector<const char*>{"esc"}, {"enter"}, {"esc", "enter"}}) {
      SCOPED_TRACE(pressed.size() == 2 ? "both" : pressed[0]);
      Fade* skipped = new Fade;
      stateStack->push_back(skipped);
      advanceFakeTime(10);
      updateWith({"space", "up", "down", "left", "right", "menu"}, 1);
      EXPECT_EQ(skipped->step, 1) << "only esc and enter skip";
      advanceFakeTime(10);
      updateWith(pressed, 3);
      ASSERT_EQ(stateStack->size(), 1u);
      EXPECT_TRUE(isA<TitleState>(top()));
      clearEngine();
    }
  }

  InputMap keys;
};

TEST_F(ScreensTest, FadesStepEvery10msPeakAtStep99EndAt250AndSkipOnlyOnEscOrEnter) {
  std::atexit(failIfMidTest);
  checkFade<SplashState>("splash.png");
  checkFade<FailState>("fail.png");
}

// The title and pause menus share the cursor code, tested here through the title.
TEST_F(ScreensTest, MenuCursorMovesOncePerPressUpFirstAndWraps) {
  // One update per letter, holding "up" (u), "down" (d), both (b) or neither (-); then the
  // selection expected after each.
  auto hold = [&](auto& menu, const std::string& held, const std::string& selections) {
    for (size_t i = 0; i < held.size(); i++) {
      keys["up"] = held[i] == 'u' || held[i] == 'b';
      keys["down"] = held[i] == 'd' || held[i] == 'b';
      menu.update(&keys, kFrame);
      EXPECT_EQ(menu.selection, selections[i] - '0') << "update " << i;
    }
  };
  TitleState title;
  hold(title, "dd-d-d-uu-b", "11122002221");
  // The pause menu starts locked: the key that opened it may still be down.
  PauseState pause;
  hold(pause, "d-d", "001");
}

TEST_F(ScreensTest, TitleEscOrQuitItemEndsTheProcessWithStatusZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TitleState title;
  keys["esc"] = true;
  EXPECT_EXIT(title.update(&keys, kFrame), testing::ExitedWithCode(0), "");
  title.selection = 2;
  keys = {{"enter", true}};
  EXPECT_EXIT(title.update(&keys, kFrame), testing::ExitedWithCode(0), "");
}

// Over a game, through the engine. With "esc" too, quitting prevails: a resume
// would leave the abandoned game under the new title menu.
TEST_F(ScreensTest, PauseResumesOnEscOrFirstItemElseQuitsToANewTitle) {
  std::atexit(failIfMidTest);
  using Case = std::tuple<int, std::vector<const char*>, bool>;
  for (const auto& [selection, pressed, quits] :
       {Case{0, {"esc"}, false}, Case{1, {"esc"}, false}, Case{0, {"enter"}, false},
        Case{1, {"enter"}, true}, Case{1, {"enter", "esc"}, true}}) {
    SCOPED_TRACE(testing::Message() << pressed.back() << " on item " << selection);
    stateStack->push_back(new PlayState);
    PauseState* pause = new PauseState;
    pause->selection = selection;
    stateStack->push_back(pause);
    updateWith(pressed, 3);
    ASSERT_EQ(stateStack->size(), 1u);
    EXPECT_EQ(isA<TitleState>(top()), quits);
    EXPECT_EQ(isA<PlayState>(top()), !quits);
    clearEngine();
  }
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

  // The last life ends on a rock of the ship's colour; play_state_test counts the lives.
  PlayState* game = static_cast<PlayState*>(top());
  game->lives = 0;
  game->ship->setColour(kRed);
  Asteroid* rock = new Asteroid(game->ship->x, game->ship->y, 32);
  rock->setColour(kRed);
  game->asteroids->push_back(rock);
  frames(2);
  ASSERT_TRUE(isA<FailState>(top()));
  EXPECT_FALSE(Mix_PlayingMusic());
  play({{"enter", isA<TitleState>}});
  EXPECT_EQ(stateStack->size(), 1u);
  EXPECT_TRUE(Mix_PlayingMusic());
}

}  // namespace
