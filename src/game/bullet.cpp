#include "game/bullet.h"

#include <cmath>

#include "game/playfield.h"

Bullet::Bullet(float x, float y, float vx, float vy, float angle, const float colour[3])
    : Sprite("bullet.png", x, y, 4, 4, 0, 1) {
  double r = angle * kRadiansPerDegree;
  this->vx = std::sin(r) * 5 + vx;
  this->vy = std::cos(r) * 5 + vy;
  life = 60;
  setColour(colour);
}

void Bullet::update(float seconds) {
  x += vx * seconds * 120;
  y += vy * seconds * (-120);
  wrapBothAxes(this);
  life += seconds * (-125);
}
