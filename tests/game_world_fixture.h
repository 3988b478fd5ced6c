#pragma once

// A complete game world over the fake platform: diver, seven groups, keyboard, sound and font,
// with solid-colour sheets so that tests can tell from the back buffer what was drawn where.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/error_log.h"
#include "base/media_manifest.h"
#include "fake_platform.h"
#include "game/diver.h"
#include "game/object_group.h"
#include "game/random.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"
#include "input/keyboard.h"
#include "sound/sound_system.h"

namespace tavi::test {

inline const std::string FishSound = media::FishSound.file;
inline const std::string BarrelSound = media::BarrelSound.file;
inline const std::string SharkSound = media::SharkSound.file;
inline const std::string StoneSound = media::StoneSound.file;

// Solid colours of the diver's four sheets (Level, Up, Down, Net) and of the seven kinds' sheets.
constexpr Pixel DiverColours[4] = {0x102030, 0x112131, 0x122232, 0x132333};
constexpr Pixel KindColours[ObjectKindCount] = {0xA00001, 0xA00002, 0xA00003, 0xA00004,
                                                0xA00005, 0xA00006, 0xA00007};

// The glyph sheet: each cell solid in a colour that encodes its index; the fallback cell stays black.
inline Image CodedGlyphSheet() {
  Image sheet(256, 192, 0x000000);
  for (int cell = 0; cell < 48; ++cell) {
    if (cell == 10) continue;  // fallback: transparent
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        sheet.Set((cell % 8) * 32 + x, (cell / 8) * 32 + y, 0x200000u | static_cast<Pixel>(cell + 1) << 8);
  }
  return sheet;
}

// Reads `cells` characters of font text drawn with CodedGlyphSheet from (left, y) on a cleared
// frame: capitals and digits, ' ' where the frame is still blue, '#' for anything else.
inline std::string ReadFontLine(const Image& screen, int y, int cells, int left = 0) {
  static const char layout[] = "1234567890 ABCDEFGHIJKLMNOPQRSTUVWXYZ:?!.-";
  std::string text;
  for (int i = 0; i < cells; ++i) {
    const int x = left + 32 * i + 16;
    if (x >= screen.Width()) break;
    const Pixel p = screen.At(x, y + 16);
    const int cell = static_cast<int>((p >> 8) & 0xFF) - 1;
    if (p == ColourKeyBlue) {
      text += ' ';
    } else if ((p & 0xFF00FF) == 0x200000u && cell >= 0 && cell < 42) {
      text += layout[cell];
    } else {
      text += '#';
    }
  }
  return text;
}

class GameWorld {
 public:
  explicit GameWorld(bool pictures = true) {
    if (pictures) {
      for (int i = 0; i < 4; ++i) {
        const media::Picture& sheet = *media::DiverSheets[i];
        platform.pictures[sheet.file] = Image(sheet.width, sheet.height, DiverColours[i]);
      }
      for (int i = 0; i < ObjectKindCount; ++i) {
        const media::Picture& sheet = *media::ObjectSheets[i];
        platform.pictures[sheet.file] = Image(sheet.width, sheet.height, KindColours[i]);
      }
      platform.pictures[media::Glyphs.file] = CodedGlyphSheet();
    }
    keyboard.Init(&platform, errors);
    sound.Init();
    for (const std::string* name : {&FishSound, &BarrelSound, &SharkSound, &StoneSound}) sound.AddSound(*name);
    diver.Init(display);
    for (int i = 0; i < ObjectKindCount; ++i) groups[i]->Init(display, static_cast<ObjectKind>(i + 1), diver);
  }

  ObjectGroup& Group(ObjectKind kind) { return *groups[static_cast<int>(kind) - 1]; }

  // A new object of the kind (its start record), moved to (x, y).
  ObjectInstance& Put(ObjectKind kind, int x, int y) {
    ObjectGroup& group = Group(kind);
    group.Spawn();
    ObjectInstance& o = group.Instances().back();
    o.x = x;
    o.y = y;
    return o;
  }

  // Exactly these keys are down from now on.
  void Hold(const std::vector<std::uint32_t>& keys) {
    KeySnapshot snapshot;
    for (std::uint32_t key : keys) snapshot.state[key] = 0x80;
    keyboard.SetKeys(snapshot);
  }

  // The effects played so far, by name.
  std::vector<std::string> Played() const {
    std::vector<std::string> names;
    for (int handle : platform.audio.played) names.push_back(platform.audio.loaded.at(handle));
    return names;
  }

  FakePlatform platform;
  TempDir dir;  // Error.txt lands here
  ErrorLog errors{&platform};
  Display display{platform, errors};
  Keyboard keyboard;
  SoundSystem sound{platform, platform.audio, errors};
  BitmapFont font{display};
  Random random;
  Diver diver{keyboard, sound, font};
  ObjectGroup fish{random, sound}, plant{random, sound}, poisonBarrel{random, sound}, shark{random, sound},
      bubbles{random, sound}, stone{random, sound}, barrel{random, sound};
  ObjectGroups groups{&fish, &plant, &poisonBarrel, &shark, &bubbles, &stone, &barrel};
};

}  // namespace tavi::test
