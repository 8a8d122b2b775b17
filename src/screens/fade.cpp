#include "screens/fade.h"

#include "engine/clock.h"
#include "engine/engine.h"
#include "game/playfield.h"
#include "gfx/render_queue.h"
#include "gfx/texture.h"
#include "screens/title_state.h"

namespace {

const float kStepSeconds = 0.01f;
const float kMsToSeconds = 0.001f;
const double kAlphaStep = 0.01;
const int kCardSize = 512;

}  // namespace

FadeCard::FadeCard(const std::string& imageName) : imageName(imageName) {
  picture = new Sprite(imageName, kPlayCentreX, kPlayCentreY, kCardSize, kCardSize, 0, 0);
  timer = new float(static_cast<float>(clockTicks()));
  step = 0;
}

FadeCard::~FadeCard() {
  delete timer;
  delete picture;
}

void FadeCard::update(InputMap* input, float seconds) {
  (void)seconds;  // the fade keeps its own time
  if (!stepFade(input)) return;
  // Each card is shown once per run or per game; its texture need not stay.
  unloadTexture(imageName);
  popStates(1);
  pushState(new TitleState);
}

void FadeCard::draw(RenderQueue* queue) { queue->push(picture); }

bool FadeCard::stepFade(InputMap* input) {
  if ((*input)["esc"] || (*input)["enter"]) {
    step = kSkipStep;
    (*input)["esc"] = false;
    (*input)["enter"] = false;
  }

  // The product is tested in double: exactly 10 ms passes, 9 ms does not.
  double sinceStep = static_cast<double>(clockTicks() - *timer) * kMsToSeconds;
  if (!(sinceStep > kStepSeconds)) return false;

  ++step;
  if (step <= kLastFadeInStep) picture->alpha += kAlphaStep;

  bool ended = false;
  if (step > kLastHoldStep) {
    picture->alpha -= kAlphaStep;
    if (step >= kSkipStep) {
      picture->alpha = 0;
      ended = true;
    }
  }

  *timer = static_cast<float>(clockTicks());
  return ended;
}
