#pragma once

#include "engine/input.h"

class Sprite;

// The fade that the splash and the fail screens share: in over 99 steps, hold,
// out from step 151, end at step 250. Steps follow the clock, at least 10 ms
// apart; "esc" or "enter" jumps to the end.
const int kLastFadeInStep = 99;
const int kLastHoldStep = 150;
const int kSkipStep = 250;

// Takes one step of the picture's fade if 10 ms have passed since *timer.
// Returns true at the step that ends the fade, with the picture invisible.
bool stepFade(InputMap* input, Sprite* picture, float* timer, int* step);
