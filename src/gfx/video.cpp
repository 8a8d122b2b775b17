#include "gfx/video.h"

#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gfx/picture_list.h"
#include "gfx/texture.h"

// Last: Xlib defines macros such as None and Status.
#include <X11/Xlib.h>

SDL_Surface* videoSurface = nullptr;

namespace {

// putenv keeps the pointer, so the string must outlive the process.
char centredWindow[] = "SDL_VIDEO_CENTERED=center";

// Without X, SDL falls back to a text-mode or an off-screen driver: escape codes
// on standard output, or an invisible game that never ends. An explicit choice
// in the environment is kept.
const char* const kVideoDriver = "x11";

// Xlib's own handler calls exit, and the exit handlers' SDL_Quit then waits
// under SDL 2 for an event from the dead server, for ever. Nothing left to
// clean up needs the display or outlives the process, so all of it is skipped.
int endOnLostDisplay(Display* display) {
  std::fprintf(stderr, "Lost the X display %s\n", DisplayString(display));
  _exit(1);
}

// Xlib's handler is one for the whole process: both SDL 1.2 libraries set
// theirs, if any, while SDL starts, so the game's is set after.
void handleLostDisplay() {
  char driver[16];
  if (SDL_VideoDriverName(driver, sizeof driver) && std::strcmp(driver, kVideoDriver) == 0)
    XSetIOErrorHandler(endOnLostDisplay);
}

}  // namespace

void initVideo(int width, int height, const char* caption) {
  setenv("SDL_VIDEODRIVER", kVideoDriver, 0);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "Unable to initalise SDL: %s\n", SDL_GetError());
    std::exit(1);
  }
  std::atexit(SDL_Quit);

  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  putenv(centredWindow);
  SDL_WM_SetCaption(caption, nullptr);

  videoSurface = SDL_SetVideoMode(width, height, 32, SDL_OPENGL | SDL_ANYFORMAT);
  if (!videoSurface) {
    std::fprintf(stderr, "Unable to set video mode: %s\n", SDL_GetError());
    std::exit(1);
  }
  handleLostDisplay();

  glClear(GL_COLOR_BUFFER_BIT);

  // Every sprite transform goes on the projection stack; the modelview matrix
  // stays the identity for the whole run.
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, width, height, 0.0, -1.0, 1.0);

  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

  // The pictures of play are loaded now, so that play never reads the disk.
  for (const PictureFile& picture : kPictures) {
    if (picture.preload) loadTexture(picture.name);
  }
}

void toggleFullscreen() {
  Uint32 flags = videoSurface->flags;
  videoSurface = SDL_SetVideoMode(0, 0, 0, flags ^ SDL_FULLSCREEN);
  if (!videoSurface) videoSurface = SDL_SetVideoMode(0, 0, 0, flags);
  if (!videoSurface) std::exit(1);
}
