#pragma once

// The music: a MIDI file played by FluidSynth's own player and fed into SDL_mixer's music hook.
// SDL_mixer's MIDI player resets the synthesiser each time the loop starts over, which cuts off
// whatever still sounds; this one loops without a reset, so the score runs on without a seam.

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavi {

// The soundfonts, as the game always chose them: the user's SDL_SOUNDFONTS, else our soundfont,
// else the system's default.
std::string ChooseSoundFonts();

struct FluidMusicParts;

class FluidMusic {
 public:
  FluidMusic() = default;
  FluidMusic(const FluidMusic&) = delete;
  FluidMusic& operator=(const FluidMusic&) = delete;
  ~FluidMusic() { Free(); }

  // Builds a synthesiser for the open mixer's rate with the soundfonts (a ':'-separated list) and
  // loads the file from memory; false (and a reason) when that fails, keeping what was loaded.
  // On success it replaces what was loaded.
  bool Load(const std::uint8_t* bytes, std::size_t size, const std::string& soundFonts, std::string& reason);
  // Feeds the loaded music, repeating without end, into the mixer.
  void PlayForever();
  // Holds the music where it is (it is rendered only while hooked) and lets it go on.
  void Pause();
  void Resume();
  // Unhooks the music from the mixer and frees it; the mixer must still be open.
  void Free();

  // 0 to 100; 100 is the level SDL_mixer gave the music at full volume. Takes effect at once.
  void SetVolume(int percent);
  void SetMuted(bool muted);
  bool Muted() const { return muted_; }

 private:
  void ApplyGain();

  FluidMusicParts* parts_ = nullptr;
  int volume_ = 100;
  bool muted_ = false;
};

}  // namespace tavi
