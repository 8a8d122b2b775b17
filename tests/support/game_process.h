#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// What a shell command printed, without the final newline.
std::string shell(const std::string& command);

// Polls until ok() holds. The limit only keeps a broken run from hanging.
bool waitFor(const std::function<bool()>& ok, int seconds = 20);

// The real game as a child process, with its standard output and error kept in
// files, and killed if it outlives the test.
class GameProcess {
 public:
  // Starts program in workDir with these extra "NAME=value" environment entries.
  explicit GameProcess(const std::string& workDir = QUORVANE_SOURCE_DIR,
                       const std::vector<std::string>& env = {},
                       const std::string& program = QUORVANE_BINARY);
  ~GameProcess();
  GameProcess(const GameProcess&) = delete;
  GameProcess& operator=(const GameProcess&) = delete;

  bool exited();
  // True once the process has ended with exit(code).
  bool exitedWith(int code);

  // The game's visible window; empty if the game ends first.
  std::string window();
  // Evaluates an ImageMagick fx expression over the window's pixels.
  bool looks(const std::string& test);
  // Types a key (xdotool's name for it) into the window, focused first: with no
  // window manager nothing else gives it the keyboard, and a window opened by
  // another test may have taken it.
  void press(const std::string& key);

  std::string out() const;
  std::string err() const;

  pid_t pid = -1;
  int status = -1;  // never a wait status: waitpid sets one only once the game has ended

 private:
  std::string outPath;
  std::string errPath;
  std::string windowId;
};

// How one press of a key reaches a game.
typedef std::function<void(const std::string& key)> KeySender;

// Presses key until seen() holds, by game.press unless given another way,
// looking first and for some seconds after each press: a press is repeated
// only once it has shown no effect, so a key that would do harm twice is safe.
// Fails, saying what was awaited, after a few presses or once the game ends.
testing::AssertionResult pressUntil(GameProcess& game, const std::string& key,
                                    const std::function<bool()>& seen, const std::string& awaited,
                                    const KeySender& press = nullptr);

// ImageMagick fx: a red window pixel at (redX, redY) and a green one at (greenX, greenY).
std::string redAndGreen(int redX, int redY, int greenX, int greenY);

// The title menu, as scripts/game-driver.sh's title_menu_shows tells it.
const std::string& titleMenuShows();
