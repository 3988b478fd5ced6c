// Demo files with any text: the parser and the player that hands their events to the game.
//
// Properties: a refused demo names the file and a line that exists, and changes nothing; an
// accepted one is well formed (frames in order, ending with quit, keys and positions in range) and
// reads back the same after being written out again. How a demo plays is the replay tests' part.
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
  // In the order of DemoLine::Kind.
  const char* const words[] = {" move", " click", " dblclick", " esc", " keys", " quit"};
  for (const DemoLine& line : demo.lines) {
    text += std::to_string(line.frame) + words[static_cast<int>(line.kind)];
    const bool positioned = line.kind == DemoLine::Kind::Move || line.kind == DemoLine::Kind::Click ||
                            line.kind == DemoLine::Kind::DoubleClick;
    if (positioned) text += " " + std::to_string(line.x) + " " + std::to_string(line.y);
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
  return 0;
}
