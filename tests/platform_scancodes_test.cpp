// The one table from physical keys (SDL scancodes) to DirectInput scan codes, and the key names
// demos are written with.

#include <gtest/gtest.h>

#include <SDL_scancode.h>

#include <map>
#include <string>

#include "base/key_names.h"
#include "platform/scancodes.h"

namespace tavi {
namespace {

TEST(Scancodes, KeysKeepTheirPhysicalPositions) {
  // The German Y sits where the US keyboard has Z, and the game means the position.
  const std::pair<int, int> keys[] = {
      {SDL_SCANCODE_Z, 0x2C},         {SDL_SCANCODE_Y, 0x15},      {SDL_SCANCODE_A, 0x1E},
      {SDL_SCANCODE_0, 0x0B},         {SDL_SCANCODE_UP, 0xC8},     {SDL_SCANCODE_DOWN, 0xD0},
      {SDL_SCANCODE_LEFT, 0xCB},      {SDL_SCANCODE_RIGHT, 0xCD},  {SDL_SCANCODE_RETURN, 0x1C},
      {SDL_SCANCODE_KP_ENTER, 0x9C},  {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_SPACE, 0x39},
      {SDL_SCANCODE_PERIOD, 0x34},    {SDL_SCANCODE_LSHIFT, 0x2A}, {SDL_SCANCODE_RSHIFT, 0x36},
      {SDL_SCANCODE_RALT, 0xB8},  // AltGr
      {SDL_SCANCODE_NONUSBACKSLASH, 0x56},  // < > | on German keyboards
      {SDL_SCANCODE_KP_7, 0x47},      {SDL_SCANCODE_F12, 0x58},    {SDL_SCANCODE_UNKNOWN, 0},
      {-1, 0},                        {SDL_NUM_SCANCODES, 0},
  };
  for (const auto& [sdl, dik] : keys) EXPECT_EQ(DikFromSdlScancode(sdl), dik) << "SDL scancode " << sdl;
}

TEST(Scancodes, EveryMappedKeyIsDistinctAndNamed) {
  std::map<int, int> sdlByDik;
  int mapped = 0;
  for (int sdl = 0; sdl < SDL_NUM_SCANCODES; ++sdl) {
    const int dik = DikFromSdlScancode(sdl);
    if (dik == 0) continue;
    ++mapped;
    // A recorded demo must be able to write every key it sees.
    EXPECT_NE(DikName(dik), nullptr) << "scan code " << dik;
    auto [it, fresh] = sdlByDik.emplace(dik, sdl);
    // Only the ISO key left of Return comes under two usages.
    if (!fresh) {
      EXPECT_TRUE(dik == 0x2B && it->second == SDL_SCANCODE_BACKSLASH && sdl == SDL_SCANCODE_NONUSHASH) << dik;
    }
  }
  EXPECT_GE(mapped, 105);
}

TEST(Scancodes, NamesRoundTripAndDemoNamesMeanTheRightKeys) {
  for (int dik = 0; dik < 256; ++dik) {
    if (const char* name = DikName(dik)) {
      EXPECT_EQ(DikFromName(name), dik) << name;
    }
  }
  const std::map<std::string, int> demoNames = {
      {"A", 0x1E},        {"Z", 0x2C},        {"Y", 0x15},       {"0", 0x0B},      {"9", 0x0A},
      {"SPACE", 0x39},    {"PERIOD", 0x34},   {"RETURN", 0x1C},  {"BACK", 0x0E},   {"UP", 0xC8},
      {"DOWN", 0xD0},     {"LEFT", 0xCB},     {"RIGHT", 0xCD},   {"LSHIFT", 0x2A}, {"RSHIFT", 0x36},
      {"LCONTROL", 0x1D}, {"RCONTROL", 0x9D}, {"ESCAPE", 0x01},  {"TAB", 0x0F},    {"MINUS", 0x0C},
      {"COMMA", 0x33},    {"NUMPADENTER", 0x9C}, {"BACKSPACE", 0x0E}, {"return", 0x1C},
      {"", -1},           {"DIK_A", -1},      {"AA", -1},
  };
  for (const auto& [name, dik] : demoNames) EXPECT_EQ(DikFromName(name), dik) << name;
  EXPECT_STREQ(DikName(0x0E), "BACK");  // the own name, not an alias
  EXPECT_EQ(DikName(0), nullptr);
  EXPECT_EQ(DikName(0xFF), nullptr);
}

}  // namespace
}  // namespace tavi
