#pragma once

#include <string>

#include "base/image.h"

namespace tavi {

// Writes an image as an RGB PNG file, replacing `path` atomically (see WriteFileAtomically: a
// link is written through, a device or pipe under that name is refused). False with a reason on
// any failure; nothing is then left behind.
bool WritePng(const Image& image, const std::string& path, std::string& error);

}  // namespace tavi
