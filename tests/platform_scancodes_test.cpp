// The one table from physical keys (SDL scancodes) to DirectInput scan codes, and the key names
// demos are written with.

#include <gtest/gtest.h>

#include <SDL_scancode.h>

#include <map>

#include "platform/scancodes.h"

namespace tavi {
namespace {

TEST(Scancodes, KeysKeepTheirPhysicalPositions) {
  // The German Y sits where the US keyboard has Z, and the game means the position.
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_Z), 0x2C);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_Y), 0x15);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_A), 0x1E);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_0), 0x0B);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_UP), 0xC8);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_DOWN), 0xD0);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_LEFT), 0xCB);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_RIGHT), 0xCD);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_RETURN), 0x1C);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_KP_ENTER), 0x9C);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_BACKSPACE), 0x0E);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_SPACE), 0x39);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_PERIOD), 0x34);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_LSHIFT), 0x2A);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_RSHIFT), 0x36);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_RALT), 0xB8);  // AltGr
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_NONUSBACKSLASH), 0x56);  // < > | on German keyboards
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_KP_7), 0x47);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_F12), 0x58);
  EXPECT_EQ(DikFromSdlScancode(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(DikFromSdlScancode(-1), 0);
  EXPECT_EQ(DikFromSdlScancode(SDL_NUM_SCANCODES), 0);
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
      EXPECT_EQ(dik, 0x2B);
      EXPECT_TRUE((it->second == SDL_SCANCODE_BACKSLASH && sdl == SDL_SCANCODE_NONUSHASH));
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
      {"A", 0x1E},      {"Z", 0x2C},      {"Y", 0x15},      {"0", 0x0B},        {"9", 0x0A},
      {"SPACE", 0x39},  {"PERIOD", 0x34}, {"RETURN", 0x1C}, {"BACK", 0x0E},     {"UP", 0xC8},
      {"DOWN", 0xD0},   {"LEFT", 0xCB},   {"RIGHT", 0xCD},  {"LSHIFT", 0x2A},   {"RSHIFT", 0x36},
      {"LCONTROL", 0x1D}, {"RCONTROL", 0x9D}, {"ESCAPE", 0x01}, {"TAB", 0x0F},  {"MINUS", 0x0C},
      {"COMMA", 0x33},  {"NUMPADENTER", 0x9C}, {"BACKSPACE", 0x0E}, {"return", 0x1C},
  };
  for (const auto& [name, dik] : demoNames) EXPECT_EQ(DikFromName(name), dik) << name;
  EXPECT_STREQ(DikName(0x0E), "BACK");  // the own name, not an alias
  EXPECT_EQ(DikFromName(""), -1);
  EXPECT_EQ(DikFromName("DIK_A"), -1);
  EXPECT_EQ(DikFromName("AA"), -1);
  EXPECT_EQ(DikName(0), nullptr);
  EXPECT_EQ(DikName(0xFF), nullptr);
}

}  // namespace
}  // namespace tavi
