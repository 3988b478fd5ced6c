// Wave files through SDL_mixer from memory, as the game loads its effects: parsing, decoding
// (PCM, ADPCM, A-law, float) and the conversion to the device format. Any file the game's check
// lets through must be loaded or refused, never crash or leak.
#include "mixer_session.h"
#include "platform/wave_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The game hands SDL_mixer nothing else (MixerAudio::LoadEffect).
  if (!tavi::PlausibleWave(data, size)) return 0;
  static tavi::fuzz::Tally reachedMixer("inputs reached SDL_mixer");
  ++reachedMixer.count;
  tavi::fuzz::MixerSession::Instance();
  SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
  TAVI_REQUIRE(stream != nullptr);
  if (Mix_Chunk* chunk = Mix_LoadWAV_RW(stream, 1)) Mix_FreeChunk(chunk);
  return 0;
}
