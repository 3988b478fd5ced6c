#include "app/demo.h"

#include <algorithm>
#include <cstring>

#include "app/options.h"
#include "base/cp1252.h"
#include "base/file_read.h"
#include "base/key_names.h"
#include "base/translate.h"

namespace tavi {

namespace {

// What the demo's words are split on: every kind of white space.
constexpr const char* Blanks = " \t\r\n\f\v";

// Decimal, so that a frame written "010" is frame 10.
bool ToNumber(const std::string& word, long long low, long long high, long long& value) {
  return ParseInteger(word, 10, low, high, value);
}

int ScanCode(const std::string& word) {
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    long long code = 0;
    return ParseInteger(word.substr(2), 16, 1, 255, code) ? static_cast<int>(code) : -1;
  }
  return DikFromName(word);
}

// Parses one non-blank, non-comment line into `demo`; an empty result means success.
std::string ParseLine(const std::string& text, long long lastFrame, Demo& demo) {
  std::vector<std::string> words;
  for (std::size_t at = text.find_first_not_of(Blanks); at != std::string::npos;) {
    const std::size_t end = text.find_first_of(Blanks, at);
    words.push_back(text.substr(at, end - at));
    at = text.find_first_not_of(Blanks, end);
  }
  if (words[0] == "seed") {
    long long seed = 0;
    if (words.size() != 2 || !ToNumber(words[1], 0, 0xFFFFFFFFll, seed)) return Translate("seed braucht genau eine Zahl");
    if (!demo.lines.empty()) return Translate("seed muss vor jedem Ereignis stehen");
    demo.seed = static_cast<std::uint32_t>(seed);
    return {};
  }
  DemoLine line;
  if (!ToNumber(words[0], 0, 1ll << 50, line.frame)) return Translate("eine Zeile beginnt mit einer Bildnummer oder seed");
  if (line.frame < lastFrame) return Translate("die Bildnummern d\xFCrfen nicht kleiner werden");
  if (words.size() < 2) return FillIn(Translate("Bild %s hat keine Anweisung"), {words[0]});
  const std::string& what = words[1];
  if (what == "move" || what == "click" || what == "dblclick") {
    long long x = 0;
    long long y = 0;
    if (words.size() != 4 || !ToNumber(words[2], 0, 65535, x) || !ToNumber(words[3], 0, 65535, y)) {
      return FillIn(Translate("%s braucht X und Y"), {what});
    }
    line.kind = what == "move" ? DemoLine::Kind::Move
                : what == "click" ? DemoLine::Kind::Click
                                  : DemoLine::Kind::DoubleClick;
    line.x = static_cast<int>(x);
    line.y = static_cast<int>(y);
  } else if (what == "esc" || what == "quit") {
    if (words.size() != 2) return FillIn(Translate("%s nimmt nichts weiter"), {what});
    line.kind = what == "esc" ? DemoLine::Kind::Escape : DemoLine::Kind::Quit;
  } else if (what == "keys") {
    line.kind = DemoLine::Kind::Keys;
    for (std::size_t i = 2; i < words.size(); ++i) {
      const int code = ScanCode(words[i]);
      if (code < 0) return FillIn(Translate("unbekannte Taste %s"), {words[i]});
      line.keys.push_back(static_cast<std::uint8_t>(code));
    }
  } else {
    return FillIn(Translate("unbekannte Anweisung %s"), {what});
  }
  demo.lines.push_back(line);
  return {};
}

}  // namespace

bool ParseDemo(const std::string& text, const std::string& fileName, Demo& demo, std::string& error) {
  Demo parsed;
  int number = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    std::string line = text.substr(at, end - at);
    at = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // The words are C strings further on: a NUL would cut one short without a word said.
    const bool nul = line.find('\0') != std::string::npos;
    // Every kind of white space the words are split on makes a blank line, not only space and tab.
    const auto first = line.find_first_not_of(Blanks);
    if (!nul && (first == std::string::npos || line[first] == '#')) continue;
    const long long lastFrame = parsed.lines.empty() ? 0 : parsed.lines.back().frame;
    const std::string problem = nul ? Translate("ein Nullbyte in der Zeile") : ParseLine(line, lastFrame, parsed);
    if (!problem.empty()) {
      error = FileNameText(fileName) + ":" + std::to_string(number) + ": " + problem;
      return false;
    }
  }
  // A demo without quit ends as if one followed its last line.
  if (parsed.lines.empty() || parsed.lines.back().kind != DemoLine::Kind::Quit) {
    DemoLine quit;
    quit.kind = DemoLine::Kind::Quit;
    quit.frame = parsed.lines.empty() ? 0 : parsed.lines.back().frame;
    parsed.lines.push_back(quit);
  }
  demo = std::move(parsed);
  return true;
}

