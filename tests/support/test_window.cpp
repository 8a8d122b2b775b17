#include "support/test_window.h"

#include <SDL_mixer.h>

#include "audio/audio.h"
#include "engine/clock.h"
#include "engine/window_size.h"
#include "gfx/video.h"

void openTestWindow() {
  if (!videoSurface) initVideo(kWindowWidth, kWindowHeight, "Quorvane");
}

namespace {

Uint32 now = 0;
Uint32 fakeTicks() { return now; }

}  // namespace

void useFakeClock(Uint32 startMs) {
  now = startMs;
  setClock(fakeTicks, advanceFakeTime);
}

void advanceFakeTime(Uint32 ms) { now += ms; }
Uint32 fakeTime() { return now; }

std::vector<std::string> heard() {
  std::vector<std::string> names;
  for (const SoundBank::value_type& sound : soundBank) {
    for (int channel = 0; channel < Mix_AllocateChannels(-1); channel++) {
      if (Mix_Playing(channel) && Mix_GetChunk(channel) == sound.second)
        names.push_back(sound.first);
    }
  }
  Mix_HaltChannel(-1);
  return names;
}
