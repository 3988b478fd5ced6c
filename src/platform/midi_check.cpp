#include "platform/midi_check.h"

#include <cstring>

namespace tavi {

namespace {

std::uint32_t Be16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0]) << 8 | p[1]; }

std::uint32_t Be32(const std::uint8_t* p) { return Be16(p) << 16 | Be16(p + 2); }

class TrackReader {
 public:
  TrackReader(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}

  bool AtEnd() const { return p_ == end_; }
  std::size_t Left() const { return static_cast<std::size_t>(end_ - p_); }
  std::uint8_t Peek() const { return *p_; }
  std::uint8_t Next() { return *p_++; }

  // A variable-length quantity of at most four bytes.
  bool ReadVarLen(std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4 && !AtEnd(); ++i) {
      const std::uint8_t byte = Next();
      value = value << 7 | (byte & 0x7F);
      if ((byte & 0x80) == 0) return true;
    }
    return false;
  }

  bool Skip(std::uint32_t count) {
    if (count > Left()) return false;
    p_ += count;
    return true;
  }

 private:
  const std::uint8_t* p_;
  const std::uint8_t* end_;
};

// One track chunk's events; `later` is set by any event after tick 0 other than the track's end.
bool ValidTrack(TrackReader track, bool& later) {
  std::uint8_t running = 0;  // status of the last channel message, for running status
  std::uint64_t tick = 0;
  while (!track.AtEnd()) {
    std::uint32_t delta = 0;
    if (!track.ReadVarLen(delta) || track.AtEnd()) return false;
    tick += delta;
    std::uint8_t status = track.Peek();
    if (status < 0x80) {
      if (running == 0) return false;
      status = running;
    } else {
      track.Next();
    }
    if (status < 0xF0) {
      running = status;
      const int dataBytes = (status & 0xE0) == 0xC0 ? 1 : 2;  // program change, channel pressure: 1
      for (int i = 0; i < dataBytes; ++i) {
        if (track.AtEnd() || track.Next() >= 0x80) return false;
      }
    } else if (status == 0xF0) {
      running = 0;
      std::uint32_t length = 0;
      if (!track.ReadVarLen(length) || !track.Skip(length)) return false;
    } else if (status == 0xFF) {
      running = 0;
      if (track.AtEnd()) return false;
      const std::uint8_t type = track.Next();
      std::uint32_t length = 0;
      if (!track.ReadVarLen(length) || length > track.Left()) return false;
      if (type == 0x2F) return length == 0 && track.AtEnd();  // end of track, and of the chunk
      if (type == 0x51) {
        // A tempo is three bytes and never zero.
        if (length != 3) return false;
        std::uint32_t tempo = 0;
        for (int i = 0; i < 3; ++i) tempo = tempo << 8 | track.Next();
        if (tempo == 0) return false;
      } else {
        track.Skip(length);
      }
    } else {
      return false;  // escapes and system messages do not belong in a file
    }
    if (tick > 0) later = true;
  }
  return true;  // the end-of-track event may be missing; the chunk's length ends the track
}

}  // namespace

bool PlayableMidi(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size < 14 || std::memcmp(data, "MThd", 4) != 0 || Be32(data + 4) != 6) return false;
  const std::uint32_t format = Be16(data + 8);
  const std::uint32_t tracks = Be16(data + 10);
  const std::uint32_t division = Be16(data + 12);
  // Ticks per quarter note only: SMPTE time is not played.
  if (format > 2 || tracks == 0 || division == 0 || (division & 0x8000) != 0) return false;
  std::size_t at = 14;
  bool later = false;
  for (std::uint32_t found = 0; found < tracks; ++found) {
    if (size - at < 8 || std::memcmp(data + at, "MTrk", 4) != 0) return false;
    const std::uint32_t length = Be32(data + at + 4);
    if (length > size - at - 8) return false;
    if (!ValidTrack(TrackReader(data + at + 8, length), later)) return false;
    at += 8 + length;
  }
  return later;
}

}  // namespace tavi
