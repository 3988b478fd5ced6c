// The effects and the music: the recipe and score parsers, the synthesiser and the MIDI writer,
// the files the build put into the media directory, and the music as the game's mixer renders it
// (through SDL's disk audio driver).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "effect_recipe.h"
#include "effect_synth.h"
#include "line_parser.h"
#include "midi_writer.h"
#include "music.h"
#include "platform/platform.h"
#include "score.h"
#include "sounds.h"
#include "wav_writer.h"

namespace {

namespace fs = std::filesystem;

const std::string MediaDir = TAVI_MEDIA_DIR;

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// A fresh directory under the system's temporary directory, removed again afterwards.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& name)
      : path_(fs::temp_directory_path() /
              ("tavi_sound_" + name + "_" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | b[at + i];
  return value;
}

std::uint32_t Be(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | b[at + i];
  return value;
}

// ---- a small WAV reader of our own ---------------------------------------------------------

struct Wave {
  int format = 0;
  int channels = 0;
  int rate = 0;
  int bits = 0;
  std::vector<std::int16_t> samples;
};

bool ParseWave(const std::vector<std::uint8_t>& b, Wave& wave, std::string& why) {
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
      std::string(b.begin() + 8, b.begin() + 12) != "WAVE") {
    why = "no RIFF WAVE header";
    return false;
  }
  if (Le(b, 4, 4) + 8 != b.size()) {
    why = "RIFF size does not match the file";
    return false;
  }
  bool hasFormat = false;
  for (std::size_t at = 12; at + 8 <= b.size();) {
    const std::string id(b.begin() + at, b.begin() + at + 4);
    const std::size_t size = Le(b, at + 4, 4);
    const std::size_t body = at + 8;
    if (body + size > b.size()) {
      why = "chunk " + id + " runs past the end";
      return false;
    }
    if (id == "fmt " && size >= 16) {
      wave.format = static_cast<int>(Le(b, body, 2));
      wave.channels = static_cast<int>(Le(b, body + 2, 2));
      wave.rate = static_cast<int>(Le(b, body + 4, 4));
      wave.bits = static_cast<int>(Le(b, body + 14, 2));
      hasFormat = true;
    } else if (id == "data") {
      if (!hasFormat || wave.bits != 16) {
        why = "data before a 16-bit format chunk";
        return false;
      }
      for (std::size_t i = 0; i + 1 < size; i += 2)
        wave.samples.push_back(static_cast<std::int16_t>(Le(b, body + i, 2)));
      return true;
    }
    at = body + size + (size & 1);
  }
  why = "no data chunk";
  return false;
}

double PeakDb(const std::vector<std::int16_t>& samples) {
  int peak = 0;
  for (std::int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return 20 * std::log10(peak / 32768.0);
}

// ---- a small standard MIDI file reader of our own ------------------------------------------

struct MidiEvent {
  long tick = 0;
  int status = 0;  // 0xFF for meta events
  int meta = -1;
  int a = 0, b = 0;
  std::vector<std::uint8_t> data;
};

struct MidiFile {
  int format = -1;
  int division = 0;
  std::vector<std::vector<MidiEvent>> tracks;  // each ends with its end-of-track event
};

bool ReadVarLength(const std::vector<std::uint8_t>& b, std::size_t& at, std::size_t end,
                   std::uint32_t& value) {
  value = 0;
  for (int i = 0; i < 4; ++i) {
    if (at >= end) return false;
    const std::uint8_t byte = b[at++];
    value = value << 7 | (byte & 0x7F);
    if (!(byte & 0x80)) return true;
  }
  return false;
}

bool ParseMidi(const std::vector<std::uint8_t>& b, MidiFile& midi, std::string& why) {
  if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd" || Be(b, 4, 4) != 6) {
    why = "no MThd header";
    return false;
  }
  midi.format = static_cast<int>(Be(b, 8, 2));
  const std::uint32_t trackCount = Be(b, 10, 2);
  midi.division = static_cast<int>(Be(b, 12, 2));
  std::size_t at = 14;
  for (std::uint32_t t = 0; t < trackCount; ++t) {
    if (at + 8 > b.size() || std::string(b.begin() + at, b.begin() + at + 4) != "MTrk") {
      why = "track " + std::to_string(t) + " has no MTrk header";
      return false;
    }
    const std::size_t end = at + 8 + Be(b, at + 4, 4);
    if (end > b.size()) {
      why = "track " + std::to_string(t) + " runs past the end";
      return false;
    }
    at += 8;
    std::vector<MidiEvent> events;
    long tick = 0;
    int running = 0;
    bool ended = false;
    while (at < end && !ended) {
      std::uint32_t delta = 0;
      if (!ReadVarLength(b, at, end, delta) || at >= end) {
        why = "broken delta time";
        return false;
      }
      tick += static_cast<long>(delta);
      MidiEvent event;
      event.tick = tick;
      int status = b[at];
      if (status & 0x80) {
        ++at;
      } else if (running) {
        status = running;
      } else {
        why = "data byte without a status";
        return false;
      }
      event.status = status;
      if (status == 0xFF || status == 0xF0 || status == 0xF7) {
        if (status == 0xFF) {
          if (at >= end) return false;
          event.meta = b[at++];
        }
        std::uint32_t length = 0;
        if (!ReadVarLength(b, at, end, length) || at + length > end) {
          why = "broken meta or sysex length";
          return false;
        }
        event.data.assign(b.begin() + at, b.begin() + at + length);
        at += length;
        ended = event.meta == 0x2F;
      } else {
        running = status;
        const int kind = status & 0xF0;
        const int dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
        if (at + dataBytes > end) {
          why = "event cut short";
          return false;
        }
        event.a = b[at++];
        if (dataBytes == 2) event.b = b[at++];
      }
      events.push_back(event);
    }
    if (!ended || at != end) {
      why = "track " + std::to_string(t) + ": end-of-track missing or not last";
      return false;
    }
    midi.tracks.push_back(std::move(events));
  }
  return true;
}

long EndTick(const std::vector<MidiEvent>& track) { return track.back().tick; }

// Seconds up to `tick` by the file's tempo map (0.5 s a quarter until the first tempo event).
double SecondsAt(const MidiFile& midi, long tick) {
  std::vector<std::pair<long, double>> tempos;  // tick, seconds per quarter
  for (const auto& track : midi.tracks) {
    for (const MidiEvent& e : track) {
      if (e.meta == 0x51 && e.data.size() == 3) tempos.emplace_back(e.tick, Be(e.data, 0, 3) / 1e6);
    }
  }
  std::stable_sort(tempos.begin(), tempos.end(),
                   [](const auto& x, const auto& y) { return x.first < y.first; });
  double seconds = 0;
  long from = 0;
  double perQuarter = 0.5;
  for (const auto& [at, value] : tempos) {
    if (at >= tick) break;
    seconds += (at - from) * perQuarter / midi.division;
    from = at;
    perQuarter = value;
  }
  return seconds + (tick - from) * perQuarter / midi.division;
}

bool IsNoteOn(const MidiEvent& e) { return (e.status & 0xF0) == 0x90 && e.b > 0; }
bool IsNoteOff(const MidiEvent& e) {
  return (e.status & 0xF0) == 0x80 || ((e.status & 0xF0) == 0x90 && e.b == 0);
}

// Pairs every note-on with a note-off of its channel and key; names the first fault.
std::string UnpairedNotes(const MidiFile& midi) {
  for (std::size_t t = 0; t < midi.tracks.size(); ++t) {
    std::map<std::pair<int, int>, int> open;
    for (const MidiEvent& e : midi.tracks[t]) {
      const auto key = std::make_pair(e.status & 0x0F, e.a);
      if (IsNoteOn(e)) ++open[key];
      if (IsNoteOff(e) && open[key]-- == 0)
        return "track " + std::to_string(t) + ": note-off without note-on at tick " +
               std::to_string(e.tick);
    }
    for (const auto& [key, count] : open) {
      if (count != 0)
        return "track " + std::to_string(t) + ": key " + std::to_string(key.second) + " hangs";
    }
  }
  return "";
}

// ---- the parsers ---------------------------------------------------------------------------

TEST(MediaSoundText, NumbersAndKeys) {
  double value = 0;
  EXPECT_TRUE(mediagen::ParseNumber("0.25", value));
  EXPECT_DOUBLE_EQ(value, 0.25);
  EXPECT_TRUE(mediagen::ParseNumber("-3", value));
  EXPECT_DOUBLE_EQ(value, -3);
  EXPECT_TRUE(mediagen::ParseNumber("1/3", value));
  EXPECT_DOUBLE_EQ(value, 1.0 / 3);
  EXPECT_TRUE(mediagen::ParseNumber("2+1/2", value));
  EXPECT_DOUBLE_EQ(value, 2.5);
  EXPECT_TRUE(mediagen::ParseNumber("1e-3", value));
  EXPECT_DOUBLE_EQ(value, 0.001);
  for (const char* bad : {"", "abc", "1/0", "0x10", "inf", "nan", "1.5s", "2+3", "1//2", "+"})
    EXPECT_FALSE(mediagen::ParseNumber(bad, value)) << bad;

  const std::map<std::string, int> keys = {{"C4", 60},  {"C-1", 0}, {"G9", 127}, {"F#3", 54},
                                           {"Bb2", 46}, {"a4", 69}, {"B#3", 60}, {"42", 42}};
  for (const auto& [name, expected] : keys) {
    int key = -1;
    EXPECT_TRUE(mediagen::ParseKey(name, key)) << name;
    EXPECT_EQ(key, expected) << name;
  }
  int key = 0;
  for (const char* bad : {"H3", "C10", "G#9", "Cb-1", "128", "C", "C#", "4.5", "Cx4"})
    EXPECT_FALSE(mediagen::ParseKey(bad, key)) << bad;
}

TEST(MediaSoundText, CommentsKeysAndLineNumbers) {
  std::vector<mediagen::TextLine> lines;
  std::string error;
  ASSERT_TRUE(mediagen::SplitText("# title\n\n\tF#3 at=1/2 # a comment\r\nend#not-a-comment\n",
                                  "x.txt", lines, error))
      << error;
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].number, 3);
  EXPECT_EQ(lines[0].words, std::vector<std::string>{"F#3"});
  EXPECT_EQ(lines[0].keys.at("at"), "1/2");
  EXPECT_EQ(lines[1].words, std::vector<std::string>{"end#not-a-comment"});

  EXPECT_FALSE(mediagen::SplitText("ok\ntone at=1 at=2\n", "x.txt", lines, error));
  EXPECT_EQ(error, "x.txt:2: \"at\" given twice");
  EXPECT_FALSE(mediagen::SplitText("tone freq= 5\n", "x.txt", lines, error));
  EXPECT_NE(error.find("x.txt:1: malformed \"freq=\""), std::string::npos) << error;
  EXPECT_FALSE(mediagen::ReadTextLines("/nonexistent/x.txt", lines, error));
  EXPECT_NE(error.find("/nonexistent/x.txt"), std::string::npos);
}

