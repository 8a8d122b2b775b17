#include "audio/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;
typedef std::vector<std::string> Names;

const Names kEffects = {"death.wav",   "explode.wav", "fire.wav", "select1.wav",
                        "select2.wav", "switch.wav",  "win.wav"};

Names bankNames() {
  Names names;
  for (const SoundBank::value_type& entry : soundBank) names.push_back(entry.first);
  return names;
}

// True if text is one line that starts with prefix.
bool oneLineStarting(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0 && text.find('\n') == text.size() - 1;
}

TEST(AudioTest, NoDeviceMeansOneMessageThenSilence) {
  setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
  CaptureStderr();
  initAudio();
  const std::string opened = GetCapturedStderr();
  EXPECT_TRUE(oneLineStarting(opened, "Unable to open audio: ")) << opened;
  EXPECT_FALSE(audioEnabled);
  EXPECT_TRUE(soundBank.empty());

  CaptureStderr();
  playSound("fire.wav");
  playMusic();
  stopMusic();
  freeAudio();
  EXPECT_EQ(GetCapturedStderr(), "");
}

TEST(AudioTest, MissingEffectIsReportedAndTheOthersStillLoad) {
  // A media folder that lacks one effect from the middle of the load order.
  const fs::path home = fs::current_path();
  const fs::path scratch = fs::temp_directory_path() / ("audio_test." + std::to_string(getpid()));
  fs::create_directories(scratch / "media/snd");
  for (const fs::directory_entry& file : fs::directory_iterator(home / "media/snd")) {
    const fs::path name = file.path().filename();
    if (name != "select1.wav") fs::create_symlink(file.path(), scratch / "media/snd" / name);
  }
  fs::current_path(scratch);
  CaptureStderr();
  initAudio();
  EXPECT_EQ(GetCapturedStderr(), "Unable to load WAV file: select1.wav\n");
  fs::current_path(home);
  fs::remove_all(scratch);

  Names loaded = kEffects;
  loaded.erase(loaded.begin() + 3);
  CaptureStderr();
  playSound("select1.wav");
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(bankNames(), loaded);
  playSound("win.wav");
  EXPECT_EQ(Mix_Playing(-1), 1);
  freeAudio();
}

TEST(AudioTest, LoadsEverythingAndDropsANinthEffectWhileEightPlay) {
  CaptureStderr();
  initAudio();
  EXPECT_EQ(GetCapturedStderr(), "");
  EXPECT_EQ(bankNames(), kEffects);
  EXPECT_NE(music, nullptr);

  // Holding the audio thread keeps the eight from finishing.
  SDL_LockAudio();
  for (int i = 0; i < 8; i++) playSound("select1.wav");
  CaptureStderr();
  playSound("fire.wav");
  const std::string failed = GetCapturedStderr();
  EXPECT_EQ(Mix_Playing(-1), 8);
  SDL_UnlockAudio();
  EXPECT_TRUE(oneLineStarting(failed, "Unable to play WAV file: ")) << failed;
  freeAudio();
}

}  // namespace
