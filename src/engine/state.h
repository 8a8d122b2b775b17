#pragma once

#include "engine/input.h"

class RenderQueue;

// A screen. The engine updates the top one each frame and draws them all,
// bottom to top.
class State {
 public:
  virtual ~State() {}
  virtual void update(InputMap* input, float seconds) {
    (void)input;
    (void)seconds;
  }
  virtual void draw(RenderQueue* queue) { (void)queue; }
};
