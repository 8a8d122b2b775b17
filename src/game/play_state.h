#pragma once

#include <vector>

#include "engine/state.h"
#include "game/asteroid.h"
#include "game/playfield.h"
#include "game/ship.h"

// The game itself: the ship, the asteroids, the border lines, the stars and
// the spare-life icons, and the rules that play them.
class PlayState : public State {
 public:
  static const int kLifeIconCount = 3;

  PlayState();
  ~PlayState() override;
  void update(InputMap* input, float seconds) override;
  void draw(RenderQueue* queue) override;

  // Moves every star to a new random place, to mark an edge crossing.
  void scatterStars();

  // The steps of update, in order.
  void openMenu(InputMap* input);
  void turn(InputMap* input, float seconds);
  void fire(InputMap* input);
  void moveShip(InputMap* input, float seconds);
  void moveAsteroids(float seconds);
  void checkLoss();
  void startNewWave();

  // Explodes the asteroid at the index; a big one leaves three small ones.
  void destroyAsteroid(int index);

  Ship* ship;
  Sprite* borderTop;
  Sprite* borderBottom;
  Sprite* borderLeft;
  Sprite* borderRight;
  Sprite* stars[kStarCount];
  Sprite* lifeIcons[kLifeIconCount];
  std::vector<Asteroid*>* asteroids;
  int lives;  // spare ships: -1 once the game is lost
  int waveSize;
};
