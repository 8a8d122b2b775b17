#pragma once

#include "engine/state.h"
#include "game/playfield.h"
#include "gfx/sprite.h"

// The menu between games, over a field of rising stars: start, how to play, quit.
class TitleState : public State {
 public:
  TitleState();
  ~TitleState() override;
  void update(InputMap* input, float seconds) override;
  void draw(RenderQueue* queue) override;

  // The steps of update, in order.
  void raiseStars(float seconds);
  void closeInfoOnKey(InputMap* input);
  void chooseOnEnter(InputMap* input);

  Sprite* stars[kStarCount];
  Sprite* arrow;
  Sprite* title;
  Sprite* info;
  bool keysReleased;
  bool showInfo;
  int selection;
};
