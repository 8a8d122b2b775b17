#pragma once

#include "engine/state.h"
#include "gfx/sprite.h"

// The opening card: fades "splash.png" in and out, then hands over to the title menu.
class SplashState : public State {
 public:
  SplashState();
  ~SplashState() override;
  void update(InputMap* input, float seconds) override;
  void draw(RenderQueue* queue) override;

  Sprite* picture;
  float* timer;
  int step;
};
