#include "game/ship.h"

#include <cmath>

#include "audio/audio.h"
#include "game/colours.h"
#include "game/playfield.h"
#include "gfx/render_queue.h"

namespace {

const int kShipSize = 16;
// Pixels per tick, on each axis.
const float kMaxSpeed = 4;
// A new ship drifts slowly up the window.
const float kStartVx = 0;
const float kStartVy = 0.3f;
// Where a ship comes back after a death: a little above where a game starts.
const float kRespawnX = 320;
const float kRespawnY = 260;

}  // namespace

Ship::Ship(float x, float y)
    : Sprite("ship.png", x, y, kShipSize, kShipSize, 0, 1),
      bullets(new std::list<Bullet*>),
      vx(kStartVx),
      vy(kStartVy) {}

Ship::~Ship() {
  for (Bullet* bullet : *bullets) delete bullet;
  delete bullets;
}

bool Ship::update(float thrust, float seconds) {
  double r = angle * kRadiansPerDegree;
  double s = std::sin(r);
  double c = std::cos(r);

  vx += s * thrust;
  vy += c * thrust;

  // Per axis, so a diagonal drift may exceed the limit; there is no drag.
  if (vx > kMaxSpeed) vx = kMaxSpeed;
  if (vy > kMaxSpeed) vy = kMaxSpeed;
  if (vx < -kMaxSpeed) vx = -kMaxSpeed;
  if (vy < -kMaxSpeed) vy = -kMaxSpeed;

  x += vx * (seconds * kTicksPerSecond);
  y += seconds * vy * (-kTicksPerSecond);

  // Only the oldest is checked: spent bullets leave one per update.
  if (!bullets->empty() && bullets->front()->life <= 0) {
    delete bullets->front();
    bullets->pop_front();
  }
  for (Bullet* bullet : *bullets) bullet->update(seconds);

  // y wraps only once x is back in range, so a corner exit takes two updates.
  if (x > kPlayWidth) {
    x = 0;
    setColour(kYellow);
  } else if (x < 0) {
    x = kPlayWidth;
    setColour(kBlue);
  } else if (y > kPlayHeight) {
    y = 0;
    setColour(kGreen);
  } else if (y < 0) {
    y = kPlayHeight;
    setColour(kRed);
  } else {
    return false;
  }
  return true;
}

void Ship::fire() {
  const float colour[3] = {red, green, blue};
  bullets->push_back(new Bullet(x, y, vx, vy, angle, colour));
  playSound("fire.wav");
}

void Ship::respawn() {
  x = kRespawnX;
  y = kRespawnY;
  vx = kStartVx;
  vy = kStartVy;
  setColour(kWhite);
}

void Ship::draw(RenderQueue* queue) {
  for (Bullet* bullet : *bullets) queue->push(bullet);
}
