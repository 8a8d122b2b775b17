#pragma once

#include <list>

#include "game/bullet.h"

class RenderQueue;

// The player's craft. The play state writes its heading; the ship thrusts,
// drifts without drag, wraps taking each edge's colour and runs its bullets.
class Ship : public Sprite {
 public:
  Ship(float x, float y);
  ~Ship();
  // The ship owns its bullets: a copy would free them twice.
  Ship(const Ship&) = delete;
  Ship& operator=(const Ship&) = delete;

  // Returns true when the ship wrapped around an edge in this call.
  bool update(float thrust, float seconds);
  void fire();
  void respawn();
  // Queues the bullets only; the play state queues the ship itself.
  void draw(RenderQueue* queue);

  std::list<Bullet*>* bullets;
  float vx;
  float vy;
};
