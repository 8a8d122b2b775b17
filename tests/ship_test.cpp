#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "game/colours.h"
#include "game/ship.h"
#include "support/test_window.h"

namespace {

typedef std::array<float, 3> Rgb;
Rgb rgb(const float colour[3]) { return {colour[0], colour[1], colour[2]}; }
Rgb colourOf(const Sprite& sprite) { return {sprite.red, sprite.green, sprite.blue}; }

const float kFrame = 0.008f;

class ShipTest : public testing::Test {
 protected:
  void SetUp() override { openTestWindow(); }
};
typedef ShipTest BulletTest;

struct WrapCase {
  float x, y, vx, vy;
  float endX, endY;
  const float* colour;
  bool wrapped;
};

TEST_F(ShipTest, WrapsAtEachEdgeOnlyBeyondIt) {
  // Half a second moves 60 pixels per velocity unit.
  const WrapCase cases[] = {
      {580, 240, 1, 0, 640, 240, kWhite, false},
      {580.01f, 240, 1, 0, 0, 240, kYellow, true},
      {30, 240, -1, 0, 640, 240, kBlue, true},
      {60, 240, -1, 0, 0, 240, kWhite, false},
      {320, 430, 0, -1, 320, 0, kGreen, true},
      {320, 50, 0, 1, 320, 480, kRed, true},
  };
  for (const WrapCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "from " << c.x << "," << c.y);
    Ship ship(c.x, c.y);
    ship.vx = c.vx;
    ship.vy = c.vy;
    EXPECT_EQ(ship.update(0, 0.5f), c.wrapped);
    EXPECT_FLOAT_EQ(ship.x, c.endX);
    EXPECT_FLOAT_EQ(ship.y, c.endY);
    EXPECT_EQ(colourOf(ship), rgb(c.colour));
  }
}

TEST_F(ShipTest, CornerExitWrapsXThenYOnTheNextUpdate) {
  Ship ship(639, 1);
  ship.vx = 1;
  ship.vy = 1;
  EXPECT_TRUE(ship.update(0, 1 / 60.0f));
  EXPECT_EQ(ship.x, 0);
  EXPECT_LT(ship.y, 0);
  EXPECT_EQ(colourOf(ship), rgb(kYellow));

  ship.vx = ship.vy = 0;
  EXPECT_TRUE(ship.update(0, 0));
  EXPECT_EQ(ship.y, 480);
  EXPECT_EQ(colourOf(ship), rgb(kRed));
}

TEST_F(ShipTest, ThrustClampsEachAxisAndNothingSlowsTheDrift) {
  struct {
    float angle;
    int thrustFrames;
    float vx, vy;
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

TEST_F(ShipTest, FiresFromItsCentreAlongTheNoseInItsColour) {
  Ship ship(100, 200);
  ship.angle = 90;
  ship.setColour(kGreen);
  ship.fire();
  ASSERT_EQ(ship.bullets->size(), 1u);
  Bullet* bullet = ship.bullets->front();
  EXPECT_EQ(bullet->x, 100);
  EXPECT_EQ(bullet->y, 200);
  EXPECT_FLOAT_EQ(bullet->vx, 5);
  EXPECT_NEAR(bullet->vy, 0.3, 1e-6);
  EXPECT_EQ(bullet->life, 60);
  EXPECT_EQ(bullet->width, 4);
  EXPECT_EQ(colourOf(*bullet), rgb(kGreen));

  // A death changes neither the heading nor the shots already flying.
  ship.respawn();
  EXPECT_EQ(ship.x, 320);
  EXPECT_EQ(ship.y, 260);
  EXPECT_EQ(ship.vy, 0.3f);
  EXPECT_EQ(ship.angle, 90);
  EXPECT_EQ(colourOf(ship), rgb(kWhite));
  ASSERT_EQ(ship.bullets->size(), 1u);
  EXPECT_EQ(colourOf(*bullet), rgb(kGreen));
}

TEST_F(BulletTest, RetiresAfterItsSixtiethFrame) {
  Ship ship(320, 240);
  ship.fire();
  for (int i = 0; i < 60; i++) ship.update(0, kFrame);
  ASSERT_EQ(ship.bullets->size(), 1u);
  EXPECT_NEAR(ship.bullets->front()->life, 0, 1e-4);
  ship.update(0, kFrame);
  EXPECT_TRUE(ship.bullets->empty());
}

TEST_F(BulletTest, SpentBulletsLeaveOnePerUpdateOldestFirst) {
  Ship ship(320, 240);
  for (int i = 0; i < 3; i++) ship.fire();
  std::vector<Bullet*> fired(ship.bullets->begin(), ship.bullets->end());
  ship.update(0, 1);
  ASSERT_EQ(ship.bullets->size(), 3u);

  for (size_t gone = 1; gone <= 3; gone++) {
    ship.update(0, kFrame);
    ASSERT_EQ(ship.bullets->size(), 3 - gone);
    if (gone < 3) {
      EXPECT_EQ(ship.bullets->front(), fired[gone]);
    }
  }
}

TEST_F(BulletTest, WrapsBothAxesInOneUpdateKeepingItsColour) {
  Bullet bullet(639, 1, 0, 0, 0, kBlue);
  bullet.vx = 1;
  bullet.vy = 1;
  bullet.update(1 / 60.0f);
  EXPECT_EQ(bullet.x, 0);
  EXPECT_EQ(bullet.y, 480);
  EXPECT_EQ(colourOf(bullet), rgb(kBlue));
  EXPECT_EQ(bullet.angle, 0);
}

}  // namespace