TEST(MediaSoundRecipe, ReadsSettingsAndVoices) {
  mediagen::EffectRecipe recipe;
  std::string error;
  ASSERT_TRUE(mediagen::ParseEffectRecipe(
      "length 0.5\npeak -4\nfade 0.01 1/10\nseed 99\n"
      "tone at=0.1 dur=0.2 freq=440 to=880 glide=0.05 wave=square am=5 amdepth=0.5\n"
      "noise lowpass=800 highpass=100 decay=0.03\n",
      "r.sfx", recipe, error))
      << error;
  EXPECT_DOUBLE_EQ(recipe.length, 0.5);
  EXPECT_DOUBLE_EQ(recipe.peakDb, -4);
  EXPECT_DOUBLE_EQ(recipe.fadeOut, 0.1);
  EXPECT_EQ(recipe.seed, 99u);
  ASSERT_EQ(recipe.layers.size(), 2u);
  EXPECT_EQ(recipe.layers[0].line, 5);
  EXPECT_EQ(recipe.layers[0].wave, mediagen::Waveform::Square);
  EXPECT_DOUBLE_EQ(recipe.layers[0].to, 880);
  EXPECT_TRUE(recipe.layers[1].noise);
  EXPECT_DOUBLE_EQ(recipe.layers[1].highpass, 100);
}

