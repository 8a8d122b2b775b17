#include "engine/engine.h"
#include "game/colours.h"
#include "support/scene.h"
#include "support/test_window.h"

namespace {

typedef Scene WholeGame;

// Starts as the real program does, and is played through every screen with the
// keys a player presses; the leak check runs it too.
TEST_F(WholeGame, SplashTitleInformationPlayPauseQuitPlayAgainGameOverAndTitle) {
  runFrame();
  EXPECT_EQ(fakeTime(), 1001u) << "a frame not yet due sleeps 1 ms";
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE) << "a mouse pointer over the game";
  // Keys held for so many frames 8 ms apart; the fades take a step every
  // second frame: 99 steps in, held to step 150, out by step 250. A key held
  // on the information page neither closes it again nor, back on the title,
  // chooses or quits.
  const std::tuple<const char*, int, const char*> steps[] = {
      {"", 198, "splash at 99%"},
      {"", 202, "splash at 49%"},
      {"", 101, "music; title, cursor on Start game"},
      {"down", 1, "music; title, cursor on How to play; heard select1.wav"},
      {"enter", 2, "music; information page; heard select2.wav"},
      {"enter", 2, "music; title, cursor on How to play; heard select2.wav"},
      {"up", 1, "music; title, cursor on Start game; heard select1.wav"},
      {"enter", 2, "music; play, 3 spares; heard select2.wav"},
      {"esc", 2, "music; play, 3 spares; pause, cursor on Resume; heard select2.wav"},
      {"down", 1, "music; play, 3 spares; pause, cursor on Quit to title; heard select1.wav"},
      {"enter", 2, "music; title, cursor on Start game; heard select2.wav"},
      {"enter", 2, "music; play, 3 spares; heard select2.wav"},
  };
  for (auto [keys, count, shows] : steps) EXPECT_EQ(describe(hold(keys, count)), shows) << keys;
  meetTheLastShipsColour(static_cast<PlayState*>(stateStack->back()));
  EXPECT_EQ(describe(hold("", 2)), "game over at 0%; heard death.wav");
  EXPECT_EQ(describe(hold("enter", 2)), "music; title, cursor on Start game");
}

}  // namespace
