#include "screens/menu_cursor.h"

#include "audio/audio.h"

void moveMenuCursor(InputMap* input, int itemCount, int* selection, bool* keysReleased) {
  // "up" is looked at first, so pressing both together moves up only.
  if ((*input)["up"] && *keysReleased) {
    --*selection;
    playSound("select1.wav");
    if (*selection == -1) *selection = itemCount - 1;
    *keysReleased = false;
  }
  if ((*input)["down"] && *keysReleased) {
    ++*selection;
    playSound("select1.wav");
    if (*selection == itemCount) *selection = 0;
    *keysReleased = false;
  }
  if (!(*input)["down"] && !(*input)["up"]) *keysReleased = true;
}
