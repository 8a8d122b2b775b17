#pragma once

#include "screens/fade.h"

// The game-over card: fades "fail.png" in and out, then hands over to the title menu.
class FailState : public FadeCard {
 public:
  FailState();
};
