#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gfx/render_queue.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"
#include "support/test_window.h"

namespace fs = std::filesystem;

namespace {

// Red, green / blue, white.
SDL_Color kQuarters[4] = {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {255, 255, 255, 0}};

// Writes media/img/<name> in four quarters, the leftmost column white: a BMP of
// 24 bits (blue first in memory) or 8 (a palette), or a PNG of 8-bit RGB or
// RGBA (24 or 32 bits) made from the first.
void save(const std::string& name, int bits) {
  const std::string path = "media/img/" + name;
  if (name.find(".png") != std::string::npos) {
    const std::string convert = "convert media/img/bgr.bmp PNG" + std::to_string(bits) + ":" + path;
    ASSERT_EQ(std::system(convert.c_str()), 0) << convert;
    return;
  }
  SDL_Surface* s = SDL_CreateRGBSurface(0, 64, 64, bits, 0, 0, 0, 0);
  SDL_SetColors(s, kQuarters, 0, 4);  // only a palette surface has colours to set
  for (int i = 0; i < 4; i++) {
    SDL_Rect quarter = {Sint16(i % 2 * 32), Sint16(i / 2 * 32), 32, 32};
    SDL_FillRect(s, &quarter,
                 SDL_MapRGB(s->format, kQuarters[i].r, kQuarters[i].g, kQuarters[i].b));
  }
  SDL_Rect edge = {0, 0, 1, 64};
  SDL_FillRect(s, &edge, SDL_MapRGB(s->format, 255, 255, 255));
  SDL_SaveBMP(s, path.c_str());
  SDL_FreeSurface(s);
}

void paint(std::initializer_list<Sprite*> sprites) {
  RenderQueue queue;
  for (Sprite* sprite : sprites) queue.push(sprite);
  flushRenderQueue(&queue);
}

// Mesa's software GL under Xvfb reads the front buffer as black, but its swap
// copies the back buffer to the window and leaves it intact: read that.
testing::AssertionResult shows(int x, int y, int r, int g, int b) {
  unsigned char p[3] = {0, 0, 0};
  glReadBuffer(GL_BACK);
  glReadPixels(x, 479 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
  int off = std::max({std::abs(p[0] - r), std::abs(p[1] - g), std::abs(p[2] - b)});
  return testing::AssertionResult(off <= 3)
         << "(" << x << "," << y << ") is " << +p[0] << "," << +p[1] << "," << +p[2];
}

// Each layout shows its true colours on either byte order. In an empty folder
// holding media/img/, so that the loader reads only the pictures the test writes.
TEST(Graphics, EachPixelLayoutShowsItsColoursToTheEdgeTintedAndTurnedAndNotOnceReleased) {
  openTestWindow();
  const fs::path scratch = fs::temp_directory_path() / ("quorvane-gfx-" + std::to_string(getpid()));
  fs::create_directories(scratch / "media/img");
  fs::current_path(scratch);
  for (auto [name, bits, warning] : {std::tuple{"bgr.bmp", 24, ""},
                                     {"palette.bmp", 8, "Image is not truecolour: palette.bmp\n"},
                                     {"rgb.png", 24, ""},
                                     {"rgba.png", 32, ""}}) {
    save(name, bits);
    testing::internal::CaptureStdout();
    Sprite sprite(name, 320, 240, 200, 200, 90, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), warning);
    sprite.setColour(1, 0.5f, 1);
    paint({&sprite});
    // A quarter turn about the centre on: blue, red / white, green, green halved by the tint.
    EXPECT_TRUE(shows(270, 190, 0, 0, 255)) << name;
    EXPECT_TRUE(shows(370, 190, 255, 0, 0)) << name;
    EXPECT_TRUE(shows(270, 290, 255, 128, 255)) << name;
    EXPECT_TRUE(shows(370, 290, 0, 128, 0)) << name;
    // At its own size every texel shows, the outermost too.
    Sprite actual(name, 320, 240, 64, 64, 0, 1);
    paint({&actual});
    EXPECT_TRUE(shows(288, 220, 255, 255, 255)) << name;
    EXPECT_TRUE(shows(289, 220, 255, 0, 0)) << name;
    // Clipped, a sprite shows its own size of the picture from that corner: the
    // middle, a corner of each quarter, 15 pixels apart, in the quarters' order.
    Sprite middle(name, 320, 240, 32, 32, 0, 1);
    middle.setClip(16, 16);
    paint({&middle});
    for (int i = 0; i < 4; i++)
      EXPECT_TRUE(
          shows(312 + i % 2 * 15, 232 + i / 2 * 15, kQuarters[i].r, kQuarters[i].g, kQuarters[i].b))
          << name;
    // Released, a picture gives its texture back, and a sprite still holding it in the
    // frame it is last drawn for is not drawn: no white square.
    unloadTexture(name);
    EXPECT_FALSE(glIsTexture(actual.texture.id)) << name;
    paint({&actual});
    EXPECT_TRUE(shows(300, 220, 0, 0, 0)) << name;
  }
  fs::current_path(QUORVANE_SOURCE_DIR);
  fs::remove_all(scratch);
}

TEST(Graphics, CollisionNeedsTouchingWholePixelBoxes) {
  openTestWindow();
  // Boxes of whole-pixel half sizes, 10 by 5 and 3 by 2, as drawn; the turn is ignored.
  Sprite wide("dot.png", 100, 100, 21, 11, 90, 1), small("dot.png", 100, 100, 7, 5, 0, 1);
  // Touching edges collide; a gap of half a pixel, which fractional half sizes would close, does
  // not.
  for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
    for (float gap : {0.f, 0.5f}) {
      small.x = 100 + dx * (13 + gap);
      small.y = 100 + dy * (7 + gap);
      EXPECT_EQ(wide.collidesWith(small), gap == 0) << small.x << "," << small.y;
    }
  }
}

}  // namespace
