#include "engine/input.h"

#include <SDL.h>

#include "engine/engine.h"

namespace {

struct KeyBinding {
  SDLKey sym;
  const char* name;
};

// W A S D mirror the arrows, so either hand can steer.
const KeyBinding kKeyTable[] = {
    {SDLK_RETURN, "enter"},   {SDLK_ESCAPE, "esc"}, {SDLK_SPACE, "space"}, {SDLK_a, "left"},
    {SDLK_d, "right"},        {SDLK_p, "menu"},     {SDLK_s, "down"},      {SDLK_w, "up"},
    {SDLK_KP_ENTER, "enter"}, {SDLK_UP, "up"},      {SDLK_DOWN, "down"},   {SDLK_RIGHT, "right"},
    {SDLK_LEFT, "left"},
};

}  // namespace

const char* keyName(int sym) {
  for (const KeyBinding& binding : kKeyTable) {
    if (binding.sym == sym) return binding.name;
  }
  return nullptr;
}

void handleKey(bool pressed) {
  const char* name = keyName(event.key.keysym.sym);
  if (name) (*inputMap)[name] = pressed;
}
