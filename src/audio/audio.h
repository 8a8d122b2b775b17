#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <map>
#include <string>

// Sound file name ("fire.wav") to its decoded chunk; case-sensitive.
typedef std::map<std::string, Mix_Chunk*> SoundBank;

extern SoundBank soundBank;
extern bool audioEnabled;
extern Mix_Music* music;

// Opens the device and loads the music and every effect of effect_list.h; on a
// device failure prints one message and leaves audio off.
void initAudio();

// Loads "./media/snd/<name>" into the bank, or prints a message and skips it.
void loadSound(const std::string& name);

// Plays a loaded effect once on the first free channel.
void playSound(const std::string& name);

// Starts the music from its beginning, looping for ever.
void playMusic();

void stopMusic();

// Frees the music, closes the device and frees every chunk. Exit clean-up only.
void freeAudio();
