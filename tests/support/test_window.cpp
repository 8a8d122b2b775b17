#include "support/test_window.h"

#include <deque>

#include "engine/clock.h"
#include "engine/random.h"
#include "gfx/video.h"

void openTestWindow() {
  if (!videoSurface) initVideo(640, 480, "Quorvane");
}

namespace {

Uint32 now = 0;
Uint32 fakeTicks() { return now; }
void fakeSleep(Uint32 ms) { now += ms; }

std::deque<int32_t> scripted;
int draws = 0;

int32_t countingSource() {
  draws++;
  if (!scripted.empty()) {
    int32_t value = scripted.front();
    scripted.pop_front();
    return value;
  }
  setRandomSource(nullptr);
  int32_t value = nextRandom();
  setRandomSource(countingSource);
  return value;
}

}  // namespace

void useFakeClock(Uint32 startMs) {
  now = startMs;
  setClock(fakeTicks, fakeSleep);
}

void setFakeTime(Uint32 ms) { now = ms; }
void advanceFakeTime(Uint32 ms) { now += ms; }
Uint32 fakeTime() { return now; }

void scriptRandom(const std::vector<int32_t>& values) {
  scripted.assign(values.begin(), values.end());
  setRandomSource(countingSource);
}

int randomDraws() { return draws; }

void resetRandomDraws() {
  draws = 0;
  setRandomSource(countingSource);
}
