#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "audio/audio.h"
#include "engine/engine.h"
#include "game/colours.h"
#include "game/play_state.h"
#include "gfx/render_queue.h"
#include "screens/fail_state.h"
#include "screens/pause_state.h"
#include "support/test_window.h"

namespace {

typedef std::array<float, 3> Rgb;
Rgb rgb(const float colour[3]) { return {colour[0], colour[1], colour[2]}; }
Rgb colourOf(const Sprite& sprite) { return {sprite.red, sprite.green, sprite.blue}; }

const float kFrame = 0.008f;

// A channel keeps the chunk it last played, so this counts plays in a short test.
int timesPlayed(const std::string& name) {
  int count = 0;
  for (int channel = 0; channel < Mix_AllocateChannels(-1); channel++) {
    if (Mix_GetChunk(channel) == soundBank.at(name)) count++;
  }
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

  // Takes the wave and the shots away and stops the ship, so each test lays
  // out its own scene.
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

  // Fires from (x, y) in the given colour, then moves the ship out of the way.
  void shootFrom(float x, float y, const float colour[3]) {
    play->ship->x = x;
    play->ship->y = y;
    play->ship->setColour(colour);
    play->ship->fire();
    play->ship->x = 600;
    play->ship->y = 400;
  }

  PlayState* play = nullptr;
  InputMap keys;
};

TEST(PlayNewGame, SpendsItsDrawsStarsFirstXBeforeY) {
  openTestWindow();
  resetRandomDraws();
  scriptRandom({641, 482});
  PlayState play;
  EXPECT_EQ(randomDraws(), 40 * 2 + 3 * 7);
  EXPECT_EQ(play.stars[0]->x, 1);
  EXPECT_EQ(play.stars[0]->y, 2);
  EXPECT_EQ(play.lives, 3);
  EXPECT_EQ(play.waveSize, 3);
  EXPECT_EQ(play.ship->x, 320);
  EXPECT_EQ(play.ship->y, 280);
  EXPECT_EQ(colourOf(*play.ship), rgb(kWhite));
  ASSERT_EQ(play.asteroids->size(), 3u);
  for (Asteroid* asteroid : *play.asteroids) EXPECT_EQ(asteroid->width, 32);
}

TEST_F(PlayTest, DrawLayersBulletsStarsShipBordersAsteroidsIcons) {
  RenderQueue queue;
  play->draw(&queue);
  std::deque<Sprite*> expected(play->stars, play->stars + PlayState::kStarCount);
  expected.insert(expected.end(), {play->ship, play->borderTop, play->borderBottom,
                                   play->borderLeft, play->borderRight});
  expected.insert(expected.end(), play->asteroids->rbegin(), play->asteroids->rend());
  expected.insert(expected.end(), play->lifeIcons, play->lifeIcons + 3);
  EXPECT_EQ(queue.sprites.size(), 51u);
  EXPECT_EQ(queue.sprites, expected);
  EXPECT_EQ(colourOf(*play->borderTop), rgb(kRed));
  EXPECT_EQ(colourOf(*play->borderRight), rgb(kYellow));

  play->ship->fire();
  play->ship->fire();
  for (int lives : {2, 0, -1}) {
    SCOPED_TRACE(lives);
    play->lives = lives;
    queue.sprites.clear();
    play->draw(&queue);
    EXPECT_EQ(queue.sprites[0], play->ship->bullets->front());
    EXPECT_EQ(queue.sprites[1], play->ship->bullets->back());
    EXPECT_EQ(queue.sprites[2], play->stars[0]);
    EXPECT_EQ(queue.sprites.size(), 2u + 45 + 3 + std::max(lives, 0));
    EXPECT_EQ(queue.sprites.back(),
              lives > 0 ? play->lifeIcons[lives - 1] : play->asteroids->front());
  }
}

TEST_F(PlayTest, ScatterStarsSpendsEightyDrawsAndPlaysSwitch) {
  resetRandomDraws();
  scriptRandom({645, 485, 7, 9});
  play->scatterStars();
  EXPECT_EQ(randomDraws(), 80);
  EXPECT_EQ(play->stars[0]->x, 5);
  EXPECT_EQ(play->stars[0]->y, 5);
  EXPECT_EQ(play->stars[1]->x, 7);
  EXPECT_EQ(play->stars[1]->y, 9);
  EXPECT_EQ(timesPlayed("switch.wav"), 1);
}

TEST_F(PlayTest, CrossingAnEdgeScattersTheStars) {
  stillScene();
  addAsteroid(100, 100, 32, kRed);
  play->ship->x = 639.9f;
  play->ship->vx = 1;
  resetRandomDraws();
  play->update(&keys, kFrame);
  EXPECT_EQ(colourOf(*play->ship), rgb(kYellow));
  EXPECT_EQ(randomDraws(), 80);
  EXPECT_EQ(timesPlayed("switch.wav"), 1);
}

TEST_F(PlayTest, OnlyBulletsOfTheAsteroidsColourDestroyIt) {
  struct {
    const float* bullet;
    const float* asteroid;
    bool destroyed;
  } cases[] = {{kYellow, kRed, false}, {kYellow, kGreen, false},
               {kYellow, kBlue, false}, {kYellow, kYellow, true},
               {kWhite, kYellow, false}, {kRed, kRed, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "bullet " << c.bullet[2] << ", asteroid " << c.asteroid[2]);
    stillScene();
    addAsteroid(500, 50, 16, kGreen);
    Asteroid* target = addAsteroid(200, 200, 16, c.asteroid);
    shootFrom(200, 200, c.bullet);
    play->update(&keys, 0.001f);
    EXPECT_EQ(play->asteroids->size(), c.destroyed ? 1u : 2u);
    if (!c.destroyed) {
      EXPECT_EQ(play->asteroids->back(), target);
    }
    // A hit does not spend the bullet.
    EXPECT_EQ(play->ship->bullets->size(), 1u);
  }
  EXPECT_EQ(timesPlayed("explode.wav"), 2);
}

TEST_F(PlayTest, WhiteShipFliesThroughAsteroidsUnharmed) {
  stillScene();
  addAsteroid(320, 280, 32, kRed);
  addAsteroid(320, 280, 32, kYellow);
  play->ship->x = 320;
  play->ship->y = 280;
  play->update(&keys, kFrame);
  EXPECT_EQ(play->lives, 3);
  EXPECT_EQ(play->ship->x, 320);
  EXPECT_EQ(play->ship->y, 280);
}

TEST_F(PlayTest, MatchingShipDiesOnceAndRespawnsWhileTheAsteroidFliesOn) {
  stillScene();
  Asteroid* first = addAsteroid(200, 200, 32, kBlue);
  first->vx = 1;
  addAsteroid(205, 200, 32, kBlue);
  play->ship->x = 200;
  play->ship->y = 200;
  play->ship->setColour(kBlue);
  play->update(&keys, kFrame);
  EXPECT_EQ(play->lives, 2);
  EXPECT_EQ(play->ship->x, 320);
  EXPECT_EQ(play->ship->y, 260);
  EXPECT_EQ(play->ship->vy, 0.3f);
  EXPECT_EQ(colourOf(*play->ship), rgb(kWhite));
  ASSERT_EQ(play->asteroids->size(), 2u);
  EXPECT_NEAR(first->x, 200.96, 1e-4);
  EXPECT_EQ(timesPlayed("death.wav"), 1);
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
    Asteroid* fragment = (*play->asteroids)[i];
    EXPECT_EQ(fragment->x, 100);
    EXPECT_EQ(fragment->y, 200);
    EXPECT_EQ(fragment->width, 16);
  }
  EXPECT_EQ(timesPlayed("explode.wav"), 1);
}

