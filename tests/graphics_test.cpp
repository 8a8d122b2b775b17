#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "gfx/render_queue.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"
#include "support/test_window.h"

namespace fs = std::filesystem;

namespace {

// Red, green / blue, white, with alpha in `unused`: the white quarter has alpha 0.
SDL_Color kQuarters[4] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 0}};

std::string le32(uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

// Writes media/img/<name>, a 64x64 BMP of 24 bits (red last), 32 (RGBA) or 8 (a palette):
// the four quarters, or all of one colour.
void save(const std::string& name, int bits, const SDL_Color* solid = nullptr) {
  Uint32 m = bits == 8 ? 0 : 0xFF;  // a surface without masks has a palette
  SDL_Surface* s = SDL_CreateRGBSurface(0, 64, 64, m ? 32 : 8, m, m << 8, m << 16, m << 24);
  SDL_SetColors(s, kQuarters, 0, 4);  // only a palette surface has colours to set
  SDL_SetAlpha(s, 0, 255);            // so that SDL_SaveBMP copies rather than blends
  for (int i = 0; i < 4; i++) {
    const SDL_Color& c = solid ? *solid : kQuarters[i];
    SDL_Rect quarter = {Sint16(i % 2 * 32), Sint16(i / 2 * 32), 32, 32};
    SDL_FillRect(s, &quarter, SDL_MapRGBA(s->format, c.r, c.g, c.b, c.unused));
  }
  std::string path = "media/img/" + name;
  if (bits == 32) {
    // SDL writes no alpha: this is a top-down 32-bit BMP whose masks are the surface's.
    std::ofstream(path, std::ios::binary)
        << "BM" << le32(70 + 64 * 256) << le32(0) << le32(70) << le32(56) << le32(64) << le32(-64)
        << le32(32 << 16 | 1) << le32(3) << std::string(20, 0) << le32(m) << le32(m << 8)
        << le32(m << 16) << le32(m << 24) << std::string(static_cast<char*>(s->pixels), 64 * 256);
  } else {
    SDL_SaveBMP(s, path.c_str());  // SDL saves 32-bit surfaces as 24-bit
  }
  SDL_FreeSurface(s);
}

void paint(std::initializer_list<Sprite*> sprites) {
  RenderQueue queue;
  for (Sprite* sprite : sprites) queue.push(sprite);
  flushRenderQueue(&queue);
  EXPECT_TRUE(queue.sprites.empty());  // every flush must leave the queue empty
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

// Opens the game window, then runs in an empty directory holding media/img/,
// so that the loader reads only the pictures the test writes.
class GraphicsTest : public testing::Test {
 protected:
  void SetUp() override {
    openTestWindow();
    fs::create_directories(scratch / "media/img");
    fs::current_path(scratch);
    save("white.bmp", 24, &kQuarters[3]);
  }
  void TearDown() override {
    fs::current_path(QUORVANE_SOURCE_DIR);
    fs::remove_all(scratch);
  }
  fs::path scratch = fs::temp_directory_path() / ("quorvane-gfx-" + std::to_string(getpid()));
};

TEST_F(GraphicsTest, CacheReadsANameOnceUntilItIsUnloaded) {
  Sprite cached("white.bmp", 320, 240, 200, 200, 0, 1);
  save("white.bmp", 24, &kQuarters[1]);  // green, under the same name
  // Unloading a name the cache does not hold, even by case alone, changes nothing.
  size_t entries = textureCache->size();
  unloadTexture("never.png");
  unloadTexture("White.bmp");
  EXPECT_EQ(textureCache->size(), entries);
  EXPECT_EQ(loadTexture("white.bmp").id, cached.texture.id);
  paint({&cached});
  EXPECT_TRUE(shows(320, 240, 255, 255, 255));  // the first file's colour: it was read once

  unloadTexture("white.bmp");
  EXPECT_FALSE(glIsTexture(cached.texture.id));
  paint({&cached});  // its texture is gone, so it is not drawn
  EXPECT_TRUE(shows(320, 240, 0, 0, 0));
  // GL may hand out the same id again, so judge the reload by its contents.
  Sprite fresh("white.bmp", 320, 240, 200, 200, 0, 1);
  paint({&fresh});
  EXPECT_TRUE(shows(320, 240, 0, 255, 0));
}

TEST_F(GraphicsTest, EveryPixelLayoutShowsItsColoursTintedAndTurnedClockwise) {
  // The white quarter shows white, or the black frame through its alpha of 0.
  const std::tuple<const char*, int, Uint32, const char*, int> cases[] = {
      {"bgr.bmp", 24, 0xFF0000, "", 255},
      {"rgba.bmp", 32, 0xFF, "", 0},
      {"palette.bmp", 8, 0, "Image is not truecolour: palette.bmp\n", 255},
  };
  for (const auto& [name, bits, redMask, warning, white] : cases) {
    SCOPED_TRACE(name);
    save(name, bits);
    // The loader must see the layout this case is about.
    SDL_Surface* decoded = IMG_Load((std::string("media/img/") + name).c_str());
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->format->BitsPerPixel, bits);
    EXPECT_EQ(decoded->format->Rmask, redMask);
    SDL_FreeSurface(decoded);

    testing::internal::CaptureStdout();
    Sprite sprite(name, 320, 240, 200, 200, 90, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), warning);
    sprite.setColour(1, 0.5f, 1);
    paint({&sprite});
    // Red, green / blue, white a quarter turn about the centre on: blue, red / white, green,
    // every texel's green halved by the tint.
    EXPECT_TRUE(shows(270, 190, 0, 0, 255));
    EXPECT_TRUE(shows(370, 190, 255, 0, 0));
    EXPECT_TRUE(shows(270, 290, white, white / 2, white));
    EXPECT_TRUE(shows(370, 290, 0, 128, 0));
  }
}

