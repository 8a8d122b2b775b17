#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "engine/engine.h"
#include "game/colours.h"
#include "game/play_state.h"
#include "gfx/render_queue.h"
#include "gfx/texture.h"
#include "screens/fade.h"
#include "screens/pause_state.h"
#include "screens/title_state.h"
#include "support/test_window.h"

namespace {

std::string sounds;  // every effect started since the last look, frame by frame

void frames(int count) {
  for (int i = 0; i < count; i++) {
    advanceFakeTime(kFrameMs);
    runFrame();
    for (const std::string& name : heard()) sounds += " " + name.substr(0, name.find('.'));
  }
}

const char* colourName(const Sprite& s) {
  const std::pair<const float*, const char*> names[] = {
      {kRed, "red"}, {kGreen, "green"}, {kBlue, "blue"}, {kYellow, "yellow"}, {kWhite, "white"}};
  for (auto [colour, name] : names) {
    if (s.red == colour[0] && s.green == colour[1] && s.blue == colour[2]) return name;
  }
  return "mixed";
}

// Place, size, turn, opacity and colour.
std::string show(const Sprite& s) {
  char text[96];
  std::snprintf(text, sizeof text, "%.4g,%.4g %dx%d %g %.2g %s", s.x, s.y, s.width, s.height,
                s.angle, s.alpha, colourName(s));
  return text;
}

// A field summed over the sprites, so that any one amiss shows.
template <class List>
double sum(const List& sprites, float Sprite::*field, double scale = 1) {
  double total = 0;
  for (const Sprite* s : sprites) total += s->*field * scale;
  return total;
}

// What a player sees and hears of the top screen, in short: the depth of the
// stack, the screen, the number of sprites it draws, the music and the effects
// heard. In play: the ship, its velocity, the lives, the rocks (places, turns
// and tints summed) and the shots.
std::string describe() {
  State* top = stateStack->back();
  RenderQueue queue;
  top->draw(&queue);
  std::ostringstream out;
  char text[256] = "";
  out << stateStack->size() << " ";
  if (auto* card = dynamic_cast<FadeCard*>(top)) {
    out << card->imageName << " " << card->step << " " << show(*card->picture);
  } else if (auto* title = dynamic_cast<TitleState*>(top)) {
    std::snprintf(text, sizeof text, " *%.5g,%.5g", sum(title->stars, &Sprite::x),
                  sum(title->stars, &Sprite::y));
    out << (title->showInfo ? "info " : "title ") << show(*title->arrow);
  } else if (auto* pause = dynamic_cast<PauseState*>(top)) {
    out << "pause " << show(*pause->menu) << " " << show(*pause->arrow);
  } else if (auto* play = dynamic_cast<PlayState*>(top)) {
    const Ship& ship = *play->ship;
    const auto& rocks = *play->asteroids;
    std::snprintf(
        text, sizeof text, "%.4g,%.4g %g %s v%.4g,%.4g L%d R%zu@%.4g,%.4g/%.4g/%.3g S%zu@%.4g,%.4g",
        ship.x, ship.y, ship.angle, colourName(ship), ship.vx, ship.vy, play->lives, rocks.size(),
        sum(rocks, &Sprite::x), sum(rocks, &Sprite::y), sum(rocks, &Sprite::angle),
        sum(rocks, &Sprite::red) + sum(rocks, &Sprite::green, 2) + sum(rocks, &Sprite::blue, 4),
        ship.bullets->size(), sum(*ship.bullets, &Sprite::x), sum(*ship.bullets, &Sprite::y));
  }
  out << text << " d" << queue.sprites.size() << (Mix_PlayingMusic() ? " m:" : ":")
      << std::exchange(sounds, "");
  return out.str();
}

// Releases every key for a frame, presses these (names, space-separated) and
// holds them for so many frames; then the top screen must look so. A failure
// prints the whole description, to be read against the rules or, when the game
// was meant to change, copied in.
struct Step {
  const char* keys;
  int frames;
  const char* shows;
};

void journey(const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    inputMap->clear();
    frames(1);
    std::istringstream keys(step.keys);
    for (std::string key; keys >> key;) (*inputMap)[key] = true;
    frames(step.frames);
    EXPECT_EQ(describe(), step.shows)
        << "after " << step.frames << " frames of '" << step.keys << "'";
  }
}

PlayState* game() { return static_cast<PlayState*>(stateStack->back()); }

// A still big rock dy above the ship, in the colour the ship takes.
void rockAboveShip(float dy, const float colour[3]) {
  Ship& ship = *game()->ship;
  Asteroid* rock = new Asteroid(ship.x, ship.y - dy, 32);
  rock->vx = rock->vy = rock->spin = 0;
  rock->setColour(colour);
  ship.setColour(colour);
  game()->asteroids->push_back(rock);
}

