#pragma once

#include <string>

#include "gfx/texture.h"

// A textured, tinted rectangle rotated about its centre (x, y). Owners move,
// turn and fade it by writing the fields directly.
class Sprite {
 public:
  Sprite(const std::string& imageName, float x, float y, int width, int height, float angle,
         float alpha);

  void setColour(const float colour[3]);
  void setColour(float red, float green, float blue);

  // Shows the width x height block of the image whose top-left pixel is (x, y).
  void setClip(int x, int y);

  // Axis-aligned boxes overlap (touching counts) and the tints are exactly equal.
  bool collidesWith(const Sprite& other) const;

  int width;
  int height;
  float x;
  float y;
  float angle;
  float alpha;
  TextureInfo texture;
  float texLeft;
  float texTop;
  float texRight;
  float texBottom;
  float red;
  float green;
  float blue;
};
