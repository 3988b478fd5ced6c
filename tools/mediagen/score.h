#pragma once

#include <string>
#include <vector>

namespace mediagen {

// One instrument of the music on its own MIDI channel.
struct ScoreTrack {
  int line = 0;
  std::string name;
  int channel = 1;   // 1..16; 10 is percussion
  int program = 0;   // General MIDI program 1..128; 0 = none sent
  int volume = 100;  // controller 7
  int pan = 64;      // controller 10
  int reverb = -1;   // controller 91; -1 = not sent
  int chorus = -1;   // controller 93; -1 = not sent
};

// One note at its absolute place in the loop.
struct ScoreNote {
  int track = 0;  // index into Score::tracks
  long tick = 0;
  long length = 0;  // in ticks, > 0
  int key = 60;
  int velocity = 64;
  int line = 0;      // the pattern line it comes from
  int playLine = 0;  // the play line that placed it
};

// A controller (11, expression) moving in a straight line from one value to another.
struct ScoreRamp {
  int track = 0;
  long tick = 0;
  long length = 0;  // in ticks, > 0
  int controller = 11;
  int from = 127;
  int to = 127;
  int line = 0;
  int playLine = 0;
};

struct Score {
  std::string title = "music";
  double tempo = 120;  // quarter notes per minute
  int meterTop = 4;
  int meterBottom = 4;
  int ppq = 480;  // ticks per quarter note
  int bars = 0;   // the loop's length
  std::vector<ScoreTrack> tracks;
  std::vector<ScoreNote> notes;  // ordered by tick, then track
  std::vector<ScoreRamp> ramps;  // ordered by tick, then track

  long TicksPerBeat() const { return ppq * 4L / meterBottom; }
  long TicksPerBar() const { return TicksPerBeat() * meterTop; }
  long LoopTicks() const { return TicksPerBar() * bars; }
  double LoopSeconds() const { return LoopTicks() / double(ppq) * 60.0 / tempo; }
};

// A key by name ("C4" = 60, "F#3", "Bb2", "C-1" = 0) or by number 0..127; false otherwise.
bool ParseKey(const std::string& text, int& key);

// Parses a score; `path` names it in errors ("path:line: message"). Checks that every note lies
// inside the loop, that no two notes of one key overlap on one channel and that no two
// expression ramps of one track overlap.
bool ParseScore(const std::string& text, const std::string& path, Score& score, std::string& error);

bool ReadScore(const std::string& path, Score& score, std::string& error);

}  // namespace mediagen