bool LoadDemo(const std::string& fileName, Demo& demo, std::string& error) {
  std::string text;
  if (!ReadRegularFile(fileName, MaxDemoBytes, text, error)) return false;
  return ParseDemo(text, fileName, demo, error);
}

void DemoPlayer::BeginFrame(long long frame) {
  if (frame == frame_) return;
  frame_ = frame;
  // Key changes of this frame take effect now; window events are handed out by PollEvent.
  for (std::size_t i = next_; i < demo_.lines.size() && demo_.lines[i].frame <= frame; ++i) {
    const DemoLine& line = demo_.lines[i];
    if (line.kind != DemoLine::Kind::Keys) continue;
    std::memset(keys_, 0, sizeof keys_);
    for (std::uint8_t code : line.keys) keys_[code] = 0x80;
  }
}

bool DemoPlayer::PollEvent(WindowEvent& event) {
  while (next_ < demo_.lines.size() && demo_.lines[next_].frame <= frame_) {
    const DemoLine& line = demo_.lines[next_++];
    event.x = line.x;
    event.y = line.y;
    switch (line.kind) {
      case DemoLine::Kind::Move:
        event.type = WindowEventType::MouseMove;
        return true;
      case DemoLine::Kind::Click:
        event.type = WindowEventType::LeftButtonDown;
        return true;
      case DemoLine::Kind::DoubleClick:
        event.type = WindowEventType::LeftDoubleClick;
        return true;
      case DemoLine::Kind::Escape:
        event.type = WindowEventType::EscapeDown;
        return true;
      case DemoLine::Kind::Quit:
        event.type = WindowEventType::Close;
        return true;
      case DemoLine::Kind::Keys:
        break;  // applied by BeginFrame
    }
  }
  return false;
}

bool DemoPlayer::ReadKeys(std::uint8_t (&state)[256]) {
  std::memcpy(state, keys_, sizeof keys_);
  return true;
}

DemoRecorder::DemoRecorder(const std::string& fileName, std::uint32_t seed)
    : file_(fileName, ForCatalogue("Das Demo %s kann nicht geschrieben werden: %s")) {
  file_.Print("seed %u\n", seed);
  file_.Flush();
}

bool DemoRecorder::Close() {
  Quit();
  return file_.Close();
}

void DemoRecorder::Event(const WindowEvent& event) {
  switch (event.type) {
    case WindowEventType::MouseMove:
      file_.Print("%lld move %d %d\n", frame_, event.x, event.y);
      break;
    case WindowEventType::LeftButtonDown:
      file_.Print("%lld click %d %d\n", frame_, event.x, event.y);
      break;
    case WindowEventType::LeftDoubleClick:
      file_.Print("%lld dblclick %d %d\n", frame_, event.x, event.y);
      break;
    case WindowEventType::EscapeDown:
      file_.Print("%lld esc\n", frame_);
      break;
    case WindowEventType::Close:
      Quit();
      break;
    case WindowEventType::PauseKey:
    case WindowEventType::PauseLetter:
    case WindowEventType::FocusLost:
      break;  // a pause is no part of what was played
    case WindowEventType::KeyPress:
      break;  // recorded as the moves and clicks it became
  }
}

void DemoRecorder::Quit() {
  if (quitWritten_) return;
  file_.Print("%lld quit\n", frame_);
  quitWritten_ = true;
}

void DemoRecorder::Keys(const KeySnapshot& keys) {
  const std::uint8_t (&state)[256] = keys.state;
  bool changed = false;
  for (int i = 0; i < 256; ++i) changed |= (state[i] != 0) != (last_[i] != 0);
  if (changed && !quitWritten_) {
    file_.Print("%lld keys", frame_);
    for (int i = 1; i < 256; ++i) {
      if (state[i] == 0) continue;
      const char* name = DikName(i);
      if (name) {
        file_.Print(" %s", name);
      } else {
        file_.Print(" 0x%02X", i);
      }
    }
    file_.Print("\n");
  }
  std::memcpy(last_, state, sizeof last_);
}

}  // namespace tavi
