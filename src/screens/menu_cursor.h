#pragma once

#include "engine/input.h"

// The cursor rule that the title and pause menus share: "up" then "down" each
// move the selection one item, wrapping round, and play "select1.wav"; after a
// move the cursor stays locked until both keys are seen released together.
void moveMenuCursor(InputMap* input, int itemCount, int* selection, bool* keysReleased);
