#include "screens/pause_state.h"

#include "audio/audio.h"
#include "engine/engine.h"
#include "game/playfield.h"
#include "gfx/render_queue.h"
#include "screens/menu_cursor.h"
#include "screens/menu_layout.h"
#include "screens/title_state.h"

namespace {

const int kPanelSize = 256;
const int kArrowSize = 16;

}  // namespace

PauseState::PauseState() {
  menu = new Sprite("menu.png", kPlayCentreX, kPlayCentreY, kPanelSize, kPanelSize, 0, 1);
  arrow = new Sprite("arrow.png", kMenuCursorX, PauseMenu::kCursorRows[0], kArrowSize, kArrowSize,
                     0, 1);
  selection = 0;
  // Locked until the key that opened the menu has been let go.
  keysReleased = false;
}

PauseState::~PauseState() {
  delete arrow;
  delete menu;
}

void PauseState::update(InputMap* input, float seconds) {
  (void)seconds;
  bool quitting = chooseOnEnter(input);
  moveMenuCursor(input, PauseMenu::kItemCount, &selection, &keysReleased);
  if ((*input)["esc"]) {
    // Cleared even when quitting, or the new title menu would read it and quit.
    (*input)["esc"] = false;
    // Quitting prevails: a resume would leave the abandoned game on the stack
    // under the new title menu.
    if (!quitting) popStates(1);
  }
  arrow->y = static_cast<float>(PauseMenu::kCursorRows[selection]);
}

void PauseState::draw(RenderQueue* queue) {
  queue->push(menu);
  queue->push(arrow);
}

bool PauseState::chooseOnEnter(InputMap* input) {
  if (!(*input)["enter"]) return false;
  (*input)["enter"] = false;
  if (selection == PauseMenu::kResume) {
    popStates(1);
    playSound("select2.wav");
    return false;
  }
  playSound("select2.wav");
  // This menu and the game under it.
  popStates(2);
  pushState(new TitleState);
  return true;
}