TEST(GraphicsDeathTest, MissingPictureEndsTheProcess) {
  testing::GTEST_FLAG(death_test_style) = "threadsafe";
  openTestWindow();
  // "ship.png" is cached now; a name differing only in case is another entry, with no file.
  EXPECT_EXIT(loadTexture("Ship.png"), testing::ExitedWithCode(1),
              testing::Eq(std::string("Missing image file: Ship.png\n")));
}

TEST_F(GraphicsTest, CollisionNeedsTouchingWholePixelBoxesAndExactlyEqualTints) {
  // Boxes of whole-pixel half sizes, 10 by 5 and 3 by 2, as drawn; the turn is ignored.
  Sprite wide("white.bmp", 100, 100, 21, 11, 90, 1), small("white.bmp", 100, 100, 7, 5, 0, 1);
  const float blue[3] = {0, 0.3f, 1};
  wide.setColour(blue);
  small.setColour(0, 0.3f, 1);
  // Tints are copied from shared constants, so the least change to one channel is a mismatch.
  for (float Sprite::*channel : {&Sprite::red, &Sprite::green, &Sprite::blue}) {
    Sprite off = small;
    off.*channel = std::nextafter(off.*channel, 0.5f);
    EXPECT_FALSE(wide.collidesWith(off));
  }
  // Touching edges collide; a gap of half a pixel, which fractional half sizes would close, does
  // not.
  for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
    for (float gap : {0.f, 0.5f, 1.f}) {
      small.x = 100 + dx * (13 + gap);
      small.y = 100 + dy * (7 + gap);
      EXPECT_EQ(wide.collidesWith(small), gap == 0) << small.x << "," << small.y;
    }
  }
}

TEST_F(GraphicsTest, FlushPaintsTheQueueInOrderAndEmptiesIt) {
  Sprite red("white.bmp", 100, 100, 40, 40, 0, 1), green("white.bmp", 120, 100, 40, 40, 0, 1);
  Sprite hidden("white.bmp", 110, 100, 40, 40, 0, 0);
  red.setColour(1, 0, 0);
  green.setColour(0, 1, 0);
  paint({&red, &green});
  EXPECT_TRUE(shows(110, 100, 0, 255, 0));
  paint({&green, &red, &hidden});  // alpha 0 hides even the top sprite
  EXPECT_TRUE(shows(110, 100, 255, 0, 0));
  paint({});
  EXPECT_TRUE(shows(110, 100, 0, 0, 0));
}

}  // namespace
