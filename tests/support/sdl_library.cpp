#include "support/sdl_library.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/game_process.h"

void expectSdlLibrary(pid_t pid) {
  const char* expected = std::getenv("QUORVANE_EXPECT_SDL");
  if (!expected) return;
  std::string mapped = shell("grep -o '/[^ ]*/libSDL-1\\.2\\.so[^ ]*' /proc/" +
                             std::to_string(pid) + "/maps | sort -u");
  EXPECT_EQ(mapped.rfind(expected, 0), 0u) << "mapped: " << mapped;
  EXPECT_EQ(mapped.find('\n'), std::string::npos) << "mapped: " << mapped;
}
