#include "score.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

#include "line_parser.h"

namespace mediagen {

namespace {

struct PatternNote {
  int line = 0;
  long offset = 0;  // ticks from the pattern's start
  long length = 0;
  int key = 0;
  int velocity = 0;
};

struct PatternRamp {
  int line = 0;
  long offset = 0;
  long length = 0;
  int from = 127;
  int to = 127;
};

struct Pattern {
  int line = 0;
  int bars = 1;
  std::vector<PatternNote> notes;
  std::vector<PatternRamp> ramps;
};

struct Play {
  int line = 0;
  std::string track;
  std::string pattern;
  std::vector<int> startBars;
  int rangeFirst = 0;  // a range "A-B" to fill with repeats; 0 = none
  int rangeLast = 0;
};

class ScoreParser {
 public:
  ScoreParser(const std::string& path, Score& score, std::string& error)
      : path_(path), score_(score), error_(error) {}

  bool Parse(const std::vector<TextLine>& lines) {
    for (const TextLine& line : lines) {
      if (!ParseLine(line)) return false;
    }
    if (pattern_) return Fail(patternLine_, "pattern has no \"end\"");
    if (score_.bars == 0) return FailFile("no \"bars\" line");
    if (score_.tracks.empty()) return FailFile("no track");
    for (const Play& play : plays_) {
      if (!Place(play)) return false;
    }
    const auto byTime = [](const auto& a, const auto& b) {
      return a.tick != b.tick ? a.tick < b.tick : a.track < b.track;
    };
    std::stable_sort(score_.notes.begin(), score_.notes.end(), byTime);
    std::stable_sort(score_.ramps.begin(), score_.ramps.end(), byTime);
    return CheckOverlaps() && CheckRamps();
  }

 private:
  bool Fail(int line, const std::string& message) {
    error_ = LineError(path_, line, message);
    return false;
  }
  bool FailFile(const std::string& message) {
    error_ = path_ + ": " + message;
    return false;
  }

  bool Integer(const TextLine& line, const std::string& text, long low, long high, long& value) {
    double parsed = 0;
    if (!ParseNumber(text, parsed) || parsed != std::floor(parsed) || parsed < low ||
        parsed > high) {
      return Fail(line.number, "\"" + text + "\" is not a whole number from " +
                                   std::to_string(low) + " to " + std::to_string(high));
    }
    value = static_cast<long>(parsed);
    return true;
  }

  // Turns a count of beats into ticks; it must come out whole.
  bool BeatsToTicks(const TextLine& line, double beats, long& ticks) {
    const double exact = beats * score_.TicksPerBeat();
    ticks = std::lround(exact);
    if (std::fabs(exact - ticks) > 1e-6)
      return Fail(line.number, "falls between ticks (raise ppq or round the beat)");
    return true;
  }

  bool ParseLine(const TextLine& line) {
    if (pattern_) return ParsePatternLine(line);
    if (line.words.empty()) return Fail(line.number, "a line must start with a word");
    const std::string& word = line.words[0];
    if (word == "track") return ParseTrack(line);
    if (word == "pattern") return ParsePatternStart(line);
    if (word == "play") return ParsePlay(line);
    if (word == "title") {
      if (line.words.size() < 2 || !line.keys.empty())
        return Fail(line.number, "title takes words");
      score_.title.clear();
      for (std::size_t i = 1; i < line.words.size(); ++i)
        score_.title += (i > 1 ? " " : "") + line.words[i];
      return true;
    }
    if (word == "tempo" || word == "ppq" || word == "bars" || word == "meter") {
      if (patternSeen_) return Fail(line.number, word + " must come before the first pattern");
      if (line.words.size() != 2 || !line.keys.empty())
        return Fail(line.number, word + " takes one value");
      return ParseSetting(line, word, line.words[1]);
    }
    return Fail(line.number, "unknown word \"" + word +
                                 "\" (title, tempo, meter, ppq, bars, track, pattern, play)");
  }

