// The page's music decoded piece by piece: once from the start, then the loop again and again,
// sample for sample as one decode of the whole recording gives it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_platform.h"
#include "platform/stb_vorbis.h"
#include "platform/vorbis_loop.h"

namespace tavi {
namespace {

// 1.2 s of two different tones at 11025 Hz, Vorbis quality 0 (oggenc).
std::string Recording() { return test::ReadFile(std::string(TAVI_TEST_DATA) + "/music-loop.ogg"); }

struct Channels {
  std::vector<float> left;
  std::vector<float> right;
};

// The whole recording in one go, without seeking.
Channels DecodeWhole(const std::string& bytes) {
  stb_vorbis* vorbis = stb_vorbis_open_memory(reinterpret_cast<const unsigned char*>(bytes.data()),
                                              static_cast<int>(bytes.size()), nullptr, nullptr);
  Channels whole;
  if (vorbis == nullptr) return whole;
  const int length = static_cast<int>(stb_vorbis_stream_length_in_samples(vorbis));
  whole.left.resize(length);
  whole.right.resize(length);
  float* out[2] = {whole.left.data(), whole.right.data()};
  whole.left.resize(stb_vorbis_get_samples_float(vorbis, 2, out, length));
  whole.right.resize(whole.left.size());
  stb_vorbis_close(vorbis);
  return whole;
}

TEST(VorbisLoop, PlaysOnceThenTheLoopOverAndOverInPiecesOfAnySize) {
  const std::string bytes = Recording();
  const Channels whole = DecodeWhole(bytes);
  ASSERT_GT(whole.left.size(), 11025u);
  VorbisLoop music;
  std::string error;
  ASSERT_TRUE(music.Open(bytes, 0.4, error)) << error;
  EXPECT_EQ(music.SampleRate(), 11025);
  const std::size_t loopStart = 4410;
  const std::size_t loopEnd = 8820;  // twice the start, inside the recording

  Channels played;
  const int pieces[] = {1000, 37, 4096, 1, 2500};
  for (int i = 0; played.left.size() < loopEnd + 3 * (loopEnd - loopStart); ++i) {
    const int frames = pieces[i % 5];
    std::vector<float> left(frames);
    std::vector<float> right(frames);
    ASSERT_EQ(music.Decode(left.data(), right.data(), frames), frames);
    played.left.insert(played.left.end(), left.begin(), left.end());
    played.right.insert(played.right.end(), right.begin(), right.end());
  }
  for (std::size_t at = 0; at < played.left.size(); ++at) {
    const std::size_t from = at < loopEnd ? at : loopStart + (at - loopEnd) % (loopEnd - loopStart);
    ASSERT_NEAR(played.left[at], whole.left[from], 1e-4f) << "frame " << at;
    ASSERT_NEAR(played.right[at], whole.right[from], 1e-4f) << "frame " << at;
  }
  EXPECT_NE(played.left, played.right);  // the channels stay apart
}

TEST(VorbisLoop, TheLoopEndsWithTheRecordingWhenTwiceItsStartLiesBeyond) {
  const std::string bytes = Recording();
  const Channels whole = DecodeWhole(bytes);
  VorbisLoop music;
  std::string error;
  ASSERT_TRUE(music.Open(bytes, 0.8, error)) << error;  // twice is 1.6 s, past the end
  const std::size_t loopStart = 8820;
  const std::size_t length = whole.left.size();
  std::vector<float> left(length + 10);
  std::vector<float> right(length + 10);
  ASSERT_EQ(music.Decode(left.data(), right.data(), static_cast<int>(left.size())), static_cast<int>(left.size()));
  for (std::size_t at = 0; at < 10; ++at) EXPECT_NEAR(left[length + at], whole.left[loopStart + at], 1e-4f);
}

TEST(VorbisLoop, RefusesWhatIsNoRecordingOrHasNoRoomForTheLoop) {
  VorbisLoop music;
  std::string error;
  EXPECT_FALSE(music.Open("OggS but nothing after it", 1.0, error));
  EXPECT_NE(error.find("Vorbis"), std::string::npos) << error;
  EXPECT_FALSE(music.IsOpen());
  error.clear();
  EXPECT_FALSE(music.Open(Recording(), 2.0, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(music.Open(Recording(), 0.0, error));
  float sink[8];
  EXPECT_EQ(music.Decode(sink, sink, 8), 0);
}

TEST(VorbisLoop, AMangledRecordingPlaysWhatItCanAndEndsWhereItCannotGoOn) {
  std::string bytes = Recording();
  for (std::size_t at = bytes.size() / 3; at < bytes.size(); at += 7) bytes[at] = static_cast<char>(bytes[at] ^ 0x5A);
  VorbisLoop music;
  std::string error;
  if (!music.Open(bytes, 0.1, error)) return;  // refused outright is as good
  std::vector<float> left(4096);
  std::vector<float> right(4096);
  for (int piece = 0; piece < 200 && music.IsOpen(); ++piece) {
    const int frames = music.Decode(left.data(), right.data(), 4096);
    EXPECT_EQ(frames < 4096, !music.IsOpen()) << "piece " << piece;
  }
}

}  // namespace
}  // namespace tavi
