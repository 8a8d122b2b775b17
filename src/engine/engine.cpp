#include "engine/engine.h"

#include <algorithm>
#include <cstdlib>

#include "audio/audio.h"
#include "engine/clock.h"
#include "engine/window_size.h"
#include "gfx/render_queue.h"
#include "gfx/texture.h"
#include "gfx/video.h"
#include "screens/splash_state.h"

namespace {

const char* const kCaption = "Quorvane";

}  // namespace

bool running = false;
SDL_Event event;
RenderQueue* renderQueue = new RenderQueue;
InputMap* inputMap = new InputMap;
Uint32 lastTick = 0;
State* pendingState = nullptr;
StateStack* stateStack = new StateStack;
int popCount = 0;

void initEngine() {
  running = true;
  initVideo(kWindowWidth, kWindowHeight, kCaption);
  initAudio();
  // Registered after initVideo's SDL_Quit, so it runs first, while the window
  // and the audio device still exist; and before the splash is built, whose
  // missing picture ends the process, so that the sounds are freed then too.
  std::atexit(shutdownEngine);
  // The first screen skips the pending slot, so the first frame updates it.
  stateStack->push_back(new SplashState);
  SDL_ShowCursor(SDL_DISABLE);
}

void runFrame() {
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_KEYDOWN:
        handleKey(true);
        break;
      case SDL_KEYUP:
        handleKey(false);
        break;
      case SDL_QUIT:
        running = false;
        break;
      default:
        break;
    }
  }

  if (clockTicks() < lastTick + kFrameMs) {
    clockSleep(1);
    return;
  }

  Uint32 now = clockTicks();
  float elapsedMs = static_cast<float>(std::min(now - lastTick, kMaxStepMs));
  lastTick = now;

  updateStates(elapsedMs * 0.001f);
  drawStates();
  flushRenderQueue(renderQueue);
}

void updateStates(float seconds) {
  for (; popCount > 0 && !stateStack->empty(); popCount--) {
    delete stateStack->back();
    stateStack->pop_back();
  }
  popCount = 0;

  if (pendingState) {
    stateStack->push_back(pendingState);
    pendingState = nullptr;
  }

  if (!stateStack->empty()) stateStack->back()->update(inputMap, seconds);
}

void drawStates() {
  for (State* state : *stateStack) {
    if (state) state->draw(renderQueue);
  }
}

void pushState(State* state) {
  // Only one state can wait; the one it displaces would otherwise leak.
  if (pendingState != state) delete pendingState;
  pendingState = state;
}

void popStates(int count) { popCount = count; }

void shutdownEngine() {
  running = false;
  delete inputMap;
  delete renderQueue;
  freeStates();
  freeAudio();
  freeTextures();
}

void freeStates() {
  while (!stateStack->empty()) {
    delete stateStack->back();
    stateStack->pop_back();
  }
  delete stateStack;
  // A push still waiting at exit belongs to the engine as well.
  delete pendingState;
  pendingState = nullptr;
}
