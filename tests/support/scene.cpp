#include "support/scene.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <sstream>

#include "engine/engine.h"
#include "game/colours.h"
#include "screens/fail_state.h"
#include "screens/menu_layout.h"
#include "screens/pause_state.h"
#include "screens/title_state.h"
#include "support/test_window.h"

void Scene::SetUp() {
  // A crash or an exit must end the process, not wait in SDL's clean-up for
  // the audio lock that the test holds.
  std::signal(SIGSEGV, [](int) { std::_Exit(128 + SIGSEGV); });
  useFakeClock(1000);
  initEngine();
  // A screen that wrongly quits exits with status 0, which ctest would count as a pass.
  std::atexit([] {
    if (testing::UnitTest::GetInstance()->current_test_info()) std::_Exit(1);
  });
  lastTick = fakeTime();
  // Held while frames run, so that no effect ends before heard() sees it.
  SDL_LockAudio();
  setUpScene();
}

void Scene::TearDown() { SDL_UnlockAudio(); }

void setScreens(std::initializer_list<State*> screens) {
  for (State* screen : *stateStack) delete screen;
  stateStack->assign(screens);
}

Sounds hold(const std::string& keys, int frames) {
  inputMap->clear();
  std::istringstream names(keys);
  for (std::string name; names >> name;) (*inputMap)[name] = true;
  return runFrames(frames);
}

Sounds runFrames(int frames) {
  Sounds sounds;
  for (int i = 0; i < frames; i++) {
    advanceFakeTime(kFrameMs);
    runFrame();
    for (const std::string& name : heard()) sounds.push_back(name);
  }
  return sounds;
}

void placeStill(PlayState* game, float x, float y, int size, const float colour[3]) {
  game->asteroids->push_back(new Asteroid(x, y, size));
  Asteroid* asteroid = game->asteroids->back();
  asteroid->vx = asteroid->vy = asteroid->spin = 0;
  asteroid->setColour(colour);
}

void meetTheLastShipsColour(PlayState* game) {
  game->lives = 0;
  game->ship->setColour(kRed);
  placeStill(game, game->ship->x, game->ship->y, 32, kRed);
}

namespace {

// The item whose row the menu's cursor is drawn at.
template <int count>
std::string pointedAt(const Sprite* arrow, const int (&rows)[count],
                      const char* const (&words)[count]) {
  const int* row = std::find(rows, rows + count, arrow->y);
  return row == rows + count ? "no item" : words[row - rows];
}

}  // namespace

std::string describe(const Sounds& sounds) {
  std::string out = Mix_PlayingMusic() ? "music" : "";
  for (State* screen : *stateStack) {
    out += out.empty() ? "" : "; ";
    if (auto* title = dynamic_cast<TitleState*>(screen))
      out += title->showInfo ? "information page"
                             : "title, cursor on " + pointedAt(title->arrow, TitleMenu::kCursorRows,
                                                               TitleMenu::kItemWords);
    else if (auto* pause = dynamic_cast<PauseState*>(screen))
      out += "pause, cursor on " +
             pointedAt(pause->arrow, PauseMenu::kCursorRows, PauseMenu::kItemWords);
    else if (auto* play = dynamic_cast<PlayState*>(screen))
      out += "play, " + std::to_string(play->lives) + " spares";
    else if (auto* card = dynamic_cast<FadeCard*>(screen))
      out += (dynamic_cast<FailState*>(screen) ? "game over at " : "splash at ") +
             std::to_string(std::lround(card->picture->alpha * 100)) + "%";
  }
  for (size_t i = 0; i < sounds.size(); i++) out += (i ? " " : "; heard ") + sounds[i];
  return out;
}
