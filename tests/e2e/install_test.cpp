#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_process.h"
#include "support/sdl_library.h"

namespace fs = std::filesystem;

namespace {

// Installs the build with a /usr prefix into a staging folder of its own, as a
// package build does; ctest runs tests side by side.
class Installed : public ::testing::Test {
 protected:
  void SetUp() override {
    stage = shell("mktemp -d /tmp/quorvane-install-XXXXXX");
    ASSERT_FALSE(stage.empty());
    ASSERT_EQ(
        shell("DESTDIR='" + stage +
              "' cmake --install '" QUORVANE_BUILD_DIR "' --prefix /usr >/dev/null 2>&1; echo $?"),
        "0");
  }
  void TearDown() override { fs::remove_all(stage); }
  std::string usr(const std::string& path) const { return stage + "/usr/" + path; }

  std::string stage;
};

TEST_F(Installed, LaysOutTheFilesAsDebianGamesDoAndEveryValidatorPassesThem) {
  // Exactly what data/installed-files lists.
  EXPECT_EQ(shell("cd '" + stage + "/usr' && find . ! -type d | sed 's|^\\./||' | sort"),
            shell(QUORVANE_SOURCE_DIR "/scripts/installed-files"));

  // Each prints nothing on a clean file.
  EXPECT_EQ(shell("desktop-file-validate " + usr("share/applications/quorvane.desktop") + " 2>&1"),
            "");
  EXPECT_EQ(shell("mandoc -T lint -W warning " + usr("share/man/man6/quorvane.6") + " 2>&1"), "");

  // The whole tree, as lintian validates a package: only the hints that
  // scripts/check-appstream allows, which it passes in silence.
  EXPECT_EQ(shell(QUORVANE_SOURCE_DIR "/scripts/check-appstream '" + stage + "' 2>&1"), "");
}

// Started as the desktop entry does, from anywhere through the launcher: the
// window, the library the release runs on, Escape skipping the splash and
// Escape again quitting from the title menu.
TEST_F(Installed, LauncherStartsTheGameFromAnyFolderWhereEscapeSkipsTheSplashAndQuits) {
  fs::create_symlink(usr("games/quorvane"), stage + "/quorvane");
  GameProcess game("/", {}, stage + "/quorvane");
  std::string window = game.window();
  ASSERT_FALSE(window.empty()) << "status " << game.status << ": " << game.err();
  EXPECT_EQ(shell("xdotool getwindowgeometry " + window + " | grep -o '[0-9]*x[0-9]*'"), "640x480");
  expectSdlLibrary(game.pid);
  // The splash fading in shows that the frame loop runs and will see a press.
  ASSERT_TRUE(waitFor([&] { return game.looks("mean>0.02"); }));
  ASSERT_TRUE(pressUntil(
      game, "Escape", [&] { return game.looks(titleMenuShows()); }, "the title menu"));
  ASSERT_TRUE(pressUntil(
      game, "Escape", [&] { return game.exited(); }, "the end of the game"));
  EXPECT_TRUE(game.exitedWith(0)) << "status " << game.status;
  EXPECT_EQ(game.err(), "");
}

}  // namespace
