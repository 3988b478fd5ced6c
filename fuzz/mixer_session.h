#pragma once

// SDL_mixer opened once per fuzzing process on SDL's dummy audio driver, as the game opens it
// (same rate and format), so sound files are decoded and converted exactly as in the game without
// any sound device.

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>

#include "fuzz_check.h"

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
    // A short buffer keeps the wait for a rendered buffer short; the rest is the game's set-up.
    TAVI_REQUIRE(Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 256) == 0);
    Mix_AllocateChannels(16);
    Mix_SetPostMix(
        [](void* session, Uint8*, int) { SDL_AtomicIncRef(&static_cast<MixerSession*>(session)->mixed_); },
        this);
  }

  SDL_atomic_t mixed_{};
};

}  // namespace tavi::fuzz
