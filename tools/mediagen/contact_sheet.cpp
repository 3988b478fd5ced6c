// The contact sheet: every picture, or every frame of an animation, as the game will see it.
#include <cairo.h>

#include <algorithm>
#include <string>
#include <vector>

#include "picture_build.h"
#include "picture_table.h"
#include "picture_words.h"
#include "pictures.h"
#include "png_writer.h"

namespace mediagen {

namespace {

constexpr int SheetWidth = 1280;
constexpr int Margin = 12;
constexpr int LabelHeight = 18;
constexpr int Checker = 8;
constexpr int LabelFontSize = 12;
constexpr int ProblemWidth = 240;
constexpr int ProblemHeight = 60;

struct Tile {
  std::string name;
  RasterImage image;  // 0xAARRGGBB, the key already transparent
  int zoom = 1;
  std::string problem;  // set when the drawing could not be made
  int labelWidth = 0;

  int Width() const { return std::max(labelWidth, problem.empty() ? image.width * zoom : ProblemWidth); }
  int Height() const { return (problem.empty() ? image.height * zoom : ProblemHeight) + LabelHeight; }
};

std::string BaseName(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

// Cuts a w x h piece at (left, top) out of a flattened picture; the key becomes transparent.
RasterImage Cut(const RasterImage& picture, ColourKey key, int left, int top, int w, int h) {
  RasterImage cell(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = picture.At(left + x, top + y);
      const bool clear = key != ColourKey::None && p == KeyColour(key);
      cell.Set(x, y, clear ? 0u : (0xFF000000u | p));
    }
  }
  return cell;
}

std::vector<Tile> CollectTiles(const std::string& artDir, const std::vector<LanguageTexts>& languages) {
  std::vector<Tile> tiles;
  for (const PictureSpec& entry : PictureTable()) {
    const tavi::media::Picture& p = *entry.picture;
    const std::string name = BaseName(MediaFileName(p.file));
    RasterImage picture;
    std::string error;
    if (!BuildPicture(artDir, entry, picture, error)) {
      tiles.push_back(Tile{name, {}, 1, error});
      continue;
    }
    if (!p.Animated()) {
      tiles.push_back(Tile{name, Cut(picture, p.key, 0, 0, p.width, p.height), 1, {}});
      for (const LanguageTexts& language : languages) {
        if (!p.words) break;  // the same picture in every language
        bool translated = false;
        if (!BuildTranslatedPicture(artDir, entry, language, picture, translated, error)) {
          tiles.push_back(Tile{language.language + "/" + name, {}, 1, error});
        } else if (translated) {
          tiles.push_back(Tile{language.language + "/" + name, Cut(picture, p.key, 0, 0, p.width, p.height), 1, {}});
        }
      }
      continue;
    }
    const int w = p.width / p.columns;
    const int h = p.height / p.rows;
    int number = 1;
    for (int row = 0; row < p.rows; ++row) {
      for (int column = 0; column < p.columns; ++column) {
        tiles.push_back(Tile{name + " " + std::to_string(number++),
                             Cut(picture, p.key, column * w, row * h, w, h), 1, {}});
      }
    }
  }
  // Small things are hard to judge at their own size.
  for (Tile& tile : tiles) {
    if (tile.problem.empty() && tile.image.width <= 64 && tile.image.height <= 64) tile.zoom = 2;
  }
  return tiles;
}

void DrawChecker(cairo_t* cr, int x0, int y0, int w, int h) {
  for (int y = 0; y < h; y += Checker) {
    for (int x = 0; x < w; x += Checker) {
      const bool light = ((x / Checker) + (y / Checker)) % 2 == 0;
      cairo_set_source_rgb(cr, light ? 0.72 : 0.58, light ? 0.72 : 0.58, light ? 0.72 : 0.58);
      cairo_rectangle(cr, x0 + x, y0 + y, std::min(Checker, w - x), std::min(Checker, h - y));
      cairo_fill(cr);
    }
  }
}

void DrawTile(cairo_t* cr, const Tile& tile, int x, int y) {
  if (tile.problem.empty()) {
    DrawChecker(cr, x, y, tile.image.width * tile.zoom, tile.image.height * tile.zoom);
    cairo_surface_t* picture = ToCairoSurface(tile.image);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, tile.zoom, tile.zoom);
    cairo_set_source_surface(cr, picture, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(picture);
  } else {
    cairo_set_source_rgb(cr, 0.55, 0.1, 0.1);
    cairo_rectangle(cr, x, y, ProblemWidth, ProblemHeight);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_font_size(cr, 10);
    // The message names the path; its tail is what tells.
    const std::string text = tile.problem.size() > 40 ? "..." + tile.problem.substr(tile.problem.size() - 37)
                                                       : tile.problem;
    cairo_move_to(cr, x + 6, y + ProblemHeight / 2 + 4);
    cairo_show_text(cr, text.c_str());
  }
  cairo_set_source_rgb(cr, 0.95, 0.95, 0.9);
  cairo_set_font_size(cr, LabelFontSize);
  cairo_move_to(cr, x, y + tile.Height() - 5);
  cairo_show_text(cr, tile.name.c_str());
}

}  // namespace

bool MakeContactSheet(const std::string& artDir, const std::string& localeDir, const std::string& pngFile,
                      std::string& error) {
  std::vector<LanguageTexts> languages;
  if (!localeDir.empty() && !ReadLanguages(localeDir, languages, error)) return false;
  std::vector<Tile> tiles = CollectTiles(artDir, languages);
  {
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* measure = cairo_create(scratch);
    cairo_select_font_face(measure, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(measure, LabelFontSize);
    for (Tile& tile : tiles) {
      cairo_text_extents_t extents;
      cairo_text_extents(measure, tile.name.c_str(), &extents);
      tile.labelWidth = static_cast<int>(extents.x_advance + 0.5);
    }
    cairo_destroy(measure);
    cairo_surface_destroy(scratch);
  }

  // Rows filled left to right; the first pass only measures.
  std::vector<std::pair<int, int>> places;
  int x = Margin, y = Margin, rowHeight = 0;
  for (const Tile& tile : tiles) {
    if (x > Margin && x + tile.Width() > SheetWidth - Margin) {
      x = Margin;
      y += rowHeight + Margin;
      rowHeight = 0;
    }
    places.emplace_back(x, y);
    x += tile.Width() + Margin;
    rowHeight = std::max(rowHeight, tile.Height());
  }
  const int height = y + rowHeight + Margin;

  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, SheetWidth, height);
  cairo_t* cr = cairo_create(sheet);
  cairo_set_source_rgb(cr, 0.17, 0.18, 0.22);
  cairo_paint(cr);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  for (std::size_t i = 0; i < tiles.size(); ++i) DrawTile(cr, tiles[i], places[i].first, places[i].second);
  cairo_destroy(cr);
  const bool written = WritePng(sheet, pngFile, error);
  cairo_surface_destroy(sheet);
  return written;
}

}  // namespace mediagen