TEST(MediaSoundRecipe, MistakesNameFileAndLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"length 0.5\ntone\n", "r.sfx:2: a tone needs freq="},
      {"length 0.5\ntone freq=440 colour=red\n", "r.sfx:2: unknown key \"colour\""},
      {"length 0.5\nnoise freq=440\n", "r.sfx:2: unknown key \"freq\""},
      {"length 0.5\ntone freq=abc\n", "r.sfx:2: freq=abc is not a number"},
      {"length 0.5\ntone freq=30000\n", "r.sfx:2: freq=30000 is outside"},
      {"length 0.5\ntone freq=440 wave=pulse\n", "r.sfx:2: wave=pulse is none of"},
      {"length 0.5\ntone freq=440 loud\n", "r.sfx:2: \"loud\" is not key=value"},
      {"length 2\ntone freq=440\n", "r.sfx:1: length must be 0.1 to 1.5 seconds"},
      {"length 0.05\n", "r.sfx:1: length must be"},
      {"length 0.5\npeak 0\n", "r.sfx:2: peak must be -6 to -1"},
      {"length 0.5\nfade 0.0001 0.1\n", "r.sfx:2: fade must be"},
      {"length 0.5\nfade 0.1\n", "r.sfx:2: fade takes 2 numbers"},
      {"length 0.5\nseed 1.5\n", "r.sfx:2: seed must be a whole number"},
      {"length 0.5\nbeep\n", "r.sfx:2: unknown word \"beep\""},
      {"length 0.5\ntone freq=440 dur=0.004\n", "r.sfx:2: dur is shorter"},
      {"length 0.5\ntone freq=440 at=0.6\n", "r.sfx:2: starts after the end"},
      {"tone freq=440\n", "r.sfx: no \"length\" line"},
      {"length 0.5\n", "r.sfx: no tone or noise line"},
      {"length 0.2\nfade 0.15 0.1\ntone freq=440\n", "r.sfx: the fades are longer"},
  };
  for (const auto& [text, expected] : cases) {
    mediagen::EffectRecipe recipe;
    std::string error;
    EXPECT_FALSE(mediagen::ParseEffectRecipe(text, "r.sfx", recipe, error)) << text;
    EXPECT_EQ(error.rfind(expected, 0), 0u) << "for:\n" << text << "got: " << error;
  }
}

// ---- the synthesiser -----------------------------------------------------------------------

mediagen::EffectRecipe Recipe(const std::string& text) {
  mediagen::EffectRecipe recipe;
  std::string error;
  EXPECT_TRUE(mediagen::ParseEffectRecipe(text, "test.sfx", recipe, error)) << error;
  return recipe;
}

std::vector<std::int16_t> Render(const std::string& text) {
  std::vector<std::int16_t> samples;
  std::string error;
  EXPECT_TRUE(mediagen::RenderEffect(Recipe(text), 44100, samples, error)) << error;
  return samples;
}

int ZeroCrossings(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
  int count = 0;
  for (std::size_t i = from + 1; i < to; ++i) count += (s[i - 1] < 0) != (s[i] < 0);
  return count;
}

TEST(MediaSoundSynth, NormalisedDeterministicAndQuietAtBothEnds) {
  const std::string text = "length 0.3\npeak -5\nseed 4\nnoise level=1\ntone freq=300 level=2\n";
  const auto first = Render(text);
  ASSERT_EQ(first.size(), 13230u);  // 0.3 s
  EXPECT_EQ(Render(text), first);
  EXPECT_NEAR(PeakDb(first), -5, 0.01);
  EXPECT_EQ(first.front(), 0);
  EXPECT_EQ(first.back(), 0);
  // The fade-out ramps down; no step at the end.
  EXPECT_LT(std::abs(first[first.size() - 2]), 200);

  const auto reseeded =
      Render("length 0.3\npeak -5\nseed 5\nnoise level=1\ntone freq=300 level=2\n");
  EXPECT_NE(reseeded, first);

  mediagen::EffectRecipe silent = Recipe("length 0.2\ntone freq=440 level=0\n");
  std::vector<std::int16_t> samples;
  std::string error;
  EXPECT_FALSE(mediagen::RenderEffect(silent, 44100, samples, error));
  EXPECT_EQ(error, "the effect is silent");
}

