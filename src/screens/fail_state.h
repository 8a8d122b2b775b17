#pragma once

#include "engine/state.h"
#include "gfx/sprite.h"

// The game-over card: fades "fail.png" in and out, then hands over to the title menu.
class FailState : public State {
 public:
  FailState();
  ~FailState() override;
  void update(InputMap* input, float seconds) override;
  void draw(RenderQueue* queue) override;

  Sprite* picture;
  float* timer;
  int step;
};
