#include "game/asteroid.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "game/colours.h"
#include "support/test_window.h"

namespace {

// As arrays, so that a failure prints the colours.
std::array<float, 3> rgb(const float c[3]) { return {c[0], c[1], c[2]}; }
std::array<float, 3> colourOf(const Sprite& s) { return {s.red, s.green, s.blue}; }

class AsteroidTest : public testing::Test {
 protected:
  void SetUp() override { openTestWindow(); }
};

TEST_F(AsteroidTest, FiveDrawsDecideMotionTurnAndColour) {
  // One degree, written out here so that a wrong constant in the game shows.
  const float sin1 = std::sin(0.017453292519943295), cos1 = std::cos(0.017453292519943295);
  struct {
    std::vector<int32_t> draws;
    float vx, vy, angle, spin;
    const float* colour;
  } cases[] = {{{0, 0, 0, 0, 0}, 0, 0.2f, 0, -2, kRed},
               {{149, 90, 359, 39, 3}, 1.69f, 0, 359, 1.9f, kYellow},
               {{170, 361, 721, 61, 6}, 0.4f * sin1, 0.4f * cos1, 1, 0.1f, kBlue},
               // Out-of-range values still land in range.
               {{-1, -1, -1, -1, -1}, -1.69f * sin1, 1.69f * cos1, 359, 1.9f, kYellow}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "first draw " << c.draws[0]);
    resetRandomDraws();
    scriptRandom(c.draws);
    Asteroid asteroid(100, 200, 16);
    EXPECT_EQ(randomDraws(), 5);
    EXPECT_NEAR(asteroid.vx, c.vx, 1e-6);
    EXPECT_NEAR(asteroid.vy, c.vy, 1e-6);
    EXPECT_EQ(asteroid.angle, c.angle);
    EXPECT_FLOAT_EQ(asteroid.spin, c.spin);
    EXPECT_EQ(colourOf(asteroid), rgb(c.colour));
    // It turns 120 spins a second, and the angle is never wrapped.
    for (int i = 0; i < 250; i++) asteroid.update(0.008f);
    EXPECT_NEAR(asteroid.angle, c.angle + 240 * c.spin, 0.05);
  }
}

TEST_F(AsteroidTest, WrapsEachAxisOnlyBeyondTheEdge) {
  struct {
    float x, y, vx, vy, seconds, endX, endY;
  } cases[] = {{639, 1, 1, 1, 1 / 60.0f, 0, 480},
               {1, 479, -1, -1, 1 / 60.0f, 640, 0},
               {580, 420, 1, -1, 0.5f, 640, 480},
               {60, 60, -1, 1, 0.5f, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "from " << c.x << "," << c.y);
    Asteroid asteroid(c.x, c.y, 32);
    asteroid.vx = c.vx;
    asteroid.vy = c.vy;
    asteroid.update(c.seconds);
    EXPECT_FLOAT_EQ(asteroid.x, c.endX);
    EXPECT_FLOAT_EQ(asteroid.y, c.endY);
  }
}

}  // namespace