TEST(MediaSoundSynth, GlidesFiltersAndTiming) {
  // A glide from 200 Hz to 1600 Hz in 0.5 s, exponential, then steady. A tone crosses zero twice
  // a period, so the first 0.1 s holds 2 * (integral of 200 * 8^(t / 0.5) dt) = 49.6 crossings.
  const auto glide = Render("length 1\nfade 0.001 0.001\ntone freq=200 to=1600 glide=0.5\n");
  EXPECT_NEAR(ZeroCrossings(glide, 0, 4410), 49.6, 2);
  EXPECT_NEAR(ZeroCrossings(glide, 30870, 35280), 2 * 1600 * 0.1, 2);

  // A low-passed noise crosses zero far less often than a high-passed one.
  const auto low = Render("length 0.5\nnoise lowpass=300\n");
  const auto high = Render("length 0.5\nnoise highpass=6000\n");
  EXPECT_LT(ZeroCrossings(low, 0, low.size()) * 5, ZeroCrossings(high, 0, high.size()));

  // A voice that starts at 0.2 s and lasts 0.1 s leaves silence before and after it.
  const auto lateVoice = Render("length 0.5\ntone at=0.2 dur=0.1 freq=500\n");
  auto loudest = [&](std::size_t from, std::size_t to) {
    int peak = 0;
    for (std::size_t i = from; i < to; ++i) peak = std::max(peak, std::abs(int(lateVoice[i])));
    return peak;
  };
  EXPECT_LT(loudest(0, 8800), 50);  // the DC filter lets through only a whisper
  EXPECT_GT(loudest(8820, 13230), 20000);
  EXPECT_LT(loudest(13300, lateVoice.size()), 50);

  // Square and saw are band-limited: a high note has no partials beyond the Nyquist frequency,
  // so it is as smooth as the sine of the same pitch.
  const auto square = Render("length 0.2\ntone wave=square freq=8000\n");
  const auto sine = Render("length 0.2\ntone wave=sine freq=8000\n");
  EXPECT_NEAR(ZeroCrossings(square, 0, square.size()), ZeroCrossings(sine, 0, sine.size()), 4);
}

TEST(MediaSoundSynth, WaveFileRoundTrip) {
  const std::vector<std::int16_t> samples = {0, 1, -1, 32767, -32768, 1234, 0};
  Wave wave;
  std::string why;
  ASSERT_TRUE(ParseWave(mediagen::EncodeWav(samples, 22050), wave, why)) << why;
  EXPECT_EQ(wave.format, 1);
  EXPECT_EQ(wave.channels, 1);
  EXPECT_EQ(wave.rate, 22050);
  EXPECT_EQ(wave.samples, samples);
}

// ---- the score and the MIDI writer ----------------------------------------------------------

TEST(MediaSoundScore, PatternsPlaceNotesOnTheBarGrid) {
  mediagen::Score score;
  std::string error;
  ASSERT_TRUE(
      mediagen::ParseScore("tempo 90\nmeter 3/4\nppq 96\nbars 6\n"
                           "track lead channel=3 program=12\n"
                           "pattern two bars=2\n"
                           "1:1 1 100 C4 E4\n"
                           "2:2+1/2 1/2 80 60\n"
                           "end\n"
                           "pattern one\n1:3 1 90 G4\nend\n"
                           "play lead two 1-4\n"
                           "play lead one 5 6\n",
                           "s.score", score, error))
      << error;
  EXPECT_EQ(score.TicksPerBar(), 288);
  EXPECT_EQ(score.LoopTicks(), 6 * 288);
  EXPECT_NEAR(score.LoopSeconds(), 6 * 3 / 1.5, 1e-9);
  std::vector<std::pair<long, int>> placed;
  for (const auto& note : score.notes) placed.emplace_back(note.tick, note.key);
  const std::vector<std::pair<long, int>> expected = {
      {0, 60},   {0, 64},         {288 + 144, 60},  {576, 60},
      {576, 64}, {864 + 144, 60}, {1152 + 192, 67}, {1440 + 192, 67}};
  EXPECT_EQ(placed, expected);
  EXPECT_EQ(score.notes[2].length, 48);
  EXPECT_EQ(score.notes[2].velocity, 80);
  EXPECT_EQ(score.notes[6].line, 11);
  EXPECT_EQ(score.notes[6].playLine, 14);
}

