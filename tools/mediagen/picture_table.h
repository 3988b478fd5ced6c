#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mediagen {

// How a picture is made transparent in the game: not at all, by pure blue or by pure black.
enum class ColourKey { None, Blue, Black };

// One picture of the media directory and the drawing it is made from.
struct PictureSpec {
  const char* source;    // art/pictures/<source>.svg
  const char* fileName;  // name in the media directory, UTF-8
  int width;
  int height;
  ColourKey key;
  int columns;  // a sheet is a grid of equal cells
  int rows;
  bool animated;  // the cells are frames of one animation (the glyph sheet's are not)
};

// Every picture the game loads, in a fixed order.
const std::vector<PictureSpec>& PictureTable();

// 0x00RRGGBB of the key; only meaningful for keyed pictures.
std::uint32_t KeyColour(ColourKey key);

std::string SourcePath(const std::string& artDir, const PictureSpec& entry);

}  // namespace mediagen
