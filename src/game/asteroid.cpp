#include "game/asteroid.h"

#include <cmath>

#include "engine/random.h"
#include "game/colours.h"

namespace {

const float* const kColours[4] = {kRed, kGreen, kBlue, kYellow};

// A scripted source may hand out negative values; the draws must stay in range.
int32_t nextInRange(int32_t range) {
  int32_t value = nextRandom() % range;
  return value < 0 ? value + range : value;
}

}  // namespace

Asteroid::Asteroid(float x, float y, int size)
    : Sprite("asteroid.png", x, y, size, size, 0, 1) {
  float speed = (nextInRange(150) + 20) * 0.01f;
  double heading = nextInRange(360) * kRadiansPerDegree;
  vx = std::sin(heading) * speed;
  vy = std::cos(heading) * speed;
  angle = nextInRange(360);
  spin = (nextInRange(40) - 20) * 0.1f;
  setColour(kColours[nextInRange(4)]);
}

void Asteroid::update(float seconds) {
  x += vx * 120 * seconds;
  y += vy * seconds * (-120);
  angle += 120 * spin * seconds;

  if (x > kPlayWidth) {
    x = 0;
  } else if (x < 0) {
    x = kPlayWidth;
  }
  if (y > kPlayHeight) {
    y = 0;
  } else if (y < 0) {
    y = kPlayHeight;
  }
}