TEST(MediaSoundScore, MistakesNameFileAndLine) {
  const std::string head = "bars 2\ntrack a channel=1\ntrack b channel=2\n";  // lines 1-3
  const std::pair<std::string, const char*> cases[] = {
      {head + "pattern p\n1:1 2 90 C4\n1:2 2 90 C4\nend\nplay a p 1\n",
       "s.score:6: key 60 placed by line 8 overlaps the same key from line 5"},
      {head + "pattern p\n1:4 2 90 C4\nend\nplay a p 1\n", "s.score:5: lasts past the end"},
      {head + "pattern p bars=2\n1:1 1 90 C4\nend\nplay a p 1-3\n",
       "s.score:7: bars 1-3 are not whole repeats"},
      {head + "pattern p\n1:1 1 90 C4\nend\nplay a p 2 3\n", "s.score:7: pattern \"p\" at bar 3"},
      {head + "pattern p\n1:1 1 90 C4\nend\nplay c p 1\n", "s.score:7: no track \"c\""},
      {head + "play a q 1\n", "s.score:4: no pattern \"q\""},
      {head + "pattern p\n1:1 1 90 C4\n", "s.score:4: pattern has no \"end\""},
      {head + "pattern p\nend\n", "s.score:4: pattern has no notes"},
      {head + "pattern p\n1:1 1 90 C4\nend\ntempo 80\n", "s.score:7: tempo must come before"},
      {head + "track c channel=1\n", "s.score:4: channel 1 is already track \"a\""},
      {head + "track a channel=5\n", "s.score:4: track \"a\" given twice"},
      {head + "track c channel=17\n", "s.score:4: channel=17 is outside"},
      {head + "track c program=5\n", "s.score:4: a track needs channel="},
      {head + "pattern p\n1:1+1/7 1 90 C4\nend\n", "s.score:5: falls between ticks"},
      {head + "pattern p\n1:5 1 90 C4\nend\n", "s.score:5: beat in \"1:5\" is not 1 to 4"},
      {head + "pattern p\n2:1 1 90 C4\nend\n", "s.score:5: position \"2:1\""},
      {head + "pattern p\n1:1 1 128 C4\nend\n", "s.score:5: \"128\" is not a whole number"},
      {head + "pattern p\n1:1 1 90 H4\nend\n", "s.score:5: \"H4\" is not a key"},
      {head + "pattern p\n1:1 0 90 C4\nend\n", "s.score:5: length \"0\""},
      {head + "pattern p\n1:1 2 expression 127 60\n1:2 1 expression 60 0\nend\nplay a p 1\n",
       "s.score:6: expression placed by line 8 overlaps"},
      {head + "pattern p\n1:1 1 expression 127\nend\n", "s.score:5: expression takes FROM and TO"},
      {"track a channel=1\n", "s.score: no \"bars\" line"},
      {"bars 2\n", "s.score: no track"},
      {"bars 2\nmeter 4/3\n", "s.score:2: meter must be like 4/4"},
      {"bars 2\nvolume 3\n", "s.score:2: unknown word \"volume\""},
  };
  for (const auto& [text, expected] : cases) {
    mediagen::Score score;
    std::string error;
    EXPECT_FALSE(mediagen::ParseScore(text, "s.score", score, error)) << text;
    EXPECT_EQ(error.rfind(expected, 0), 0u) << "for:\n" << text << "got: " << error;
  }
}

TEST(MediaSoundMidi, RestrikesRampsAndTheLoopEnd) {
  mediagen::Score score;
  std::string error;
  ASSERT_TRUE(mediagen::ParseScore(
      "title Probe\ntempo 75\nppq 120\nbars 2\n"
      "track keys channel=2 program=13 volume=90 pan=30 reverb=70\n"
      "track drums channel=10 volume=50\n"
      "pattern p bars=2\n1:1 4 60 D4\n2:1 4 70 D4\n2:3 2 expression 127 27\nend\n"
      "pattern hat\n1:4 1/2 30 42\nend\n"
      "play keys p 1\nplay drums hat 1-2\n",
      "m.score", score, error))
      << error;
  MidiFile midi;
  std::string why;
  ASSERT_TRUE(ParseMidi(mediagen::EncodeMidi(score), midi, why)) << why;
  EXPECT_EQ(midi.format, 1);
  EXPECT_EQ(midi.division, 120);
  ASSERT_EQ(midi.tracks.size(), 3u);
  for (const auto& track : midi.tracks) EXPECT_EQ(EndTick(track), 960);
  EXPECT_NEAR(SecondsAt(midi, 960), 8 * 0.8, 1e-9);  // 75 quarters a minute
  EXPECT_EQ(UnpairedNotes(midi), "");

  const auto& keys = midi.tracks[1];
  std::map<int, int> setUp;  // controller (or 0x100 + program) -> value, at tick 0
  for (const MidiEvent& e : keys) {
    if (e.tick != 0) continue;
    if ((e.status & 0xF0) == 0xB0 && !setUp.count(e.a)) setUp[e.a] = e.b;
    if ((e.status & 0xF0) == 0xC0) setUp[0x100] = e.a;
    if (e.status < 0xF0) {
      EXPECT_EQ(e.status & 0x0F, 1) << "set-up goes to the track's channel 2";
    }
  }
  EXPECT_EQ(setUp, (std::map<int, int>{{7, 90}, {10, 30}, {11, 127}, {91, 70}, {0x100, 12}}));

  // The re-struck D4: the old note ends before the new one starts at the same tick.
  std::vector<std::string> atBar2;
  for (const MidiEvent& e : keys) {
    if (e.tick == 480 && e.a == 62)
      atBar2.push_back(IsNoteOn(e) ? "on" : IsNoteOff(e) ? "off" : "?");
  }
  EXPECT_EQ(atBar2, (std::vector<std::string>{"off", "on"}));

  // The ramp falls steadily from 127 at its start to 27 exactly at the loop's end.
  std::vector<MidiEvent> ramp;
  for (const MidiEvent& e : keys) {
    if ((e.status & 0xF0) == 0xB0 && e.a == 11 && e.tick > 0) ramp.push_back(e);
  }
  ASSERT_GE(ramp.size(), 10u);
  EXPECT_EQ(ramp.front().tick, 720);
  EXPECT_EQ(ramp.front().b, 127);
  EXPECT_EQ(ramp.back().tick, 960);
  EXPECT_EQ(ramp.back().b, 27);
  for (std::size_t i = 1; i < ramp.size(); ++i) EXPECT_LT(ramp[i].b, ramp[i - 1].b);

  // Percussion sends no program change; its notes land on channel 10.
  int drumNotes = 0;
  for (const MidiEvent& e : midi.tracks[2]) {
    EXPECT_NE(e.status & 0xF0, 0xC0);
    if (IsNoteOn(e)) {
      EXPECT_EQ(e.status, 0x99);
      ++drumNotes;
    }
  }
  EXPECT_EQ(drumNotes, 2);
}

