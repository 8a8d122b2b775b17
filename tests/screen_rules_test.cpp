#include <algorithm>
#include <cmath>
#include <tuple>

#include "engine/engine.h"
#include "gfx/render_queue.h"
#include "screens/fail_state.h"
#include "screens/pause_state.h"
#include "screens/splash_state.h"
#include "screens/title_state.h"
#include "support/scene.h"
#include "support/test_window.h"

namespace {

typedef Scene ScreenRules;

// One key script for both menus, each row a frame: the keys down and the item
// then under each menu's cursor. A press moves the cursor one item, with a
// click, however long it is held, wrapping from the last item to the first and
// back; it moves again only once "up" and "down" are both seen up. With both
// pressed, "up" wins. The pause menu opens locked, since its own key may still
// be down.
TEST_F(ScreenRules, TheCursorMovesOneItemAPressWrapsAndWaitsForBothKeysUp) {
  const std::tuple<const char*, const char*, const char*> script[] = {
      {"down", "How to play", "Resume"},    {"down", "How to play", "Resume"},
      {"down up", "How to play", "Resume"}, {"", "How to play", "Resume"},
      {"down", "Quit", "Quit to title"},    {"", "Quit", "Quit to title"},
      {"down", "Start game", "Resume"},     {"", "Start game", "Resume"},
      {"up", "Quit", "Quit to title"},      {"", "Quit", "Quit to title"},
      {"up down", "How to play", "Resume"},
  };
  for (bool title : {true, false}) {
    setScreens({title ? static_cast<State*>(new TitleState) : new PauseState});
    const std::string menu = title ? "music; title, cursor on " : "music; pause, cursor on ";
    std::string was = title ? "Start game" : "Resume";
    for (auto [keys, onTitle, onPause] : script) {
      const std::string item = title ? onTitle : onPause;
      const std::string click = item == was ? "" : "; heard select1.wav";
      EXPECT_EQ(describe(hold(keys)), menu + item + click) << "'" << keys << "' from " << was;
      was = item;
    }
  }
}

// The stars rise 250 pixels a second; one that leaves the top comes back at
// the bottom, in a new column.
TEST_F(ScreenRules, TheStarsRiseAndWrapIntoANewColumn) {
  TitleState* title;
  setScreens({title = new TitleState});
  title->stars[0]->y = 100;
  title->stars[1]->y = 1;
  title->stars[1]->x = 640;
  hold("");
  EXPECT_NEAR(title->stars[0]->y, 98, 1e-4);
  EXPECT_NEAR(title->stars[1]->y, 479, 1e-4);
  EXPECT_LT(title->stars[1]->x, 640);
}

// After a stall of 20 s, a card's fade goes on by one step, as after any frame.
TEST_F(ScreenRules, AfterAStallTheCardsTakeOneStep) {
  for (auto [card, shows] : {std::pair<State*, const char*>{new SplashState, "splash at 11%"},
                             {new FailState, "game over at 11%"}}) {
    setScreens({card});
    hold("", 20);  // a step every second frame
    advanceFakeTime(20000);
    EXPECT_EQ(describe(hold("")), shows);
  }
}

// Under the pause menu the game stands still, yet is drawn; it goes on from
// where it stood.
TEST_F(ScreenRules, ThePauseMenuFreezesTheGameUnderIt) {
  PlayState* game;
  setScreens({game = new PlayState});
  // The game still moves in the frame of the key; the menu covers it from the next.
  EXPECT_EQ(describe(hold("esc up left space")), "play, 3 spares; heard fire.wav select2.wav");
  auto now = [game] {
    const Sprite* s[] = {game->ship, game->ship->bullets->front(), game->asteroids->front()};
    return std::tuple(s[0]->x, s[0]->y, s[0]->angle, s[1]->x, s[1]->y, s[2]->x, s[2]->angle);
  };
  const auto frozen = now();
  // The keys still held, as far as the menu lets them be.
  EXPECT_EQ(describe(hold("up left space", 30)), "play, 3 spares; pause, cursor on Resume");
  EXPECT_EQ(now(), frozen);
  drawStates();
  // The ship under the menu's panel.
  const auto& drawn = renderQueue->sprites;
  const Sprite* panel = static_cast<PauseState*>(stateStack->back())->menu;
  EXPECT_LT(std::find(drawn.begin(), drawn.end(), game->ship),
            std::find(drawn.begin(), drawn.end(), panel));
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), panel), drawn.end());
  hold("esc", 2);
  EXPECT_NE(now(), frozen);
}

}  // namespace
