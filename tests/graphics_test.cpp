#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

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

// Red, green / blue, white; the white quarter has alpha 0.
const SDL_Color kQuarterColours[4] = {
    {255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {255, 255, 255, 0}};

// An RGBA surface in quarters split at (32, 32), or of one colour.
SDL_Surface* picture(int width, int height, const SDL_Color* solid = nullptr) {
  SDL_Surface* s = SDL_CreateRGBSurface(0, width, height, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000);
  for (int i = 0; i < 4; i++) {
    const SDL_Color& c = solid ? *solid : kQuarterColours[i];
    SDL_Rect from = {Sint16(i % 2 * 32), Sint16(i / 2 * 32), Uint16(width), Uint16(height)};
    SDL_FillRect(s, &from, SDL_MapRGBA(s->format, c.r, c.g, c.b, solid || i < 3 ? 255 : 0));
  }
  return s;
}

std::string be32(uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

uint32_t crc32(const std::string& bytes) {
  uint32_t c = 0xFFFFFFFF;
  for (unsigned char byte : bytes) {
    c ^= byte;
    for (int k = 0; k < 8; k++) c = (c >> 1) ^ (0xEDB88320 & (0u - (c & 1)));
  }
  return ~c;
}

// A single stored deflate block is valid zlib without a compressor (up to 64 KiB).
void writePng(const std::string& path, SDL_Surface* s, bool alpha) {
  std::string raw;
  for (int i = 0; i < s->w * s->h; i++) {
    if (i % s->w == 0) raw += '\0';
    raw.append(static_cast<char*>(s->pixels) + i / s->w * s->pitch + i % s->w * 4, alpha ? 4 : 3);
  }
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
  size_t n = raw.size();
  std::string zlib = {0x78, 0x01, 0x01, char(n), char(n >> 8), char(~n), char(~n >> 8)};
  std::string header = be32(s->w) + be32(s->h) + char(8) + char(alpha ? 6 : 2) + std::string(3, 0);
  std::ofstream out(path, std::ios::binary);
  out << "\x89PNG\r\n\x1a\n";
  for (const auto& [type, data] : {std::pair<std::string, std::string>{"IHDR", header},
                                   {"IDAT", zlib + raw + be32(b << 16 | a)},
                                   {"IEND", ""}}) {
    out << be32(data.size()) << type << data << be32(crc32(type + data));
  }
}

enum Format { kBgrBmp, kPaletteBmp, kRgbPng, kRgbaPng };

// SDL saves a truecolour surface as a 24-bit BMP, red byte last, and a palette one as 8-bit.
void save(SDL_Surface* s, const std::string& name, Format format) {
  std::string path = "media/img/" + name;
  SDL_SetAlpha(s, 0, 255);  // convert by copying, not blending
  SDL_Surface* indexed = SDL_CreateRGBSurface(0, s->w, s->h, 8, 0, 0, 0, 0);
  SDL_SetColors(indexed, const_cast<SDL_Color*>(kQuarterColours), 0, 4);
  SDL_BlitSurface(s, nullptr, indexed, nullptr);
  if (format == kRgbPng || format == kRgbaPng) writePng(path, s, format == kRgbaPng);
  if (format == kBgrBmp || format == kPaletteBmp)
    SDL_SaveBMP(format == kBgrBmp ? s : indexed, path.c_str());
  SDL_FreeSurface(indexed);
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
  bool near = std::abs(p[0] - r) <= 3 && std::abs(p[1] - g) <= 3 && std::abs(p[2] - b) <= 3;
  return (near ? testing::AssertionSuccess() : testing::AssertionFailure())
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
    save(picture(8, 8, &kQuarterColours[3]), "white.bmp", kBgrBmp);
    save(picture(64, 64), "quarters.bmp", kBgrBmp);
  }
  void TearDown() override {
    fs::current_path(QUORVANE_SOURCE_DIR);
    fs::remove_all(scratch);
  }
  static Sprite block(float x, float y, int size, float r, float g, float b, float alpha = 1) {
    Sprite sprite("white.bmp", x, y, size, size, 0, alpha);
    sprite.setColour(r, g, b);
    return sprite;
  }
  fs::path scratch = fs::temp_directory_path() / ("quorvane-gfx-" + std::to_string(getpid()));
};

TEST_F(GraphicsTest, CacheReadsANameOnceUntilItIsUnloaded) {
  TextureInfo ship = loadTexture("ship.png");  // cached by the window; there is no such file here
  save(picture(64, 64), "rock.bmp", kBgrBmp);
  TextureInfo first = loadTexture("rock.bmp");
  save(picture(16, 8, &kQuarterColours[1]), "rock.bmp", kBgrBmp);
  TextureInfo again = loadTexture("rock.bmp");
  EXPECT_EQ(again.id, first.id);
  Sprite cached("rock.bmp", 320, 240, 200, 200, 0, 1);
  paint({&cached});
  EXPECT_TRUE(shows(270, 190, 255, 0, 0));

  size_t entries = textureCache->size();
  unloadTexture("never.png");
  unloadTexture("Ship.png");
  EXPECT_EQ(textureCache->size(), entries);
  unloadTexture("rock.bmp");
  EXPECT_FALSE(glIsTexture(first.id));
  unloadTexture("rock.bmp");
  EXPECT_EQ(textureCache->size(), entries - 1);
  EXPECT_EQ(loadTexture("ship.png").id, ship.id);
  paint({&cached});  // its texture is gone, so it is not drawn
  EXPECT_TRUE(shows(270, 190, 0, 0, 0));

  // GL may hand out the same id again, so judge the reload by its size and contents.
  Sprite fresh("rock.bmp", 320, 240, 200, 200, 0, 1);
  EXPECT_EQ(fresh.texture.width, 16);
  paint({&fresh});
  EXPECT_TRUE(shows(270, 190, 0, 255, 0));
}

TEST_F(GraphicsTest, EveryPixelLayoutUploadsItsTrueColours) {
  // The last quarter shows white, or the black frame through its alpha of 0.
  const std::tuple<const char*, Format, int, Uint32, const char*, int> cases[] = {
      {"bgr.bmp", kBgrBmp, 3, 0xFF0000, "", 255},
      {"rgb.png", kRgbPng, 3, 0xFF, "", 255},
      {"rgba.png", kRgbaPng, 4, 0xFF, "", 0},
      {"palette.bmp", kPaletteBmp, 1, 0, "Image is not truecolour: palette.bmp\n", 255},
  };
  for (const auto& [name, format, bytesPerPixel, redMask, warning, lastQuarter] : cases) {
    SCOPED_TRACE(name);
    save(picture(64, 64), name, format);
    // The loader must see the layout this case is about.
    SDL_Surface* decoded = IMG_Load((std::string("media/img/") + name).c_str());
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->format->BytesPerPixel, bytesPerPixel);
    EXPECT_EQ(decoded->format->Rmask, redMask);
    SDL_FreeSurface(decoded);

    testing::internal::CaptureStdout();
    Sprite sprite(name, 320, 240, 200, 200, 0, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), warning);
    paint({&sprite});
    EXPECT_TRUE(shows(270, 190, 255, 0, 0));
    EXPECT_TRUE(shows(370, 190, 0, 255, 0));
    EXPECT_TRUE(shows(270, 290, 0, 0, 255));
    EXPECT_TRUE(shows(370, 290, lastQuarter, lastQuarter, lastQuarter));
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
  Sprite wide("white.bmp", 100, 100, 21, 11, 0, 1);  // half sizes 10 and 5
  Sprite small("white.bmp", 100, 100, 7, 5, 0, 1);   // half sizes 3 and 2
  // Only exactly equal tints collide: the least change to one channel is enough.
  const float blue[3] = {0, 0.3f, 1};
  wide.setColour(blue);
  small.setColour(0, 0.3f, 1);
  EXPECT_TRUE(wide.collidesWith(small));
  for (float Sprite::*channel : {&Sprite::red, &Sprite::green, &Sprite::blue}) {
    Sprite off = small;
    off.*channel = std::nextafter(off.*channel, 0.5f);
    EXPECT_FALSE(wide.collidesWith(off));
  }

  // Touching edges overlap; any gap, even half a pixel, does not, on every side.
  // The boxes are the unrotated ones, and opacity plays no part.
  wide.angle = 90;
  small.alpha = 0;
  for (const auto& side : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
    for (float gap : {0.f, 0.5f, 1.f}) {
      small.x = 100 + side.first * (13 + gap);
      small.y = 100 + side.second * (7 + gap);
      EXPECT_EQ(wide.collidesWith(small), gap == 0) << small.x << "," << small.y;
      EXPECT_EQ(small.collidesWith(wide), gap == 0) << small.x << "," << small.y;
    }
  }
}

