#pragma once

#include "gfx/sprite.h"

// A spinning rock in one of the four edge colours, drifting and wrapping.
class Asteroid : public Sprite {
 public:
  Asteroid(float x, float y, int size);

  void update(float seconds);

  float vx;
  float vy;
  float spin;
};
