#include "game/asteroid.h"

#include <cmath>

#include "engine/random.h"
#include "game/colours.h"
#include "game/playfield.h"

namespace {

const int kColourCount = 4;
const float* const kColours[kColourCount] = {kRed, kGreen, kBlue, kYellow};

// Speeds from 0.2 to 1.69 pixels per tick, in hundredths.
const int kSpeedSteps = 150;
const int kSlowestSpeed = 20;
const float kSpeedUnit = 0.01f;
const int kDegreesPerTurn = 360;
// Spins from -2 to 1.9 degrees per tick, in tenths.
const int kSpinSteps = 40;
const int kSpinOffset = 20;
const float kSpinUnit = 0.1f;

}  // namespace

// Five draws, always in this order: speed, heading, angle, spin, colour.
Asteroid::Asteroid(float x, float y, int size) : Sprite("asteroid.png", x, y, size, size, 0, 1) {
  float speed = (randomBelow(kSpeedSteps) + kSlowestSpeed) * kSpeedUnit;
  double heading = randomBelow(kDegreesPerTurn) * kRadiansPerDegree;
  vx = std::sin(heading) * speed;
  vy = std::cos(heading) * speed;
  angle = randomBelow(kDegreesPerTurn);
  spin = (randomBelow(kSpinSteps) - kSpinOffset) * kSpinUnit;
  setColour(kColours[randomBelow(kColourCount)]);
}

void Asteroid::update(float seconds) {
  x += vx * kTicksPerSecond * seconds;
  y += vy * seconds * (-kTicksPerSecond);
  angle += kTicksPerSecond * spin * seconds;
  wrapBothAxes(this);
}
