#include "midi_writer.h"

#include <algorithm>
#include <cmath>

namespace mediagen {

namespace {

struct Event {
  long tick = 0;
  int order = 0;  // at one tick: set-up first, then note-offs, then note-ons
  std::vector<std::uint8_t> bytes;
};

enum EventOrder { SetUp = 0, NoteOff = 1, Control = 2, NoteOn = 3 };

void PutVarLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t groups[5];
  int count = 0;
  do {
    groups[count++] = value & 0x7F;
    value >>= 7;
  } while (value != 0);
  while (count > 1) out.push_back(groups[--count] | 0x80);
  out.push_back(groups[0]);
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::vector<std::uint8_t> MetaText(int type, const std::string& text) {
  std::vector<std::uint8_t> bytes = {0xFF, static_cast<std::uint8_t>(type)};
  PutVarLength(bytes, static_cast<std::uint32_t>(text.size()));
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

// Sorts the events and writes them as one MTrk chunk ending at endTick.
void PutTrack(std::vector<std::uint8_t>& out, std::vector<Event> events, long endTick) {
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  std::vector<std::uint8_t> body;
  long now = 0;
  for (const Event& event : events) {
    PutVarLength(body, static_cast<std::uint32_t>(event.tick - now));
    body.insert(body.end(), event.bytes.begin(), event.bytes.end());
    now = event.tick;
  }
  PutVarLength(body, static_cast<std::uint32_t>(endTick - now));
  body.insert(body.end(), {0xFF, 0x2F, 0x00});
  out.insert(out.end(), {'M', 'T', 'r', 'k'});
  Put32(out, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
}

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value); }

}  // namespace

std::vector<std::uint8_t> EncodeMidi(const Score& score) {
  const long endTick = score.LoopTicks();
  std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd'};
  Put32(out, 6);
  out.insert(out.end(), {0, 1});  // type 1
  const int trackCount = static_cast<int>(score.tracks.size()) + 1;
  out.insert(out.end(),
             {Byte(trackCount >> 8), Byte(trackCount), Byte(score.ppq >> 8), Byte(score.ppq)});

  std::vector<Event> tempoTrack;
  tempoTrack.push_back({0, SetUp, MetaText(0x03, score.title)});
  int denominatorPower = 0;
  while ((1 << denominatorPower) < score.meterBottom) ++denominatorPower;
  tempoTrack.push_back(
      {0, SetUp, {0xFF, 0x58, 0x04, Byte(score.meterTop), Byte(denominatorPower), 24, 8}});
  const long microsPerQuarter = std::lround(60000000.0 / score.tempo);
  tempoTrack.push_back({0,
                        SetUp,
                        {0xFF, 0x51, 0x03, Byte(microsPerQuarter >> 16),
                         Byte(microsPerQuarter >> 8), Byte(microsPerQuarter)}});
  PutTrack(out, tempoTrack, endTick);

  for (std::size_t index = 0; index < score.tracks.size(); ++index) {
    const ScoreTrack& track = score.tracks[index];
    const std::uint8_t channel = Byte(track.channel - 1);
    std::vector<Event> events;
    events.push_back({0, SetUp, MetaText(0x03, track.name)});
    if (track.program > 0)
      events.push_back({0, SetUp, {Byte(0xC0 | channel), Byte(track.program - 1)}});
    events.push_back({0, SetUp, {Byte(0xB0 | channel), 7, Byte(track.volume)}});
    events.push_back({0, SetUp, {Byte(0xB0 | channel), 10, Byte(track.pan)}});
    // Expression starts full on every pass, whatever a ramp at the end left it at.
    events.push_back({0, SetUp, {Byte(0xB0 | channel), 11, 127}});
    if (track.reverb >= 0)
      events.push_back({0, SetUp, {Byte(0xB0 | channel), 91, Byte(track.reverb)}});
    if (track.chorus >= 0)
      events.push_back({0, SetUp, {Byte(0xB0 | channel), 93, Byte(track.chorus)}});
    for (const ScoreNote& note : score.notes) {
      if (note.track != static_cast<int>(index)) continue;
      events.push_back(
          {note.tick, NoteOn, {Byte(0x90 | channel), Byte(note.key), Byte(note.velocity)}});
      events.push_back(
          {note.tick + note.length, NoteOff, {Byte(0x80 | channel), Byte(note.key), 64}});
    }
    for (const ScoreRamp& ramp : score.ramps) {
      if (ramp.track != static_cast<int>(index)) continue;
      // One step every 64th note is smooth enough for a volume change and keeps the file small.
      const long step = std::max(1, score.ppq / 16);
      int sent = -1;
      for (long at = 0;; at = std::min(at + step, ramp.length)) {
        const int value = static_cast<int>(
            std::lround(ramp.from + (ramp.to - ramp.from) * static_cast<double>(at) / ramp.length));
        if (value != sent) {
          events.push_back({ramp.tick + at,
                            Control,
                            {Byte(0xB0 | channel), Byte(ramp.controller), Byte(value)}});
          sent = value;
        }
        if (at == ramp.length) break;
      }
    }
    PutTrack(out, events, endTick);
  }
  return out;
}

}  // namespace mediagen
