#include "game/play_state.h"

#include "audio/audio.h"
#include "engine/engine.h"
#include "engine/random.h"
#include "game/colours.h"
#include "game/playfield.h"
#include "gfx/render_queue.h"
#include "screens/fail_state.h"
#include "screens/pause_state.h"

namespace {

const int kFirstWaveSize = 3;
const int kWaveGrowth = 3;
// Four ships in all: the one in play and three spares. A death with no spare
// left loses the game.
const int kSpareShips = 3;
const int kLivesWhenLost = -1;
const float kTurnRate = 250;
const float kThrustRate = 5;
const int kBigAsteroid = 32;
const int kSmallAsteroid = 16;
const int kFragmentCount = 3;

const float kShipStartX = 320;
const float kShipStartY = 280;
const float kFirstLifeIconX = 20;
const float kLifeIconSpacing = 20;
const float kLifeIconY = 460;
const int kLifeIconSize = 16;

// The edges' colour lines, just inside the window.
struct BorderLine {
  float x, y;
  int width, height;
};
const BorderLine kTopLine = {320, 8, 625, 2};
const BorderLine kBottomLine = {320, 471, 625, 2};
const BorderLine kLeftLine = {8, 240, 2, 465};
const BorderLine kRightLine = {632, 240, 2, 465};

Sprite* newBorder(const BorderLine& line, const float colour[3]) {
  Sprite* border = new Sprite("dot.png", line.x, line.y, line.width, line.height, 0, 1);
  border->setColour(colour);
  return border;
}

// Two separate statements, so x is always drawn before y.
void addBigAsteroid(std::vector<Asteroid*>* asteroids) {
  int32_t x = randomBelow(kPlayColumns);
  int32_t y = randomBelow(kPlayRows);
  asteroids->push_back(new Asteroid(x, y, kBigAsteroid));
}

}  // namespace

PlayState::PlayState() {
  ship = new Ship(kShipStartX, kShipStartY);
  waveSize = kFirstWaveSize;

  borderTop = newBorder(kTopLine, kRed);
  borderBottom = newBorder(kBottomLine, kGreen);
  borderLeft = newBorder(kLeftLine, kBlue);
  borderRight = newBorder(kRightLine, kYellow);

  asteroids = new std::vector<Asteroid*>;

  for (Sprite*& star : stars) {
    int32_t x = randomBelow(kPlayColumns);
    int32_t y = randomBelow(kPlayRows);
    star = new Sprite("dot.png", x, y, kStarSize, kStarSize, 0, 1);
  }

  for (int i = 0; i < waveSize; i++) addBigAsteroid(asteroids);

  for (int i = 0; i < kLifeIconCount; i++) {
    lifeIcons[i] = new Sprite("ship.png", kFirstLifeIconX + kLifeIconSpacing * i, kLifeIconY,
                              kLifeIconSize, kLifeIconSize, 0, 1);
  }

  lives = kSpareShips;
}

PlayState::~PlayState() {
  delete ship;
  delete borderTop;
  delete borderBottom;
  delete borderLeft;
  delete borderRight;
  for (size_t i = asteroids->size(); i > 0; i--) delete (*asteroids)[i - 1];
  for (Sprite* star : stars) delete star;
  for (Sprite* icon : lifeIcons) delete icon;
  delete asteroids;
}

void PlayState::update(InputMap* input, float seconds) {
  openMenu(input);
  turn(input, seconds);
  fire(input);
  moveShip(input, seconds);
  moveAsteroids(seconds);
  checkLoss();
  // Runs even in the frame that lost the game.
  startNewWave();
}

void PlayState::openMenu(InputMap* input) {
  InputMap& keys = *input;
  if (!keys["menu"] && !keys["esc"]) return;
  // Cleared, so that one press opens one menu.
  keys["esc"] = false;
  keys["menu"] = false;
  playSound("select2.wav");
  pushState(new PauseState);
}

void PlayState::turn(InputMap* input, float seconds) {
  InputMap& keys = *input;
  if (keys["left"]) {
    ship->angle += seconds * (-kTurnRate);
    if (ship->angle < 0) ship->angle += 360;
  }
  if (keys["right"]) {
    ship->angle += seconds * kTurnRate;
    if (ship->angle > 360) ship->angle -= 360;
  }
}

void PlayState::fire(InputMap* input) {
  InputMap& keys = *input;
  if (!keys["space"]) return;
  ship->fire();
  // One shot per press: only the next key-down sets it again.
  keys["space"] = false;
}

void PlayState::moveShip(InputMap* input, float seconds) {
  float thrust = (*input)["up"] ? seconds * kThrustRate : 0;
  if (ship->update(thrust, seconds)) scatterStars();
}

void PlayState::moveAsteroids(float seconds) {
  // Backwards by index: erasing shifts only what was already visited, and
  // fragments appended at the end wait for the next frame.
  for (int i = static_cast<int>(asteroids->size()) - 1; i >= 0; i--) {
    Asteroid* asteroid = (*asteroids)[i];
    asteroid->update(seconds);

    if (ship->collidesWith(*asteroid)) {
      lives -= 1;
      ship->respawn();
      playSound("death.wav");
    }

    for (Bullet* bullet : *ship->bullets) {
      if (bullet->collidesWith(*asteroid)) {
        destroyAsteroid(i);
        break;
      }
    }
  }
}

void PlayState::destroyAsteroid(int index) {
  playSound("explode.wav");
  Asteroid* asteroid = (*asteroids)[index];
  int x = static_cast<int>(asteroid->x);
  int y = static_cast<int>(asteroid->y);
  int width = asteroid->width;
  delete asteroid;
  asteroids->erase(asteroids->begin() + index);
  if (width == kBigAsteroid) {
    for (int k = 0; k < kFragmentCount; k++) {
      asteroids->push_back(new Asteroid(x, y, kSmallAsteroid));
    }
  }
}

void PlayState::checkLoss() {
  if (lives != kLivesWhenLost) return;
  popStates(1);
  stopMusic();
  pushState(new FailState);
}

void PlayState::startNewWave() {
  if (!asteroids->empty()) return;
  playSound("win.wav");
  ship->setColour(kWhite);
  waveSize += kWaveGrowth;
  for (int i = 0; i < waveSize; i++) addBigAsteroid(asteroids);
}

void PlayState::draw(RenderQueue* queue) {
  ship->draw(queue);
  for (Sprite* star : stars) queue->push(star);
  queue->push(ship);
  queue->push(borderTop);
  queue->push(borderBottom);
  queue->push(borderLeft);
  queue->push(borderRight);
  for (size_t i = asteroids->size(); i > 0; i--) queue->push((*asteroids)[i - 1]);
  for (int i = 0; i < lives && i < kLifeIconCount; i++) queue->push(lifeIcons[i]);
}

void PlayState::scatterStars() {
  for (Sprite* star : stars) {
    star->x = randomBelow(kPlayColumns);
    star->y = randomBelow(kPlayRows);
  }
  playSound("switch.wav");
}
