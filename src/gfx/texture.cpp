#include "gfx/texture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>

TextureCache* textureCache = new TextureCache;

namespace {

const char* const kImageDir = "./media/img/";

struct UploadFormat {
  GLint internalFormat;
  GLenum pixelFormat;
};

// The mask of a pixel's first byte in memory. Masks are numbers, so that byte
// holds the lowest bits on a little-endian machine and the highest on a
// big-endian one.
Uint32 firstByteMask(int bytesPerPixel) {
  if (SDL_BYTEORDER == SDL_LIL_ENDIAN) return 0xFF;
  return Uint32(0xFF) << (8 * (bytesPerPixel - 1));
}

UploadFormat chooseFormat(const SDL_PixelFormat* format) {
  bool redFirst = format->Rmask == firstByteMask(format->BytesPerPixel);
  if (format->BytesPerPixel == 4) {
    return {GL_RGBA, static_cast<GLenum>(redFirst ? GL_RGBA : GL_BGRA)};
  }
  return {GL_RGB, static_cast<GLenum>(redFirst ? GL_RGB : GL_BGR)};
}

// Palette and 16-bit pictures become 32-bit RGBA, so the upload reads only
// whole pixels of a surface made for it.
SDL_Surface* convertToRgba(SDL_Surface* surface) {
  // Masks for red, green, blue, alpha in that byte order in memory.
  bool little = SDL_BYTEORDER == SDL_LIL_ENDIAN;
  SDL_Surface* layout = SDL_CreateRGBSurface(
      SDL_SWSURFACE, 1, 1, 32, little ? 0x000000FF : 0xFF000000, little ? 0x0000FF00 : 0x00FF0000,
      little ? 0x00FF0000 : 0x0000FF00, little ? 0xFF000000 : 0x000000FF);
  if (!layout) return nullptr;
  SDL_Surface* converted = SDL_ConvertSurface(surface, layout->format, SDL_SWSURFACE);
  SDL_FreeSurface(layout);
  return converted;
}

}  // namespace

TextureInfo loadTexture(const std::string& imageName) {
  TextureCache::iterator cached = textureCache->find(imageName);
  if (cached != textureCache->end()) return cached->second;

  std::string path = kImageDir + imageName;
  SDL_Surface* surface = IMG_Load(path.c_str());
  if (!surface) {
    std::fprintf(stderr, "Missing image file: %s\n", imageName.c_str());
    std::exit(1);
  }

  int bytesPerPixel = surface->format->BytesPerPixel;
  if (bytesPerPixel != 3 && bytesPerPixel != 4) {
    std::printf("Image is not truecolour: %s\n", imageName.c_str());
    std::fflush(stdout);
    SDL_Surface* converted = convertToRgba(surface);
    if (converted) {
      SDL_FreeSurface(surface);
      surface = converted;
    }
  }

  GLuint id = 0;
  glGenTextures(1, &id);
  glBindTexture(GL_TEXTURE_2D, id);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

  // A failed conversion leaves an empty texture rather than reading pixels of
  // the wrong size.
  int uploadBytes = surface->format->BytesPerPixel;
  if (uploadBytes == 3 || uploadBytes == 4) {
    UploadFormat format = chooseFormat(surface->format);
    glTexImage2D(GL_TEXTURE_2D, 0, format.internalFormat, surface->w, surface->h, 0,
                 format.pixelFormat, GL_UNSIGNED_BYTE, surface->pixels);
  }

  TextureInfo info = {id, surface->w, surface->h};
  SDL_FreeSurface(surface);
  (*textureCache)[imageName] = info;
  return info;
}

void unloadTexture(const std::string& imageName) {
  TextureCache::iterator cached = textureCache->find(imageName);
  if (cached == textureCache->end()) return;
  glDeleteTextures(1, &cached->second.id);
  textureCache->erase(cached);
}

void freeTextures() {
  for (TextureCache::value_type& entry : *textureCache) {
    glDeleteTextures(1, &entry.second.id);
  }
  delete textureCache;
  textureCache = nullptr;
}

bool isLiveTexture(GLuint id) {
  if (!textureCache) return false;
  for (const TextureCache::value_type& entry : *textureCache) {
    if (entry.second.id == id) return true;
  }
  return false;
}
