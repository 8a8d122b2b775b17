#pragma once

#include <cstdint>

// The game's own random sequence: glibc's random() algorithm in a private
// state seeded with 1, so it gives exactly what an unseeded rand() gives.
// The music player calls random() from the audio thread; nothing it does can
// shift this sequence.

// The next value, from 0 to RAND_MAX.
int32_t nextRandom();

// The next value reduced to 0 .. range - 1.
int32_t randomBelow(int32_t range);

// Starts the sequence over. The game never calls it; tests do.
void resetRandom();

// Replaces the source of values; null restores the sequence above. Tests use it
// to script the draws of an asteroid.
typedef int32_t (*RandomSource)();
void setRandomSource(RandomSource source);
