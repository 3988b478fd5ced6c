#pragma once

#include <string>

#include "picture_table.h"
#include "raster_image.h"

namespace mediagen {

// Rasterises one picture of the table at its size and flattens it onto its key (0x00RRGGBB).
bool BuildPicture(const std::string& artDir, const PictureSpec& entry, RasterImage& picture,
                  std::string& error);

}  // namespace mediagen
