#include "engine/random.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "audio/audio.h"

namespace {

typedef std::vector<int32_t> Values;

// 20 values from the start of the sequence, with disturb() run halfway.
Values drawAround(void (*disturb)()) {
  resetRandom();
  Values values;
  for (int i = 0; i < 20; i++) {
    if (i == 10) disturb();
    values.push_back(nextRandom());
  }
  return values;
}

// The music player draws from the C library on the audio thread.
TEST(Random, StartsWhereAnUnseededRandStartsAndNeitherMusicNorOtherThreadsShiftIt) {
  const Values expected = drawAround([] {});
  std::srand(1);  // glibc treats no seed as seed 1
  for (int32_t value : expected) EXPECT_EQ(value, std::rand());
  EXPECT_EQ(drawAround([] { std::thread([] { std::rand(), random(); }).join(); }), expected);

  initAudio();
  playMusic();
  ASSERT_TRUE(Mix_PlayingMusic());
  std::srand(1);
  EXPECT_EQ(drawAround([] { SDL_Delay(2000); }), expected);
  EXPECT_NE(std::rand(), 1804289383) << "the music did not draw: this proves nothing";
  freeAudio();
}

}  // namespace
