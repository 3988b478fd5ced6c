#include "pictures.h"

#include <filesystem>

#include "bmp_writer.h"
#include "flatten.h"
#include "picture_build.h"
#include "picture_table.h"
#include "picture_words.h"
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

bool MakePictures(const std::string& artDir, const std::string& localeDir, const std::string& outDir,
                  std::string& error) {
  std::vector<LanguageTexts> languages;
  if (!AllSourcesPresent(artDir, error) || !ReadLanguages(localeDir, languages, error)) return false;
  for (const PictureSpec& entry : PictureTable()) {
    RasterImage picture;
    if (!BuildPicture(artDir, entry, picture, error)) return false;
    if (!WriteBmp(outDir + "/" + MediaFileName(entry.picture->file), picture, error)) return false;
    if (!entry.picture->words) continue;
    for (const LanguageTexts& language : languages) {
      bool translated = false;
      if (!BuildTranslatedPicture(artDir, entry, language, picture, translated, error)) return false;
      const std::string folder = outDir + "/" + language.language;
      const std::string file = folder + "/" + MediaFileName(entry.picture->file);
      std::error_code ec;
      if (!translated) {
        std::filesystem::remove(file, ec);  // words no longer translated: the German picture is shown
        continue;
      }
      std::filesystem::create_directories(folder, ec);
      if (!WriteBmp(file, picture, error)) return false;
    }
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
