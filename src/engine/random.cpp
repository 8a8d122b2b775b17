#include "engine/random.h"

#include <stdlib.h>

#include <cstring>

namespace {

// glibc's default generator: the additive feedback type with 128 bytes of state.
const size_t kStateBytes = 128;
const unsigned int kSeed = 1;

char stateBytes[kStateBytes];
random_data generator;
bool started = false;
RandomSource source = nullptr;

void start() {
  std::memset(&generator, 0, sizeof generator);
  initstate_r(kSeed, stateBytes, kStateBytes, &generator);
  started = true;
}

}  // namespace

int32_t nextRandom() {
  if (source) return source();
  if (!started) start();
  int32_t value = 0;
  random_r(&generator, &value);
  return value;
}

int32_t randomBelow(int32_t range) {
  int32_t value = nextRandom() % range;
  // A replaced source need not keep to 0 .. RAND_MAX.
  return value < 0 ? value + range : value;
}

void resetRandom() { start(); }

void setRandomSource(RandomSource newSource) { source = newSource; }
