#include "screens/splash_state.h"

#include "engine/clock.h"
#include "engine/engine.h"
#include "gfx/render_queue.h"
#include "gfx/texture.h"
#include "screens/fade.h"
#include "screens/title_state.h"

SplashState::SplashState() {
  picture = new Sprite("splash.png", 320, 240, 512, 512, 0, 0);
  timer = new float(static_cast<float>(clockTicks()));
  step = 0;
}

SplashState::~SplashState() {
  delete timer;
  delete picture;
}

void SplashState::update(InputMap* input, float seconds) {
  (void)seconds;  // the fade keeps its own time
  if (!stepFade(input, picture, timer, &step)) return;
  // The picture is shown once per run; its texture need not stay loaded.
  unloadTexture("splash.png");
  popStates(1);
  pushState(new TitleState);
}

void SplashState::draw(RenderQueue* queue) { queue->push(picture); }
