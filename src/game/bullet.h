#pragma once

#include "gfx/sprite.h"

// A shot: flies straight, wraps at the window edges and keeps the colour the
// ship had when it fired.
class Bullet : public Sprite {
 public:
  Bullet(float x, float y, float vx, float vy, float angle, const float colour[3]);

  void update(float seconds);

  float life;
  float vx;
  float vy;
};
