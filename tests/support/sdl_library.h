#pragma once

#include <sys/types.h>

// When QUORVANE_EXPECT_SDL names a library, "classic" or "sdl12-compat",
// expects the process to have mapped that SDL 1.2, told apart by what it is:
// sdl12-compat is built to load SDL 2, the classic library is not. No pass of
// the suite can then succeed on the wrong library.
void expectSdlLibrary(pid_t pid);
