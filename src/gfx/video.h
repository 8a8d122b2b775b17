#pragma once

#include <SDL.h>

// The surface of the last successful SDL_SetVideoMode; SDL owns it.
extern SDL_Surface* videoSurface;

// Opens the OpenGL window and sets the 2D drawing state, or ends the process
// with status 1 if SDL or the video mode fails. From then on, losing the X
// display ends the process at once with status 1 and a line naming it.
void initVideo(int width, int height, const char* caption);

// Switches between windowed and full-screen mode, keeping the old mode if the
// new one fails; ends the process with status 1 if neither can be set.
void toggleFullscreen();
