#pragma once

#include <sys/types.h>

// When QUORVANE_EXPECT_SDL is set, expects the SDL 1.2 library that the process
// has mapped to lie under that path: the run on the second SDL 1.2 library must
// not pass on the first by accident.
void expectSdlLibrary(pid_t pid);