TEST_F(PlayTest, ClearingAWaveBringsThreeMoreAsteroids) {
  stillScene();
  addAsteroid(100, 100, 16, kRed);
  shootFrom(100, 100, kRed);
  resetRandomDraws();
  play->update(&keys, 0.001f);
  EXPECT_EQ(timesPlayed("win.wav"), 1);
  EXPECT_EQ(colourOf(*play->ship), rgb(kWhite));
  EXPECT_EQ(play->waveSize, 6);
  EXPECT_EQ(play->asteroids->size(), 6u);
  EXPECT_EQ(randomDraws(), 6 * 7);
  for (Asteroid* asteroid : *play->asteroids) EXPECT_EQ(asteroid->width, 32);

  stillScene();
  play->update(&keys, 0.001f);
  EXPECT_EQ(play->waveSize, 9);
  EXPECT_EQ(play->asteroids->size(), 9u);
}

TEST_F(PlayTest, TurnsAtTwoHundredFiftyDegreesASecondWrappingOnce) {
  struct {
    float start;
    bool left, right;
    float end;
  } cases[] = {{1, true, false, 359}, {359, false, true, 1}, {90, true, true, 90}, {180, false, false, 180}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    play->ship->angle = c.start;
    keys["left"] = c.left;
    keys["right"] = c.right;
    play->update(&keys, kFrame);
    EXPECT_NEAR(play->ship->angle, c.end, 1e-3);
  }
}