  bool ParseSetting(const TextLine& line, const std::string& word, const std::string& value) {
    long number = 0;
    if (word == "tempo") {
      double tempo = 0;
      if (!ParseNumber(value, tempo) || tempo < 20 || tempo > 300)
        return Fail(line.number, "tempo must be 20 to 300 quarter notes a minute");
      score_.tempo = tempo;
    } else if (word == "ppq") {
      if (!Integer(line, value, 24, 960, number)) return false;
      score_.ppq = static_cast<int>(number);
    } else if (word == "bars") {
      if (!Integer(line, value, 1, 1000, number)) return false;
      score_.bars = static_cast<int>(number);
    } else {
      const std::size_t slash = value.find('/');
      long top = 0, bottom = 0;
      if (slash == std::string::npos || !Integer(line, value.substr(0, slash), 1, 32, top) ||
          !Integer(line, value.substr(slash + 1), 1, 32, bottom) || (bottom & (bottom - 1)) != 0) {
        return Fail(line.number, "meter must be like 4/4 (a power of two below the line)");
      }
      score_.meterTop = static_cast<int>(top);
      score_.meterBottom = static_cast<int>(bottom);
    }
    return true;
  }

  bool ParseTrack(const TextLine& line) {
    if (line.words.size() != 2)
      return Fail(line.number, "track takes one name and key=value pairs");
    if (!CheckKeys(path_, line, {"channel", "program", "volume", "pan", "reverb", "chorus"},
                   error_))
      return false;
    ScoreTrack track;
    track.line = line.number;
    track.name = line.words[1];
    if (line.keys.count("channel") == 0) return Fail(line.number, "a track needs channel=");
    double channel = 0, program = 0, volume = track.volume, pan = track.pan, reverb = -1,
           chorus = -1;
    if (!ReadKey(path_, line, "channel", 1, 16, channel, error_) ||
        !ReadKey(path_, line, "program", 1, 128, program, error_) ||
        !ReadKey(path_, line, "volume", 0, 127, volume, error_) ||
        !ReadKey(path_, line, "pan", 0, 127, pan, error_) ||
        !ReadKey(path_, line, "reverb", 0, 127, reverb, error_) ||
        !ReadKey(path_, line, "chorus", 0, 127, chorus, error_)) {
      return false;
    }
    for (double value : {channel, program, volume, pan, reverb, chorus}) {
      if (value != std::floor(value)) return Fail(line.number, "track values are whole numbers");
    }
    track.channel = static_cast<int>(channel);
    track.program = static_cast<int>(program);
    track.volume = static_cast<int>(volume);
    track.pan = static_cast<int>(pan);
    track.reverb = static_cast<int>(reverb);
    track.chorus = static_cast<int>(chorus);
    for (const ScoreTrack& other : score_.tracks) {
      if (other.name == track.name)
        return Fail(line.number, "track \"" + track.name + "\" given twice");
      if (other.channel == track.channel)
        return Fail(line.number, "channel " + std::to_string(track.channel) +
                                     " is already track \"" + other.name + "\"");
    }
    score_.tracks.push_back(track);
    return true;
  }

  bool ParsePatternStart(const TextLine& line) {
    if (line.words.size() != 2) return Fail(line.number, "pattern takes one name and bars=N");
    if (!CheckKeys(path_, line, {"bars"}, error_)) return false;
    const std::string& name = line.words[1];
    if (patterns_.count(name)) return Fail(line.number, "pattern \"" + name + "\" given twice");
    Pattern pattern;
    pattern.line = line.number;
    const auto bars = line.keys.find("bars");
    if (bars != line.keys.end()) {
      long count = 0;
      if (!Integer(line, bars->second, 1, 1000, count)) return false;
      pattern.bars = static_cast<int>(count);
    }
    pattern_ = &patterns_[name];
    *pattern_ = pattern;
    patternLine_ = line.number;
    patternSeen_ = true;
    return true;
  }

