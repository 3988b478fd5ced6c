#pragma once

// SDL_mixer opened once per fuzzing process on SDL's dummy audio driver, as the game opens it
// (same rate, format and soundfont choice), so sound files are decoded and converted exactly as
// in the game without any sound device.

#include <SDL.h>
#include <SDL_mixer.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "fuzz_check.h"

#ifndef TAVI_SOUNDFONT_FILE
#error "TAVI_SOUNDFONT_FILE must name the game's soundfont"
#endif

namespace tavi::fuzz {

class MixerSession {
 public:
  static MixerSession& Instance() {
    static MixerSession session;
    return session;
  }

  // Counts the buffers the audio thread has mixed, so a test can wait until music was rendered.
  int MixedBuffers() { return SDL_AtomicGet(&mixed_); }

  ~MixerSession() {
    Mix_CloseAudio();
    Mix_Quit();
    SDL_Quit();
  }

 private:
  MixerSession() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    TAVI_REQUIRE(SDL_Init(SDL_INIT_AUDIO) == 0);
    Mix_SetSoundFonts(SoundFonts().c_str());
    Mix_Init(MIX_INIT_MID);
    // A short buffer keeps the wait for a rendered buffer short; the rest is the game's set-up.
    TAVI_REQUIRE(Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 256) == 0);
    Mix_AllocateChannels(16);
    Mix_SetPostMix(
        [](void* session, Uint8*, int) { SDL_AtomicIncRef(&static_cast<MixerSession*>(session)->mixed_); },
        this);
  }

  // The game's choice: the user's variable, else our soundfont, else the system's default.
  static std::string SoundFonts() {
    if (const char* fromUser = std::getenv("SDL_SOUNDFONTS"); fromUser && *fromUser) return fromUser;
    struct stat info;
    return stat(TAVI_SOUNDFONT_FILE, &info) == 0 ? TAVI_SOUNDFONT_FILE : "/usr/share/sounds/sf3/default-GM.sf3";
  }

  SDL_atomic_t mixed_{};
};

}  // namespace tavi::fuzz
