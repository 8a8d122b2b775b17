#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

// Opens the game's real 640x480 OpenGL window, once per test process.
void openTestWindow();

// Puts a test clock in place of SDL's; sleeping advances it.
void useFakeClock(Uint32 startMs);
void setFakeTime(Uint32 ms);
void advanceFakeTime(Uint32 ms);
Uint32 fakeTime();

// Makes the game's random draws return these values, in order, then its own
// sequence again.
void scriptRandom(const std::vector<int32_t>& values);

// How many values the game has drawn since the last reset of this counter.
int randomDraws();
void resetRandomDraws();
