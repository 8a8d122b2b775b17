#include "game/bullet.h"

#include <cmath>

#include "game/playfield.h"

namespace {

const int kBulletSize = 4;
// Pixels per tick, added to the ship's own drift.
const int kMuzzleSpeed = 5;
// A shot starts with 60 units of life and spends 125 a second: it lasts 0.48 s.
const float kLifeUnits = 60;
const float kLifeSpentPerSecond = 125;

}  // namespace

Bullet::Bullet(float x, float y, float vx, float vy, float angle, const float colour[3])
    : Sprite("bullet.png", x, y, kBulletSize, kBulletSize, 0, 1) {
  double r = angle * kRadiansPerDegree;
  this->vx = std::sin(r) * kMuzzleSpeed + vx;
  this->vy = std::cos(r) * kMuzzleSpeed + vy;
  life = kLifeUnits;
  setColour(colour);
}

void Bullet::update(float seconds) {
  x += vx * seconds * kTicksPerSecond;
  y += vy * seconds * (-kTicksPerSecond);
  wrapBothAxes(this);
  life += seconds * (-kLifeSpentPerSecond);
}
