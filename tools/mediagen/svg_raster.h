#pragma once

#include <string>

#include "raster_image.h"

namespace mediagen {

// Renders an SVG file stretched to exactly width x height pixels on a transparent ground.
// The result has straight alpha (0xAARRGGBB). False and a message when the file is missing,
// not an SVG or cannot be drawn.
bool RasteriseSvg(const std::string& svgFile, int width, int height, RasterImage& image,
                  std::string& error);
// The same for a drawing held in memory; `name` stands for it in messages.
bool RasteriseSvgText(const std::string& name, const std::string& svg, int width, int height,
                      RasterImage& image, std::string& error);

}  // namespace mediagen