// ---- making the media directory ------------------------------------------------------------

TEST(MediaSoundMake, FailuresNameTheFile) {
  ScratchDir dir("make");
  const fs::path art = dir.Path() / "art";
  const fs::path out = dir.Path() / "out";
  fs::create_directories(out);
  std::string error;

  EXPECT_FALSE(mediagen::MakeSounds(art.string(), out.string(), error));
  EXPECT_NE(error.find("sounds/fisch.sfx: cannot be read"), std::string::npos) << error;

  for (const char* name : {"fisch", "fa\xC3\x9F", "next", "stein", "hai"})  // faß
    WriteText(art / "sounds" / (std::string(name) + ".sfx"), "length 0.2\ntone freq=440\n");
  WriteText(art / "sounds" / "stein.sfx", "length 0.2\ntone freq=440 level=0\n");
  EXPECT_FALSE(mediagen::MakeSounds(art.string(), out.string(), error));
  EXPECT_NE(error.find("stein.sfx: the effect is silent"), std::string::npos) << error;

  WriteText(art / "sounds" / "stein.sfx", "length 0.2\nnoise\n");
  EXPECT_FALSE(mediagen::MakeSounds(art.string(), (dir.Path() / "missing").string(), error));
  EXPECT_NE(error.find("missing/fisch.wav"), std::string::npos) << error;
  ASSERT_TRUE(mediagen::MakeSounds(art.string(), out.string(), error)) << error;
  Wave wave;
  std::string why;
  ASSERT_TRUE(ParseWave(ReadBytes(out / "fa\xC3\x9F.wav"), wave, why)) << why;
  EXPECT_EQ(wave.samples.size(), 8820u);

  WriteText(art / "music" / "background.score",
            "bars 8\ntrack t channel=1\npattern p\n1:1 4 90 C4\nend\nplay t p 1-8\n");
  EXPECT_FALSE(mediagen::MakeMusic(art.string(), out.string(), error));
  EXPECT_NE(error.find("background.score: the loop lasts 16.0 s"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(out / "background.mid"));

  WriteText(art / "music" / "background.score",
            "bars 30\ntrack t channel=1\npattern p\n1:1 4 90 C4\nend\nplay t p 1-30\n");
  ASSERT_TRUE(mediagen::MakeMusic(art.string(), out.string(), error)) << error;
  MidiFile midi;
  ASSERT_TRUE(ParseMidi(ReadBytes(out / "background.mid"), midi, why)) << why;
  EXPECT_DOUBLE_EQ(SecondsAt(midi, EndTick(midi.tracks[0])), 60);
}

// ---- the files the build made --------------------------------------------------------------

TEST(MediaSoundFiles, EveryEffectIsAShortNormalisedWave) {
  for (const char* name : {"fisch", "fa\xC3\x9F", "next", "stein", "hai"}) {  // faß
    SCOPED_TRACE(name);
    Wave wave;
    std::string why;
    ASSERT_TRUE(ParseWave(ReadBytes(MediaDir + "/" + name + ".wav"), wave, why)) << why;
    EXPECT_EQ(wave.format, 1);
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.rate, 44100);
    EXPECT_EQ(wave.bits, 16);
    const double seconds = wave.samples.size() / 44100.0;
    EXPECT_GE(seconds, 0.1);
    EXPECT_LE(seconds, 1.5);
    const double peak = PeakDb(wave.samples);
    EXPECT_GE(peak, -6);
    EXPECT_LE(peak, -1);
    // Faded in and out: no click when the effect starts or stops.
    ASSERT_GT(wave.samples.size(), 10u);
    EXPECT_LT(std::abs(int(wave.samples.front())), 100);
    EXPECT_LT(std::abs(int(wave.samples.back())), 100);
  }
}

