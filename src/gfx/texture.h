#pragma once

#include <GL/gl.h>

#include <map>
#include <string>

// An uploaded picture: the OpenGL texture name and the picture's own size.
struct TextureInfo {
  GLuint id;
  int width;
  int height;
};

// Picture file name ("ship.png") to its texture; case-sensitive.
typedef std::map<std::string, TextureInfo> TextureCache;

// The one cache, created empty before main runs.
extern TextureCache* textureCache;

// Returns the cached texture for the name, loading "./media/img/<name>" first
// if needed; a missing file ends the process with status 1.
TextureInfo loadTexture(const std::string& imageName);

// Deletes the name's texture and forgets it; does nothing if it is not cached.
void unloadTexture(const std::string& imageName);

// Deletes every cached texture, then the cache itself. Exit clean-up only.
void freeTextures();

// True while some cache entry still owns this texture name.
bool isLiveTexture(GLuint id);
