#include <cstdlib>

#include "engine/engine.h"

int main() {
  initEngine();
  while (running) runFrame();
  std::exit(0);
}