TEST(MediaSoundFiles, MusicIsASeamlessGeneralMidiLoopOfAtLeastAMinute) {
  MidiFile midi;
  std::string why;
  ASSERT_TRUE(ParseMidi(ReadBytes(MediaDir + "/background.mid"), midi, why)) << why;
  EXPECT_EQ(midi.format, 1);
  ASSERT_GE(midi.tracks.size(), 2u);
  ASSERT_GT(midi.division, 0);  // ticks per quarter, not SMPTE

  const long loopEnd = EndTick(midi.tracks[0]);
  bool hasTempo = false;
  for (const MidiEvent& e : midi.tracks[0]) hasTempo = hasTempo || e.meta == 0x51;
  EXPECT_TRUE(hasTempo);
  EXPECT_GE(SecondsAt(midi, loopEnd), 60);
  EXPECT_EQ(UnpairedNotes(midi), "");

  long firstNote = loopEnd;
  long lastRelease = 0;
  std::map<int, std::map<int, int>> setUp;  // channel -> what is set at tick 0
  std::map<int, int> notesByChannel;
  for (const auto& track : midi.tracks) {
    EXPECT_EQ(EndTick(track), loopEnd) << "every track ends at the loop's end";
    for (const MidiEvent& e : track) {
      const int channel = (e.status & 0x0F) + 1;
      if (IsNoteOn(e)) {
        firstNote = std::min(firstNote, e.tick);
        ++notesByChannel[channel];
      }
      if (IsNoteOff(e)) lastRelease = std::max(lastRelease, e.tick);
      if (e.tick == 0 && (e.status & 0xF0) == 0xB0) setUp[channel][e.a] = e.b;
      if (e.tick == 0 && (e.status & 0xF0) == 0xC0) setUp[channel][0x100] = e.a;
    }
  }
  EXPECT_EQ(firstNote, 0) << "no silence at the start";
  EXPECT_EQ(lastRelease, loopEnd) << "notes sound to the very end of the loop";
  EXPECT_GE(notesByChannel.size(), 3u);
  EXPECT_GT(notesByChannel[10], 0) << "light percussion on channel 10";
  for (const auto& [channel, count] : notesByChannel) {
    SCOPED_TRACE("channel " + std::to_string(channel));
    EXPECT_TRUE(setUp[channel].count(7)) << "volume at tick 0";
    EXPECT_TRUE(setUp[channel].count(10)) << "pan at tick 0";
    if (channel != 10) {
      EXPECT_TRUE(setUp[channel].count(0x100)) << "program at tick 0";
    }
  }
}

// ---- the music as the game's mixer plays it ------------------------------------------------

// Sets environment variables for one scope and puts the old values back.
class ScopedEnv {
 public:
  void Set(const char* name, const std::string& value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old ? std::make_optional<std::string>(old) : std::nullopt);
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second)
        ::setenv(it->first.c_str(), it->second->c_str(), 1);
      else
        ::unsetenv(it->first.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class ScopedCwd {
 public:
  explicit ScopedCwd(const fs::path& to) : old_(fs::current_path()) { fs::current_path(to); }
  ~ScopedCwd() {
    std::error_code ignored;
    fs::current_path(old_, ignored);
  }

 private:
  fs::path old_;
};

std::uintmax_t SizeOf(const fs::path& path) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(path, error);
  return error ? 0 : size;
}

constexpr long Rate = 44100;
constexpr long BytesPerFrame = 4;  // 16-bit stereo

// Reads interleaved 16-bit stereo frames from byte `from` on.
std::vector<std::int16_t> ReadFrames(const fs::path& path, std::uintmax_t from) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(from - from % BytesPerFrame));
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::int16_t> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                           static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8);
  }
  return samples;
}

// Where the effect `e` starts in the left channel of `stereo`, looked for from frame `from` up to
// frame `to`, and how loud it is there.
struct Match {
  long frame = -1;
  double gain = 0;
  double residualRms = 0;  // what is left once the effect is taken out
  double mixRms = 0;       // music and effect together over the same span
};

// Normalised correlation of the first `length` samples of `e` with the left channel at `lag`.
double Correlation(const std::vector<std::int16_t>& stereo, const std::vector<std::int16_t>& e,
                   long lag, long length) {
  double dot = 0, mixEnergy = 0, effectEnergy = 0;
  for (long i = 0; i < length; ++i) {
    const double x = stereo[2 * (lag + i)];
    dot += x * e[i];
    mixEnergy += x * x;
    effectEnergy += double(e[i]) * e[i];
  }
  return mixEnergy > 0 && effectEnergy > 0 ? dot / std::sqrt(mixEnergy * effectEnergy) : 0;
}

Match FindEffect(const std::vector<std::int16_t>& stereo, const std::vector<std::int16_t>& e,
                 long from, long to) {
  const long frames = static_cast<long>(stereo.size() / 2);
  const long length = static_cast<long>(e.size());
  from = std::max(0L, from);
  to = std::min(to, frames - length);
  // The opening alone is cheap to slide along but a steady tone, so it matches a whole period
  // early or late almost as well; the whole effect then settles the exact frame.
  const long head = std::min(2048L, length);
  long coarse = -1;
  double best = -2;
  for (long lag = from; lag < to; ++lag) {
    const double score = Correlation(stereo, e, lag, head);
    if (score > best) {
      best = score;
      coarse = lag;
    }
  }
  Match match;
  if (coarse < 0) return match;
  best = -2;
  for (long lag = std::max(from, coarse - 200); lag < std::min(to, coarse + 200); ++lag) {
    const double score = Correlation(stereo, e, lag, length);
    if (score > best) {
      best = score;
      match.frame = lag;
    }
  }
  double dot = 0, effectEnergy = 0, mixEnergy = 0;
  for (long i = 0; i < length; ++i) {
    const double x = stereo[2 * (match.frame + i)];
    dot += x * e[i];
    effectEnergy += double(e[i]) * e[i];
    mixEnergy += x * x;
  }
  match.gain = dot / effectEnergy;
  double residual = 0;
  for (long i = 0; i < length; ++i) {
    const double r = stereo[2 * (match.frame + i)] - match.gain * e[i];
    residual += r * r;
  }
  match.residualRms = std::sqrt(residual / length);
  match.mixRms = std::sqrt(mixEnergy / length);
  return match;
}

