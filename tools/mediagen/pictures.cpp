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

namespace {

bool IconSizeOk(int size, std::string& error) {
  if (size >= SmallestIcon && size <= LargestIcon) return true;
  error = "icon size " + std::to_string(size) + " is not between " + std::to_string(SmallestIcon) + " and " +
          std::to_string(LargestIcon);
  return false;
}

bool MakeIconRaster(const std::string& artDir, int size, RasterImage& rgba, std::string& error) {
  return RasteriseSvg(artDir + "/pictures/icon.svg", size, size, rgba, error);
}

}  // namespace

bool MakeIcon(const std::string& artDir, int size, const std::string& file, std::string& error) {
  RasterImage rgba;
  if (!IconSizeOk(size, error) || !MakeIconRaster(artDir, size, rgba, error)) return false;
  if (file.size() > 4 && file.compare(file.size() - 4, 4, ".bmp") == 0) {
    return WriteBmpWithAlpha(file, rgba, error);
  }
  cairo_surface_t* surface = ToCairoSurface(rgba);
  const bool written = WritePng(surface, file, error);
  cairo_surface_destroy(surface);
  return written;
}

bool MakeMaskableIcon(const std::string& artDir, int size, const std::string& file, std::string& error) {
  // The drawing at three quarters of the size, so that every mask's safe circle holds the fish,
  // on the lake's deepest blue to the edges.
  const int inner = size * 3 / 4;
  RasterImage icon;
  if (!IconSizeOk(size, error) || !MakeIconRaster(artDir, inner, icon, error)) return false;
  constexpr int Deep[3] = {0x06, 0x2a, 0x5e};
  RasterImage out(size, size, 0xFF000000u | Rgb(Deep[0], Deep[1], Deep[2]));
  const int offset = (size - inner) / 2;
  for (int y = 0; y < inner; ++y) {
    for (int x = 0; x < inner; ++x) {
      const std::uint32_t p = icon.At(x, y);
      const int a = Alpha(p);
      const auto mix = [a](int top, int under) { return (top * a + under * (255 - a) + 127) / 255; };
      out.Set(offset + x, offset + y,
              0xFF000000u | Rgb(mix(Red(p), Deep[0]), mix(Green(p), Deep[1]), mix(Blue(p), Deep[2])));
    }
  }
  cairo_surface_t* surface = ToCairoSurface(out);
  const bool written = WritePng(surface, file, error);
  cairo_surface_destroy(surface);
  return written;
}

}  // namespace mediagen
