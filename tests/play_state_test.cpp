#include "game/play_state.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "audio/audio.h"
#include "engine/engine.h"
#include "game/colours.h"
#include "gfx/render_queue.h"
#include "screens/fail_state.h"
#include "screens/pause_state.h"
#include "support/test_window.h"

namespace {

// As arrays, so that a failure prints the colours.
std::array<float, 3> rgb(const float c[3]) { return {c[0], c[1], c[2]}; }
std::array<float, 3> colourOf(const Sprite& s) { return {s.red, s.green, s.blue}; }

const float kFrame = 0.008f;

// A channel keeps the chunk it last played, so this counts plays in a short test.
int timesPlayed(const std::string& name) {
  int count = 0;
  for (int channel = 0; channel < Mix_AllocateChannels(-1); channel++)
    count += Mix_GetChunk(channel) == soundBank.at(name);
  return count;
}

class PlayTest : public testing::Test {
 protected:
  void SetUp() override {
    openTestWindow();
    initAudio();
    ASSERT_TRUE(audioEnabled);
    play = new PlayState;
  }

  void TearDown() override {
    delete play;
    delete pendingState;
    pendingState = nullptr;
    popCount = 0;
    freeAudio();
  }

  // Clears the wave and the shots and stops the ship, so each test lays out
  // its own scene.
  void stillScene() {
    for (Asteroid* asteroid : *play->asteroids) delete asteroid;
    play->asteroids->clear();
    for (Bullet* bullet : *play->ship->bullets) delete bullet;
    play->ship->bullets->clear();
    play->ship->vx = play->ship->vy = 0;
  }

  Asteroid* addAsteroid(float x, float y, int size, const float colour[3]) {
    Asteroid* asteroid = new Asteroid(x, y, size);
    asteroid->vx = asteroid->vy = asteroid->spin = 0;
    asteroid->setColour(colour);
    play->asteroids->push_back(asteroid);
    return asteroid;
  }

  void placeShip(float x, float y, const float colour[3]) {
    play->ship->x = x;
    play->ship->y = y;
    play->ship->setColour(colour);
  }

  // Fires from (x, y), then moves the ship out of the way.
  void shootFrom(float x, float y, const float colour[3]) {
    placeShip(x, y, colour);
    play->ship->fire();
    placeShip(600, 400, colour);
  }

