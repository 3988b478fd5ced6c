// The music with an effect on top as the game's mixer renders it
// through SDL's disk audio driver: what no trace or screenshot can show.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/media_manifest.h"
#include "fake_platform.h"
#include "picture_table.h"
#include "score.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

const std::string MediaDir = TAVI_MEDIA_DIR;

// The samples of a WAV file as SDL reads it; empty unless it holds 16-bit mono sound at 44.1 kHz.
std::vector<std::int16_t> ReadEffect(const fs::path& path) {
  SDL_AudioSpec format;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV(path.c_str(), &format, &buffer, &length)) return {};
  std::vector<std::int16_t> samples;
  if (format.format == AUDIO_S16LSB && format.channels == 1 && format.freq == 44100)
    samples.assign(reinterpret_cast<const std::int16_t*>(buffer),
                   reinterpret_cast<const std::int16_t*>(buffer + length));
  SDL_FreeWAV(buffer);
  return samples;
}

std::uintmax_t SizeOf(const fs::path& path) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(path, error);
  return error ? 0 : size;
}

constexpr long Rate = 44100;
constexpr long BytesPerFrame = 4;  // 16-bit stereo

// How the effect `e` lies in the left channel of `stereo` at frame `lag`: the least-squares gain,
// the normalised correlation, what is left once the effect is taken out, and the mix's level.
struct Fit {
  double gain = 0, correlation = -2, residualRms = 0, mixRms = 0;
};

Fit FitAt(const std::vector<std::int16_t>& stereo, const std::vector<std::int16_t>& e, long lag, long length) {
  double dot = 0, mixEnergy = 0, effectEnergy = 0;
  for (long i = 0; i < length; ++i) {
    const double x = stereo[2 * (lag + i)];
    dot += x * e[i];
    mixEnergy += x * x;
    effectEnergy += double(e[i]) * e[i];
  }
  Fit fit;
  if (mixEnergy <= 0 || effectEnergy <= 0) return fit;
  fit.gain = dot / effectEnergy;
  fit.correlation = dot / std::sqrt(mixEnergy * effectEnergy);
  fit.residualRms = std::sqrt(std::max(0.0, mixEnergy - dot * fit.gain) / length);
  fit.mixRms = std::sqrt(mixEnergy / length);
  return fit;
}

// The frame in [from, to) where the effect fits best. The opening alone is cheap to slide along
// but a steady tone, so it matches a whole period early or late almost as well; the whole effect
// then settles the exact frame.
long FindEffect(const std::vector<std::int16_t>& stereo, const std::vector<std::int16_t>& e, long from, long to) {
  const long length = static_cast<long>(e.size());
  from = std::max(0L, from);
  to = std::min(to, static_cast<long>(stereo.size() / 2) - length);
  auto best = [&](long first, long last, long span) {
    long found = -1;
    double score = -2;
    for (long lag = first; lag < last; ++lag) {
      const double c = FitAt(stereo, e, lag, span).correlation;
      if (c > score) {
        score = c;
        found = lag;
      }
    }
    return found;
  };
  const long coarse = best(from, to, std::min(2048L, length));
  return coarse < 0 ? -1 : best(std::max(from, coarse - 200), std::min(to, coarse + 200), length);
}

double Rms(const std::vector<std::int16_t>& stereo, long firstFrame, long frames) {
  double sum = 0;
  for (long i = 2 * firstFrame; i < 2 * (firstFrame + frames); ++i) sum += double(stereo[i]) * stereo[i];
  return std::sqrt(sum / (2.0 * frames));
}

