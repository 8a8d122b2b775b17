#include "gfx/sprite.h"

Sprite::Sprite(const std::string& imageName, float x, float y, int width, int height, float angle,
               float alpha)
    : width(width),
      height(height),
      x(x),
      y(y),
      angle(angle),
      alpha(alpha),
      texture(loadTexture(imageName)),
      texLeft(0),
      texTop(0),
      texRight(1),
      texBottom(1),
      red(1),
      green(1),
      blue(1) {}

void Sprite::setColour(const float colour[3]) { setColour(colour[0], colour[1], colour[2]); }

void Sprite::setColour(float red, float green, float blue) {
  this->red = red;
  this->green = green;
  this->blue = blue;
}

void Sprite::setClip(int x, int y) {
  texLeft = static_cast<float>(x) / texture.width;
  texTop = static_cast<float>(y) / texture.height;
  texRight = texLeft + static_cast<float>(width) / texture.width;
  texBottom = texTop + static_cast<float>(height) / texture.height;
}

bool Sprite::collidesWith(const Sprite& other) const {
  // Whole-pixel half sizes, as the quads are drawn.
  float halfWidth = width / 2;
  float halfHeight = height / 2;
  float otherHalfWidth = other.width / 2;
  float otherHalfHeight = other.height / 2;

  if (other.x - otherHalfWidth > x + halfWidth) return false;
  if (other.x + otherHalfWidth < x - halfWidth) return false;
  if (other.y - otherHalfHeight > y + halfHeight) return false;
  if (y - halfHeight > other.y + otherHalfHeight) return false;

  // Colours come from shared constants, so only an exact match is a match.
  return red == other.red && green == other.green && blue == other.blue;
}
