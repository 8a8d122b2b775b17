#include "support/game_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

// Enough for a loaded machine to show a press's effect, so that a press is
// repeated only when it was lost: with two cores shared by other builds, one
// look at the window (raise, then import) can take seconds, and 4 s was once
// too short to see the title before Return was pressed again.
const int kPatienceSeconds = 10;
const int kMostPresses = 5;
// A window takes a second or two to show, and a minute and more under an
// emulator such as qemu-user; the bound only keeps a broken start from hanging.
const int kStartSeconds = 180;

// Runs a command with scripts/game-driver.sh sourced: the scripts, the tests
// and the soak find and read the game's window as it says.
std::string driver(const std::string& command) {
  return shell(". '" QUORVANE_SOURCE_DIR "/scripts/game-driver.sh' && " + command);
}

}  // namespace

std::string redAndGreen(int redX, int redY, int greenX, int greenY) {
  std::string red = "p{" + std::to_string(redX) + "," + std::to_string(redY) + "}";
  std::string green = "p{" + std::to_string(greenX) + "," + std::to_string(greenY) + "}";
  return red + ".r>0.8&&" + red + ".g<0.25&&" + green + ".g>0.8&&" + green + ".r<0.25";
}

const std::string& titleMenuShows() {
  // Read when first asked, so that the in-process tests start no shell.
  static const std::string probe = driver("printf %s \"$title_menu_shows\"");
  return probe;
}

std::string shell(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  for (int c; pipe && (c = std::fgetc(pipe)) != EOF;) out += static_cast<char>(c);
  if (pipe) pclose(pipe);
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

bool waitFor(const std::function<bool()>& ok, int seconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  bool met;
  while (!(met = ok()) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return met;
}

testing::AssertionResult pressUntil(GameProcess& game, const std::string& key,
                                    const std::function<bool()>& seen, const std::string& awaited,
                                    const KeySender& press) {
  // Once seen, the effect counts: looking again might miss it, say where a
  // star crosses the probed pixel, and press a key that would do harm twice.
  bool shown = seen();
  for (int presses = 0; !shown; presses++) {
    if (game.exited())
      return testing::AssertionFailure()
             << "awaiting " << awaited << ", the game ended after " << presses << " presses of "
             << key << ", wait status " << game.status << ": " << game.err();
    if (presses == kMostPresses)
      return testing::AssertionFailure()
             << key << ", pressed " << presses << " times, never brought " << awaited;
    press ? press(key) : game.press(key);
    waitFor([&] { return (shown = seen()) || game.exited(); }, kPatienceSeconds);
  }
  return testing::AssertionSuccess();
}

namespace {

std::string readAll(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

}  // namespace

GameProcess::GameProcess(const std::string& workDir, const std::vector<std::string>& env,
                         const std::string& program)
    : outPath(shell("mktemp /tmp/quorvane-out-XXXXXX")),
      errPath(shell("mktemp /tmp/quorvane-err-XXXXXX")) {
  pid = fork();
  if (pid != 0) return;
  int out = open(outPath.c_str(), O_WRONLY | O_TRUNC);
  int err = open(errPath.c_str(), O_WRONLY | O_TRUNC);
  if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
  for (const std::string& entry : env) putenv(const_cast<char*>(entry.c_str()));
  if (chdir(workDir.c_str()) == 0) execl(program.c_str(), program.c_str(), nullptr);
  _exit(127);
}

GameProcess::~GameProcess() {
  if (pid > 0 && !exited()) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  std::remove(outPath.c_str());
  std::remove(errPath.c_str());
}

bool GameProcess::exited() { return status != -1 || waitpid(pid, &status, WNOHANG) == pid; }

bool GameProcess::exitedWith(int code) {
  return exited() && WIFEXITED(status) && WEXITSTATUS(status) == code;
}

std::string GameProcess::window() {
  if (!windowId.empty()) return windowId;
  std::string search = "game_window_of " + std::to_string(pid);
  waitFor([&] { return !(windowId = driver(search)).empty() || exited(); }, kStartSeconds);
  return windowId;
}

bool GameProcess::looks(const std::string& test) {
  // Raised first: other tests' windows open at the same place. import waits
  // for ever for a window that has gone, hence the timeout.
  std::string id = window();
  return !id.empty() && shell("xdotool windowraise " + id + "; timeout 5 import -window " + id +
                              " -format '%[fx:" + test + "]' info:") == "1";
}

void GameProcess::press(const std::string& key) {
  std::string id = window();
  if (!id.empty()) driver("xdotool windowfocus --sync " + id + " && press " + key);
}

std::string GameProcess::out() const { return readAll(outPath); }

std::string GameProcess::err() const { return readAll(errPath); }
