#include "screens/title_state.h"

#include <cstdlib>

#include "audio/audio.h"
#include "engine/engine.h"
#include "engine/random.h"
#include "game/play_state.h"
#include "game/playfield.h"
#include "gfx/render_queue.h"
#include "gfx/texture.h"
#include "screens/menu_cursor.h"
#include "screens/menu_layout.h"

namespace {

const float kStarRiseRate = 250;
const int kPageSize = 512;
const int kArrowSize = 16;

}  // namespace

TitleState::TitleState() {
  for (Sprite*& star : stars) {
    // Two statements, so x is always drawn before y.
    float x = static_cast<float>(randomBelow(kPlayColumns));
    float y = static_cast<float>(randomBelow(kPlayRows));
    star = new Sprite("dot.png", x, y, kStarSize, kStarSize, 0, 1);
  }
  title = new Sprite("title.png", kPlayCentreX, kPlayCentreY, kPageSize, kPageSize, 0, 1);
  info = new Sprite("info.png", kPlayCentreX, kPlayCentreY, kPageSize, kPageSize, 0, 1);
  arrow = new Sprite("arrow.png", kMenuCursorX, TitleMenu::kCursorRows[0], kArrowSize, kArrowSize,
                     0, 1);
  playMusic();

  keysReleased = true;
  selection = 0;
  showInfo = false;
}

TitleState::~TitleState() {
  for (Sprite* star : stars) delete star;
  delete title;
  delete info;
  delete arrow;
}

void TitleState::update(InputMap* input, float seconds) {
  raiseStars(seconds);
  if (showInfo) {
    closeInfoOnKey(input);
    return;
  }
  chooseOnEnter(input);
  moveMenuCursor(input, TitleMenu::kItemCount, &selection, &keysReleased);
  // Quits silently: the process ends before a sound could be heard.
  if ((*input)["esc"]) std::exit(0);
  arrow->y = static_cast<float>(TitleMenu::kCursorRows[selection]);
}

void TitleState::draw(RenderQueue* queue) {
  if (showInfo) {
    queue->push(info);
  } else {
    queue->push(title);
    queue->push(arrow);
  }
  for (Sprite* star : stars) queue->push(star);
}

void TitleState::raiseStars(float seconds) {
  float rise = -kStarRiseRate * seconds;
  for (Sprite* star : stars) {
    star->y += rise;
    if (star->y < 0) {
      star->y += kPlayHeight;
      star->x = static_cast<float>(randomBelow(kPlayColumns));
    }
  }
}

void TitleState::closeInfoOnKey(InputMap* input) {
  if (!(*input)["enter"] && !(*input)["esc"]) return;
  playSound("select2.wav");
  showInfo = false;
  // Cleared, so a held key neither reopens the page nor quits.
  (*input)["enter"] = false;
  (*input)["esc"] = false;
}

void TitleState::chooseOnEnter(InputMap* input) {
  if (!(*input)["enter"]) return;
  switch (selection) {
    case TitleMenu::kStartGame:
      // Not needed again until the game ends; the pop deletes this screen.
      unloadTexture("title.png");
      popStates(1);
      playSound("select2.wav");
      pushState(new PlayState);
      break;
    case TitleMenu::kHowToPlay:
      showInfo = true;
      playSound("select2.wav");
      (*input)["enter"] = false;
      break;
    case TitleMenu::kQuit:
      playSound("select2.wav");
      std::exit(0);
  }
}
