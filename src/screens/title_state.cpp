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

namespace {

const float kStarRiseRate = 250;

enum MenuItem { kStartGame = 0, kHowToPlay = 1, kQuit = 2 };

}  // namespace

TitleState::TitleState() {
  for (Sprite*& star : stars) {
    // Two statements, so x is always drawn before y.
    float x = static_cast<float>(randomBelow(kPlayColumns));
    float y = static_cast<float>(randomBelow(kPlayRows));
    star = new Sprite("dot.png", x, y, 2, 2, 0, 1);
  }
  title = new Sprite("title.png", 320, 240, 512, 512, 0, 1);
  info = new Sprite("info.png", 320, 240, 512, 512, 0, 1);
  arrow = new Sprite("arrow.png", 260, 285, 16, 16, 0, 1);
  playMusic();

  keysReleased = true;
  arrowY[0] = 285;
  arrowY[1] = 327;
  arrowY[2] = 369;
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
  moveMenuCursor(input, kItemCount, &selection, &keysReleased);
  // Quits silently: the process ends before a sound could be heard.
  if ((*input)["esc"]) std::exit(0);
  arrow->y = static_cast<float>(arrowY[selection]);
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
    case kStartGame:
      // Not needed again until the game ends; the pop deletes this screen.
      unloadTexture("title.png");
      popStates(1);
      playSound("select2.wav");
      pushState(new PlayState);
      break;
    case kHowToPlay:
      showInfo = true;
      playSound("select2.wav");
      (*input)["enter"] = false;
      break;
    case kQuit:
      playSound("select2.wav");
      std::exit(0);
  }
}
