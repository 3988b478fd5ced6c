#pragma once

#include <string>

#include "base/image.h"

namespace tavi {

// Writes an image as an RGB PNG file. False on any failure.
bool WritePng(const Image& image, const std::string& path);

}  // namespace tavi
