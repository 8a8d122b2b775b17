#pragma once

#include "engine/input.h"

class RenderQueue;

// A screen. The engine updates the top one each frame and draws them all,
// bottom to top.
class State {
 public:
  State() = default;
  // A screen owns its sprites: a copy would free them twice.
  State(const State&) = delete;
  State& operator=(const State&) = delete;
  virtual ~State() {}
  virtual void update(InputMap* input, float seconds) {
    (void)input;
    (void)seconds;
  }
  virtual void draw(RenderQueue* queue) { (void)queue; }
};
