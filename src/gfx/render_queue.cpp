#include "gfx/render_queue.h"

#include <GL/gl.h>
#include <SDL.h>

#include "gfx/sprite.h"
#include "gfx/texture.h"

namespace {

void paintSprite(const Sprite& sprite) {
  // A screen may release its picture in the frame it is drawn for the last
  // time; a deleted texture name is never bound.
  if (!isLiveTexture(sprite.texture.id)) return;

  float halfWidth = sprite.width / 2;
  float halfHeight = sprite.height / 2;

  glPushMatrix();
  glTranslatef(sprite.x, sprite.y, 0);
  glRotatef(sprite.angle, 0, 0, 1);
  glColor4f(sprite.red, sprite.green, sprite.blue, sprite.alpha);
  glBindTexture(GL_TEXTURE_2D, sprite.texture.id);
  glBegin(GL_QUADS);
  glTexCoord2f(sprite.texLeft, sprite.texTop);
  glVertex2f(-halfWidth, -halfHeight);
  glTexCoord2f(sprite.texRight, sprite.texTop);
  glVertex2f(halfWidth, -halfHeight);
  glTexCoord2f(sprite.texRight, sprite.texBottom);
  glVertex2f(halfWidth, halfHeight);
  glTexCoord2f(sprite.texLeft, sprite.texBottom);
  glVertex2f(-halfWidth, halfHeight);
  glEnd();
  glPopMatrix();
}

}  // namespace

void flushRenderQueue(RenderQueue* queue) {
  glClear(GL_COLOR_BUFFER_BIT);
  while (!queue->sprites.empty()) {
    paintSprite(*queue->sprites.front());
    queue->sprites.pop_front();
  }
  SDL_GL_SwapBuffers();
}
