#pragma once

#include <SDL.h>

// The game's clock. It reads SDL's clock; tests may put their own in its place
// to step time deterministically.
typedef Uint32 (*TickSource)();
typedef void (*SleepSource)(Uint32 ms);

// Milliseconds since SDL was initialised (or the test clock's reading).
Uint32 clockTicks();

// Sleeps for ms milliseconds (or advances the test clock).
void clockSleep(Uint32 ms);

// Replaces the clock; null arguments restore SDL's.
void setClock(TickSource ticks, SleepSource sleep);
