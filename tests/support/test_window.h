#pragma once

#include <SDL.h>

#include <string>
#include <vector>

// Opens the game's real OpenGL window, once per test process.
void openTestWindow();

// Puts a test clock in place of SDL's, reading startMs; sleeping advances it.
void useFakeClock(Uint32 startMs);
void advanceFakeTime(Uint32 ms);
Uint32 fakeTime();

// The effects playing now, by file name in name order; then silences them. The
// caller holds the audio lock (SDL_LockAudio), so that no effect ends unheard.
std::vector<std::string> heard();
