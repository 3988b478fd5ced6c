#pragma once

#include <cairo.h>

#include <string>

#include "raster_image.h"

namespace mediagen {

// A cairo image surface holding a straight-alpha picture (0xAARRGGBB); the caller destroys it.
cairo_surface_t* ToCairoSurface(const RasterImage& rgba);

// Writes the surface as a PNG. False and a message on failure.
bool WritePng(cairo_surface_t* surface, const std::string& file, std::string& error);

}  // namespace mediagen
