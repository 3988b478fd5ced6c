#include "picture_table.h"

namespace mediagen {

const std::vector<PictureSpec>& PictureTable() {
  using K = ColourKey;
  static const std::vector<PictureSpec> table = {
      // Menu, instructions and highscore screens.
      {"title", "title.bmp", 440, 65, K::None, 1, 1, false},
      {"newgame", "newgame.bmp", 215, 49, K::None, 1, 1, false},
      {"anleitung", "anleitung.bmp", 215, 49, K::None, 1, 1, false},
      {"highscore", "highscore.bmp", 215, 49, K::None, 1, 1, false},
      {"ende", "ende.bmp", 215, 49, K::Blue, 1, 1, false},
      {"loeschen", "l\xC3\xB6schen.bmp", 198, 34, K::Blue, 1, 1, false},  // "löschen.bmp"
      {"zurueck", "zurueck.bmp", 215, 49, K::Blue, 1, 1, false},
      {"auswahl", "auswahl.bmp", 224, 56, K::Blue, 1, 1, false},
      {"cursor", "cursor.bmp", 32, 32, K::Blue, 1, 1, false},
      // Backdrop and font.
      {"hg1", "hg1.bmp", 512, 280, K::Blue, 1, 1, false},
      {"sand", "sand.bmp", 512, 96, K::Blue, 1, 1, false},
      {"schrift", "schrift.bmp", 256, 192, K::Black, 8, 6, false},
      // The diver's four poses.
      {"taucher", "taucher.bmp", 159, 180, K::Blue, 1, 3, true},
      {"taucherh", "taucherh.bmp", 159, 180, K::Blue, 1, 3, true},
      {"taucherr", "taucherr.bmp", 159, 180, K::Blue, 1, 3, true},
      {"tauchern", "tauchern.bmp", 159, 180, K::Blue, 1, 3, true},
      // The objects in the lake.
      {"regenbogenfisch", "regenbogenfisch.bmp", 45, 72, K::Blue, 1, 3, true},
      {"pflanze", "pflanze.bmp", 64, 128, K::Black, 2, 1, true},
      {"giftfass", "giftfa\xC3\x9F.bmp", 236, 91, K::Blue, 4, 1, true},  // "giftfaß.bmp"
      {"hai", "hai.bmp", 315, 354, K::Blue, 1, 3, true},
      {"blasen", "blasen.bmp", 72, 18, K::Blue, 4, 1, true},
      {"stein", "stein.bmp", 204, 63, K::Blue, 3, 1, true},
      {"fass", "fa\xC3\x9F.bmp", 184, 78, K::Blue, 2, 1, true},  // "faß.bmp"
  };
  return table;
}

std::uint32_t KeyColour(ColourKey key) { return key == ColourKey::Black ? 0x000000u : 0x0000FFu; }

std::string SourcePath(const std::string& artDir, const PictureSpec& entry) {
  return artDir + "/pictures/" + entry.source + ".svg";
}

}  // namespace mediagen
