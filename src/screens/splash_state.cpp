#include "screens/splash_state.h"

SplashState::SplashState() : FadeCard("splash.png") {}