// Starts and ends as the real program does; the leak check runs it too.
TEST(WholeGame, EveryScreenInTurnAsThePlayerSeesAndHearsIt) {
  useFakeClock(1000);
  testing::internal::CaptureStderr();
  // A crash or an exit must end the process, not wait in SDL's clean-up for the
  // audio lock that the test holds.
  std::signal(SIGSEGV, [](int) { std::_Exit(128 + SIGSEGV); });
  initEngine();
  // A screen that wrongly quits exits with status 0, which ctest would count as a pass.
  std::atexit([] {
    if (testing::UnitTest::GetInstance()->current_test_info()) std::_Exit(1);
  });
  SDL_LockAudio();
  lastTick = 995;
  runFrame();
  EXPECT_EQ(fakeTime(), 1001u) << "a frame not yet due sleeps 1 ms";
  // The pictures of play are loaded before the first frame.
  for (const char* name : {"asteroid.png", "bullet.png", "ship.png", "splash.png"})
    EXPECT_EQ(textureCache->count(name), 1u) << name;
  journey({
      {"space up down left right menu", 197, "1 splash.png 99 320,240 512x512 0 0.99 white d1:"},
      {"", 201, "1 splash.png 200 320,240 512x512 0 0.49 white d1:"},
      {"", 249, "1 title 260,285 16x16 0 1 white *15175,9710 d42 m:"},
      {"up", 3, "1 title 260,369 16x16 0 1 white *15047,9870 d42 m: select1"},
      {"down", 3, "1 title 260,285 16x16 0 1 white *15047,9550 d42 m: select1"},
      {"up down", 3, "1 title 260,369 16x16 0 1 white *15047,9230 d42 m: select1"},
      {"up", 3, "1 title 260,327 16x16 0 1 white *14780,9390 d42 m: select1"},
      {"enter", 3, "1 info 260,327 16x16 0 1 white *14780,9070 d41 m: select2"},
      {"esc", 3, "1 title 260,327 16x16 0 1 white *14780,8750 d42 m: select2"},
      {"up", 3, "1 title 260,285 16x16 0 1 white *14780,8430 d42 m: select1"},
      {"enter", 3, "1 320,279.4 0 white v0,0.3 L3 R3@982,687.3/421.1/4.5 S0@0,0 d51 m: select2"},
  });
  std::string layout;
  for (const Sprite* s : {static_cast<Sprite*>(game()->ship), game()->stars[0], game()->borderTop,
                          game()->borderBottom, game()->borderLeft, game()->borderRight,
                          game()->lifeIcons[0], game()->lifeIcons[2]})
    layout += show(*s) + "; ";
  EXPECT_EQ(layout,
            "320,279.4 16x16 0 1 white; 102,357 2x2 0 1 white; 320,8 625x2 0 1 red; 320,471 625x2 "
            "0 1 green; 8,240 2x465 0 1 blue; 632,240 2x465 0 1 yellow; 20,460 16x16 0 1 white; "
            "60,460 16x16 0 1 white; ");
  journey({
      {"up", 160, "1 320,311 0 red v0,4 L3 R3@263.5,551.2/266.5/4.5 S0@0,0 d51 m: switch"},
      {"right space", 30,
       "1 320,192 60 red v0,4 L3 R3@889.3,524.9/236.8/4.5 S1@325,48.09 d52 m: fire"},
      {"left up space", 150,
       "1 325.5,262.9 120 white v0.561,-0.4445 L2 R3@815.6,877.7/91.8/4.5 S0@0,0 d50 m: fire "
       "switch death"},
      {"right space", 150,
       "1 406.8,327.4 60 white v0.561,-0.4445 L2 R3@742,750/-53.16/4.5 S0@0,0 d50 m: fire"},
      {"up", 120,
       "1 65.28,239.6 60 yellow v4,1.955 L2 R3@1324,647.6/-169.3/4.5 S0@0,0 d50 m: switch"},
      {"right", 83, "1 387.8,81.92 226 yellow v4,1.955 L2 R3@1283,576.6/-250/4.5 S0@0,0 d50 m:"},
      {"up", 300,
       "1 304.2,142.1 226 green v-4,-4 L2 R3@1137,802.6/-538.9/4.5 S0@0,0 d50 m: switch switch "
       "switch"},
      {"esc", 3, "2 pause 320,240 256x256 0 1 white 260,220 16x16 0 1 white d2 m: select2"},
      {"enter", 3,
       "1 288.8,157.4 226 green v-4,-4 L2 R3@1135,799.3/-542.8/4.5 S0@0,0 d50 m: select2"},
      {"menu", 3, "2 pause 320,240 256x256 0 1 white 260,220 16x16 0 1 white d2 m: select2"},
      {"esc", 3, "1 273.5,172.8 226 green v-4,-4 L2 R3@1133,795.9/-546.6/4.5 S0@0,0 d50 m:"},
      {"menu down", 3, "2 pause 320,240 256x256 0 1 white 260,220 16x16 0 1 white d2 m: select2"},
      {"down", 3, "2 pause 320,240 256x256 0 1 white 260,262 16x16 0 1 white d2 m: select1"},
      {"enter esc", 3, "1 title 260,285 16x16 0 1 white *11260,9387 d42 m: select2"},
      {"enter", 3, "1 320,279.4 0 white v0,0.3 L3 R3@1136,723.1/584.2/8.1 S0@0,0 d51 m: select2"},
  });
  // Scenes laid out in the second game: a shot that splits a rock, a cleared
  // field, a death, and the last death.
  rockAboveShip(40, kYellow);
  journey(
      {{"space", 8,
        "1 320,276.8 0 yellow v0,0.3 L3 R6@2089,1454/1195/12.6 S1@320,238.4 d55 m: fire explode"}});
  for (Asteroid* rock : *game()->asteroids) delete rock;
  game()->asteroids->clear();
  journey({{"", 400, "1 320,161.3 0 white v0,0.3 L3 R6@1793,1357/-604.4/18.3 S0@0,0 d54 m: win"}});
  rockAboveShip(0, kRed);
  journey({{"", 1, "1 320,259.7 0 white v0,0.3 L2 R7@2115,1517/-377.3/19.3 S0@0,0 d54 m: death"}});
  rockAboveShip(0, kRed);
  game()->lives = 0;
  journey({{"", 1, "1 fail.png 0 320,240 512x512 0 0 white d1: death"},
           {"enter", 3, "1 title 260,285 16x16 0 1 white *11679,11860 d42 m:"}});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "every effect played";
  EXPECT_EQ(textureCache->count("fail.png"), 0u);
  SDL_UnlockAudio();
}

}  // namespace
