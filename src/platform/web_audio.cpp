#include "platform/web_audio.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdint>

#include "base/file_read.h"
#include "base/translate.h"
#include "platform/wave_check.h"

// Browsers let sound start only after the player touched the page, and making the context that
// plays it takes a while in some (more than a tenth of a second where it starts the browser's sound
// service): it is made at the first key, click or touch, not before the first frame. The effects
// and the music are decoded before that, on a context that plays nothing; a context held (paused)
// or muted meanwhile starts so.
EM_JS(int, WebAudioOpen, (int channels), {
  const Context = window.AudioContext || window.webkitAudioContext;
  const Decoder = window.OfflineAudioContext || window.webkitOfflineAudioContext;
  if (!Context || !Decoder) return 0;
  const audio = {context: null, decoder: new Decoder(1, 1, 44100), effects: [], playing: [], channels: channels,
                 held: false, musicLevel: 1, effectLevel: 1, music: null, musicWanted: false, musicStarted: false};
  audio.levels = () => {
    if (!audio.context) return;
    audio.musicGain.gain.value = audio.musicLevel;
    audio.effectGain.gain.value = audio.effectLevel;
  };
  audio.startMusic = () => {
    if (!audio.context || !audio.music || !audio.musicWanted || audio.musicStarted) return;
    audio.musicStarted = true;
    const source = audio.context.createBufferSource();
    source.buffer = audio.music;
    source.loop = true;
    source.loopStart = audio.musicLoop;
    source.loopEnd = Math.min(2 * audio.musicLoop, audio.music.duration);
    source.connect(audio.musicGain);
    source.start();
  };
  const wake = () => {
    if (Module.taviAudio !== audio) return;
    if (!audio.context) {
      audio.context = new Context();
      audio.effectGain = audio.context.createGain();
      audio.effectGain.connect(audio.context.destination);
      audio.musicGain = audio.context.createGain();
      audio.musicGain.connect(audio.context.destination);
      audio.levels();
      audio.startMusic();
      if (audio.held) audio.context.suspend();
    }
    if (!audio.held) audio.context.resume();
  };
  for (const type of ['keydown', 'mousedown', 'touchstart']) window.addEventListener(type, wake, true);
  Module.taviAudio = audio;
  return 1;
});

EM_JS(int, WebAudioLoadEffect, (const unsigned char* bytes, int size), {
  const audio = Module.taviAudio;
  const handle = audio.effects.length;
  audio.effects.push(null);
  audio.decoder.decodeAudioData(HEAPU8.slice(bytes, bytes + size).buffer)
      .then(buffer => { audio.effects[handle] = buffer; })
      .catch(error => console.error('tavi: effect', handle, error));
  return handle;
});

// A new effect plays on top; when every channel is busy the oldest gives way.
EM_JS(void, WebAudioPlayEffect, (int handle), {
  const audio = Module.taviAudio;
  const buffer = audio.effects[handle];
  if (!buffer || !audio.context) return;  // still being decoded, or no sound allowed yet
  if (audio.playing.length >= audio.channels) audio.playing.shift().stop();
  const source = audio.context.createBufferSource();
  source.buffer = buffer;
  source.connect(audio.effectGain);
  source.onended = () => { const i = audio.playing.indexOf(source); if (i >= 0) audio.playing.splice(i, 1); };
  audio.playing.push(source);
  source.start();
});

// The recording holds the song twice: the second time carries the first's echo, so looping over
// it joins seamlessly. The page fetches it beside the game: it is decoded when it has come and the
// browser has time after the first frames, and plays from then on if it is wanted.
EM_JS(int, WebAudioLoadMusic, (), {
  const audio = Module.taviAudio;
  if (!Module.taviMusicComing) return 0;
  Module.taviMusicComing.then(music => {
    if (!(music.loop > 0)) throw new Error('music.loop: not a length');
    const later = window.requestIdleCallback || (decode => setTimeout(decode, 100));
    return new Promise(idle => later(idle, {timeout: 1000}))
      .then(() => audio.decoder.decodeAudioData(music.bytes.slice(0)))
      .then(buffer => {
        audio.music = buffer;
        audio.musicLoop = music.loop;
        audio.startMusic();
      });
  }).catch(error => console.error('tavi: music', error));
  return 1;
});

EM_JS(void, WebAudioPlayMusic, (), {
  const audio = Module.taviAudio;
  audio.musicWanted = true;
  audio.startMusic();
});

EM_JS(void, WebAudioLevels, (int music, int effects, int muted), {
  const audio = Module.taviAudio;
  audio.musicLevel = muted ? 0 : music / 100;
  audio.effectLevel = muted ? 0 : effects / 100;
  audio.levels();
});

EM_JS(void, WebAudioHold, (int held), {
  const audio = Module.taviAudio;
  audio.held = !!held;
  if (!audio.context) return;
  if (held) audio.context.suspend(); else audio.context.resume();
});

EM_JS(void, WebAudioClose, (), {
  if (Module.taviAudio && Module.taviAudio.context) Module.taviAudio.context.close();
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
