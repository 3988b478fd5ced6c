// Wave files through SDL_mixer from memory, as the game loads its effects: parsing, decoding
// (PCM, ADPCM, A-law, float) and the conversion to the device format. Any file must be loaded or
// refused, never crash or leak.
#include <cstring>

#include "mixer_session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The game hands SDL_mixer RIFF files only (MixerAudio::LoadEffect); SDL_mixer's other loaders
  // are never reached through it.
  if (size < 4 || std::memcmp(data, "RIFF", 4) != 0) return 0;
  tavi::fuzz::MixerSession::Instance();
  SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
  TAVI_REQUIRE(stream != nullptr);
  if (Mix_Chunk* chunk = Mix_LoadWAV_RW(stream, 1)) Mix_FreeChunk(chunk);
  return 0;
}
