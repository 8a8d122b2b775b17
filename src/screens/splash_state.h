#pragma once

#include "screens/fade.h"

// The opening card: fades "splash.png" in and out, then hands over to the title menu.
class SplashState : public FadeCard {
 public:
  SplashState();
};
