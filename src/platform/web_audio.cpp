#include "platform/web_audio.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdint>

#include "base/file_read.h"
#include "base/translate.h"
#include "platform/wave_check.h"

// Browsers let sound start only after the player touched the page: the context resumes on the
// first key or click.
EM_JS(int, WebAudioOpen, (int channels), {
  const Context = window.AudioContext || window.webkitAudioContext;
  if (!Context) return 0;
  const audio = {context: new Context(), effects: [], playing: [], channels: channels, held: false,
                 musicVolume: 1, effectVolume: 1, muted: false, music: null, musicWanted: false};
  audio.effectGain = audio.context.createGain();
  audio.effectGain.connect(audio.context.destination);
  audio.musicGain = audio.context.createGain();
  audio.musicGain.connect(audio.context.destination);
  const wake = () => { if (!audio.held) audio.context.resume(); };
  for (const type of ['keydown', 'mousedown', 'touchstart']) window.addEventListener(type, wake, true);
  Module.taviAudio = audio;
  return 1;
});

EM_JS(int, WebAudioLoadEffect, (const unsigned char* bytes, int size), {
  const audio = Module.taviAudio;
  const handle = audio.effects.length;
  audio.effects.push(null);
  audio.context.decodeAudioData(HEAPU8.slice(bytes, bytes + size).buffer)
      .then(buffer => { audio.effects[handle] = buffer; })
      .catch(error => console.error('tavi: effect', handle, error));
  return handle;
});

// A new effect plays on top; when every channel is busy the oldest gives way.
EM_JS(void, WebAudioPlayEffect, (int handle), {
  const audio = Module.taviAudio;
  const buffer = audio.effects[handle];
  if (!buffer) return;  // still being decoded
  if (audio.playing.length >= audio.channels) audio.playing.shift().stop();
  const source = audio.context.createBufferSource();
  source.buffer = buffer;
  source.connect(audio.effectGain);
  source.onended = () => { const i = audio.playing.indexOf(source); if (i >= 0) audio.playing.splice(i, 1); };
  audio.playing.push(source);
  source.start();
});

// The recording holds the song twice: the second time carries the first's echo, so looping over
// it joins seamlessly.
EM_JS(int, WebAudioLoadMusic, (), {
  const audio = Module.taviAudio;
  if (!Module.taviMusic || !(Module.taviMusicLoop > 0)) return 0;
  audio.context.decodeAudioData(Module.taviMusic.buffer.slice(0)).then(buffer => {
    audio.music = buffer;
    if (audio.musicWanted) Module.taviAudioStartMusic();
  }).catch(error => console.error('tavi: music', error));
  Module.taviAudioStartMusic = () => {
    const source = audio.context.createBufferSource();
    source.buffer = audio.music;
    source.loop = true;
    source.loopStart = Module.taviMusicLoop;
    source.loopEnd = Math.min(2 * Module.taviMusicLoop, audio.music.duration);
    source.connect(audio.musicGain);
    source.start();
  };
  return 1;
});

EM_JS(void, WebAudioPlayMusic, (), {
  const audio = Module.taviAudio;
  if (audio.musicWanted) return;
  audio.musicWanted = true;
  if (audio.music) Module.taviAudioStartMusic();
});

EM_JS(void, WebAudioLevels, (int music, int effects, int muted), {
  const audio = Module.taviAudio;
  audio.musicGain.gain.value = muted ? 0 : music / 100;
  audio.effectGain.gain.value = muted ? 0 : effects / 100;
});

EM_JS(void, WebAudioHold, (int held), {
  const audio = Module.taviAudio;
  audio.held = !!held;
  if (held) audio.context.suspend(); else audio.context.resume();
});

EM_JS(void, WebAudioClose, (), {
  if (Module.taviAudio) Module.taviAudio.context.close();
  Module.taviAudio = null;
});

namespace tavi {

namespace {

constexpr int Channels = 16;  // as the desktop's mixer

class WebAudio : public AudioDevice {
 public:
  bool Open(std::string& reason) override {
    open_ = WebAudioOpen(Channels) != 0;
    if (!open_) {
      reason = Translate("der Browser hat kein Web Audio");
      return false;
    }
    ApplyLevels();
    return true;
  }

  int LoadEffect(const std::string& mediaName) override {
    if (!open_) return -1;
    std::string bytes;
    std::string error;
    if (!ReadRegularFile(ResolveMediaPath(mediaName), MaxEffectBytes, bytes, error, mediaName)) return -1;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (!PlausibleWave(data, bytes.size())) return -1;
    return WebAudioLoadEffect(data, static_cast<int>(bytes.size()));
  }

  bool LoadMusic(const std::string&, std::string& reason) override {
    if (open_ && WebAudioLoadMusic() != 0) return true;
    reason = open_ ? Translate("die Musik wurde nicht geladen") : Translate("kein Web Audio");
    return false;
  }

  void PlayEffect(int handle) override {
    if (open_ && handle >= 0) WebAudioPlayEffect(handle);
  }
  void PlayMusicForever() override {
    if (open_) WebAudioPlayMusic();
  }
  void SetMusicVolume(int percent) override {
    musicVolume_ = std::clamp(percent, 0, 100);
    ApplyLevels();
  }
  void SetEffectVolume(int percent) override {
    effectVolume_ = std::clamp(percent, 0, 100);
    ApplyLevels();
  }
  void SetMuted(bool muted) override {
    muted_ = muted;
    ApplyLevels();
  }
  bool Muted() const override { return muted_; }
  void Pause() override {
    if (open_) WebAudioHold(1);
  }
  void Resume() override {
    if (open_) WebAudioHold(0);
  }
  void Close() override {
    if (open_) WebAudioClose();
    open_ = false;
  }

 private:
  void ApplyLevels() {
    if (open_) WebAudioLevels(musicVolume_, effectVolume_, muted_ ? 1 : 0);
  }

  bool open_ = false;
  int musicVolume_ = 100;
  int effectVolume_ = 100;
  bool muted_ = false;
};

}  // namespace

std::unique_ptr<AudioDevice> CreateWebAudio() { return std::make_unique<WebAudio>(); }

}  // namespace tavi
