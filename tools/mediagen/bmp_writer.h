#pragma once

#include <string>

#include "raster_image.h"

namespace mediagen {

// Writes a 0x00RRGGBB picture as an uncompressed 24-bit bottom-up Windows bitmap. The file
// appears complete or not at all. False and a message on failure.
bool WriteBmp(const std::string& file, const RasterImage& image, std::string& error);

// The same for a straight-alpha picture (0xAARRGGBB) as a 32-bit bitmap with its alpha bytes;
// SDL_LoadBMP reads them as alpha.
bool WriteBmpWithAlpha(const std::string& file, const RasterImage& image, std::string& error);

}  // namespace mediagen