TEST_F(PlayTest, HoldingSpaceFiresOnce) {
  keys["space"] = true;
  for (int i = 0; i < 3; i++) play->update(&keys, kFrame);
  EXPECT_EQ(play->ship->bullets->size(), 1u);
  EXPECT_FALSE(keys["space"]);
  EXPECT_EQ(timesPlayed("fire.wav"), 1);

  keys["space"] = true;
  play->update(&keys, kFrame);
  EXPECT_EQ(play->ship->bullets->size(), 2u);
}

TEST_F(PlayTest, ThrustAcceleratesAlongTheNose) {
  stillScene();
  addAsteroid(100, 100, 32, kRed);
  play->ship->angle = 90;
  keys["up"] = true;
  play->update(&keys, kFrame);
  EXPECT_NEAR(play->ship->vx, 0.04, 1e-6);
  EXPECT_NEAR(play->ship->vy, 0, 1e-6);
}

TEST_F(PlayTest, MenuAndEscEachOpenThePauseMenuOncePerPress) {
  for (const char* key : {"menu", "esc"}) {
    SCOPED_TRACE(key);
    keys[key] = true;
    float y = play->ship->y;
    play->update(&keys, kFrame);
    EXPECT_NE(dynamic_cast<PauseState*>(pendingState), nullptr);
    EXPECT_FALSE(keys["menu"]);
    EXPECT_FALSE(keys["esc"]);
    // The game still takes this frame's step.
    EXPECT_LT(play->ship->y, y);
    delete pendingState;
    pendingState = nullptr;

    play->update(&keys, kFrame);
    EXPECT_EQ(pendingState, nullptr);
  }
  EXPECT_EQ(timesPlayed("select2.wav"), 2);
}

TEST_F(PlayTest, FourthDeathStopsMusicAndHandsOverToTheFailScreen) {
  playMusic();
  ASSERT_TRUE(Mix_PlayingMusic());
  stillScene();
  addAsteroid(200, 200, 32, kGreen);
  play->ship->x = 200;
  play->ship->y = 200;
  play->ship->setColour(kGreen);
  play->lives = 0;
  keys["menu"] = true;
  play->update(&keys, kFrame);
  EXPECT_EQ(play->lives, -1);
  EXPECT_FALSE(Mix_PlayingMusic());
  EXPECT_EQ(popCount, 1);
  // The pause request of the same frame gives way to the fail screen.
  EXPECT_NE(dynamic_cast<FailState*>(pendingState), nullptr);
  EXPECT_EQ(timesPlayed("select2.wav"), 1);
}

}  // namespace
