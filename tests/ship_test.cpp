#include "game/ship.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "game/colours.h"
#include "support/test_window.h"

namespace {

// As arrays, so that a failure prints the colours.
std::array<float, 3> rgb(const float c[3]) { return {c[0], c[1], c[2]}; }
std::array<float, 3> colourOf(const Sprite& s) { return {s.red, s.green, s.blue}; }

const float kFrame = 0.008f;

class ShipTest : public testing::Test {
 protected:
  void SetUp() override { openTestWindow(); }
};

TEST_F(ShipTest, WrapsOnlyBeyondAnEdgeTakingItsColour) {
  // Half a second moves 60 pixels per velocity unit; white rows stay unwrapped.
  const struct {
    float x, y, vx, vy, endX, endY;
    const float* colour;
  } cases[] = {{580, 240, 1, 0, 640, 240, kWhite}, {580.01f, 240, 1, 0, 0, 240, kYellow},
               {30, 240, -1, 0, 640, 240, kBlue},  {60, 240, -1, 0, 0, 240, kWhite},
               {320, 430, 0, -1, 320, 0, kGreen},  {320, 50, 0, 1, 320, 480, kRed}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "from " << c.x << "," << c.y);
    Ship ship(c.x, c.y);
    ship.vx = c.vx;
    ship.vy = c.vy;
    EXPECT_EQ(ship.update(0, 0.5f), c.colour != kWhite);
    EXPECT_FLOAT_EQ(ship.x, c.endX);
    EXPECT_FLOAT_EQ(ship.y, c.endY);
    EXPECT_EQ(colourOf(ship), rgb(c.colour));
  }

  // A corner exit wraps x now and y on the next update.
  Ship ship(639, 1);
  ship.vx = ship.vy = 1;
  EXPECT_TRUE(ship.update(0, 1 / 60.0f));
  EXPECT_EQ(ship.x, 0);
  EXPECT_LT(ship.y, 0);
  EXPECT_EQ(colourOf(ship), rgb(kYellow));
  EXPECT_TRUE(ship.update(0, 0));
  EXPECT_EQ(ship.y, 480);
  EXPECT_EQ(colourOf(ship), rgb(kRed));
}

TEST_F(ShipTest, ThrustClampsEachAxisAndNothingSlowsTheDrift) {
  struct {
    float angle, thrustFrames, vx, vy;
  } cases[] = {{0, 0, 0, 0.3f}, {0, 10, 0, 0.7f}, {0, 300, 0, 4}, {45, 300, 4, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.angle << " degrees, " << c.thrustFrames << " frames");
    Ship ship(320, 240);
    ship.angle = c.angle;
    for (int i = 0; i < c.thrustFrames; i++) ship.update(kFrame * 5, kFrame);
    EXPECT_NEAR(ship.vx, c.vx, 1e-5);
    EXPECT_NEAR(ship.vy, c.vy, 1e-5);
    float vx = ship.vx, vy = ship.vy;
    for (int i = 0; i < 500; i++) ship.update(0, kFrame);
    EXPECT_EQ(ship.vx, vx);
    EXPECT_EQ(ship.vy, vy);
  }
}

TEST_F(ShipTest, FiresAlongTheNoseAddingItsDriftAndTheShotWrapsInItsColour) {
  Ship ship(639, 1);
  ship.angle = 90;
  ship.vy = 1;
  ship.setColour(kGreen);
  ship.fire();
  ASSERT_EQ(ship.bullets->size(), 1u);
  Bullet& bullet = *ship.bullets->front();
  EXPECT_FLOAT_EQ(bullet.vx, 5);
  EXPECT_NEAR(bullet.vy, 1, 1e-6);
  // From the ship's centre, both axes wrap in a single update.
  bullet.update(1 / 60.0f);
  EXPECT_EQ(bullet.x, 0);
  EXPECT_EQ(bullet.y, 480);
  EXPECT_EQ(colourOf(bullet), rgb(kGreen));
}

TEST_F(ShipTest, SpentBulletsLeaveOnePerUpdateOldestFirst) {
  Ship ship(320, 240);
  for (int i = 0; i < 3; i++) ship.fire();
  auto flying = [&] { return std::vector<Bullet*>(ship.bullets->begin(), ship.bullets->end()); };
  const std::vector<Bullet*> fired = flying();
  // Sixty frames spend all three together.
  for (int i = 0; i < 60; i++) ship.update(0, kFrame);
  EXPECT_EQ(flying(), fired);
  for (size_t gone = 1; gone <= 3; gone++) {
    ship.update(0, kFrame);
    EXPECT_EQ(flying(), std::vector<Bullet*>(fired.begin() + gone, fired.end()));
  }
}

}  // namespace
