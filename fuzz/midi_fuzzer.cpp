// MIDI files through SDL_mixer from memory, as the game loads and starts its music.
//
// Every input is loaded and played once: FluidSynth reads a file's tracks only when it starts
// playing, so the music is played until the audio thread has rendered it. Any file must be loaded
// or refused and play or stay silent, never crash or leak.
//
// The inputs the game's check lets through (PlayableMidi) are also played as the game plays its
// music, repeating for ever: the audio thread must go on mixing. FluidSynth retries a file it
// cannot read, or one that is over at once, endlessly inside the audio thread, which would
// freeze the game; the check must keep every such file away.
#include "mixer_session.h"
#include "platform/midi_check.h"

namespace {

// Generous against a busy machine; a rendered buffer takes about 6 ms.
constexpr Uint32 RenderTimeoutMs = 5000;

// Waits until the audio thread has mixed two more buffers; false when it stopped mixing.
bool MixesOn(tavi::fuzz::MixerSession& session) {
  // Two: the buffer being mixed when the music started may have missed it.
  const int start = session.MixedBuffers();
  const Uint32 since = SDL_GetTicks();
  while (session.MixedBuffers() < start + 2) {
    if (SDL_GetTicks() - since > RenderTimeoutMs) return false;
    SDL_Delay(1);
  }
  return true;
}

Mix_Music* Load(const std::uint8_t* data, std::size_t size, bool asMidi) {
  SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
  TAVI_REQUIRE(stream != nullptr);
  return asMidi ? Mix_LoadMUSType_RW(stream, MUS_MID, 1) : Mix_LoadMUS_RW(stream, 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;  // SDL refuses a stream over no memory at all
  tavi::fuzz::MixerSession& session = tavi::fuzz::MixerSession::Instance();

  if (Mix_Music* music = Load(data, size, false)) {
    if (Mix_PlayMusic(music, 0) == 0) {
      TAVI_REQUIRE(MixesOn(session));
      Mix_HaltMusic();
    }
    Mix_FreeMusic(music);
  }

  if (tavi::PlayableMidi(data, size)) {
    static tavi::fuzz::Tally repeated("inputs played repeating, as the game plays its music");
    ++repeated.count;
    Mix_Music* music = Load(data, size, true);
    TAVI_REQUIRE(music != nullptr);
    TAVI_REQUIRE(Mix_PlayMusic(music, -1) == 0);
    TAVI_REQUIRE(MixesOn(session));
    Mix_HaltMusic();
    Mix_FreeMusic(music);
  }
  return 0;
}
