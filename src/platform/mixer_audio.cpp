#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/file_read.h"
#include "base/translate.h"
#include "platform/fluid_music.h"
#include "platform/midi_check.h"
#include "platform/platform.h"
#include "platform/wave_check.h"

namespace tavi {

namespace {

constexpr int SampleRate = 44100;
constexpr int BufferSamples = 2048;
constexpr int Channels = 16;
constexpr std::size_t MaxMusicBytes = 16 * 1024 * 1024;

class MixerAudio : public AudioDevice {
 public:
  ~MixerAudio() override { Close(); }

  bool Open(std::string& reason) override {
    if (open_) {
      return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      reason = FillIn(Translate("Audioger\xE4t nicht verf\xFCgbar: %s"), {SDL_GetError()});  // Audiogerät, verfügbar
      return false;
    }
    if (Mix_OpenAudio(SampleRate, MIX_DEFAULT_FORMAT, 2, BufferSamples) != 0) {
      reason = FillIn(Translate("Audioger\xE4t nicht verf\xFCgbar: %s"), {Mix_GetError()});  // Audiogerät, verfügbar
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    const int channels = Mix_AllocateChannels(Channels);
    startOrder_.assign(static_cast<std::size_t>(channels), 0);
    open_ = true;
    ApplyEffectVolume();
    return true;
  }

  int LoadEffect(const std::string& mediaName) override {
    if (!open_) {
      return -1;
    }
    // Effects are short waves; anything else is refused before SDL_mixer sees it (PlausibleWave).
    std::string bytes;
    std::string error;
    if (!ReadRegularFile(ResolveMediaPath(mediaName), MaxEffectBytes, bytes, error, mediaName)) {
      return -1;
    }
    const std::size_t size = bytes.size();
    Mix_Chunk* chunk = PlausibleWave(reinterpret_cast<const std::uint8_t*>(bytes.data()), size)
                           ? Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(size)), 1)
                           : nullptr;
    if (chunk == nullptr) {
      return -1;
    }
    effects_.push_back(chunk);
    return static_cast<int>(effects_.size()) - 1;
  }

  bool LoadMusic(const std::string& mediaName, std::string& reason) override {
    if (!open_) {
      reason = Translate("Audioger\xE4t nicht ge\xF6" "ffnet");  // "Audiogerät nicht geöffnet"
      return false;
    }
    const std::string notPlayable = FillIn(Translate("%s: keine abspielbare MIDI-Datei"), {mediaName});
    // Music is kilobytes; a file far larger, or no regular file, is no music and is not read.
    std::string bytes;
    if (!ReadRegularFile(ResolveMediaPath(mediaName), MaxMusicBytes, bytes, reason, mediaName)) {
      return false;
    }
    const std::size_t size = bytes.size();
    // Only a file that can repeat for ever goes to the synthesiser (see PlayableMidi).
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const bool playable = PlayableMidi(data, size);
    std::string musicReason;
    // A missing soundfont ends up here too.
    const bool loaded = playable && music_.Load(data, size, ChooseSoundFonts(), musicReason);
    if (!loaded) {
      reason = playable ? mediaName + ": " + musicReason : notPlayable;
    }
    return loaded;
  }

  void PlayEffect(int handle) override {
    if (!open_ || handle < 0 || handle >= static_cast<int>(effects_.size())) {
      return;
    }
    Mix_Chunk* chunk = effects_[static_cast<std::size_t>(handle)];
    int channel = Mix_PlayChannel(-1, chunk, 0);
    if (channel < 0) {
      // Every channel is busy: the effect that started first gives way.
      const int oldest = OldestPlayingChannel();
      if (oldest < 0) {
        return;
      }
      Mix_HaltChannel(oldest);
      channel = Mix_PlayChannel(oldest, chunk, 0);
    }
    if (channel >= 0 && channel < static_cast<int>(startOrder_.size())) {
      startOrder_[static_cast<std::size_t>(channel)] = ++startCount_;
    }
  }

  void PlayMusicForever() override {
    if (open_) {
      music_.PlayForever();
    }
  }

  void SetMusicVolume(int percent) override { music_.SetVolume(percent); }

  void SetEffectVolume(int percent) override {
    effectVolume_ = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
    ApplyEffectVolume();
  }

  void SetMuted(bool muted) override {
    music_.SetMuted(muted);
    ApplyEffectVolume();
  }
  bool Muted() const override { return music_.Muted(); }

  void Pause() override {
    if (open_) {
      Mix_Pause(-1);
      music_.Pause();
    }
  }

  void Resume() override {
    if (open_) {
      Mix_Resume(-1);
      music_.Resume();
    }
  }

  void Close() override {
    if (!open_) {
      return;
    }
    Mix_HaltChannel(-1);
    music_.Free();
    for (Mix_Chunk* chunk : effects_) {
      Mix_FreeChunk(chunk);
    }
    effects_.clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
  }

 private:
  // Every channel, also those of effects that sound now; a muted effect plays on unheard.
  void ApplyEffectVolume() {
    if (open_) {
      Mix_Volume(-1, music_.Muted() ? 0 : effectVolume_ * MIX_MAX_VOLUME / 100);
    }
  }

  int OldestPlayingChannel() const {
    int oldest = -1;
    for (int channel = 0; channel < static_cast<int>(startOrder_.size()); ++channel) {
      if (Mix_Playing(channel) &&
          (oldest < 0 || startOrder_[static_cast<std::size_t>(channel)] <
                             startOrder_[static_cast<std::size_t>(oldest)])) {
        oldest = channel;
      }
    }
    return oldest;
  }

  bool open_ = false;
  std::vector<Mix_Chunk*> effects_;
  FluidMusic music_;
  int effectVolume_ = 100;
  std::vector<std::uint64_t> startOrder_;  // per channel: when its current effect started
  std::uint64_t startCount_ = 0;
};

}  // namespace

std::unique_ptr<AudioDevice> CreateMixerAudio() { return std::make_unique<MixerAudio>(); }

}  // namespace tavi
