#pragma once

#include <string>
#include <vector>

#include "base/media_manifest.h"

namespace mediagen {

// How a picture is made transparent in the game: not at all, by pure blue or by pure black.
using ColourKey = tavi::media::Key;
using tavi::media::KeyColour;

// One picture of the game and the drawing it is made from.
struct PictureSpec {
  const tavi::media::Picture* picture;
  const char* source;  // art/pictures/<source>.svg; an ASCII form of the picture's name
  // A picture with words: the columns the words of another language may reach from and to, clear
  // of what is drawn beside them (bubbles, the rim).
  int wordsLeft = 0;
  int wordsRight = 0;
};

// Every picture the game loads, in a fixed order.
const std::vector<PictureSpec>& PictureTable();

// The file in the media directory for a name as the game opens it (Windows-1252): the part
// after the backslash, in UTF-8.
std::string MediaFileName(const char* gameName);

std::string SourcePath(const std::string& artDir, const PictureSpec& entry);

}  // namespace mediagen
