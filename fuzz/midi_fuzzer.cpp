// MIDI files through SDL_mixer from memory, as the game loads and starts its music.
//
// Every input goes through SDL_mixer's loaders (type detection included) and must be loaded or
// refused, never crash or leak. FluidSynth reads a file's tracks only when it starts playing, and
// some broken files it never finishes reading: set to repeat it retries them endlessly, and even
// played once it can spin inside the audio thread for good (a header announcing a track the file
// does not have). Such a file would freeze the game, so the game's check (PlayableMidi) keeps
// every file the synthesiser could choke on away from it; what the check lets through is played
// here once and then repeating, as the game plays its music, and the audio thread must go on
// mixing.
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

  if (Mix_Music* music = Load(data, size, false)) Mix_FreeMusic(music);
  if (!tavi::PlayableMidi(data, size)) return 0;

  static tavi::fuzz::Tally played("inputs played, once and repeating, as the game plays its music");
  ++played.count;
  Mix_Music* music = Load(data, size, true);
  TAVI_REQUIRE(music != nullptr);
  for (const int loops : {0, -1}) {
    TAVI_REQUIRE(Mix_PlayMusic(music, loops) == 0);
    TAVI_REQUIRE(MixesOn(session));
    Mix_HaltMusic();
  }
  Mix_FreeMusic(music);
  return 0;
}
