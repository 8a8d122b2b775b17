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

const char* const kTitleMenuShows =
    "p{229,144}.r>0.8&&p{229,144}.g<0.25&&p{289,144}.g>0.8&&p{289,144}.r<0.25";

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

void pressKey(const std::string& key) {
  shell("xdotool keydown " + key + " sleep 0.2 keyup " + key);
}

namespace {

std::string tempFile(const char* tag) {
  std::string path = std::string("/tmp/quorvane-") + tag + "-XXXXXX";
  int fd = mkstemp(&path[0]);
  if (fd >= 0) close(fd);
  return path;
}

std::string readAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

GameProcess::GameProcess(const std::string& workDir, const std::vector<std::string>& env,
                         const std::string& program)
    : outPath(tempFile("out")), errPath(tempFile("err")) {
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

bool GameProcess::waitExit(int seconds) {
  return waitFor([&] { return exited(); }, seconds);
}

bool GameProcess::exitedWith(int code) {
  return exited() && WIFEXITED(status) && WEXITSTATUS(status) == code;
}

std::string GameProcess::window() {
  if (!windowId.empty()) return windowId;
  std::string search =
      "xdotool search --all --onlyvisible --pid " + std::to_string(pid) + " --name '^Quorvane$'";
  waitFor([&] { return !(windowId = shell(search)).empty() || exited(); });
  // With no window manager, nothing else gives the window the keyboard.
  if (!windowId.empty()) shell("xdotool windowfocus --sync " + windowId);
  return windowId;
}

bool GameProcess::looks(const std::string& test) {
  // Raised first: other tests' windows open at the same place. import waits
  // for ever for a window that has gone, hence the timeout.
  std::string id = window();
  return !id.empty() && shell("xdotool windowraise " + id + "; timeout 5 import -window " + id +
                              " -format '%[fx:" + test + "]' info:") == "1";
}

std::string GameProcess::out() const { return readAll(outPath); }

std::string GameProcess::err() const { return readAll(errPath); }
