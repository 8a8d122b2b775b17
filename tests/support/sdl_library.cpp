#include "support/sdl_library.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/game_process.h"

void expectSdlLibrary(pid_t pid) {
  const char* expected = std::getenv("QUORVANE_EXPECT_SDL");
  if (!expected) return;
  std::string mapped = shell("grep -o '/[^ ]*/libSDL-1\\.2\\.so[^ /]*$' /proc/" +
                             std::to_string(pid) + "/maps | sort -u");
  ASSERT_FALSE(mapped.empty()) << "no SDL 1.2 mapped";
  ASSERT_EQ(mapped.find('\n'), std::string::npos) << "two SDL 1.2 libraries mapped: " << mapped;
  // Whether SDL 2 is mapped says nothing: Debian 12's libmikmod links it. The
  // library itself names the SDL 2 it loads only if it is sdl12-compat.
  bool loadsSdl2 = shell("grep -c -a libSDL2-2.0.so '" + mapped + "'") != "0";
  EXPECT_EQ(loadsSdl2 ? "sdl12-compat" : "classic", std::string(expected)) << "mapped: " << mapped;
}
