#pragma once

#include <deque>

class Sprite;

// The sprites to paint this frame, in painting order. Borrows, never owns.
class RenderQueue {
 public:
  void push(Sprite* sprite) { sprites.push_back(sprite); }
  std::deque<Sprite*> sprites;
};

// Clears the window, paints and removes every queued sprite in order, swaps.
void flushRenderQueue(RenderQueue* queue);
