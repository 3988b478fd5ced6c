#include "png_writer.h"

namespace mediagen {

cairo_surface_t* ToCairoSurface(const RasterImage& rgba) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, rgba.width, rgba.height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return surface;
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < rgba.height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < rgba.width; ++x) {
      const std::uint32_t p = rgba.At(x, y);
      const int a = Alpha(p);
      const auto pre = [a](int c) { return (c * a + 127) / 255; };
      row[x] = (static_cast<std::uint32_t>(a) << 24) | Rgb(pre(Red(p)), pre(Green(p)), pre(Blue(p)));
    }
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}

bool WritePng(cairo_surface_t* surface, const std::string& file, std::string& error) {
  cairo_status_t status = cairo_surface_status(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_write_to_png(surface, file.c_str());
  if (status != CAIRO_STATUS_SUCCESS) {
    error = "cannot write " + file + ": " + cairo_status_to_string(status);
    return false;
  }
  return true;
}

}  // namespace mediagen