  // POSITION LENGTH VELOCITY KEY... inside a pattern, or "end".
  bool ParsePatternLine(const TextLine& line) {
    if (line.words.size() == 1 && line.keys.empty() && line.words[0] == "end") {
      if (pattern_->notes.empty() && pattern_->ramps.empty())
        return Fail(patternLine_, "pattern has no notes");
      pattern_ = nullptr;
      return true;
    }
    if (line.words.size() < 4 || !line.keys.empty())
      return Fail(line.number,
                  "a note line is: BAR:BEAT LENGTH VELOCITY KEY... or BAR:BEAT LENGTH expression "
                  "FROM TO (or \"end\")");
    const std::string& position = line.words[0];
    const std::size_t colon = position.find(':');
    long bar = 0;
    double beat = 0;
    if (colon == std::string::npos ||
        !Integer(line, position.substr(0, colon), 1, pattern_->bars, bar))
      return Fail(line.number, "position \"" + position + "\" is not BAR:BEAT inside the pattern");
    if (!ParseNumber(position.substr(colon + 1), beat) || beat < 1 || beat >= score_.meterTop + 1)
      return Fail(line.number, "beat in \"" + position + "\" is not 1 to " +
                                   std::to_string(score_.meterTop) + " (fractions allowed)");
    double beats = 0;
    if (!ParseNumber(line.words[1], beats) || beats <= 0)
      return Fail(line.number,
                  "length \"" + line.words[1] + "\" is not a positive number of beats");
    long start = 0, length = 0;
    if (!BeatsToTicks(line, beat - 1, start) || !BeatsToTicks(line, beats, length)) return false;
    start += (bar - 1) * score_.TicksPerBar();
    if (start + length > pattern_->bars * score_.TicksPerBar())
      return Fail(line.number, "lasts past the end of the pattern");
    if (line.words[2] == "expression") {
      long from = 0, to = 0;
      if (line.words.size() != 5) return Fail(line.number, "expression takes FROM and TO");
      if (!Integer(line, line.words[3], 0, 127, from) || !Integer(line, line.words[4], 0, 127, to))
        return false;
      pattern_->ramps.push_back(
          {line.number, start, length, static_cast<int>(from), static_cast<int>(to)});
      return true;
    }
    long velocity = 0;
    if (!Integer(line, line.words[2], 1, 127, velocity)) return false;
    PatternNote note;
    note.line = line.number;
    note.velocity = static_cast<int>(velocity);
    note.offset = start;
    note.length = length;
    for (std::size_t i = 3; i < line.words.size(); ++i) {
      if (!ParseKey(line.words[i], note.key))
        return Fail(line.number,
                    "\"" + line.words[i] + "\" is not a key (C4, F#3, Bb2 or 0 to 127)");
      pattern_->notes.push_back(note);
    }
    return true;
  }

  // play TRACK PATTERN BAR... where a bar may be a range A-B filled with repeats.
  bool ParsePlay(const TextLine& line) {
    if (line.words.size() < 4 || !line.keys.empty())
      return Fail(line.number, "play takes a track, a pattern and bars (5, or 1-16 to repeat)");
    Play play;
    play.line = line.number;
    play.track = line.words[1];
    play.pattern = line.words[2];
    for (std::size_t i = 3; i < line.words.size(); ++i) {
      const std::string& text = line.words[i];
      const std::size_t dash = text.find('-', 1);
      long first = 0, last = 0;
      if (dash == std::string::npos) {
        if (!Integer(line, text, 1, 1000, first)) return false;
        play.startBars.push_back(static_cast<int>(first));
        continue;
      }
      if (!Integer(line, text.substr(0, dash), 1, 1000, first) ||
          !Integer(line, text.substr(dash + 1), 1, 1000, last))
        return false;
      if (last < first) return Fail(line.number, "range \"" + text + "\" runs backwards");
      play.rangeFirst = static_cast<int>(first);
      play.rangeLast = static_cast<int>(last);
      plays_.push_back(play);
      play.rangeFirst = play.rangeLast = 0;
    }
    if (!play.startBars.empty()) plays_.push_back(play);
    return true;
  }

  bool Place(const Play& play) {
    int trackIndex = -1;
    for (std::size_t i = 0; i < score_.tracks.size(); ++i) {
      if (score_.tracks[i].name == play.track) trackIndex = static_cast<int>(i);
    }
    if (trackIndex < 0) return Fail(play.line, "no track \"" + play.track + "\"");
    const auto found = patterns_.find(play.pattern);
    if (found == patterns_.end()) return Fail(play.line, "no pattern \"" + play.pattern + "\"");
    const Pattern& pattern = found->second;
    std::vector<int> starts = play.startBars;
    if (play.rangeFirst > 0) {
      const int span = play.rangeLast - play.rangeFirst + 1;
      if (span % pattern.bars != 0)
        return Fail(play.line, "bars " + std::to_string(play.rangeFirst) + "-" +
                                   std::to_string(play.rangeLast) +
                                   " are not whole repeats of the " + std::to_string(pattern.bars) +
                                   "-bar pattern \"" + play.pattern + "\"");
      for (int bar = play.rangeFirst; bar <= play.rangeLast; bar += pattern.bars)
        starts.push_back(bar);
    }
    for (int bar : starts) {
      if (bar + pattern.bars - 1 > score_.bars)
        return Fail(play.line, "pattern \"" + play.pattern + "\" at bar " + std::to_string(bar) +
                                   " runs past the last bar " + std::to_string(score_.bars));
      for (const PatternNote& source : pattern.notes) {
        ScoreNote note;
        note.track = trackIndex;
        note.tick = (bar - 1) * score_.TicksPerBar() + source.offset;
        note.length = source.length;
        note.key = source.key;
        note.velocity = source.velocity;
        note.line = source.line;
        note.playLine = play.line;
        score_.notes.push_back(note);
      }
      for (const PatternRamp& source : pattern.ramps) {
        ScoreRamp ramp;
        ramp.track = trackIndex;
        ramp.tick = (bar - 1) * score_.TicksPerBar() + source.offset;
        ramp.length = source.length;
        ramp.from = source.from;
        ramp.to = source.to;
        ramp.line = source.line;
        ramp.playLine = play.line;
        score_.ramps.push_back(ramp);
      }
    }
    return true;
  }

