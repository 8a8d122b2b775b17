#pragma once

#include <cstdint>

#include "engine/window_size.h"

class Sprite;

// The window that play wraps around.
const float kPlayWidth = kWindowWidth;
const float kPlayHeight = kWindowHeight;

// The window's centre, where the cards and menus are drawn.
const float kPlayCentreX = kPlayWidth / 2;
const float kPlayCentreY = kPlayHeight / 2;

// Velocities are in pixels per tick, and a second has 120 ticks.
const float kTicksPerSecond = 120;

// The window's whole-pixel columns and rows, the ranges of random places.
const int32_t kPlayColumns = kWindowWidth;
const int32_t kPlayRows = kWindowHeight;

// Degrees to radians, as a double.
const double kRadiansPerDegree = 0.017453292519943295;

// The stars behind play and behind the title menu: how many, and their size.
const int kStarCount = 40;
const int kStarSize = 2;

// Brings a sprite that has left the window back at the opposite edge; each
// axis wraps on its own.
void wrapBothAxes(Sprite* sprite);
