#include "engine/random.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "audio/audio.h"

namespace {

typedef std::vector<int32_t> Values;

// 2 * half values from the start of the sequence, with disturb() run halfway.
Values drawAround(int half, const std::function<void()>& disturb) {
  resetRandom();
  Values values;
  for (int i = 0; i < 2 * half; i++) {
    if (i == half) disturb();
    values.push_back(nextRandom());
  }
  return values;
}

TEST(RandomTest, StartsWhereAnUnseededRandStarts) {
  EXPECT_EQ(Values({nextRandom(), nextRandom(), nextRandom(), nextRandom()}),
            Values({1804289383, 846930886, 1681692777, 1714636915}));

  std::srand(1);  // glibc treats no seed as seed 1
  for (int32_t value : drawAround(25, [] {})) EXPECT_EQ(value, std::rand());
}

// What the music player does on the audio thread, and more.
void drawFromTheCLibrary() {
  for (int i = 0; i < 1000; i++) random();
  for (int i = 0; i < 1000; i++) std::rand();
}

TEST(RandomTest, OtherThreadsCallingRandLeaveTheSequenceAlone) {
  const Values expected = drawAround(10, [] {});
  EXPECT_EQ(drawAround(10, [] { std::thread(drawFromTheCLibrary).join(); }), expected);
}

TEST(RandomTest, PlayingMusicLeavesTheSequenceAlone) {
  const Values expected = drawAround(10, [] {});
  initAudio();
  playMusic();
  ASSERT_EQ(Mix_PlayingMusic(), 1);

  std::srand(1);
  EXPECT_EQ(drawAround(10, [] { SDL_Delay(2000); }), expected);
  // The music player really draws from the C library here; without that this
  // test would prove nothing.
  EXPECT_NE(std::rand(), 1804289383);
  freeAudio();
}

}  // namespace
