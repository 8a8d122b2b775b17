#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

namespace {

// What a shell command printed, without the final newline.
std::string shell(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[256];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  if (pipe) pclose(pipe);
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

// Polls until ok() holds. The deadline only keeps a broken run from hanging.
bool waitFor(const std::function<bool()>& ok) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!ok()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

// Evaluates an ImageMagick expression over the window's pixels, raised first:
// the other tests' windows open at the same place.
bool looks(const std::string& window, const std::string& area, const std::string& test) {
  return shell("xdotool windowraise " + window + "; import -window " + window + " " + area +
               " -format '%[fx:" + test + "]' info:") == "1";
}

// Long enough for several frames to see it, short of the X server's repeat.
void press(const char* key) {
  shell(std::string("xdotool keydown ") + key + " sleep 0.2 keyup " + key);
}

// The real game, started from the repository root so that ./media/ is found,
// and killed if it outlives the test.
struct Game {
  Game() : pid(fork()) {
    if (pid == 0 && chdir(QUORVANE_SOURCE_DIR) == 0)
      execl(QUORVANE_BINARY, QUORVANE_BINARY, nullptr);
    if (pid == 0) _exit(127);
  }
  ~Game() {
    if (pid > 0 && !exited()) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
    }
  }
  bool exited() { return reaped || (reaped = waitpid(pid, &status, WNOHANG) == pid); }

  pid_t pid;
  int status = -1;
  bool reaped = false;
};

TEST(EndToEnd, EscapeSkipsTheSplashAndEscapeAgainQuitsFromTheTitleMenu) {
  Game game;
  ASSERT_GT(game.pid, 0);
  std::string window;
  ASSERT_TRUE(waitFor([&] {
    window = shell("xdotool search --all --onlyvisible --pid " + std::to_string(game.pid) +
                   " --name '^Quorvane$'");
    return !window.empty() || game.exited();
  }));
  ASSERT_FALSE(game.exited()) << "status " << game.status;
  EXPECT_EQ(shell("xdotool getwindowgeometry " + window + " | grep Geometry"),
            "  Geometry: 640x480");
  // With no window manager, nothing else gives the window the keyboard.
  shell("xdotool windowfocus --sync " + window);

  // The splash fading in shows that the frame loop runs and will see a press.
  ASSERT_TRUE(waitFor([&] { return looks(window, "", "mean>0.02"); }));
  press("Escape");
  // The title menu: the red and the green bar under the game's name.
  ASSERT_TRUE(waitFor([&] {
    return looks(window, "-crop 1x1+229+144", "r>0.8&&g<0.25&&b<0.25") &&
           looks(window, "-crop 1x1+289+144", "g>0.8&&r<0.25&&b<0.25");
  }));

  press("Escape");
  ASSERT_TRUE(waitFor([&] { return game.exited(); })) << "the game did not quit";
  EXPECT_TRUE(WIFEXITED(game.status) && WEXITSTATUS(game.status) == 0) << "status " << game.status;
}

}  // namespace
