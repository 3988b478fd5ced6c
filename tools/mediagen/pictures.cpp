#include "pictures.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "bmp_writer.h"
#include "flatten.h"
#include "picture_build.h"
#include "picture_table.h"
#include "png_writer.h"
#include "svg_raster.h"

namespace mediagen {

namespace {

constexpr int SmallestIcon = 16;
constexpr int LargestIcon = 1024;

// Names every missing drawing at once, so an artist sees the whole list in one run.
bool AllSourcesPresent(const std::string& artDir, std::string& error) {
  std::string missing;
  for (const PictureSpec& entry : PictureTable()) {
    std::error_code ec;
    const std::string path = SourcePath(artDir, entry);
    if (!std::filesystem::is_regular_file(path, ec)) missing += (missing.empty() ? "" : ", ") + path;
  }
  if (missing.empty()) return true;
  error = "missing picture source(s): " + missing;
  return false;
}

}  // namespace

bool BuildPicture(const std::string& artDir, const PictureSpec& entry, RasterImage& picture,
                  std::string& error) {
  RasterImage rgba;
  const tavi::media::Picture& p = *entry.picture;
  if (!RasteriseSvg(SourcePath(artDir, entry), p.width, p.height, rgba, error)) return false;
  picture = Flatten(rgba, p.key);
  return true;
}

bool BuildEnglishPicture(const std::string& artDir, const PictureSpec& entry, RasterImage& picture,
                         std::string& error) {
  const std::string path = SourcePath(artDir, entry);
  std::ifstream in(path, std::ios::binary);
  const std::string svg{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::string english;
  if (!EnglishDrawing(entry, svg, english)) {
    error = path + ": has no text \"" + std::string(entry.german ? entry.german : "") +
            "\" for its English variant";
    return false;
  }
  RasterImage rgba;
  const tavi::media::Picture& p = *entry.picture;
  if (!RasteriseSvgText(path + " (English)", english, p.width, p.height, rgba, error)) return false;
  picture = Flatten(rgba, p.key);
  return true;
}

bool MakePictures(const std::string& artDir, const std::string& outDir, std::string& error) {
  if (!AllSourcesPresent(artDir, error)) return false;
  std::error_code ec;
  std::filesystem::create_directories(outDir + "/en", ec);
  for (const PictureSpec& entry : PictureTable()) {
    RasterImage picture;
    if (!BuildPicture(artDir, entry, picture, error)) return false;
    if (!WriteBmp(outDir + "/" + MediaFileName(entry.picture->file), picture, error)) return false;
    if (!entry.picture->words) continue;
    if (!BuildEnglishPicture(artDir, entry, picture, error)) return false;
    if (!WriteBmp(outDir + "/en/" + MediaFileName(entry.picture->file), picture, error)) return false;
  }
  return true;
}

bool MakeIcon(const std::string& artDir, int size, const std::string& file, std::string& error) {
  if (size < SmallestIcon || size > LargestIcon) {
    error = "icon size " + std::to_string(size) + " is not between " + std::to_string(SmallestIcon) +
            " and " + std::to_string(LargestIcon);
    return false;
  }
  RasterImage rgba;
  if (!RasteriseSvg(artDir + "/pictures/icon.svg", size, size, rgba, error)) return false;
  if (file.size() > 4 && file.compare(file.size() - 4, 4, ".bmp") == 0) {
    return WriteBmpWithAlpha(file, rgba, error);
  }
  cairo_surface_t* surface = ToCairoSurface(rgba);
  const bool written = WritePng(surface, file, error);
  cairo_surface_destroy(surface);
  return written;
}

}  // namespace mediagen
