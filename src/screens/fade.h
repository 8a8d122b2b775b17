#pragma once

#include <string>

#include "engine/state.h"
#include "gfx/sprite.h"

// A card that fades one 512 x 512 picture in over 99 steps, holds it, fades
// it out from step 151 and hands over to the title menu at step 250. Steps
// follow the clock, at least 10 ms apart; "esc" or "enter" jumps to the end.
// The splash and the game-over screens are such cards.
class FadeCard : public State {
 public:
  static const int kLastFadeInStep = 99;
  static const int kLastHoldStep = 150;
  static const int kSkipStep = 250;

  explicit FadeCard(const std::string& imageName);
  ~FadeCard() override;
  void update(InputMap* input, float seconds) override;
  void draw(RenderQueue* queue) override;

  // Takes one step of the fade if 10 ms have passed since the last one.
  // Returns true at the step that ends it, with the picture invisible.
  bool stepFade(InputMap* input);

  std::string imageName;
  Sprite* picture;
  float* timer;
  int step;
};
