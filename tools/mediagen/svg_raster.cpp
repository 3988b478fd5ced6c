#include "svg_raster.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <filesystem>

namespace mediagen {

namespace {

std::string TakeMessage(GError*& gerror, const char* fallback) {
  std::string message = gerror != nullptr && gerror->message != nullptr ? gerror->message : fallback;
  g_clear_error(&gerror);
  return message;
}

// The size the drawing was made for, so that it can be scaled to the size asked for.
bool DocumentSize(RsvgHandle* handle, double& width, double& height) {
  if (rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height) && width > 0 &&
      height > 0) {
    return true;
  }
  gboolean hasWidth = FALSE;
  gboolean hasHeight = FALSE;
  gboolean hasViewBox = FALSE;
  RsvgLength w{};
  RsvgLength h{};
  RsvgRectangle viewBox{};
  rsvg_handle_get_intrinsic_dimensions(handle, &hasWidth, &w, &hasHeight, &h, &hasViewBox,
                                       &viewBox);
  if (hasViewBox && viewBox.width > 0 && viewBox.height > 0) {
    width = viewBox.width;
    height = viewBox.height;
    return true;
  }
  return false;
}

// Straight colour from cairo's premultiplied pixel, rounded.
std::uint32_t Unpremultiply(std::uint32_t p) {
  const int a = Alpha(p);
  if (a == 0) return 0;
  if (a == 255) return p;
  const auto channel = [a](int c) { return std::min(255, (c * 255 + a / 2) / a); };
  return (static_cast<std::uint32_t>(a) << 24) | Rgb(channel(Red(p)), channel(Green(p)), channel(Blue(p)));
}

}  // namespace

namespace {

// Draws the document of `handle` (released here) as RasteriseSvg does; `svgFile` names it in errors.
bool Render(RsvgHandle* handle, const std::string& svgFile, int width, int height, RasterImage& image,
            std::string& error) {
  GError* gerror = nullptr;
  double docWidth = 0;
  double docHeight = 0;
  if (!DocumentSize(handle, docWidth, docHeight)) {
    g_object_unref(handle);
    error = svgFile + ": the drawing has neither a size nor a viewBox";
    return false;
  }

  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, width / docWidth, height / docHeight);
  const RsvgRectangle viewport{0, 0, docWidth, docHeight};
  const bool drawn = rsvg_handle_render_document(handle, cr, &viewport, &gerror);
  const cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  g_object_unref(handle);
  if (!drawn || status != CAIRO_STATUS_SUCCESS) {
    error = svgFile + ": " +
            (drawn ? std::string(cairo_status_to_string(status)) : TakeMessage(gerror, "cannot be drawn"));
    g_clear_error(&gerror);
    cairo_surface_destroy(surface);
    return false;
  }

  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  image = RasterImage(width, height);
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < width; ++x) image.Set(x, y, Unpremultiply(row[x]));
  }
  cairo_surface_destroy(surface);
  return true;
}

bool SizeIsPositive(const std::string& svgFile, int width, int height, std::string& error) {
  if (width > 0 && height > 0) return true;
  error = svgFile + ": picture size must be positive";
  return false;
}

}  // namespace

bool RasteriseSvg(const std::string& svgFile, int width, int height, RasterImage& image,
                  std::string& error) {
  if (!SizeIsPositive(svgFile, width, height, error)) return false;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(svgFile, ec)) {
    error = "missing picture source " + svgFile;
    return false;
  }
  GError* gerror = nullptr;
  RsvgHandle* handle = rsvg_handle_new_from_file(svgFile.c_str(), &gerror);
  if (handle == nullptr) {
    error = svgFile + ": " + TakeMessage(gerror, "not a readable SVG");
    return false;
  }
  return Render(handle, svgFile, width, height, image, error);
}

bool RasteriseSvgText(const std::string& name, const std::string& svg, int width, int height,
                      RasterImage& image, std::string& error) {
  if (!SizeIsPositive(name, width, height, error)) return false;
  GError* gerror = nullptr;
  RsvgHandle* handle =
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &gerror);
  if (handle == nullptr) {
    error = name + ": " + TakeMessage(gerror, "not a readable SVG");
    return false;
  }
  return Render(handle, name, width, height, image, error);
}

}  // namespace mediagen
