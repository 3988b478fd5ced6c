// MIDI files through the game's music path: the game's check (PlayableMidi) first, then what it
// lets through goes from memory to FluidSynth's player, repeating without end, fed into the mixer.
//
// Every input must be refused or played, never crash or leak. FluidSynth reads a file's tracks
// only when it starts playing, and some broken files it never finishes reading: set to repeat it
// retries them endlessly, and it can spin inside the audio thread for good (a header announcing a
// track the file does not have). Such a file would freeze the game, so the check keeps every file
// the synthesiser could choke on away from it; what passes is played, and the audio thread must
// go on mixing.
#include <string>

#include "mixer_session.h"
#include "platform/fluid_music.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tavi::fuzz::MixerSession& session = tavi::fuzz::MixerSession::Instance();
  if (!tavi::PlayableMidi(data, size)) return 0;

  static tavi::fuzz::Tally played("inputs played, repeating, as the game plays its music");
  ++played.count;
  static const std::string soundFonts = tavi::ChooseSoundFonts();
  tavi::FluidMusic music;
  std::string reason;
  TAVI_REQUIRE(music.Load(data, size, soundFonts, reason));
  music.PlayForever();
  TAVI_REQUIRE(MixesOn(session));
  music.Free();
  return 0;
}
