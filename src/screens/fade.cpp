#include "screens/fade.h"

#include "engine/clock.h"
#include "gfx/sprite.h"

namespace {

const float kStepSeconds = 0.01f;
const float kMsToSeconds = 0.001f;
const double kAlphaStep = 0.01;

}  // namespace

bool stepFade(InputMap* input, Sprite* picture, float* timer, int* step) {
  if ((*input)["esc"] || (*input)["enter"]) {
    *step = kSkipStep;
    (*input)["esc"] = false;
    (*input)["enter"] = false;
  }

  // The product is tested in double: exactly 10 ms passes, 9 ms does not.
  double sinceStep = static_cast<double>(clockTicks() - *timer) * kMsToSeconds;
  if (!(sinceStep > kStepSeconds)) return false;

  ++*step;
  if (*step <= kLastFadeInStep) picture->alpha += kAlphaStep;

  bool ended = false;
  if (*step > kLastHoldStep) {
    picture->alpha -= kAlphaStep;
    if (*step >= kSkipStep) {
      picture->alpha = 0;
      ended = true;
    }
  }

  *timer = static_cast<float>(clockTicks());
  return ended;
}
