// The game's music, and an effect on top, as its mixer renders them through SDL's disk audio
// driver: what no trace or screenshot can show.
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
#include "score.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;

const std::string MediaDir = TAVI_MEDIA_DIR;
constexpr long Rate = 44100;
constexpr long BytesPerFrame = 4;  // 16-bit stereo

std::uintmax_t SizeOf(const fs::path& path) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(path, error);
  return error ? 0 : size;
}

double Rms(const std::vector<std::int16_t>& stereo, long firstFrame, long frames) {
  double sum = 0;
  for (long i = 2 * firstFrame; i < 2 * (firstFrame + frames); ++i) sum += double(stereo[i]) * stereo[i];
  return std::sqrt(sum / (2.0 * frames));
}

// The largest step between neighbouring samples in [firstFrame, firstFrame + frames): a click.
int LargestStep(const std::vector<std::int16_t>& stereo, long firstFrame, long frames) {
  int step = 0;
  for (long i = 2 * firstFrame; i < 2 * (firstFrame + frames); ++i) step = std::max(step, std::abs(stereo[i + 2] - stereo[i]));
  return step;
}

// Plays the game's music through the disk driver (which writes the mix into a file as fast as the
// machine renders it) until `frames` are rendered, calling `step` before the music starts (-1) and
// with the frames rendered since on the way; the frames from the music's first sound on. A delay
// (ms per buffer) keeps the driver from running far ahead of `step`.
std::vector<std::int16_t> RenderMusic(long frames, const std::function<void(tavi::AudioDevice&, long)>& step,
                                      const char* delay = "0") {
  tavi::test::TempDir dir;  // also the working directory, where the game looks for media
  fs::create_directory_symlink(MediaDir, "media");
  const fs::path raw = dir.File("out.raw");
  std::uintmax_t musicStart = 0;
  {
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    ::setenv("SDL_DISKAUDIODELAY", delay, 1);
    auto audio = tavi::CreateMixerAudio();
    std::string reason;
    if (!audio->Open(reason) || !fs::exists(raw) || !audio->LoadMusic(tavi::media::Music.file, reason)) {
      ADD_FAILURE() << "no music through SDL's disk audio driver: " << reason;
      return {};
    }
    step(*audio, -1);
    audio->PlayMusicForever();
    musicStart = SizeOf(raw);  // the driver wrote silence while the soundfont loaded
    const std::uintmax_t wanted = musicStart + (frames + Rate) * BytesPerFrame;
    // A completion wait, not a timing: a stuck renderer fails below instead of hanging.
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
  EXPECT_LT(first / 2 - musicStart / BytesPerFrame, static_cast<std::size_t>(Rate / 4)) << "the music starts late";
  stereo.erase(stereo.begin(), stereo.begin() + static_cast<long>(std::min(first, stereo.size())));
  EXPECT_GE(static_cast<long>(stereo.size() / 2), frames) << "the disk driver did not render it in five minutes";
  stereo.resize(std::min(stereo.size(), static_cast<std::size_t>(2 * frames)));
  return stereo;
}

bool HaveSoundfont() {
  return fs::exists("/usr/share/sounds/sf2/TimGM6mb.sf2") || fs::exists("/usr/share/sounds/sf3/default-GM.sf3");
}

TEST(MediaSoundMixer, MusicPlaysSeventySecondsWithoutSilenceOrClippingAndEffectsAddOnTop) {
  if (!HaveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed (Debian package timgm6mb-soundfont)";
  int handle = -1;
  long effectAt = -1;
  const std::vector<std::int16_t> stereo = RenderMusic(70 * Rate, [&](tavi::AudioDevice& audio, long frame) {
    if (frame < 0) handle = audio.LoadEffect(tavi::media::FishSound.file);
    if (frame >= 20 * Rate && effectAt < 0) {
      audio.PlayEffect(handle);
      effectAt = frame;
    }
  });
  ASSERT_GE(handle, 0);
  ASSERT_EQ(static_cast<long>(stereo.size() / 2), 70 * Rate);
  for (long second = 0; second < 70; ++second)
    EXPECT_GT(Rms(stereo, second * Rate, Rate), 100) << "silence in second " << second << " of the music";
  int longestRun = 0;
  for (int channel = 0; channel < 2; ++channel) {
    for (long i = 0, run = 0; i < 70 * Rate; ++i) {
      run = std::abs(int{stereo[2 * i + channel]}) >= 32767 ? run + 1 : 0;
      longestRun = std::max(longestRun, static_cast<int>(run));
    }
  }
  EXPECT_LE(longestRun, 3) << "the mix clips";
  // The effect sounds over the music where it was started (the render may run a little ahead), about
  // three times as loud as the music alone before; the seconds after it, checked above, show the
  // music went on.
  double loudest = 0;
  for (long at = effectAt - Rate / 4; at <= effectAt + Rate / 2; at += Rate / 8)
    loudest = std::max(loudest, Rms(stereo, at, Rate / 4));
  EXPECT_GT(loudest, 2 * Rms(stereo, effectAt - Rate, 3 * Rate / 4)) << "no effect in the mix";
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

// The music at half volume is the same music at half the level; muted, it is silent and comes back,
// and an effect started while muted is not heard.
TEST(MediaSoundMixer, MusicVolumeScalesAndMuteSilencesMusicAndEffects) {
  if (!HaveSoundfont()) GTEST_SKIP() << "no General MIDI soundfont installed (Debian package timgm6mb-soundfont)";
  const std::vector<std::int16_t> full = RenderMusic(2 * Rate, [](tavi::AudioDevice&, long) {});
  const std::vector<std::int16_t> half = RenderMusic(2 * Rate, [](tavi::AudioDevice& audio, long) { audio.SetMusicVolume(50); });
  ASSERT_EQ(full.size(), half.size());
  EXPECT_NEAR(Rms(half, 0, 2 * Rate) / Rms(full, 0, 2 * Rate), 0.5, 0.02);

  // Muted from half a second on for two seconds, counted from where the render let us act: a busy
  // machine may let the driver run ahead of this thread. The effect starts when the music's
  // reverberation has died away.
  long mutedAt = -1, effectAt = -1, unmutedAt = -1;
  int handle = -1;
  const std::vector<std::int16_t> muted = RenderMusic(8 * Rate, [&](tavi::AudioDevice& audio, long frame) {
    if (frame < 0) handle = audio.LoadEffect(tavi::media::FishSound.file);
    if (frame >= Rate / 2 && mutedAt < 0) {
      audio.SetMuted(true);
      mutedAt = frame;
    }
    if (mutedAt >= 0 && frame >= mutedAt + 3 * Rate / 2 && effectAt < 0) {
      audio.PlayEffect(handle);
      effectAt = frame;
    }
    if (mutedAt >= 0 && frame >= mutedAt + 2 * Rate && unmutedAt < 0) {
      audio.SetMuted(false);
      unmutedAt = frame;
    }
  }, "10");
  ASSERT_GE(handle, 0);
  ASSERT_EQ(static_cast<long>(muted.size() / 2), 8 * Rate);
  ASSERT_LE(unmutedAt, 7 * Rate) << "the render ran too far ahead to hear the mute";
  // A third of a second into the effect's 0.95 s, what is left is the synthesiser's dither.
  EXPECT_LT(Rms(muted, effectAt, Rate / 3), 1) << "muted, yet the music or the effect sounds";
  EXPECT_GT(Rms(muted, unmutedAt + Rate / 2, Rate / 2), 100) << "the music did not come back";
}

}  // namespace
