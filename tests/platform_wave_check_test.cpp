#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "base/media_manifest.h"
#include "picture_table.h"
#include "platform/wave_check.h"

namespace tavi {
namespace {

using Bytes = std::string;

bool Plausible(const Bytes& b) { return PlausibleWave(reinterpret_cast<const std::uint8_t*>(b.data()), b.size()); }

Bytes Le(std::uint32_t v, int bytes) {
  Bytes out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  return out;
}

Bytes Chunk(const Bytes& id, const Bytes& body) {
  Bytes c = id + Le(static_cast<std::uint32_t>(body.size()), 4) + body;
  if (body.size() % 2 != 0) c.push_back('\0');
  return c;
}

Bytes Format(std::uint32_t channels, std::uint32_t rate) {
  return Chunk("fmt ", Le(1, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * channels * 2, 4) + Le(channels * 2, 2) +
                           Le(16, 2));
}

Bytes Riff(const Bytes& chunks) { return "RIFF" + Le(static_cast<std::uint32_t>(chunks.size() + 4), 4) + "WAVE" + chunks; }

const Bytes Samples(64, '\x11');

TEST(PlausibleWave, AcceptsOrdinaryEffectsAndTheGamesOwn) {
  EXPECT_TRUE(Plausible(Riff(Format(1, 22050) + Chunk("data", Samples))));
  EXPECT_TRUE(Plausible(Riff(Format(2, 44100) + Chunk("LIST", "INFOxyz") + Chunk("data", Samples))));
  EXPECT_TRUE(Plausible(Riff(Format(8, 8000) + Chunk("data", Samples))));
  EXPECT_TRUE(Plausible(Riff(Format(1, 192000) + Chunk("data", Samples.substr(0, 9)).substr(0, 17))));  // no pad byte
  for (const media::Sound* effect : media::Effects) {
    const std::string name = mediagen::MediaFileName(effect->file);
    std::ifstream in(std::string(TAVI_MEDIA_DIR) + "/" + name, std::ios::binary);
    const Bytes wave((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(wave.empty()) << name;
    EXPECT_TRUE(Plausible(wave)) << name;
  }
}

TEST(PlausibleWave, RefusesWhatWouldBlowUpOrIsNoWave) {
  EXPECT_FALSE(Plausible(Riff(Format(1, 1) + Chunk("data", Samples)))) << "1 Hz";
  EXPECT_FALSE(Plausible(Riff(Format(1, 7999) + Chunk("data", Samples)))) << "below 8 kHz";
  EXPECT_FALSE(Plausible(Riff(Format(1, 192001) + Chunk("data", Samples)))) << "above 192 kHz";
  EXPECT_FALSE(Plausible(Riff(Format(0, 22050) + Chunk("data", Samples)))) << "no channels";
  EXPECT_FALSE(Plausible(Riff(Format(9, 22050) + Chunk("data", Samples)))) << "nine channels";
  EXPECT_FALSE(Plausible(Riff(Format(1, 22050) + Format(1, 1) + Chunk("data", Samples)))) << "two formats";
  EXPECT_FALSE(Plausible(Riff(Chunk("data", Samples)))) << "no format";
  EXPECT_FALSE(Plausible(Riff(Chunk("fmt ", Le(1, 2) + Le(1, 2) + Le(22050, 4))))) << "a short format";
  EXPECT_FALSE(Plausible(Riff(Format(1, 22050) + Chunk("data", Samples).substr(0, 40)))) << "data past the end";
  EXPECT_FALSE(Plausible(Riff(Chunk("JUNK", Bytes(100, 'j')).substr(0, 20) + Format(1, 22050)))) << "format hidden behind a chunk running past the end";
  const Bytes good = Riff(Format(1, 22050) + Chunk("data", Samples));
  Bytes aiff = good;
  aiff.replace(0, 4, "FORM");
  EXPECT_FALSE(Plausible(aiff));
  Bytes notWave = good;
  notWave.replace(8, 4, "WAVX");
  EXPECT_FALSE(Plausible(notWave));
  for (std::size_t size = 0; size < 36; ++size) EXPECT_FALSE(Plausible(good.substr(0, size))) << "cut at " << size;
  EXPECT_FALSE(PlausibleWave(nullptr, 0));
}

}  // namespace
}  // namespace tavi
