#include "audio/audio.h"

#include <cstdio>

#include "audio/effect_list.h"

SoundBank soundBank;
bool audioEnabled = false;
Mix_Music* music = nullptr;

namespace {

const char* const kSoundDir = "./media/snd/";
const char* const kMusicPath = "./media/snd/quorvane.xm";

const int kFrequency = 44100;
const Uint16 kFormat = AUDIO_S16LSB;
const int kChannels = 2;
const int kChunkFrames = 1024;

}  // namespace

void initAudio() {
  if (SDL_Init(SDL_INIT_AUDIO) != 0) {
    std::fprintf(stderr, "Unable to open audio: %s\n", SDL_GetError());
    return;
  }
  if (Mix_OpenAudio(kFrequency, kFormat, kChannels, kChunkFrames) != 0) {
    std::fprintf(stderr, "Unable to open audio: %s\n", SDL_GetError());
    audioEnabled = false;
    return;
  }

  // A missing module only means silence; the game plays on.
  music = Mix_LoadMUS(kMusicPath);
  for (const char* name : kEffects) loadSound(name);
  audioEnabled = true;
}

void loadSound(const std::string& name) {
  std::string path = kSoundDir + name;
  Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
  if (!chunk) {
    std::fprintf(stderr, "Unable to load WAV file: %s\n", name.c_str());
    return;
  }
  SoundBank::iterator slot = soundBank.lower_bound(name);
  if (slot != soundBank.end() && slot->first == name) {
    Mix_FreeChunk(slot->second);
    slot->second = chunk;
  } else {
    soundBank.insert(slot, SoundBank::value_type(name, chunk));
  }
}

void playSound(const std::string& name) {
  if (!audioEnabled) return;
  // A sound whose file failed to load was reported at start-up; stay quiet.
  SoundBank::iterator found = soundBank.find(name);
  if (found == soundBank.end()) return;
  if (Mix_PlayChannelTimed(-1, found->second, 0, -1) == -1) {
    std::fprintf(stderr, "Unable to play WAV file: %s\n", SDL_GetError());
  }
}

void playMusic() {
  if (audioEnabled && music) Mix_PlayMusic(music, -1);
}

void stopMusic() {
  if (audioEnabled) Mix_HaltMusic();
}

void freeAudio() {
  if (!audioEnabled) return;
  Mix_FreeMusic(music);
  music = nullptr;
  Mix_CloseAudio();
  for (SoundBank::value_type& entry : soundBank) Mix_FreeChunk(entry.second);
  // Nothing may play from freed chunks, should anything still ask.
  soundBank.clear();
  audioEnabled = false;
}
