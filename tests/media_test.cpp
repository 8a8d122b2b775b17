#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <mikmod.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/texture.h"
#include "support/test_window.h"

namespace fs = std::filesystem;

namespace {

const int kMaxSample = 29204;  // -1 dBFS

fs::path sourceDir() { return fs::path(QUORVANE_SOURCE_DIR); }

std::vector<unsigned char> readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

struct Rgba {
  int r, g, b, a;
};

// A picture decoded by SDL_image, as the game would see it.
struct Picture {
  int width = 0, height = 0, bytesPerPixel = 0;
  std::vector<Rgba> pixels;
  const Rgba& at(int x, int y) const { return pixels[y * width + x]; }
};

Picture loadPicture(const std::string& name) {
  Picture picture;
  SDL_Surface* surface = IMG_Load(("media/img/" + name).c_str());
  if (!surface) return picture;
  picture.width = surface->w;
  picture.height = surface->h;
  picture.bytesPerPixel = surface->format->BytesPerPixel;
  // Converted to one known layout, so every pixel reads the same way.
  SDL_Surface* rgba = SDL_CreateRGBSurface(SDL_SWSURFACE, surface->w, surface->h, 32, 0xFF, 0xFF00,
                                           0xFF0000, 0xFF000000);
  SDL_SetAlpha(surface, 0, 255);
  SDL_BlitSurface(surface, nullptr, rgba, nullptr);
  const Uint32* pixels = static_cast<const Uint32*>(rgba->pixels);
  for (int i = 0; i < surface->w * surface->h; i++) {
    Uint8 r, g, b, a;
    SDL_GetRGBA(pixels[i], rgba->format, &r, &g, &b, &a);
    picture.pixels.push_back({r, g, b, a});
  }
  SDL_FreeSurface(rgba);
  SDL_FreeSurface(surface);
  return picture;
}

bool lit(const Rgba& p) { return p.a >= 160 && (p.r + p.g + p.b) / 3 >= 160; }

struct PictureCase {
  const char* name;
  int size;
  bool alpha;
};

const PictureCase kPictures[] = {{"ship.png", 64, true},   {"asteroid.png", 64, true},
                                 {"bullet.png", 16, true}, {"dot.png", 8, false},
                                 {"arrow.png", 32, true},  {"splash.png", 512, false},
                                 {"title.png", 512, true}, {"info.png", 512, true},
                                 {"menu.png", 256, true},  {"fail.png", 512, false}};

TEST(MediaPictures, EveryPictureUploadsAtItsSizeInTrueColour) {
  openTestWindow();
  for (const PictureCase& c : kPictures) {
    SCOPED_TRACE(c.name);
    TextureInfo texture = loadTexture(c.name);
    EXPECT_EQ(texture.width, c.size);
    EXPECT_EQ(texture.height, c.size);
    EXPECT_EQ(loadPicture(c.name).bytesPerPixel, c.alpha ? 4 : 3);
  }
  for (int size : {32, 64, 128, 256}) {
    Picture icon = loadPicture("../icons/quorvane-" + std::to_string(size) + ".png");
    EXPECT_EQ(icon.width, size);
    EXPECT_EQ(icon.bytesPerPixel, 4);
  }
}

// The game tints these, so any colour of their own would skew the play colours.
TEST(MediaPictures, TintedSpritesAreGreyAndPointTheRightWay) {
  for (const char* name : {"ship.png", "asteroid.png", "bullet.png", "dot.png"}) {
    Picture picture = loadPicture(name);
    ASSERT_FALSE(picture.pixels.empty()) << name;
    int coloured = 0;
    for (const Rgba& p : picture.pixels) coloured += p.r != p.g || p.g != p.b;
    EXPECT_EQ(coloured, 0) << name;
  }
  // The nose is the ship's topmost opaque row, the tip the arrow's rightmost
  // column, each centred.
  Picture ship = loadPicture("ship.png"), arrow = loadPicture("arrow.png");
  int noseX = -1, noseY = 64, tipX = -1, tipY = -1;
  for (int y = 63; y >= 0; y--) {
    for (int x = 0; x < 64; x++) {
      if (ship.at(x, y).a > 128) noseX = x, noseY = y;
    }
  }
  for (int x = 0; x < 32; x++) {
    for (int y = 0; y < 32; y++) {
      if (arrow.at(x, y).a > 128) tipX = x, tipY = y;
    }
  }
  EXPECT_LT(noseY, 10);
  EXPECT_NEAR(noseX, 32, 2);
  EXPECT_GT(tipX, 24);
  EXPECT_NEAR(tipY, 16, 3);
}

struct MenuLayout {
  const char* name;
  std::vector<int> rows;  // cursor rows, in picture rows
  int cursorLeft, cursorRight;
};

// Words must sit on the rows the cursor visits and never under the cursor itself.
TEST(MediaPictures, MenuWordsSitOnTheCursorRowsBesideTheCursor) {
  const MenuLayout layouts[] = {{"title.png", {301, 343, 385}, 188, 204},
                                {"menu.png", {108, 150}, 60, 76}};
  for (const MenuLayout& layout : layouts) {
    Picture picture = loadPicture(layout.name);
    ASSERT_FALSE(picture.pixels.empty()) << layout.name;
    for (int row : layout.rows) {
      SCOPED_TRACE(std::string(layout.name) + " row " + std::to_string(row));
      int underCursor = 0;
      std::vector<int> ink;  // lit word pixels per row, from row - 20 on
      for (int y = row - 20; y <= row + 20; y++) {
        ink.push_back(0);
        for (int x = layout.cursorLeft - 4; x < picture.width - 20; x++) {
          const Rgba& p = picture.at(x, y);
          if (x <= layout.cursorRight + 4) {
            if (std::abs(y - row) <= 14 && p.a > 40 && (p.r + p.g + p.b) / 3 > 60) underCursor++;
          } else if (lit(p)) {
            ink.back()++;
          }
        }
      }
      EXPECT_EQ(underCursor, 0);
      int most = *std::max_element(ink.begin(), ink.end());
      ASSERT_GT(most, 20) << "no words on this row";
      // Centred on the row: from the top of the capitals to the baseline,
      // leaving out the thin descenders.
      int top = 0, bottom = 0;
      while (ink[top] == 0) top++;
      for (int i = 0; i < static_cast<int>(ink.size()); i++) {
        if (4 * ink[i] >= most) bottom = i;
      }
      EXPECT_NEAR((top + bottom) / 2.0 + row - 20, row, 3.0);
      EXPECT_GE(bottom - top, 12) << "too small to read";
    }
  }
}

uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

TEST(MediaSounds, EveryEffectLoadsAndIsCleanAndUnderMinusOneDecibel) {
  ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0);
  ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
  const std::pair<const char*, double> effects[] = {
      {"fire.wav", 1.0},    {"explode.wav", 1.0}, {"death.wav", 1.0}, {"select1.wav", 1.0},
      {"select2.wav", 1.0}, {"switch.wav", 1.0},  {"win.wav", 2.0}};
  for (const auto& [name, maxSeconds] : effects) {
    SCOPED_TRACE(name);
    std::string path = std::string("media/snd/") + name;
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
    ASSERT_NE(chunk, nullptr) << Mix_GetError();
    Mix_FreeChunk(chunk);

    // SDL_LoadWAV keeps the file's own format, which the mixer would convert.
    SDL_AudioSpec format;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    ASSERT_NE(SDL_LoadWAV(path.c_str(), &format, &buffer, &length), nullptr);
    EXPECT_EQ(format.freq, 44100);
    EXPECT_EQ(format.format, AUDIO_S16LSB);
    std::vector<int16_t> samples(length / 2);
    std::copy_n(reinterpret_cast<const int16_t*>(buffer), samples.size(), samples.data());
    SDL_FreeWAV(buffer);
    ASSERT_GT(samples.size(), 0u);
    EXPECT_LT(static_cast<double>(samples.size()) / format.channels / format.freq, maxSeconds);
    int peak = 0;
    for (int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_LE(peak, kMaxSample);
    EXPECT_GT(peak, kMaxSample / 4) << "too quiet to hear";
    // Ends at rest: a sound cut off mid-wave clicks.
    EXPECT_LE(std::abs(static_cast<int>(samples.front())), 64);
    EXPECT_LE(std::abs(static_cast<int>(samples.back())), 64);
  }
  Mix_CloseAudio();
  SDL_Quit();
}

// Counted from what libmikmod, the player behind the mixer, loaded: it takes a
// cut-short module without complaint, only with fewer samples.
TEST(MediaMusic, LoadsWholeAndLoopsWithinItsLength) {
  std::vector<unsigned char> file = readFile("media/snd/quorvane.xm");
  ASSERT_GT(file.size(), 80u);
  EXPECT_EQ(le16(&file[58]), 0x0104);
  int declaredInstruments = le16(&file[72]);

  MikMod_RegisterDriver(&drv_nos);
  MikMod_RegisterAllLoaders();
  ASSERT_EQ(MikMod_Init(const_cast<char*>("")), 0) << MikMod_strerror(MikMod_errno);
  MODULE* module = Player_Load(const_cast<char*>("media/snd/quorvane.xm"), 64, 0);
  ASSERT_NE(module, nullptr) << MikMod_strerror(MikMod_errno);
  EXPECT_GE(module->numchn, 4);
  EXPECT_GE(module->numins, 4);
  EXPECT_EQ(module->numins, declaredInstruments);
  // One synthesised sample per instrument, each with its data.
  ASSERT_EQ(module->numsmp, module->numins);
  for (int i = 0; i < module->numsmp; i++) EXPECT_GT(module->samples[i].length, 0u) << i;
  EXPECT_GE(module->numpos, 8);
  EXPECT_LT(module->reppos, module->numpos);

  // The tune sets no speed of its own, so its length follows from the header.
  double seconds = 0;
  for (int i = 0; i < module->numpos; i++) {
    seconds += module->pattrows[module->positions[i]] * module->initspeed * 2.5 / module->inittempo;
  }
  EXPECT_GE(seconds, 45.0);
  EXPECT_LE(seconds, 120.0);
  Player_Free(module);
  MikMod_Exit();
}

TEST(MediaMusic, PlaysAudiblyThroughTheMixer) {
  fs::path out = fs::temp_directory_path() / ("quorvane-music-" + std::to_string(getpid()));
  // The disk driver writes what the mixer plays into a file we can measure.
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "10", 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
  ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
  Mix_Music* music = Mix_LoadMUS("media/snd/quorvane.xm");
  ASSERT_NE(music, nullptr) << Mix_GetError();
  ASSERT_EQ(Mix_PlayMusic(music, -1), 0);
  SDL_Delay(2000);
  Mix_FreeMusic(music);
  Mix_CloseAudio();
  SDL_Quit();

  std::vector<unsigned char> raw = readFile(out);
  fs::remove(out);
  ASSERT_GT(raw.size(), 44100u * 2) << "the driver wrote too little to judge";
  double sum = 0;
  int peak = 0;
  for (size_t i = 0; i + 1 < raw.size(); i += 2) {
    int s = static_cast<int16_t>(le16(&raw[i]));
    sum += static_cast<double>(s) * s;
    peak = std::max(peak, std::abs(s));
  }
  EXPECT_GT(std::sqrt(sum / (raw.size() / 2)), 300.0) << "music is close to silent";
  EXPECT_LT(peak, 32767) << "music clips";
}

TEST(MediaGenerator, RegeneratesTheCommittedFilesByteForByte) {
  fs::path out = fs::temp_directory_path() / ("quorvane-media-" + std::to_string(getpid()));
  std::string generate = "python3 '" + (sourceDir() / "tools/make_media.py").string() +
                         "' --quiet --out '" + out.string() + "'";
  ASSERT_EQ(std::system(generate.c_str()), 0);
  // Same media file list, same bytes; the generated headers too.
  std::string compare =
      "diff -rq '" + out.string() + "/media' '" + (sourceDir() / "media").string() + "'";
  EXPECT_EQ(std::system(compare.c_str()), 0);
  for (const char* header : {"src/game/colours.h", "src/screens/menu_layout.h"})
    EXPECT_EQ(readFile(out / header), readFile(sourceDir() / header)) << header;
  fs::remove_all(out);
}

}  // namespace
