#pragma once

#include <cstdint>

#include "picture_table.h"
#include "raster_image.h"

namespace mediagen {

// How close (per channel) an opaque colour may come to the key before it reads as a fringe of
// the key colour around the figure.
constexpr int NearKeyDistance = 40;

bool IsNearKey(std::uint32_t colour, std::uint32_t key);

// Turns a straight-alpha picture into the game's form. Keyed: a pixel at least half covered
// becomes opaque in its own colour (never the key itself), any other pixel becomes the key, and
// an opaque edge pixel that touches the key while lying near it takes the colour of the figure
// around it. Unkeyed: the picture is laid over the screen's blue and is opaque everywhere.
RasterImage Flatten(const RasterImage& rgba, ColourKey key);

}  // namespace mediagen
