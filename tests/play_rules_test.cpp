#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>

#include "audio/audio.h"
#include "engine/engine.h"
#include "engine/random.h"
#include "game/colours.h"
#include "gfx/render_queue.h"
#include "support/scene.h"
#include "support/test_window.h"

namespace {

// One step of float away from yellow: close is not the same colour.
const float kOffYellow[3] = {1, 1, std::nextafter(kYellow[2], 1.f)};

std::string colourOf(const Sprite& s) {
  const std::pair<const float*, const char*> names[] = {
      {kRed, "red"},       {kGreen, "green"},          {kBlue, "blue"},
      {kYellow, "yellow"}, {kOffYellow, "off-yellow"}, {kWhite, "white"}};
  for (auto [colour, name] : names)
    if (s.red == colour[0] && s.green == colour[1] && s.blue == colour[2]) return name;
  return "unnamed";
}

// Place and colour, as a player sees it, and the effects heard.
std::string where(const Sprite& s, const Sounds& sounds = {}) {
  std::ostringstream out;
  out << s.x << "," << s.y << " " << colourOf(s);
  for (const std::string& sound : sounds) out << " " << sound;
  return out.str();
}

// A new game alone on the stack, its ship still at its start, (320, 280), and
// its field empty. An empty field starts a new wave at the next frame, so the
// tests place still asteroids of their own.
class PlayRules : public Scene {
 protected:
  void setUpScene() override { newGame(); }
  void newGame() {
    setScreens({game = new PlayState});
    for (Asteroid* asteroid : *game->asteroids) delete asteroid;
    game->asteroids->clear();
    game->ship->vy = 0;
  }
  // Out of everyone's way: the wave goes on.
  void placeBystander() { placeStill(game, 600, 40, 16, kGreen); }
  PlayState* game;
};

// The example of the rules: a yellow shot passes through red, green and blue
// asteroids and destroys a yellow one. A shot keeps the colour the ship had
// when it fired, whatever the ship's colour later.
TEST_F(PlayRules, AShotDestroysOnlyAnAsteroidOfExactlyItsColour) {
  const std::pair<const float*, const char*> cases[] = {
      {kRed, "green blue yellow off-yellow "},       {kGreen, "red blue yellow off-yellow "},
      {kBlue, "red green yellow off-yellow "},       {kYellow, "red green blue off-yellow "},
      {kWhite, "red green blue yellow off-yellow "},
  };
  for (auto [shot, left] : cases) {
    newGame();
    // Small ones, in a column above the ship, which fires straight up.
    const float* column[] = {kRed, kGreen, kBlue, kYellow, kOffYellow};
    for (int i = 0; i < 5; i++) placeStill(game, 320, 240 - 40 * i, 16, column[i]);
    game->ship->setColour(shot);
    EXPECT_EQ(hold("space"), Sounds{"fire.wav"});
    game->ship->setColour(kWhite);
    hold("", 50);
    std::string field;
    for (const Asteroid* asteroid : *game->asteroids) field += colourOf(*asteroid) + " ";
    EXPECT_EQ(field, left);
  }
}

// Leaving through an edge brings the ship in at the opposite one, in the colour
// of the line along the edge it left by, and scatters the stars with a sound.
// Exactly on an edge is still inside; a corner takes two frames, x first.
TEST_F(PlayRules, TheShipWrapsAtEachEdgeTakingItsColour) {
  // From x, y at vx, vy (0.96 pixels a frame, vy > 0 up the window), for so many frames.
  const std::tuple<float, float, float, float, int, const char*> cases[] = {
      {640, 240, 1, 0, 1, "0,240 yellow switch.wav"},
      {0, 240, -1, 0, 1, "640,240 blue switch.wav"},
      {320, 480, 0, -1, 1, "320,0 green switch.wav"},
      {320, 0, 0, 1, 1, "320,480 red switch.wav"},
      {640, 480, 0, 0, 1, "640,480 white"},
      {0, 0, 0, 0, 1, "0,0 white"},
      {640, 0, 1, 1, 1, "0,-0.96 yellow switch.wav"},
      {640, 0, 1, 1, 2, "0.96,480 red switch.wav switch.wav"},
  };
  placeBystander();
  Ship& ship = *game->ship;
  for (auto [x, y, vx, vy, count, after] : cases) {
    ship.setColour(kWhite);
    ship.x = x, ship.y = y, ship.vx = vx, ship.vy = vy;
    EXPECT_EQ(where(ship, hold("", count)), after) << "from " << x << "," << y;
  }
}

// Where it was, cut to whole pixels. The shot that hit flies on.
TEST_F(PlayRules, ABigAsteroidSplitsIntoThreeSmallOnesAndASmallOneVanishes) {
  for (auto [size, left] : {std::pair{32, "16x16 at 100,200; 16x16 at 100,200; 16x16 at 100,200; "},
                            std::pair{16, ""}}) {
    newGame();
    placeStill(game, 100.7f, 200.2f, size, kRed);
    game->ship->bullets->push_back(new Bullet(100.7f, 200.2f, 0, 0, 0, kRed));
    placeBystander();
    EXPECT_EQ(hold("", 1), Sounds{"explode.wav"});
    std::ostringstream field;  // after the bystander, which the hit moved to the front
    for (auto a = game->asteroids->begin() + 1; a < game->asteroids->end(); a++)
      field << (*a)->width << "x" << (*a)->height << " at " << (*a)->x << "," << (*a)->y << "; ";
    EXPECT_EQ(field.str(), left) << "a hit on a " << size << "-pixel asteroid";
    EXPECT_EQ(game->ship->bullets->size(), 1u);
  }
}

// The first wave has three big asteroids, each new one three more; the ship
// keeps its place and turns white, so that it is safe even from a wave that
// lands on it: here every asteroid is drawn red, on the ship.
TEST_F(PlayRules, AClearedFieldStartsAWaveThreeLargerWithAWhiteShip) {
  // A wave asteroid's seven draws: x, y, then speed, heading, turn, spin and colour.
  static const int32_t kRedOnTheShip[] = {320, 280, 0, 0, 0, 0, 0};
  static size_t draws;
  for (size_t size : {6, 9, 12}) {
    game->ship->setColour(kRed);
    placeStill(game, 100, 100, 16, kRed);
    game->ship->bullets->push_back(new Bullet(100, 100, 0, 0, 0, kRed));
    draws = 0;
    setRandomSource([] { return kRedOnTheShip[draws++ % 7]; });
    EXPECT_EQ(hold("", 1), (Sounds{"explode.wav", "win.wav"}));
    EXPECT_EQ(game->asteroids->size(), size);
    EXPECT_EQ(where(*game->asteroids->back()), "320,280 red");
    EXPECT_EQ(game->asteroids->back()->width, 32);
    EXPECT_EQ(where(*game->ship, hold("", 1)), "320,280 white") << "unharmed";
    EXPECT_EQ(game->lives, 3);
    for (Asteroid* asteroid : *game->asteroids) delete asteroid;
    game->asteroids->clear();
  }
  setRandomSource(nullptr);
}

// An asteroid destroys the ship only when both have exactly the same colour: a
// white ship is touched by nothing. A death costs a spare ship (a game starts
// with three, shown as icons); the ship comes back white at (320, 260),
// drifting up, and the asteroid flies on. The fourth death stops the music and
// brings the game-over card.
TEST_F(PlayRules, AnAsteroidDestroysOnlyAShipOfItsColourAndTheFourthDeathEndsTheGame) {
  playMusic();
  placeStill(game, 320, 280, 32, kRed);
  placeStill(game, 320, 280, 32, kOffYellow);
  // The ship's colour as it touches both, and the spare ships then left.
  const std::pair<const float*, int> touches[] = {
      {kWhite, 3}, {kGreen, 3}, {kBlue, 3}, {kYellow, 3},
      {kRed, 2},   {kRed, 1},   {kRed, 0},  {kRed, -1},
  };
  for (auto [colour, spares] : touches) {
    game->ship->setColour(colour);
    const std::string ship = colourOf(*game->ship);
    EXPECT_EQ(hold("", 1), spares < 3 ? Sounds{"death.wav"} : Sounds{}) << ship;
    EXPECT_EQ(game->lives, spares) << ship;
    if (spares == 3) continue;
    RenderQueue queue;
    game->draw(&queue);
    const auto isIcon = [this](const Sprite* s) {
      return std::count(std::begin(game->lifeIcons), std::end(game->lifeIcons), s) > 0;
    };
    EXPECT_EQ(std::count_if(queue.sprites.begin(), queue.sprites.end(), isIcon),
              std::max(spares, 0))
        << "an icon for each spare ship";
    EXPECT_EQ(where(*game->ship), "320,260 white");
    EXPECT_EQ(std::pair(game->ship->vx, game->ship->vy), std::pair(0.f, 0.3f)) << "drifting up";
  }
  EXPECT_EQ(describe(hold("", 1)), "game over at 0%") << "with the music stopped";
}

// A new game's frame: a border line along each edge, in the edge's colour, a
// white icon for each of the three spare ships, and a first wave of three
// asteroids.
TEST_F(PlayRules, ANewGameFramesTheFieldWithItsEdgeColoursAndShowsThreeSpareShips) {
  setScreens({game = new PlayState});
  EXPECT_EQ(colourOf(*game->borderTop) + " " + colourOf(*game->borderBottom) + " " +
                colourOf(*game->borderLeft) + " " + colourOf(*game->borderRight),
            "red green blue yellow");
  for (const Sprite* icon : game->lifeIcons) EXPECT_EQ(colourOf(*icon), "white");
  EXPECT_EQ(game->asteroids->size(), 3u) << "the first wave";
}

// Velocities are in pixels per 1/120 s, vy up the window; headings turn
// clockwise from straight up. Thrust adds 5 units a second along the nose and
// each axis stops at 4; nothing slows the ship. Turning is 250 degrees a
// second. A shot leaves at 5 units along the nose on top of the ship's own
// velocity, and after 60 frames of 8 ms it is gone.
TEST_F(PlayRules, TheShipThrustsTurnsAndFiresAtItsFixedRates) {
  // Keys, frames, heading before; velocity and heading after.
  const std::tuple<const char*, int, float, float, float, float> cases[] = {
      {"", 100, 0, 0, 0.3f, 0},     {"up", 10, 0, 0, 0.7f, 0},     {"up", 150, 0, 0, 4, 0},
      {"up", 150, 90, 4, 0.3f, 90}, {"up", 150, 45, 4, 4, 45},     {"right", 10, 0, 0, 0.3f, 20},
      {"left", 1, 0, 0, 0.3f, 358}, {"right", 1, 359, 0, 0.3f, 1},
  };
  for (auto [keys, frames, heading, vx, vy, after] : cases) {
    newGame();
    placeBystander();
    game->ship->angle = heading;
    game->ship->vy = 0.3f;  // a fresh ship's drift
    hold(keys, frames);
    EXPECT_NEAR(game->ship->vx, vx, 1e-4) << keys << " from " << heading;
    EXPECT_NEAR(game->ship->vy, vy, 1e-4) << keys << " from " << heading;
    EXPECT_NEAR(game->ship->angle, after, 1e-3) << keys << " from " << heading;
  }
  newGame();
  placeBystander();
  game->ship->angle = 90;
  game->ship->vy = 0.3f;
  hold("space");
  const Bullet* shot = game->ship->bullets->front();
  EXPECT_NEAR(shot->vx, 5, 1e-5);
  EXPECT_NEAR(shot->vy, 0.3f, 1e-5);
  const float x = shot->x, y = shot->y;
  hold("", 10);
  // 10 frames of 8 ms are 9.6 ticks: 48 pixels right and 2.88 up.
  EXPECT_NEAR(shot->x - x, 48, 1e-3);
  EXPECT_NEAR(y - shot->y, 2.88, 1e-3);
  hold("", 49);
  EXPECT_EQ(game->ship->bullets->size(), 1u) << "60 frames old";
  hold("", 1);
  EXPECT_EQ(game->ship->bullets->size(), 0u) << "61 frames old";
}

// Play moves on by the time since the last frame, but by 50 ms at most: after
// a stall, as a suspended machine or a stopped process makes, play goes on as
// after a frame of 50 ms. A fresh ship drifts up 0.3 units a tick, and here an
// asteroid near the top edge flies up 1 unit a tick; a tick is 1/120 s.
TEST_F(PlayRules, AStallMovesPlayOnNoFurtherThanAFrameOf50Ms) {
  // The gap before the frame; the ship and the asteroid after it.
  const std::tuple<Uint32, const char*, const char*> cases[] = {
      {8, "320,279.712 white", "100,19.04 red"},
      {50, "320,278.2 white", "100,14 red"},
      {51, "320,278.2 white", "100,14 red"},
      {20000, "320,278.2 white", "100,14 red"},
  };
  for (auto [gap, ship, asteroid] : cases) {
    newGame();
    game->ship->vy = 0.3f;
    placeStill(game, 100, 20, 16, kRed);
    game->asteroids->front()->vy = 1;
    advanceFakeTime(gap - kFrameMs);
    EXPECT_EQ(where(*game->ship, hold("")), ship) << "after " << gap << " ms";
    EXPECT_EQ(where(*game->asteroids->front()), asteroid) << "after " << gap << " ms";
  }
}

// Five draws make an asteroid: speed, heading, turn, spin and colour.
TEST_F(PlayRules, AnAsteroidTakesItsMotionAndColourFromFiveDraws) {
  static std::vector<int32_t> draws;
  setRandomSource([] {
    int32_t next = draws.front();
    draws.erase(draws.begin());
    return next;
  });
  // Draws; velocity, angle, spin and colour.
  const std::tuple<std::vector<int32_t>, float, float, float, float, const char*> cases[] = {
      {{0, 0, 0, 0, 0}, 0, 0.2f, 0, -2, "red"},
      {{149, 90, 359, 39, 3}, 1.69f, 0, 359, 1.9f, "yellow"},
      {{170, 540, 20, 60, 6}, 0, -0.4f, 20, 0, "blue"},
  };
  for (auto [values, vx, vy, angle, spin, colour] : cases) {
    draws = values;
    Asteroid rock(100, 100, 32);
    EXPECT_NEAR(rock.vx, vx, 1e-5) << values[0];
    EXPECT_NEAR(rock.vy, vy, 1e-5) << values[0];
    EXPECT_EQ(std::tuple(rock.angle, rock.spin, colourOf(rock)), std::tuple(angle, spin, colour));
  }
  setRandomSource(nullptr);
  // Both axes wrap in the same update, and exactly on an edge is inside; the
  // spin is in degrees per 1/120 s.
  const std::tuple<float, float, float, float, float> wraps[] = {
      {639, 1, 1, 0, 480}, {1, 479, -1, 640, 0}, {0, 0, 0, 0, 0}};
  for (auto [x, y, v, afterX, afterY] : wraps) {
    Asteroid rock(x, y, 16);
    rock.vx = rock.vy = v;
    rock.angle = 10, rock.spin = 1.5f;
    rock.update(1 / 60.f);
    EXPECT_EQ(std::pair(rock.x, rock.y), std::pair(afterX, afterY)) << "from " << x << "," << y;
    EXPECT_NEAR(rock.angle, 13, 1e-4);
  }
}

// The game-over picture is read when the card first shows: without it, the
// fourth death ends the run with status 1, with its one line on standard error
// and nothing on standard output.
typedef PlayRules PlayRulesDeathTest;
TEST_F(PlayRulesDeathTest, TheFourthDeathWithoutTheGameOverPictureEndsTheRun) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  meetTheLastShipsColour(game);
  auto loseWithoutMedia = [] {
    if (dup2(2, 1) == 1 && chdir(QUORVANE_SOURCE_DIR "/tests") == 0) hold("", 10);
  };
  EXPECT_EXIT(loseWithoutMedia(), testing::ExitedWithCode(1), "^Missing image file: fail\\.png\n$");
}

}  // namespace