  // Two ramps of one controller at once would fight over its value.
  bool CheckRamps() {
    std::map<int, const ScoreRamp*> last;
    for (const ScoreRamp& ramp : score_.ramps) {
      const auto previous = last.find(ramp.track);
      if (previous != last.end() && previous->second->tick + previous->second->length > ramp.tick) {
        return Fail(ramp.line, "expression placed by line " + std::to_string(ramp.playLine) +
                                   " overlaps the one from line " +
                                   std::to_string(previous->second->line) + " (placed by line " +
                                   std::to_string(previous->second->playLine) + ")");
      }
      last[ramp.track] = &ramp;
    }
    return true;
  }

  // Two sounding notes of one key on one channel would share one note-off.
  bool CheckOverlaps() {
    std::map<std::pair<int, int>, const ScoreNote*> last;
    for (const ScoreNote& note : score_.notes) {
      const auto slot = std::make_pair(score_.tracks[note.track].channel, note.key);
      const auto previous = last.find(slot);
      if (previous != last.end() && previous->second->tick + previous->second->length > note.tick) {
        return Fail(note.line, "key " + std::to_string(note.key) + " placed by line " +
                                   std::to_string(note.playLine) +
                                   " overlaps the same key from line " +
                                   std::to_string(previous->second->line) + " (placed by line " +
                                   std::to_string(previous->second->playLine) + ")");
      }
      if (previous == last.end() ||
          previous->second->tick + previous->second->length < note.tick + note.length) {
        last[slot] = &note;
      }
    }
    return true;
  }

  const std::string& path_;
  Score& score_;
  std::string& error_;
  std::map<std::string, Pattern> patterns_;
  std::vector<Play> plays_;
  Pattern* pattern_ = nullptr;  // the pattern being read, until its "end"
  int patternLine_ = 0;
  bool patternSeen_ = false;  // tick settings must come before the first pattern
};

}  // namespace

bool ParseKey(const std::string& text, int& key) {
  if (text.empty()) return false;
  if (std::isdigit(static_cast<unsigned char>(text[0]))) {
    double value = 0;
    if (!ParseNumber(text, value) || value != std::floor(value) || value < 0 || value > 127)
      return false;
    key = static_cast<int>(value);
    return true;
  }
  static const int Steps[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  if (letter < 'A' || letter > 'G') return false;
  int pitch = Steps[letter - 'A'];
  std::size_t at = 1;
  if (at < text.size() && text[at] == '#') {
    ++pitch;
    ++at;
  } else if (at < text.size() && text[at] == 'b') {
    --pitch;
    ++at;
  }
  const std::string octaveText = text.substr(at);
  if (octaveText != "-1" &&
      (octaveText.size() != 1 || !std::isdigit(static_cast<unsigned char>(octaveText[0]))))
    return false;
  const int octave = octaveText == "-1" ? -1 : octaveText[0] - '0';
  const int value = (octave + 1) * 12 + pitch;
  if (value < 0 || value > 127) return false;
  key = value;
  return true;
}

bool ParseScore(const std::string& text, const std::string& path, Score& score,
                std::string& error) {
  score = Score{};
  std::vector<TextLine> lines;
  if (!SplitText(text, path, lines, error)) return false;
  ScoreParser parser(path, score, error);
  return parser.Parse(lines);
}

bool ReadScore(const std::string& path, Score& score, std::string& error) {
  std::string text;
  return ReadTextFile(path, text, error) && ParseScore(text, path, score, error);
}

}  // namespace mediagen
