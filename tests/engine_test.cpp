#include "engine/engine.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "audio/audio.h"
#include "engine/random.h"
#include "support/test_window.h"

namespace {

TEST(Engine, KeysReachTheInputMapByName) {
  openTestWindow();
  // Either key of a name releases it, even while the other is held; other keys are ignored.
  const std::pair<Uint8, SDLKey> events[] = {{SDL_KEYDOWN, SDLK_UP},
                                             {SDL_KEYDOWN, SDLK_w},
                                             {SDL_KEYUP, SDLK_w},
                                             {SDL_KEYDOWN, SDLK_F5},
                                             {SDL_KEYDOWN, SDLK_SPACE}};
  for (auto [type, sym] : events) {
    SDL_Event key = {};
    key.type = type;
    key.key.keysym.sym = sym;
    SDL_PushEvent(&key);
  }
  runFrame();
  EXPECT_EQ(*inputMap, (InputMap{{"space", true}, {"up", false}}));
}

// Closed, the audio opens again whole, and an effect plays.
TEST(Audio, OpensAgainAfterClosing) {
  initAudio();
  freeAudio();
  initAudio();
  playSound("fire.wav");
  EXPECT_EQ(Mix_Playing(-1), 1);
  freeAudio();
}

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

  // A replaced source may go below zero; the reduction still lands in range.
  static const int32_t draws[] = {-5, 0, 7, -8, 4};
  static int next = 0;
  setRandomSource([] { return draws[next++]; });
  for (int32_t expected : {3, 0, 3, 0, 0}) EXPECT_EQ(randomBelow(4), expected);
}

}  // namespace
