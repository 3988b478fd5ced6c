#include "picture_table.h"

#include <cstring>

namespace mediagen {

const std::vector<PictureSpec>& PictureTable() {
  namespace m = tavi::media;
  static const std::vector<PictureSpec> table = {
      // Menu, instructions and highscore screens.
      {&m::Title, "title", "Tavi der Taucher", "Tavi the Diver"},
      {&m::NewGameButton, "newgame", "Neues Spiel", "New Game"},
      {&m::InstructionsButton, "anleitung", "Anleitung", "<tspan font-size=\"20\">Instructions</tspan>"},
      {&m::HighscoreButton, "highscore", "Highscore", "Highscore"},
      {&m::EndButton, "ende", "Ende", "Quit"},
      {&m::ClearButton, "loeschen", "L&#246;schen", "Clear"},
      {&m::BackButton, "zurueck", "Zur&#252;ck", "Back"},
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

bool EnglishDrawing(const PictureSpec& entry, const std::string& svg, std::string& english) {
  if (entry.german == nullptr || entry.english == nullptr) return false;
  const std::string from = std::string(">") + entry.german + "<";
  const std::string to = std::string(">") + entry.english + "<";
  english = svg;
  bool found = false;
  for (auto at = english.find(from); at != std::string::npos; at = english.find(from, at + to.size())) {
    english.replace(at, from.size(), to);
    found = true;
  }
  return found;
}

std::string SourcePath(const std::string& artDir, const PictureSpec& entry) {
  return artDir + "/pictures/" + entry.source + ".svg";
}

}  // namespace mediagen
