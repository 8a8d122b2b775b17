#include "engine/clock.h"

namespace {

Uint32 sdlTicks() { return SDL_GetTicks(); }
void sdlSleep(Uint32 ms) { SDL_Delay(ms); }

TickSource tickSource = sdlTicks;
SleepSource sleepSource = sdlSleep;

}  // namespace

Uint32 clockTicks() { return tickSource(); }

void clockSleep(Uint32 ms) { sleepSource(ms); }

void setClock(TickSource ticks, SleepSource sleep) {
  tickSource = ticks ? ticks : sdlTicks;
  sleepSource = sleep ? sleep : sdlSleep;
}
