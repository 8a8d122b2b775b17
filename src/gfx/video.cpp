#include "gfx/video.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

#include "gfx/picture_list.h"
#include "gfx/texture.h"

SDL_Surface* videoSurface = nullptr;

namespace {

// putenv keeps the pointer, so the string must outlive the process.
char centredWindow[] = "SDL_VIDEO_CENTERED=center";

// Without X, SDL falls back to a text-mode or an off-screen driver: escape codes
// on standard output, or an invisible game that never ends. An explicit choice
// in the environment is kept.
const char* const kVideoDriver = "x11";

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
