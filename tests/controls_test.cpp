#include <SDL.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <vector>

#include "audio/audio.h"
#include "engine/engine.h"
#include "screens/fail_state.h"
#include "screens/splash_state.h"
#include "screens/title_state.h"
#include "support/scene.h"

namespace {

typedef Scene Controls;

// The keys of the README's Controls table.
const SDLKey kGameKeys[] = {SDLK_RETURN, SDLK_KP_ENTER, SDLK_ESCAPE, SDLK_SPACE, SDLK_p,
                            SDLK_w,      SDLK_a,        SDLK_s,      SDLK_d,     SDLK_UP,
                            SDLK_DOWN,   SDLK_LEFT,     SDLK_RIGHT};
// Keys a player may well press that the game does not know.
const SDLKey kOtherKeys[] = {SDLK_q, SDLK_F1, SDLK_TAB, SDLK_KP8};

void send(Uint8 type, SDLKey key) {
  SDL_Event sent = {};
  sent.type = sent.key.type = type;
  sent.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  sent.key.keysym.sym = key;
  ASSERT_EQ(SDL_PushEvent(&sent), 0);
}

// The key pressed as SDL delivers it, held for 64 ms and let go, with nothing
// else held; then the screens, the effects heard, and the ship's heading,
// velocity and shots when a game is on.
std::string press(SDLKey key) {
  inputMap->clear();
  send(SDL_KEYDOWN, key);
  Sounds sounds = runFrames(8);
  send(SDL_KEYUP, key);
  for (const std::string& sound : runFrames(2)) sounds.push_back(sound);
  std::ostringstream seen;
  seen << describe(sounds);
  for (State* screen : *stateStack)
    if (auto* game = dynamic_cast<PlayState*>(screen))
      seen << "; ship heading " << game->ship->angle << ", moving " << game->ship->vx << ","
           << game->ship->vy << ", shots " << game->ship->bullets->size();
  return seen.str();
}

// A fresh game: its ship heads straight up, drifting 0.3 units a tick.
const std::string kShip = "; ship heading 0, moving 0,0.3, shots 0";
const std::string kNewTitle = "music; title, cursor on Start game";

struct Screen {
  const char* name;
  std::function<void()> show;
  std::string untouched;  // after any key not listed
  std::vector<std::pair<std::vector<SDLKey>, std::string>> effects;
};

// Each key on each screen, pressed as the real key: Up and W, Down and S,
// Left and A, Right and D, Enter on either keyboard, and Esc and P in play do
// the same, and every other key does nothing. Holding a key acts once, except
// that turning and thrust go on while it is held: 250 degrees and 5 units a
// tick a second, so 16 degrees and 0.32 units in 64 ms. The cards take a step
// every 10 ms, one percent, until a key cuts them short.
TEST_F(Controls, EveryKeyActsAsTheTableSaysOnEachScreenAndNoOtherKeyActs) {
  const std::string game = "play, 3 spares", paused = game + "; pause, cursor on ";
  const Screen screens[] = {
      {"the title menu",
       [] { setScreens({new TitleState}); },
       "title, cursor on Start game",
       {{{SDLK_UP, SDLK_w}, "title, cursor on Quit; heard select1.wav"},
        {{SDLK_DOWN, SDLK_s}, "title, cursor on How to play; heard select1.wav"},
        {{SDLK_RETURN, SDLK_KP_ENTER}, game + "; heard select2.wav" + kShip},
        // Quitting ends the process: the end-to-end tests see it.
        {{SDLK_ESCAPE}, "quit"}}},
      {"the information page",
       [] {
         TitleState* title = new TitleState;
         title->showInfo = true;
         setScreens({title});
       },
       "information page",
       {{{SDLK_RETURN, SDLK_KP_ENTER, SDLK_ESCAPE},
         "title, cursor on Start game; heard select2.wav"}}},
      {"play",
       [] { setScreens({new PlayState}); },
       game + kShip,
       {{{SDLK_LEFT, SDLK_a}, game + "; ship heading 344, moving 0,0.3, shots 0"},
        {{SDLK_RIGHT, SDLK_d}, game + "; ship heading 16, moving 0,0.3, shots 0"},
        {{SDLK_UP, SDLK_w}, game + "; ship heading 0, moving 0,0.62, shots 0"},
        {{SDLK_SPACE}, game + "; heard fire.wav; ship heading 0, moving 0,0.3, shots 1"},
        {{SDLK_p, SDLK_ESCAPE}, paused + "Resume; heard select2.wav" + kShip}}},
      {"the pause menu, cursor on its last item",
       [] {
         setScreens({new PlayState});
         hold("esc", 2);
         hold("down");
         hold("");
       },
       paused + "Quit to title" + kShip,
       {{{SDLK_UP, SDLK_w, SDLK_DOWN, SDLK_s}, paused + "Resume; heard select1.wav" + kShip},
        {{SDLK_RETURN, SDLK_KP_ENTER}, kNewTitle + "; heard select2.wav"},
        {{SDLK_ESCAPE}, game + kShip}}},
      {"the opening card",
       [] { setScreens({new SplashState}); },
       "splash at 5%",
       {{{SDLK_RETURN, SDLK_KP_ENTER, SDLK_ESCAPE}, kNewTitle}}},
      {"the game-over card",
       [] { setScreens({new FailState}); },
       "game over at 5%",
       {{{SDLK_RETURN, SDLK_KP_ENTER, SDLK_ESCAPE}, kNewTitle}}},
  };
  std::vector<SDLKey> keys(std::begin(kGameKeys), std::end(kGameKeys));
  keys.insert(keys.end(), std::begin(kOtherKeys), std::end(kOtherKeys));
  for (const Screen& screen : screens) {
    for (SDLKey key : keys) {
      std::string expected = screen.untouched;
      for (const auto& [acting, effect] : screen.effects)
        if (std::find(acting.begin(), acting.end(), key) != acting.end()) expected = effect;
      if (expected == "quit") continue;
      screen.show();
      stopMusic();
      EXPECT_EQ(press(key), expected)
          << SDL_GetKeyName(key) << " (SDL key " << key << ") on " << screen.name;
    }
  }
  // No key beyond the table's has a name in the game.
  const std::set<int> named(std::begin(kGameKeys), std::end(kGameKeys));
  for (int sym = 0; sym < SDLK_LAST; sym++) {
    if (named.count(sym)) continue;
    EXPECT_EQ(keyName(sym), nullptr) << SDL_GetKeyName(SDLKey(sym));
  }
}

}  // namespace
