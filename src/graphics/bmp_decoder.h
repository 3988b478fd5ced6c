#pragma once

#include <string>

#include "base/image.h"

namespace tavi {

class Platform;

// Decodes the bytes of a BMP file and scales the picture nearest-neighbour to exactly
// width x height. Every kind of BMP Windows writes is read: 1, 4 and 8 bits with a palette (also
// run-length encoded), 16 and 32 bits with or without colour masks, 24 bits; rows bottom-up or
// top-down. The header is checked first (base/bmp_header.h). False for a target size out of
// bounds or a file that is refused or broken; `out` is then untouched. On success `out` keeps its
// colour key and its pixels have no bits above the 24 colour bits.
bool DecodeBmpScaled(const std::string& bytes, int width, int height, Image& out);

// Loads a picture by media name ("media\\name.bmp") through the platform's media files, scaled
// as DecodeBmpScaled does. False for a missing, unreadable or implausible file; `out` is then
// untouched.
bool LoadBitmap(Platform& platform, const std::string& mediaName, int width, int height, Image& out);

}  // namespace tavi
