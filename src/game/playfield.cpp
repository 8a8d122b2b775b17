#include "game/playfield.h"

#include "gfx/sprite.h"

void wrapBothAxes(Sprite* sprite) {
  if (sprite->x > kPlayWidth) {
    sprite->x = 0;
  } else if (sprite->x < 0) {
    sprite->x = kPlayWidth;
  }
  if (sprite->y > kPlayHeight) {
    sprite->y = 0;
  } else if (sprite->y < 0) {
    sprite->y = kPlayHeight;
  }
}
