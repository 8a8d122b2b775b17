#pragma once

#include "engine/state.h"
#include "gfx/sprite.h"

// The menu laid over a frozen game: resume, or quit to the title menu.
class PauseState : public State {
 public:
  PauseState();
  ~PauseState() override;
  void update(InputMap* input, float seconds) override;
  void draw(RenderQueue* queue) override;

  // Acts on the selected item; true when the player chose to quit.
  bool chooseOnEnter(InputMap* input);

  Sprite* menu;
  Sprite* arrow;
  int selection;
  bool keysReleased;
};
