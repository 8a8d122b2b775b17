#include "screens/fail_state.h"

#include "engine/clock.h"
#include "engine/engine.h"
#include "gfx/render_queue.h"
#include "gfx/texture.h"
#include "screens/fade.h"
#include "screens/title_state.h"

FailState::FailState() {
  picture = new Sprite("fail.png", 320, 240, 512, 512, 0, 0);
  timer = new float(static_cast<float>(clockTicks()));
  step = 0;
}

FailState::~FailState() {
  delete timer;
  delete picture;
}

void FailState::update(InputMap* input, float seconds) {
  (void)seconds;  // the fade keeps its own time
  if (!stepFade(input, picture, timer, &step)) return;
  // The card comes back only after another game; free its texture till then.
  unloadTexture("fail.png");
  popStates(1);
  pushState(new TitleState);
}

void FailState::draw(RenderQueue* queue) { queue->push(picture); }