TEST_F(GraphicsTest, FlushPaintsTheQueueInOrderAndEmptiesIt) {
  Sprite red = block(100, 100, 40, 1, 0, 0), green = block(120, 100, 40, 0, 1, 0);
  paint({&red, &green});
  EXPECT_TRUE(shows(110, 100, 0, 255, 0));
  paint({&green, &red});
  EXPECT_TRUE(shows(110, 100, 255, 0, 0));

  // Texels are multiplied by the tint and blended by alpha over what lies below.
  Sprite hidden = block(100, 100, 40, 1, 1, 1, 0), half = block(300, 100, 40, 1, 1, 1, 0.5f);
  Sprite tinted = block(500, 100, 40, 0, 0.3f, 1);
  RenderQueue queue;
  for (Sprite* sprite : {&red, &hidden, &half, &tinted}) queue.push(sprite);
  flushRenderQueue(&queue);
  EXPECT_TRUE(queue.sprites.empty());
  EXPECT_TRUE(shows(100, 100, 255, 0, 0));
  EXPECT_TRUE(shows(300, 100, 128, 128, 128));
  EXPECT_TRUE(shows(500, 100, 0, 77, 255));

  flushRenderQueue(&queue);
  for (int x : {0, 100, 300, 500, 639}) EXPECT_TRUE(shows(x, 100, 0, 0, 0));

  // A sprite is painted where its fields say at the flush, once per push.
  Sprite odd = block(100, 100, 5, 1, 1, 1, 0.5f), thin = block(200, 100, 1, 1, 1, 1);
  for (Sprite* sprite : {&odd, &thin, &odd}) queue.push(sprite);
  odd.x = 300;
  flushRenderQueue(&queue);
  // Width 5 spans 298 to 302 and width 1 nothing; at half opacity, two pushes paint twice.
  const int level[] = {0, 191, 191, 191, 191, 0};
  for (int i = 0; i < 6; i++) {
    EXPECT_TRUE(shows(297 + i, 100, level[i], level[i], level[i]));
    EXPECT_TRUE(shows(300, 97 + i, level[i], level[i], level[i]));
  }
  EXPECT_TRUE(shows(100, 100, 0, 0, 0));
  EXPECT_TRUE(shows(200, 100, 0, 0, 0));
}

