// Demo files with any text: the parser and the player that hands their events to the game.
//
// Properties: a refused demo names the file and a line that exists, and changes nothing; an
// accepted one is well formed (frames in order, ending with quit, keys and positions in range),
// reads back the same after being written out again, and plays every event once, in file order,
// with the keys of the latest "keys" line down.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/demo.h"
#include "fuzz_check.h"

namespace {

using tavi::Demo;
using tavi::DemoLine;

const char* const FileName = "fuzz.demo";

bool SameLine(const DemoLine& a, const DemoLine& b) {
  return a.frame == b.frame && a.kind == b.kind && a.x == b.x && a.y == b.y && a.keys == b.keys;
}

bool SameDemo(const Demo& a, const Demo& b) {
  return a.seed == b.seed && a.lines.size() == b.lines.size() &&
         std::equal(a.lines.begin(), a.lines.end(), b.lines.begin(), SameLine);
}

// The demo as text, every key as a hexadecimal scan code.
std::string Write(const Demo& demo) {
  std::string text;
  char buffer[64];
  if (demo.seed) {
    std::snprintf(buffer, sizeof buffer, "seed %u\n", static_cast<unsigned>(*demo.seed));
    text += buffer;
  }
  for (const DemoLine& line : demo.lines) {
    text += std::to_string(line.frame);
    switch (line.kind) {
      case DemoLine::Kind::Move:
        std::snprintf(buffer, sizeof buffer, " move %d %d", line.x, line.y);
        break;
      case DemoLine::Kind::Click:
        std::snprintf(buffer, sizeof buffer, " click %d %d", line.x, line.y);
        break;
      case DemoLine::Kind::DoubleClick:
        std::snprintf(buffer, sizeof buffer, " dblclick %d %d", line.x, line.y);
        break;
      case DemoLine::Kind::Escape:
        std::snprintf(buffer, sizeof buffer, " esc");
        break;
      case DemoLine::Kind::Quit:
        std::snprintf(buffer, sizeof buffer, " quit");
        break;
      case DemoLine::Kind::Keys:
        std::snprintf(buffer, sizeof buffer, " keys");
        break;
    }
    text += buffer;
    for (const std::uint8_t code : line.keys) {
      std::snprintf(buffer, sizeof buffer, " 0x%02X", code);
      text += buffer;
    }
    text += '\n';
  }
  return text;
}

void RequireWellFormed(const Demo& demo) {
  TAVI_REQUIRE(!demo.lines.empty() && demo.lines.back().kind == DemoLine::Kind::Quit);
  long long last = 0;
  for (const DemoLine& line : demo.lines) {
    TAVI_REQUIRE(line.frame >= last);
    last = line.frame;
    TAVI_REQUIRE(line.x >= 0 && line.x <= 65535 && line.y >= 0 && line.y <= 65535);
    TAVI_REQUIRE(line.kind == DemoLine::Kind::Keys || line.keys.empty());
    for (const std::uint8_t code : line.keys) TAVI_REQUIRE(code != 0);
  }
}

// Plays the demo frame by frame as the main loop does and checks what comes out.
void RequirePlaysInOrder(const Demo& demo) {
  tavi::DemoPlayer player(demo);
  TAVI_REQUIRE(player.Seed() == demo.seed);
  std::vector<long long> frames;
  for (const DemoLine& line : demo.lines) {
    if (frames.empty() || frames.back() != line.frame) frames.push_back(line.frame);
  }
  std::size_t next = 0;  // the next line whose event is due
  const DemoLine* latestKeys = nullptr;
  for (const long long frame : frames) {
    player.BeginFrame(frame);
    tavi::WindowEvent event;
    while (player.PollEvent(event)) {
      while (next < demo.lines.size() && demo.lines[next].kind == DemoLine::Kind::Keys) {
        latestKeys = &demo.lines[next++];
      }
      TAVI_REQUIRE(next < demo.lines.size() && demo.lines[next].frame <= frame);
      const DemoLine& line = demo.lines[next++];
      const bool positioned = line.kind == DemoLine::Kind::Move || line.kind == DemoLine::Kind::Click ||
                              line.kind == DemoLine::Kind::DoubleClick;
      if (positioned) TAVI_REQUIRE(event.x == line.x && event.y == line.y);
      switch (line.kind) {
        case DemoLine::Kind::Move:
          TAVI_REQUIRE(event.type == tavi::WindowEventType::MouseMove);
          break;
        case DemoLine::Kind::Click:
          TAVI_REQUIRE(event.type == tavi::WindowEventType::LeftButtonDown);
          break;
        case DemoLine::Kind::DoubleClick:
          TAVI_REQUIRE(event.type == tavi::WindowEventType::LeftDoubleClick);
          break;
        case DemoLine::Kind::Escape:
          TAVI_REQUIRE(event.type == tavi::WindowEventType::EscapeDown);
          break;
        case DemoLine::Kind::Quit:
          TAVI_REQUIRE(event.type == tavi::WindowEventType::Close);
          break;
        case DemoLine::Kind::Keys:
          break;
      }
    }
    // Every line of this frame and before is now played.
    while (next < demo.lines.size() && demo.lines[next].kind == DemoLine::Kind::Keys &&
           demo.lines[next].frame <= frame) {
      latestKeys = &demo.lines[next++];
    }
    TAVI_REQUIRE(next == demo.lines.size() || demo.lines[next].frame > frame);

    std::uint8_t state[256];
    std::memset(state, 0x55, sizeof state);
    TAVI_REQUIRE(player.ReadKeys(state));
    std::uint8_t expected[256] = {};
    if (latestKeys) {
      for (const std::uint8_t code : latestKeys->keys) expected[code] = 0x80;
    }
    TAVI_REQUIRE(std::memcmp(state, expected, sizeof state) == 0);
  }
  TAVI_REQUIRE(next == demo.lines.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  Demo demo;
  demo.seed = 77;
  demo.lines.push_back(DemoLine{});
  const Demo untouched = demo;
  std::string error;
  if (!tavi::ParseDemo(text, FileName, demo, error)) {
    TAVI_REQUIRE(SameDemo(demo, untouched));
    const std::string prefix = std::string(FileName) + ":";
    TAVI_REQUIRE(error.compare(0, prefix.size(), prefix) == 0);
    const long long line = std::atoll(error.c_str() + prefix.size());
    const long long lines = std::count(text.begin(), text.end(), '\n') + 1;
    TAVI_REQUIRE(line >= 1 && line <= lines);
    return 0;
  }
  RequireWellFormed(demo);

  Demo again;
  std::string againError;
  TAVI_REQUIRE(tavi::ParseDemo(Write(demo), FileName, again, againError));
  TAVI_REQUIRE(SameDemo(demo, again));

  RequirePlaysInOrder(demo);
  return 0;
}
