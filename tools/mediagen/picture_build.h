#pragma once

#include <string>

#include "picture_table.h"
#include "raster_image.h"

namespace mediagen {

// Rasterises one picture of the table at its size and flattens it onto its key (0x00RRGGBB).
bool BuildPicture(const std::string& artDir, const PictureSpec& entry, RasterImage& picture,
                  std::string& error);
// The same for the English variant of a picture with words.
bool BuildEnglishPicture(const std::string& artDir, const PictureSpec& entry, RasterImage& picture,
                         std::string& error);

}  // namespace mediagen
