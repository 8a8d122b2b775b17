#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// What a shell command printed, without the final newline.
std::string shell(const std::string& command);

// Polls until ok() holds. The limit only keeps a broken run from hanging.
bool waitFor(const std::function<bool()>& ok, int seconds = 20);

// Holds an X key (xdotool's name for it) down long enough for several frames to
// see it, short of the X server's repeat: a shorter tap can fall between frames.
void pressKey(const std::string& key);

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
  // Waits for the end of the process; false if it is still running at the limit.
  bool waitExit(int seconds = 20);
  // True once the process has ended with exit(code).
  bool exitedWith(int code);

  // The game's visible window, raised and focused; empty if the game ends first.
  std::string window();
  // Evaluates an ImageMagick fx expression over the window's pixels.
  bool looks(const std::string& test);

  std::string out() const;
  std::string err() const;

  pid_t pid = -1;
  int status = -1;  // never a wait status: waitpid sets one only once the game has ended

 private:
  std::string outPath;
  std::string errPath;
  std::string windowId;
};

// The title menu: the red and the green bar under the game's name.
extern const char* const kTitleMenuShows;
