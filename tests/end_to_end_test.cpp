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
  for (int c; pipe && (c = std::fgetc(pipe)) != EOF;) out += static_cast<char>(c);
  if (pipe) pclose(pipe);
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

// Polls until ok() holds. The deadline only keeps a broken run from hanging.
bool waitFor(const std::function<bool()>& ok) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  bool met;
  while (!(met = ok()) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return met;
}

// Evaluates an ImageMagick expression over the window's pixels, raised first:
// the other tests' windows open at the same place. import waits forever for a
// window that has gone.
bool looks(const std::string& window, const std::string& test) {
  return shell("xdotool windowraise " + window + "; timeout 5 import -window " + window +
               " -format '%[fx:" + test + "]' info:") == "1";
}

// Long enough for several frames to see it, short of the X server's repeat.
const char* const kPressEscape = "xdotool keydown Escape sleep 0.2 keyup Escape";

// The title menu: the red and the green bar under the game's name.
const char* const kTitleBars =
    "p{229,144}.r>0.8&&p{229,144}.g<0.25&&p{289,144}.g>0.8&&p{289,144}.r<0.25";

// The real game, started from the repository root so that ./media/ is found,
// and killed if it outlives the test.
struct Game {
  pid_t pid = fork();
  int status = -1;  // never a wait status: waitpid sets one only once the game has ended

  Game() {
    if (pid == 0 && chdir(QUORVANE_SOURCE_DIR) == 0)
      execl(QUORVANE_BINARY, QUORVANE_BINARY, nullptr);
    if (pid == 0) _exit(127);
  }
  ~Game() {
    if (pid > 0 && !exited()) kill(pid, SIGKILL);
  }
  bool exited() { return status != -1 || waitpid(pid, &status, WNOHANG) == pid; }
};

TEST(EndToEnd, EscapeSkipsTheSplashAndEscapeAgainQuitsFromTheTitleMenu) {
  Game game;
  ASSERT_GT(game.pid, 0);
  std::string search = "xdotool search --all --onlyvisible --pid " + std::to_string(game.pid) +
                       " --name '^Quorvane$'";
  std::string window;
  ASSERT_TRUE(waitFor([&] { return !(window = shell(search)).empty() || game.exited(); }));
  ASSERT_FALSE(game.exited()) << "status " << game.status;
  EXPECT_EQ(shell("xdotool getwindowgeometry " + window + " | grep -o '[0-9]*x[0-9]*'"), "640x480");
  // With no window manager, nothing else gives the window the keyboard.
  shell("xdotool windowfocus --sync " + window);

  // The splash fading in shows that the frame loop runs and will see a press.
  ASSERT_TRUE(waitFor([&] { return looks(window, "mean>0.02"); }));
  shell(kPressEscape);
  ASSERT_TRUE(waitFor([&] { return looks(window, kTitleBars); }));

  shell(kPressEscape);
  ASSERT_TRUE(waitFor([&] { return game.exited(); })) << "the game did not quit";
  EXPECT_TRUE(WIFEXITED(game.status) && WEXITSTATUS(game.status) == 0) << "status " << game.status;
}

}  // namespace
