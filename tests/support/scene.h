#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/state.h"
#include "game/play_state.h"

// Scenes of the real game for the rules tests: the engine started with the
// test clock, screens set on its stack directly, and frames run one by one.

typedef std::vector<std::string> Sounds;

class Scene : public testing::Test {
 protected:
  void SetUp() override;
  // What a fixture puts in place of the splash screen.
  virtual void setUpScene() {}
  void TearDown() override;
};

// Puts these screens, bottom first, in place of those on the stack.
void setScreens(std::initializer_list<State*> screens);

// Holds these keys (names, space-separated) and no others for so many frames,
// 8 ms apart; returns the effects that started, frame by frame.
Sounds hold(const std::string& keys, int frames = 1);

// Runs so many frames, 8 ms apart, leaving the keys as they are; returns the
// effects that started, frame by frame.
Sounds runFrames(int frames);

// A still asteroid of this size and colour, centred on the point.
void placeStill(PlayState* game, float x, float y, int size, const float colour[3]);

// The last ship left, turned red, on a red asteroid: the next frame ends the game.
void meetTheLastShipsColour(PlayState* game);

// The music, the screens, bottom first, as a player tells them, and the
// effects heard.
std::string describe(const Sounds& sounds);
