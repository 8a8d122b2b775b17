#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "audio/effect_list.h"

namespace fs = std::filesystem;

namespace {

std::vector<char> readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

// The peak and the root mean square of 16-bit samples.
std::pair<int, double> loudness(const int16_t* samples, size_t count) {
  int peak = 0;
  double sum = 0;
  for (size_t i = 0; i < count; i++) {
    peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    sum += static_cast<double>(samples[i]) * samples[i];
  }
  return {peak, std::sqrt(sum / std::max<size_t>(count, 1))};
}

TEST(MediaSounds, EffectsAreShortCleanAndLoudEnoughAndTheMusicIsAudible) {
  // The disk driver writes what the mixer plays into a file we can measure.
  fs::path out = fs::temp_directory_path() / ("quorvane-music-" + std::to_string(getpid()));
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "10", 1);
  // Samples measured as this machine's own 16-bit integers.
  ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
  for (const char* name : kEffects) {
    Mix_Chunk* chunk = Mix_LoadWAV(("media/snd/" + std::string(name)).c_str());
    ASSERT_NE(chunk, nullptr) << name;
    const int16_t* wave = reinterpret_cast<const int16_t*>(chunk->abuf);
    const size_t count = chunk->alen / 2;
    // Between -12 and -1 dB at its peak.
    EXPECT_LE(loudness(wave, count).first, 29204) << name;
    EXPECT_GT(loudness(wave, count).first, 29204 / 4) << name;
    // Ends at rest: a sound cut off mid-wave clicks.
    EXPECT_LE(std::abs(wave[0]) + std::abs(wave[count - 1]), 128) << name;
    Mix_FreeChunk(chunk);
  }
  Mix_Music* music = Mix_LoadMUS("media/snd/quorvane.xm");
  ASSERT_EQ(Mix_PlayMusic(music, -1), 0) << Mix_GetError();
  SDL_Delay(2000);
  Mix_FreeMusic(music);
  Mix_CloseAudio();
  std::vector<char> played = readFile(out);
  fs::remove(out);
  auto [peak, rms] = loudness(reinterpret_cast<const int16_t*>(played.data()), played.size() / 2);
  EXPECT_GT(rms, 300.0) << "the music is close to silent";
  EXPECT_LT(peak, 32767) << "the music clips";
}

TEST(MediaGenerator, RegeneratesTheCommittedFilesByteForByte) {
  fs::path source = QUORVANE_SOURCE_DIR;
  fs::path out = fs::temp_directory_path() / ("quorvane-media-" + std::to_string(getpid()));
  std::string generate = "python3 '" + (source / "tools/make_media.py").string() +
                         "' --quiet --out '" + out.string() + "'";
  ASSERT_EQ(std::system(generate.c_str()), 0);
  // The same media files with the same bytes, and every generated header the same.
  std::string compare =
      "diff -rq '" + (out / "media").string() + "' '" + (source / "media").string() + "'";
  EXPECT_EQ(std::system(compare.c_str()), 0);
  for (const fs::directory_entry& file : fs::recursive_directory_iterator(out / "src")) {
    if (!file.is_regular_file()) continue;
    fs::path header = fs::relative(file.path(), out);
    EXPECT_EQ(readFile(file), readFile(source / header)) << header;
  }
  fs::remove_all(out);
}

}  // namespace
