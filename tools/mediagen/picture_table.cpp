#include "picture_table.h"

#include <cstring>

namespace mediagen {

const std::vector<PictureSpec>& PictureTable() {
  namespace m = tavi::media;
  static const std::vector<PictureSpec> table = {
      // Menu, instructions and highscore screens.
      // The words keep 8 pixels clear of the bubbles on a button and of the rim of Löschen; the
      // title's reach as far as the German ones.
      {&m::Title, "title", 28, 414},
      {&m::NewGameButton, "newgame", 36, 178},
      {&m::InstructionsButton, "anleitung", 36, 178},
      {&m::HighscoreButton, "highscore", 36, 178},
      {&m::EndButton, "ende", 36, 178},
      {&m::ClearButton, "loeschen", 14, 184},
      {&m::BackButton, "zurueck", 36, 178},
      {&m::SelectionFrame, "auswahl"},
      {&m::Cursor, "cursor"},
      // Backdrop and font.
      {&m::BackgroundBand, "hg1"},
      {&m::Sand, "sand"},
      {&m::Glyphs, "schrift"},
      // The diver's four poses.
      {&m::DiverLevel, "taucher"},
      {&m::DiverUp, "taucherh"},
      {&m::DiverDown, "taucherr"},
      {&m::DiverNet, "tauchern"},
      // The objects in the lake.
      {&m::Fish, "regenbogenfisch"},
      {&m::Plant, "pflanze"},
      {&m::PoisonBarrel, "giftfass"},
      {&m::Shark, "hai"},
      {&m::Bubbles, "blasen"},
      {&m::Stone, "stein"},
      {&m::Barrel, "fass"},
  };
  return table;
}

std::string MediaFileName(const char* gameName) {
  const char* slash = std::strrchr(gameName, '\\');
  std::string name;
  for (const char* c = slash ? slash + 1 : gameName; *c; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    // The names use letters of Latin-1 only, where Windows-1252 and Unicode agree.
    if (byte < 0x80) {
      name.push_back(*c);
    } else {
      name.push_back(static_cast<char>(0xC0 | byte >> 6));
      name.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
  }
  return name;
}

std::string SourcePath(const std::string& artDir, const PictureSpec& entry) {
  return artDir + "/pictures/" + entry.source + ".svg";
}

}  // namespace mediagen