TEST_F(GraphicsTest, PositiveAngleTurnsClockwiseAboutTheCentre) {
  Sprite square("quarters.bmp", 200, 300, 200, 200, 90, 1);
  paint({&square});
  // Red, green / blue, white a quarter turn on: blue, red / white, green.
  EXPECT_TRUE(shows(150, 250, 0, 0, 255));
  EXPECT_TRUE(shows(250, 250, 255, 0, 0));
  EXPECT_TRUE(shows(150, 350, 255, 255, 255));
  EXPECT_TRUE(shows(250, 350, 0, 255, 0));
}

TEST_F(GraphicsTest, ClipShowsTheChosenBlockOfThePicture) {
  // A block across all four quarters, of a picture that is not square.
  save(picture(64, 128), "tall.bmp", kBgrBmp);
  Sprite marker = block(100, 100, 20, 1, 1, 1);
  Sprite strip("tall.bmp", 300, 100, 32, 16, 0, 1);  // columns 16 to 47, rows 24 to 39
  strip.setClip(16, 24);
  paint({&marker, &strip});
  // Each sprite binds its own texture, though the last one loaded is another picture.
  EXPECT_TRUE(shows(92, 92, 255, 255, 255));
  EXPECT_TRUE(shows(285, 93, 255, 0, 0));
  EXPECT_TRUE(shows(314, 93, 0, 255, 0));
  EXPECT_TRUE(shows(285, 106, 0, 0, 255));
  EXPECT_TRUE(shows(314, 106, 255, 255, 255));
}

}  // namespace
