#pragma once

#include <SDL.h>

#include <vector>

#include "engine/input.h"
#include "engine/state.h"

class RenderQueue;

// The screens, bottom first; the stack owns them.
typedef std::vector<State*> StateStack;

// The minimum time between two frames.
const Uint32 kFrameMs = 8;

// The most time one frame moves play on. Frames come every 8 ms and take about
// 1 ms to draw on Mesa's software renderer, so even a much slower machine plays
// in real time. A longer gap is a stall (a suspended machine, a stopped
// process): play goes on as after one slow frame, instead of flying the ship
// across an edge unseen.
const Uint32 kMaxStepMs = 50;

extern bool running;
extern SDL_Event event;
extern RenderQueue* renderQueue;
extern InputMap* inputMap;
extern Uint32 lastTick;
extern State* pendingState;
extern StateStack* stateStack;
extern int popCount;

// Opens the window and audio, registers the exit clean-up and puts the splash
// screen on the stack.
void initEngine();

// Drains events, then runs one frame, or sleeps 1 ms if 8 ms have not passed.
// The frame updates by the time since the last one, but by no more than 50 ms.
void runFrame();

// Applies the requested pops, then the pending push, then updates the top state.
void updateStates(float seconds);

// Lets every state queue its sprites, bottom to top.
void drawStates();

// Asks for a state to be pushed at the next frame; replaces (and deletes) any
// state already waiting.
void pushState(State* state);

// Asks for count states to be popped at the next frame; replaces any earlier
// request in this frame.
void popStates(int count);

// Exit clean-up: input map, render queue, states, audio, textures.
void shutdownEngine();

// Deletes every state, top first, then the stack.
void freeStates();
