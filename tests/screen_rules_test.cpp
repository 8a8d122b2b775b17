#include <cmath>
#include <cstring>
#include <new>
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
      {"down", "information", "resume"},    {"down", "information", "resume"},
      {"down up", "information", "resume"}, {"", "information", "resume"},
      {"down", "quit", "quit to title"},    {"", "quit", "quit to title"},
      {"down", "start", "resume"},          {"", "start", "resume"},
      {"up", "quit", "quit to title"},      {"", "quit", "quit to title"},
      {"up down", "information", "resume"},
  };
  for (bool title : {true, false}) {
    setScreens({title ? static_cast<State*>(new TitleState) : new PauseState});
    const std::string menu = title ? "music; title, cursor on " : "music; pause, cursor on ";
    std::string was = title ? "start" : "resume";
    for (auto [keys, onTitle, onPause] : script) {
      const std::string item = title ? onTitle : onPause;
      const std::string click = item == was ? "" : "; heard select1.wav";
      EXPECT_EQ(describe(hold(keys)), menu + item + click) << "'" << keys << "' from " << was;
      was = item;
    }
  }
}

// Each menu opens on its first item even when built where a freed screen left
// its bytes, as happens when the title returns after a game.
TEST_F(ScreenRules, EachMenuOpensOnItsFirstItemOverStaleMemory) {
  alignas(TitleState) unsigned char title[sizeof(TitleState)];
  alignas(PauseState) unsigned char pause[sizeof(PauseState)];
  std::memset(title, 0xff, sizeof title);
  std::memset(pause, 0xff, sizeof pause);
  TitleState* onTitle = new (title) TitleState;
  PauseState* onPause = new (pause) PauseState;
  EXPECT_EQ(std::pair(onTitle->selection, onPause->selection), std::pair(0, 0));
  onTitle->~TitleState();
  onPause->~PauseState();
}

// The title's and the information page's pictures are 512 pixels square and
// the pause menu's panel 256, all centred in the window and
// square to it. The stars rise 250
// pixels a second; one that leaves the top comes back at the bottom, in a new
// column.
TEST_F(ScreenRules, ThePagesAreCentredAndTheStarsRise) {
  TitleState* title;
  PauseState pause;
  setScreens({title = new TitleState});
  for (auto [s, size] : {std::pair{title->title, 512}, {title->info, 512}, {pause.menu, 256}})
    EXPECT_EQ(std::tuple(s->x, s->y, s->width, s->height, s->angle),
              std::tuple(320.f, 240.f, size, size, 0.f));
  title->stars[0]->y = 100;
  title->stars[1]->y = 1;
  title->stars[1]->x = 640;
  hold("");
  EXPECT_NEAR(title->stars[0]->y, 98, 1e-4);
  EXPECT_NEAR(title->stars[1]->y, 479, 1e-4);
  EXPECT_LT(title->stars[1]->x, 640);
}

// After a stall of 20 s, a card's fade goes on by one step, as after any
// frame, and the title's stars rise as in a frame of 50 ms: 12.5 pixels.
TEST_F(ScreenRules, AfterAStallTheCardsTakeOneStepAndTheStarsRiseAsIn50Ms) {
  for (auto [card, shows] : {std::pair<State*, const char*>{new SplashState, "splash at 11%"},
                             {new FailState, "game over at 11%"}}) {
    setScreens({card});
    hold("", 20);  // a step every second frame
    advanceFakeTime(20000);
    EXPECT_EQ(describe(hold("")), shows);
  }
  TitleState* title;
  setScreens({title = new TitleState});
  title->stars[0]->y = 100;
  advanceFakeTime(20000);
  hold("");
  EXPECT_NEAR(title->stars[0]->y, 87.5, 1e-4);
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
  EXPECT_EQ(describe(hold("up left space", 30)), "play, 3 spares; pause, cursor on resume");
  EXPECT_EQ(now(), frozen);
  drawStates();
  // The game's 52 sprites, its shot among them, and the menu's 2.
  EXPECT_EQ(renderQueue->sprites.size(), 54u);
  hold("esc", 2);
  EXPECT_NE(now(), frozen);
}

}  // namespace
