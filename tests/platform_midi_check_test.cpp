#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "base/media_manifest.h"
#include "picture_table.h"
#include "platform/midi_check.h"

namespace tavi {
namespace {

using Bytes = std::string;

bool Playable(const Bytes& b) {
  return PlayableMidi(reinterpret_cast<const std::uint8_t*>(b.data()), b.size());
}

Bytes Be32(std::uint32_t v) {
  return Bytes{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

Bytes Header(int format, int tracks, int division, std::uint32_t length = 6) {
  return "MThd" + Be32(length) + Bytes{0, static_cast<char>(format), static_cast<char>(tracks >> 8),
                                       static_cast<char>(tracks), static_cast<char>(division >> 8),
                                       static_cast<char>(division)};
}

Bytes Track(const Bytes& events) { return "MTrk" + Be32(static_cast<std::uint32_t>(events.size())) + events; }

const Bytes EndOfTrack("\x00\xFF\x2F\x00", 4);
// Tempo, a program, two notes with running status, the notes released a beat later.
const Bytes Tune = Bytes("\x00\xFF\x51\x03\x07\xA1\x20" "\x00\xC0\x05" "\x00\x90\x3C\x40" "\x00\x40\x40"
                         "\x60\x80\x3C\x00" "\x00\x40\x00", 24) + EndOfTrack;

TEST(PlayableMidi, AcceptsWellFormedMusicAndTheGamesOwn) {
  EXPECT_TRUE(Playable(Header(0, 1, 96) + Track(Tune)));
  EXPECT_TRUE(Playable(Header(1, 2, 480) + Track(Bytes("\x00\xFF\x51\x03\x07\xA1\x20", 7) + EndOfTrack) + Track(Tune)));
  EXPECT_TRUE(Playable(Header(0, 1, 96) + Track(Bytes("\x00\xF0\x03\x7E\x7F\xF7", 6) + Tune)));  // a system exclusive
  EXPECT_TRUE(Playable(Header(0, 1, 96) + Track(Tune.substr(0, Tune.size() - 4))));             // no end-of-track event
  EXPECT_TRUE(Playable(Header(0, 1, 96) + Track(Tune) + "trailing bytes"));

  std::ifstream in(std::string(TAVI_MEDIA_DIR) + "/" + mediagen::MediaFileName(media::Music.file), std::ios::binary);
  const Bytes music((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(music.empty());
  EXPECT_TRUE(Playable(music));
}

// Each of these either cannot be read by the synthesiser or is over at its first tick; repeated
// for ever, either one spins the audio thread.
TEST(PlayableMidi, RefusesWhatCouldNotRepeat) {
  EXPECT_FALSE(Playable(Header(0, 0, 96))) << "no tracks";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + Track(""))) << "an empty track";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + Track(Bytes("\x00\x90\x3C\x40", 4) + EndOfTrack))) << "over at tick 0";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + Track(Bytes("\x00\xFF\x2F\x00", 4)) + Track(Tune))) << "more tracks than announced are ignored";
  EXPECT_FALSE(Playable(Header(1, 3, 96) + Track(Tune))) << "fewer tracks than announced";
  EXPECT_FALSE(Playable(Header(0, 1, 96, 8) + Bytes(2, '\0') + Track(Tune))) << "a longer header";
  EXPECT_FALSE(Playable(Header(3, 1, 96) + Track(Tune))) << "format 3";
  EXPECT_FALSE(Playable(Header(0, 1, 0xE728) + Track(Tune))) << "SMPTE time";
  EXPECT_FALSE(Playable(Header(0, 1, 0) + Track(Tune))) << "division 0";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + Track(Bytes("\x00\xFF\x51\x03\x00\x00\x00", 7) + Tune))) << "tempo 0";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + Track(Bytes("\x00\xFF\x51\x02\x07\xA1", 6) + Tune))) << "a short tempo";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + Track(Bytes("\x00\x3C\x40", 3) + Tune))) << "running status first";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + Track(Bytes("\x00\x90\xBC\x40", 4) + Tune))) << "a data byte with its top bit";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + Track(Bytes("\x00\xF4", 2) + Tune))) << "a system message";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + Track(Bytes("\x00\xF7\x01\x01", 4) + Tune))) << "an escape";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + Track(Bytes("\x80\x80\x80\x80\x00\x90\x3C\x40", 8) + Tune))) << "a five-byte delta";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + Track(Bytes("\x00\xFF\x01\x8F\xFF\xFF\x7F" "abc", 10) + Tune))) << "meta past the track";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + Track(Tune + Bytes("\x00\x90\x3C\x40", 4)))) << "events after the end of track";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + "MTrk" + Be32(1000) + Tune)) << "a track longer than the file";
  EXPECT_FALSE(Playable(Header(0, 1, 96) + "JUNK" + Be32(2) + "xx" + Track(Tune))) << "a chunk of another kind";
  EXPECT_FALSE(Playable(Bytes("RIFF") + Be32(100) + "RMID" + Header(0, 1, 96) + Track(Tune))) << "a RIFF wrapper";
  EXPECT_FALSE(PlayableMidi(nullptr, 0));
}

TEST(PlayableMidi, RefusesEveryTruncationAndGarbage) {
  const Bytes good = Header(1, 2, 96) + Track(Bytes("\x00\xFF\x51\x03\x07\xA1\x20", 7) + EndOfTrack) + Track(Tune);
  ASSERT_TRUE(Playable(good));
  for (std::size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(Playable(good.substr(0, size))) << "cut at " << size;
  }
  Bytes garbage;
  std::uint32_t state = 12345;
  for (int i = 0; i < 4096; ++i) {
    state = state * 1103515245u + 12345u;
    garbage.push_back(static_cast<char>(state >> 16));
  }
  EXPECT_FALSE(Playable(garbage));
  EXPECT_FALSE(Playable("MThd" + garbage));
}

}  // namespace
}  // namespace tavi
