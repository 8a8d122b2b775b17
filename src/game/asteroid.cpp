#include "game/asteroid.h"

#include <cmath>

#include "engine/random.h"
#include "game/colours.h"
#include "game/playfield.h"

namespace {

const float* const kColours[4] = {kRed, kGreen, kBlue, kYellow};

}  // namespace

Asteroid::Asteroid(float x, float y, int size) : Sprite("asteroid.png", x, y, size, size, 0, 1) {
  float speed = (randomBelow(150) + 20) * 0.01f;
  double heading = randomBelow(360) * kRadiansPerDegree;
  vx = std::sin(heading) * speed;
  vy = std::cos(heading) * speed;
  angle = randomBelow(360);
  spin = (randomBelow(40) - 20) * 0.1f;
  setColour(kColours[randomBelow(4)]);
}

void Asteroid::update(float seconds) {
  x += vx * 120 * seconds;
  y += vy * seconds * (-120);
  angle += 120 * spin * seconds;
  wrapBothAxes(this);
}