TEST(MediaSoundMixer, MusicPlaysSeventySecondsWithoutSilenceOrClippingAndEffectsAddOnTop) {
  if (!fs::exists("/usr/share/sounds/sf2/TimGM6mb.sf2") && !fs::exists("/usr/share/sounds/sf3/default-GM.sf3"))
    GTEST_SKIP() << "no General MIDI soundfont installed (Debian package timgm6mb-soundfont)";

  tavi::test::TempDir dir;  // also the working directory, where the game looks for media
  fs::create_directory_symlink(MediaDir, "media");
  const fs::path raw = dir.File("out.raw");
  const std::vector<std::int16_t> effect = ReadEffect(MediaDir + "/" + mediagen::MediaFileName(tavi::media::FishSound.file));
  ASSERT_FALSE(effect.empty());

  std::uintmax_t musicStart = 0;   // bytes in the file when the music was started
  std::uintmax_t effectStart = 0;  // ... and when the effect was
  {
    // SDL's disk driver writes the mix into a file, as fast as the machine renders it.
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    ::setenv("SDL_DISKAUDIODELAY", "0", 1);
    auto audio = tavi::CreateMixerAudio();
    std::string reason;
    ASSERT_TRUE(audio->Open(reason)) << "SDL's disk audio driver cannot be used: " << reason;
    ASSERT_TRUE(fs::exists(raw)) << "audio opened, but not through the disk driver";
    const int handle = audio->LoadEffect(tavi::media::FishSound.file);
    ASSERT_GE(handle, 0);
    ASSERT_TRUE(audio->LoadMusic(tavi::media::Music.file, reason)) << reason;
    audio->PlayMusicForever();
    // The driver wrote silence while the soundfont loaded; the music starts from here.
    musicStart = SizeOf(raw);
    const std::uintmax_t effectAt = musicStart + 20 * Rate * BytesPerFrame;
    const std::uintmax_t wanted = musicStart + 71 * Rate * BytesPerFrame;
    // A completion wait, not a timing: a stuck renderer fails here instead of hanging.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    for (std::uintmax_t size = musicStart; size < wanted && std::chrono::steady_clock::now() < deadline;
         size = SizeOf(raw)) {
      if (effectStart == 0 && size >= effectAt) {
        audio->PlayEffect(handle);
        effectStart = size;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    audio->Close();
    ASSERT_GE(SizeOf(raw), wanted) << "the disk driver did not render 70 s in five minutes";
  }
  // The whole file as 16-bit stereo frames in the machine's byte order.
  const std::string bytes = tavi::test::ReadFile(raw);
  std::vector<std::int16_t> stereo(bytes.size() / 2);
  std::memcpy(stereo.data(), bytes.data(), stereo.size() * 2);
  const long frames = static_cast<long>(stereo.size() / 2);

  const long musicFrame = static_cast<long>(musicStart / BytesPerFrame);
  long first = musicFrame;
  while (first < frames && stereo[2 * first] == 0 && stereo[2 * first + 1] == 0) ++first;
  ASSERT_LT(first, frames);
  EXPECT_LT(first - musicFrame, Rate / 4) << "the music starts at once";
  ASSERT_GE(frames - first, 70 * Rate);

  for (long second = 0; second < 70; ++second)
    EXPECT_GT(Rms(stereo, first + second * Rate, Rate), 100) << "silence in second " << second << " of the music";
  int longestRun = 0;
  for (int channel = 0; channel < 2; ++channel) {
    int run = 0;
    for (long i = first; i < first + 70 * Rate; ++i) {
      run = std::abs(int{stereo[2 * i + channel]}) >= 32767 ? run + 1 : 0;
      longestRun = std::max(longestRun, run);
    }
  }
  EXPECT_LE(longestRun, 3) << "the mix clips";

  // The effect lies on top of the music: found where it was started, at a sensible level, and
  // with the music still sounding underneath once it is taken out again.
  const long requested = static_cast<long>(effectStart / BytesPerFrame);
  const long at = FindEffect(stereo, effect, requested - Rate / 10, requested + Rate);
  ASSERT_GE(at, 0);
  const Fit fit = FitAt(stereo, effect, at, static_cast<long>(effect.size()));
  EXPECT_GT(fit.gain, 0.25);
  EXPECT_LT(fit.gain, 1.5);
  EXPECT_LT(fit.residualRms, 0.6 * fit.mixRms) << "the effect is not in the mix";
  const double musicBefore = Rms(stereo, at - Rate, Rate);
  EXPECT_GT(fit.residualRms, 0.3 * musicBefore) << "the effect cut the music";
  EXPECT_LT(fit.residualRms, 2.0 * musicBefore) << "the effect is not cleanly added";
}


// The largest step between neighbouring samples in [firstFrame, firstFrame + frames): a click.
int LargestStep(const std::vector<std::int16_t>& stereo, long firstFrame, long frames) {
  int step = 0;
  for (long i = 2 * firstFrame; i < 2 * (firstFrame + frames); ++i) step = std::max(step, std::abs(stereo[i + 2] - stereo[i]));
  return step;
}

// Plays the game's music through the disk driver until `frames` are rendered, calling `step` with
// the frames rendered so far on the way; the frames from the music's first sound on. A delay (ms
// per buffer) keeps the driver from running far ahead of `step`.
std::vector<std::int16_t> RenderMusic(long frames, const std::function<void(tavi::AudioDevice&, long)>& step,
                                      const char* delay = "0") {
  tavi::test::TempDir dir;
  fs::create_directory_symlink(MediaDir, "media");
  const fs::path raw = dir.File("out.raw");
  std::uintmax_t musicStart = 0;
  {
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    ::setenv("SDL_DISKAUDIODELAY", delay, 1);
    auto audio = tavi::CreateMixerAudio();
    std::string reason;
    if (!audio->Open(reason) || !audio->LoadMusic(tavi::media::Music.file, reason)) {
      ADD_FAILURE() << reason;
      return {};
    }
    step(*audio, -1);
    audio->PlayMusicForever();
    musicStart = SizeOf(raw);
    const std::uintmax_t wanted = musicStart + (frames + Rate) * BytesPerFrame;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    for (std::uintmax_t size = musicStart; size < wanted && std::chrono::steady_clock::now() < deadline; size = SizeOf(raw)) {
      step(*audio, static_cast<long>((size - musicStart) / BytesPerFrame));
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    audio->Close();
  }
  const std::string bytes = tavi::test::ReadFile(raw);
  std::vector<std::int16_t> stereo(bytes.size() / 2);
  std::memcpy(stereo.data(), bytes.data(), stereo.size() * 2);
  std::size_t first = 2 * (musicStart / BytesPerFrame);
  while (first < stereo.size() && stereo[first] == 0 && stereo[first + 1] == 0) first += 2;
  stereo.erase(stereo.begin(), stereo.begin() + static_cast<long>(std::min(first, stereo.size())));
  EXPECT_GE(static_cast<long>(stereo.size() / 2), frames) << "the disk driver did not render it in five minutes";
  stereo.resize(std::min(stereo.size(), static_cast<std::size_t>(2 * frames)));
  return stereo;
}

bool HaveSoundfont() {
  return fs::exists("/usr/share/sounds/sf2/TimGM6mb.sf2") || fs::exists("/usr/share/sounds/sf3/default-GM.sf3");
}

// Where the score starts over, nothing stops: no gap, no dip and no click, as a synthesiser reset
// there would give (whatever still sounds would be cut off at once).
TEST(MediaSoundMixer, MusicStartsOverWithoutASeam) {
  if (!HaveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed (Debian package timgm6mb-soundfont)";
  mediagen::Score score;
  std::string error;
  ASSERT_TRUE(mediagen::ReadScore(std::string(TAVI_SOURCE_DIR) + "/art/music/background.score", score, error)) << error;
  const long seam = std::lround(score.LoopSeconds() * Rate);
  const long window = Rate / 50, around = 2 * Rate;
  const std::vector<std::int16_t> stereo = RenderMusic(seam + around, [](tavi::AudioDevice&, long) {});
  ASSERT_EQ(static_cast<long>(stereo.size() / 2), seam + around);

  const double bar = Rms(stereo, seam - around, 2 * around - 1);
  for (long at = seam - 10 * window; at < seam + 10 * window; at += window)
    EXPECT_LT(std::abs(20 * std::log10(Rms(stereo, at, window) / bar)), 6) << "20 ms at " << at - seam << " from the seam";
  const int elsewhere = std::max(LargestStep(stereo, seam - around, around - window),
                                 LargestStep(stereo, seam + window, around - window - 1));
  // A cut-off chord steps about half as high again as anything the music itself does.
  EXPECT_LE(LargestStep(stereo, seam - window, 2 * window), elsewhere) << "a click at the seam";
}

// The music at half volume is the same music at half the level; muted, it is silent and comes back.
TEST(MediaSoundMixer, MusicVolumeScalesAndMuteSilences) {
  if (!HaveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed (Debian package timgm6mb-soundfont)";
  const std::vector<std::int16_t> full = RenderMusic(2 * Rate, [](tavi::AudioDevice&, long) {});
  const std::vector<std::int16_t> half = RenderMusic(2 * Rate, [](tavi::AudioDevice& audio, long) { audio.SetMusicVolume(50); });
  ASSERT_EQ(full.size(), half.size());
  EXPECT_NEAR(Rms(half, 0, 2 * Rate) / Rms(full, 0, 2 * Rate), 0.5, 0.02);

  // Muted from half a second on for two and a half seconds, as far as the render let us see it.
  long mutedAt = -1, unmutedAt = -1;
  const std::vector<std::int16_t> muted = RenderMusic(6 * Rate, [&](tavi::AudioDevice& audio, long frame) {
    if (frame >= Rate / 2 && mutedAt < 0) {
      audio.SetMusicMuted(true);
      mutedAt = frame;
    }
    if (frame >= 3 * Rate && unmutedAt < 0) {
      audio.SetMusicMuted(false);
      unmutedAt = frame;
    }
  }, "10");
  ASSERT_EQ(static_cast<long>(muted.size() / 2), 6 * Rate);
  ASSERT_GE(unmutedAt - mutedAt, 2 * Rate) << "the render ran too far ahead to hear the mute";
  // A second and a half on, even the reverberation has died away; the rest is the synthesiser's dither.
  EXPECT_LT(Rms(muted, mutedAt + 3 * Rate / 2, Rate / 2), 1)
      << "muted, yet the music sounds";
  EXPECT_GT(Rms(muted, 5 * Rate, Rate), 100) << "the music did not come back";
}

}  // namespace