double Rms(const std::vector<std::int16_t>& stereo, long firstFrame, long frames) {
  double sum = 0;
  for (long i = 2 * firstFrame; i < 2 * (firstFrame + frames); ++i)
    sum += double(stereo[i]) * stereo[i];
  return std::sqrt(sum / (2.0 * frames));
}

TEST(MediaSoundMixer, MusicPlaysSeventySecondsWithoutSilenceOrClippingAndEffectsAddOnTop) {
  if (!fs::exists("/usr/share/sounds/sf2/TimGM6mb.sf2") &&
      !fs::exists("/usr/share/sounds/sf3/default-GM.sf3"))
    GTEST_SKIP() << "no General MIDI soundfont installed (Debian package timgm6mb-soundfont)";

  ScratchDir dir("mixer");
  const fs::path raw = dir.Path() / "out.raw";
  Wave effect;
  std::string why;
  ASSERT_TRUE(ParseWave(ReadBytes(MediaDir + "/fisch.wav"), effect, why)) << why;

  std::uintmax_t musicStart = 0;   // bytes in the file when the music was started
  std::uintmax_t effectStart = 0;  // ... and when the effect was
  {
    ScopedEnv env;
    env.Set("SDL_AUDIODRIVER", "disk");
    env.Set("SDL_DISKAUDIOFILE", raw.string());
    env.Set("SDL_DISKAUDIODELAY", "0");  // as fast as the machine renders
    ScopedCwd cwd(fs::path(MediaDir).parent_path());
    auto audio = tavi::CreateMixerAudio();
    std::string reason;
    ASSERT_TRUE(audio->Open(reason)) << "SDL's disk audio driver cannot be used: " << reason;
    ASSERT_TRUE(fs::exists(raw)) << "audio opened, but not through the disk driver";
    const int handle = audio->LoadEffect("media\\fisch.wav");
    ASSERT_GE(handle, 0);
    ASSERT_TRUE(audio->LoadMusic("media\\background.mid", reason)) << reason;
    audio->PlayMusicForever();
    // The driver wrote silence while the soundfont loaded; the music starts from here.
    musicStart = SizeOf(raw);
    const std::uintmax_t effectAt = musicStart + 20 * Rate * BytesPerFrame;
    const std::uintmax_t wanted = musicStart + 71 * Rate * BytesPerFrame;
    // A completion wait, not a timing: a stuck renderer fails here instead of hanging.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    for (std::uintmax_t size = musicStart; size < wanted; size = SizeOf(raw)) {
      if (effectStart == 0 && size >= effectAt) {
        audio->PlayEffect(handle);
        effectStart = size;
      }
      if (std::chrono::steady_clock::now() > deadline) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    audio->Close();
    ASSERT_GE(SizeOf(raw), wanted) << "the disk driver did not render 70 s in five minutes";
  }
  const std::uintmax_t readFrom =
      musicStart > std::uintmax_t(Rate * BytesPerFrame) ? musicStart - Rate * BytesPerFrame : 0;
  const std::vector<std::int16_t> stereo = ReadFrames(raw, readFrom);
  const long base = static_cast<long>(readFrom / BytesPerFrame);
  const long frames = static_cast<long>(stereo.size() / 2);

  long first = 0;
  while (first < frames && stereo[2 * first] == 0 && stereo[2 * first + 1] == 0) ++first;
  const long startFrame = static_cast<long>(musicStart / BytesPerFrame) - base;
  ASSERT_LT(first, frames);
  EXPECT_LT(first - startFrame, Rate / 4) << "the music starts at once";
  ASSERT_GE(frames - first, 70 * Rate);

  for (long second = 0; second < 70; ++second) {
    const double rms = Rms(stereo, first + second * Rate, Rate);
    EXPECT_GT(rms, 100) << "silence in second " << second << " of the music";
  }
  int longestRun = 0;
  for (int channel = 0; channel < 2; ++channel) {
    int run = 0;
    for (long i = first; i < first + 70 * Rate; ++i) {
      run = std::abs(int(stereo[2 * i + channel])) >= 32767 ? run + 1 : 0;
      longestRun = std::max(longestRun, run);
    }
  }
  EXPECT_LE(longestRun, 3) << "the mix clips";

  // The effect lies on top of the music: found where it was started, at a sensible level, and
  // with the music still sounding underneath once it is taken out again.
  const long requested = static_cast<long>(effectStart / BytesPerFrame) - base;
  const Match match = FindEffect(stereo, effect.samples, requested - Rate / 10, requested + Rate);
  ASSERT_GE(match.frame, 0);
  EXPECT_GT(match.gain, 0.25);
  EXPECT_LT(match.gain, 1.5);
  EXPECT_LT(match.residualRms, 0.6 * match.mixRms) << "the effect is not in the mix";
  const double musicBefore = Rms(stereo, match.frame - Rate, Rate);
  EXPECT_GT(match.residualRms, 0.3 * musicBefore) << "the effect cut the music";
  EXPECT_LT(match.residualRms, 2.0 * musicBefore) << "the effect is not cleanly added";
}

}  // namespace
