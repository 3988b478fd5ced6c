#include "platform/web_audio.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "base/error_log.h"
#include "base/file_read.h"
#include "base/translate.h"
#include "platform/vorbis_loop.h"
#include "platform/wave_check.h"

// Browsers let sound start only after the player touched the page, and making the context that
// plays it takes a while in some (more than a tenth of a second where it starts the browser's sound
// service): it is made at the first key, click or touch, not before the first frame. The effects
// are decoded before that, on a context that plays nothing; a context held (paused) or muted
// meanwhile starts so. The music is decoded piece by piece as it plays (VorbisLoop).
EM_JS(int, WebAudioOpen, (int channels, int musicLead), {
  const Context = window.AudioContext || window.webkitAudioContext;
  const Decoder = window.OfflineAudioContext || window.webkitOfflineAudioContext;
  if (!Context || !Decoder) return 0;
  const audio = {context: null, decoder: new Decoder(1, 1, 44100), effects: [], playing: [], channels: channels,
                 held: false, musicLevel: 1, effectLevel: 1, musicLead: musicLead / 1000, musicAt: 0,
                 musicComing: null, musicReady: false, musicWanted: false, musicStarted: false};
  audio.levels = () => {
    if (!audio.context) return;
    audio.musicGain.gain.value = audio.musicLevel;
    audio.effectGain.gain.value = audio.effectLevel;
  };
  audio.startMusic = () => {
    if (audio.context && audio.musicReady && audio.musicWanted) audio.musicStarted = true;
  };
  audio.handMusicOver = () => {
    const music = audio.musicComing;
    if (!music || !audio.context || Module.taviAudio !== audio) return;
    audio.musicComing = null;
    const bytes = new Uint8Array(music.bytes);
    const at = _malloc(bytes.length);
    if (!at) return console.error('tavi: music', 'no memory for it');
    HEAPU8.set(bytes, at);
    Module._TaviMusicCame(at, bytes.length, music.loop);
  };
  const wake = () => {
    if (Module.taviAudio !== audio) return;
    if (!audio.context) {
      // At the recordings' rate where the browser allows it, so that the music's pieces join
      // sample for sample.
      try { audio.context = new Context({sampleRate: 44100}); } catch (e) { audio.context = new Context(); }
      audio.effectGain = audio.context.createGain();
      audio.effectGain.connect(audio.context.destination);
      audio.musicGain = audio.context.createGain();
      audio.musicGain.connect(audio.context.destination);
      audio.levels();
      audio.handMusicOver();
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

// The page fetches the music beside the game (the recording, and where its loop starts). It is
// handed to the program once it has come and the sound may play, not while the first frames are
// drawn: opening it is work that can wait until then.
EM_JS(int, WebAudioLoadMusic, (), {
  const audio = Module.taviAudio;
  if (!Module.taviMusicComing) return 0;
  Module.taviMusicComing.then(music => {
    if (!(music.loop > 0)) throw new Error('music.loop: not a length');
    audio.musicComing = music;
    audio.handMusicOver();
  }).catch(error => console.error('tavi: music', error));
  return 1;
});

// Seconds of music the player may queue now: none before the music plays or while the sound is
// held. A player that fell behind (the page had no frames for a while) starts again a little ahead.
EM_JS(double, WebAudioMusicRoom, (), {
  const audio = Module.taviAudio;
  if (!audio || !audio.musicStarted || audio.context.state !== 'running') return 0;
  const now = audio.context.currentTime;
  if (audio.musicAt < now + 0.01) audio.musicAt = now + 0.05;
  return audio.musicLead - (audio.musicAt - now);
});

// The next piece of music, right after the one before.
EM_JS(void, WebAudioQueueMusic, (const float* left, const float* right, int frames, int rate), {
  const audio = Module.taviAudio;
  const buffer = audio.context.createBuffer(2, frames, rate);
  buffer.copyToChannel(HEAPF32.subarray(left >> 2, (left >> 2) + frames), 0);
  buffer.copyToChannel(HEAPF32.subarray(right >> 2, (right >> 2) + frames), 1);
  const source = audio.context.createBufferSource();
  source.buffer = buffer;
  source.connect(audio.musicGain);
  source.start(audio.musicAt);
  audio.musicAt += frames / rate;
});

EM_JS(void, WebAudioMusicReady, (), {
  Module.taviAudio.musicReady = true;
  Module.taviAudio.startMusic();
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
// The music is decoded a little ahead of what plays, a piece at a time after a frame (a piece
// takes about a millisecond), so that no frame waits for a whole recording to be decoded.
constexpr int MusicLeadMilliseconds = 1000;
constexpr int PieceFrames = 4096;
constexpr int PiecesPerFeed = 2;

class WebAudio;
WebAudio* openDevice = nullptr;  // the one the page's music goes to

class WebAudio : public WebAudioDevice {
 public:
  ~WebAudio() override { Close(); }

  bool Open(std::string& reason) override {
    open_ = WebAudioOpen(Channels, MusicLeadMilliseconds) != 0;
    if (open_) openDevice = this;
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
    if (openDevice == this) openDevice = nullptr;
  }

  void MusicCame(std::string bytes, double loopSeconds) {
    std::string error;
    if (!music_.Open(std::move(bytes), loopSeconds, error)) {
      WriteToStandardError("tavi: " + FillIn(Translate("Die Musik %s kann nicht gespielt werden: %s"), {"music.ogg", error}));
      return;
    }
    WebAudioMusicReady();
  }

  void FeedMusic() override {
    for (int piece = 0; piece < PiecesPerFeed && music_.IsOpen() && WebAudioMusicRoom() > 0; ++piece) {
      const int frames = music_.Decode(left_, right_, PieceFrames);
      if (frames > 0) WebAudioQueueMusic(left_, right_, frames, music_.SampleRate());
    }
  }

 private:
  void ApplyLevels() {
    if (open_) WebAudioLevels(musicVolume_, effectVolume_, muted_ ? 1 : 0);
  }

  bool open_ = false;
  int musicVolume_ = 100;
  int effectVolume_ = 100;
  bool muted_ = false;
  VorbisLoop music_;
  float left_[PieceFrames];
  float right_[PieceFrames];
};

}  // namespace

std::unique_ptr<WebAudioDevice> CreateWebAudio() { return std::make_unique<WebAudio>(); }

}  // namespace tavi

// The page's music has come: bytes the page allocated, the program's from now on.
extern "C" EMSCRIPTEN_KEEPALIVE void TaviMusicCame(unsigned char* bytes, int size, double loopSeconds) {
  std::string music(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
  std::free(bytes);
  if (tavi::openDevice != nullptr) tavi::openDevice->MusicCame(std::move(music), loopSeconds);
}