  PlayState* play = nullptr;
  InputMap keys;
};

TEST_F(PlayTest, FirstDrawQueuesStarsShipBordersAsteroidsBackwardsThenIcons) {
  RenderQueue queue;
  play->draw(&queue);
  std::deque<Sprite*> expected(play->stars, play->stars + PlayState::kStarCount);
  expected.insert(expected.end(), {play->ship, play->borderTop, play->borderBottom,
                                   play->borderLeft, play->borderRight});
  expected.insert(expected.end(), play->asteroids->rbegin(), play->asteroids->rend());
  expected.insert(expected.end(), play->lifeIcons, play->lifeIcons + 3);
  EXPECT_EQ(queue.sprites.size(), 51u);
  EXPECT_EQ(queue.sprites, expected);
}

TEST_F(PlayTest, CrossingAnEdgeScattersTheStarsXBeforeY) {
  // The wave stays, so no new one draws values too.
  play->ship->x = 639.9f;
  play->ship->vx = 1;
  resetRandomDraws();
  scriptRandom({645, 489});
  play->update(&keys, kFrame);
  EXPECT_EQ(randomDraws(), 80);
  EXPECT_EQ(play->stars[0]->x, 5);
  EXPECT_EQ(play->stars[0]->y, 9);
  EXPECT_EQ(timesPlayed("switch.wav"), 1);
}

TEST_F(PlayTest, OnlyBulletsOfTheAsteroidsColourDestroyIt) {
  struct {
    const float *bullet, *asteroid;
    bool destroyed;
  } cases[] = {{kYellow, kRed, false},   {kYellow, kGreen, false}, {kYellow, kBlue, false},
               {kYellow, kYellow, true}, {kWhite, kYellow, false}, {kRed, kRed, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "bullet " << c.bullet[2] << ", asteroid " << c.asteroid[2]);
    stillScene();
    addAsteroid(500, 50, 16, kGreen);  // so that a hit does not end the wave
    addAsteroid(200, 200, 16, c.asteroid);
    shootFrom(200, 200, c.bullet);
    play->update(&keys, 0.001f);
    EXPECT_EQ(play->asteroids->size(), c.destroyed ? 1u : 2u);
  }
}

TEST_F(PlayTest, OnlyAMatchingShipDiesAndRespawnsWhileTheAsteroidFliesOn) {
  stillScene();
  Asteroid* first = addAsteroid(200, 200, 32, kBlue);
  first->vx = 1;
  addAsteroid(200, 200, 32, kYellow);
  placeShip(200, 200, kWhite);
  play->update(&keys, kFrame);
  EXPECT_EQ(play->lives, 3);

  play->ship->setColour(kBlue);
  play->update(&keys, kFrame);
  EXPECT_EQ(play->lives, 2);
  EXPECT_EQ(play->ship->x, 320);
  EXPECT_EQ(play->ship->y, 260);
  EXPECT_EQ(colourOf(*play->ship), rgb(kWhite));
  ASSERT_EQ(play->asteroids->size(), 2u);
  EXPECT_NEAR(first->x, 201.92, 1e-4);
}

TEST_F(PlayTest, BigAsteroidSplitsIntoThreeAtItsWholePixelPlace) {
  stillScene();
  Asteroid* other = addAsteroid(500, 50, 32, kGreen);
  addAsteroid(100.7f, 200.2f, 32, kYellow);
  shootFrom(100, 200, kYellow);
  play->update(&keys, 0.001f);
  ASSERT_EQ(play->asteroids->size(), 4u);
  EXPECT_EQ((*play->asteroids)[0], other);
  for (size_t i = 1; i < 4; i++) {
    const Asteroid& fragment = *(*play->asteroids)[i];
    EXPECT_EQ(fragment.x, 100);
    EXPECT_EQ(fragment.y, 200);
    EXPECT_EQ(fragment.width, 16);
  }
}

TEST_F(PlayTest, ClearingAWaveBringsThreeMoreAsteroids) {
  stillScene();
  addAsteroid(100, 100, 16, kRed);
  shootFrom(100, 100, kRed);
  // The last one goes and the next wave comes in the same frame.
  play->update(&keys, 0.001f);
  EXPECT_EQ(timesPlayed("win.wav"), 1);
  EXPECT_EQ(play->asteroids->size(), 6u);

  stillScene();
  play->update(&keys, 0.001f);
  EXPECT_EQ(play->asteroids->size(), 9u);
}

TEST_F(PlayTest, TurnsAt250DegreesASecondWrappingOnceAndThrustsAlongTheNose) {
  struct {
    float start;
    bool left, right;
    float end;
  } cases[] = {
      {1, true, false, 359}, {359, false, true, 1}, {90, true, true, 90}, {180, false, false, 180}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    play->ship->angle = c.start;
    keys["left"] = c.left;
    keys["right"] = c.right;
    play->update(&keys, kFrame);
    EXPECT_NEAR(play->ship->angle, c.end, 1e-3);
  }

  play->ship->angle = 90;
  keys["up"] = true;
  play->update(&keys, kFrame);
  EXPECT_NEAR(play->ship->vx, 0.04, 1e-6);
}

TEST_F(PlayTest, HeldKeysActOncePerPress) {
  for (const char* menuKey : {"menu", "esc"}) {
    SCOPED_TRACE(menuKey);
    keys["space"] = keys[menuKey] = true;
    float y = play->ship->y;
    play->update(&keys, kFrame);
    EXPECT_NE(dynamic_cast<PauseState*>(pendingState), nullptr);
    // The frame that opens the menu still moves the ship.
    EXPECT_LT(play->ship->y, y);
    delete pendingState;
    pendingState = nullptr;

    for (int i = 0; i < 2; i++) play->update(&keys, kFrame);
    EXPECT_EQ(pendingState, nullptr);
  }
  EXPECT_EQ(play->ship->bullets->size(), 2u);
  EXPECT_EQ(timesPlayed("select2.wav"), 2);
}

TEST_F(PlayTest, FourthDeathStopsMusicAndHandsOverToTheFailScreen) {
  playMusic();
  ASSERT_TRUE(Mix_PlayingMusic());
  stillScene();
  addAsteroid(200, 200, 32, kGreen);
  placeShip(200, 200, kGreen);
  play->lives = 0;
  keys["menu"] = true;
  play->update(&keys, kFrame);
  EXPECT_FALSE(Mix_PlayingMusic());
  EXPECT_EQ(popCount, 1);
  // The menu was asked for in the same frame, but the fail screen displaces it.
  EXPECT_EQ(timesPlayed("select2.wav"), 1);
  EXPECT_NE(dynamic_cast<FailState*>(pendingState), nullptr);
}

}  // namespace
