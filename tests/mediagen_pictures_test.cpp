// mediagen's pictures: what flattening does to the key colour, the tool's failures, and the
// pictures it made for the game (TAVI_MEDIA_DIR), loaded the way the game loads them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "flatten.h"
#include "picture_table.h"
#include "pictures.h"
#include "platform/bmp_loader.h"

namespace mediagen {
namespace {

namespace fs = std::filesystem;
using tavi::Image;

const std::string MediaDir = TAVI_MEDIA_DIR;
// The drawings lie beside the tests in the source tree.
const std::string ArtDir = (fs::path(TAVI_TEST_DATA).parent_path().parent_path() / "art").string();

constexpr std::uint32_t KeyBlue = 0x0000FF;
constexpr std::uint32_t KeyBlack = 0x000000;

std::uint32_t Argb(int a, std::uint32_t rgb) { return (static_cast<std::uint32_t>(a) << 24) | rgb; }

void WriteText(const std::string& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

TEST(Flatten, OpaqueKeyColourInsideAFigureIsNudgedOffTheKey) {
  RasterImage blue(3, 3, Argb(255, 0x208040)), black(3, 3, Argb(255, 0x808080));
  blue.Set(1, 1, Argb(255, KeyBlue));
  black.Set(1, 1, Argb(255, KeyBlack));
  EXPECT_EQ(Flatten(blue, ColourKey::Blue).At(1, 1), 0x0000FEu);  // still blue, never transparent
  EXPECT_EQ(Flatten(black, ColourKey::Black).At(1, 1), 0x010101u);
}

TEST(MakePictures, NamesEveryMissingDrawingOrTheUnwritableDirectoryAndWritesNothing) {
  tavi::test::TempDir dir;
  fs::create_directories("art/pictures");
  fs::create_directories("out");
  WriteText("art/pictures/title.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='440' height='65'/>");
  std::string error;
  EXPECT_FALSE(MakePictures("art", "out", error));
  EXPECT_NE(error.find("hai.svg"), std::string::npos) << error;
  EXPECT_NE(error.find("schrift.svg"), std::string::npos) << error;
  EXPECT_EQ(error.find("title.svg"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_empty("out"));

  WriteText("kein-verzeichnis", "x");
  EXPECT_FALSE(MakePictures(ArtDir, "kein-verzeichnis", error));
  EXPECT_NE(error.find("kein-verzeichnis"), std::string::npos) << error;
}

// ---------------------------------------------------------------------------------------------
// The game's pictures

// A picture of the media directory as the game loads it; empty unless the file is a 24-bit BMP of
// exactly width x height.
Image Load(const tavi::media::Picture& picture) {
  const std::string name = MediaFileName(picture.file);
  const int width = picture.width, height = picture.height;
  unsigned char h[30] = {};
  std::ifstream(MediaDir + "/" + name, std::ios::binary).read(reinterpret_cast<char*>(h), sizeof h);
  const auto le = [&](int at, int bytes) {
    int v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | h[at + i];
    return v;
  };
  Image image;
  if (h[0] != 'B' || le(18, 4) != width || le(22, 4) != height || le(28, 2) != 24 ||
      !tavi::LoadBmpScaled(MediaDir + "/" + name, width, height, image))
    return Image();
  return image;
}

// The smallest rectangle holding every pixel of `area` that is not the key.
tavi::Rect OpaqueBounds(const Image& image, tavi::Rect area, std::uint32_t key) {
  tavi::Rect r{area.right, area.bottom, area.left - 1, area.top - 1};  // right, bottom inclusive
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (image.At(x, y) == key) continue;
      r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x), std::max(r.bottom, y)};
    }
  }
  return r;
}

bool AnyOpaque(const Image& image, tavi::Rect area, std::uint32_t key) {
  return OpaqueBounds(image, area, key).right >= area.left;
}

bool TouchesKey(const Image& image, int x, int y, std::uint32_t key) {
  for (int ny = std::max(0, y - 1); ny <= std::min(image.Height() - 1, y + 1); ++ny)
    for (int nx = std::max(0, x - 1); nx <= std::min(image.Width() - 1, x + 1); ++nx)
      if (image.At(nx, ny) == key) return true;
  return false;
}

TEST(GamePictures, HaveTheirSizesAKeyAndNoFringe) {
  for (const tavi::media::Picture* e : tavi::media::Pictures) {
    SCOPED_TRACE(e->file);
    const Image image = Load(*e);
    ASSERT_FALSE(image.Empty()) << "missing, not a 24-bit BMP or not " << e->width << " x " << e->height;
    if (!e->Keyed()) continue;
    const std::uint32_t key = KeyColour(e->key);
    int keyPixels = 0, fringe = 0;
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width(); ++x) {
        const std::uint32_t p = image.At(x, y);
        if (p == key) {
          ++keyPixels;
        } else if (IsNearKey(p, key) && TouchesKey(image, x, y, key) && ++fringe <= 3) {
          ADD_FAILURE() << "fringe at " << x << "," << y << ": " << std::hex << p;
        }
      }
    }
    EXPECT_GT(keyPixels, 0);
    EXPECT_EQ(fringe, 0);

    // Every frame of a sheet shows something.
    if (!e->Animated()) continue;
    const int fw = e->width / e->columns, fh = e->height / e->rows;
    for (int frame = 0; frame < e->Frames(); ++frame) {
      const int left = frame % e->columns * fw, top = frame / e->columns * fh;
      int opaque = 0;
      for (int y = top; y < top + fh; ++y)
        for (int x = left; x < left + fw; ++x) opaque += image.At(x, y) != key;
      EXPECT_GT(opaque, fw * fh / 20) << "frame " << frame + 1 << " is (nearly) empty";
    }
  }
}

// Black pixels of one glyph cell that cannot be reached from the cell's border: holes in a glyph.
int EnclosedBlack(const Image& sheet, int left, int top) {
  std::vector<char> seen(32 * 32, 0);
  std::vector<std::pair<int, int>> todo;
  for (int i = 0; i < 32; ++i) todo.insert(todo.end(), {{i, 0}, {i, 31}, {0, i}, {31, i}});
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    if (x < 0 || y < 0 || x > 31 || y > 31 || seen[y * 32 + x] || sheet.At(left + x, top + y) != KeyBlack) continue;
    seen[y * 32 + x] = 1;
    todo.insert(todo.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
  }
  int enclosed = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) enclosed += sheet.At(left + x, top + y) == KeyBlack && !seen[y * 32 + x];
  return enclosed;
}

TEST(GamePictures, GlyphSheetHasWholeCentredGlyphsAndEmptyCells) {
  const Image sheet = Load(tavi::media::Glyphs);
  ASSERT_FALSE(sheet.Empty());
  const std::string layout[6] = {"12345678", "90 ABCDE", "FGHIJKLM", "NOPQRSTU", "VWXYZ:?!", ".-      "};
  std::set<std::vector<std::uint32_t>> seenGlyphs;
  for (int row = 0; row < 6; ++row) {
    for (int column = 0; column < 8; ++column) {
      const char glyph = layout[row][column];
      SCOPED_TRACE(std::string("cell ") + std::to_string(column) + "," + std::to_string(row) + " '" + glyph + "'");
      const tavi::Rect cell{column * 32, row * 32, column * 32 + 32, row * 32 + 32};
      if (glyph == ' ') {  // the fallback cell and the unused ones are empty
        EXPECT_FALSE(AnyOpaque(sheet, cell, KeyBlack));
        continue;
      }
      ASSERT_TRUE(AnyOpaque(sheet, cell, KeyBlack)) << "no glyph";
      const tavi::Rect b = OpaqueBounds(sheet, cell, KeyBlack);
      EXPECT_EQ(EnclosedBlack(sheet, column * 32, row * 32), 0) << "black shows through inside the glyph";
      std::vector<std::uint32_t> pixels;
      for (int y = row * 32; y < row * 32 + 32; ++y)
        pixels.insert(pixels.end(), sheet.Row(y) + column * 32, sheet.Row(y) + column * 32 + 32);
      EXPECT_TRUE(seenGlyphs.insert(pixels).second) << "same picture as another cell";
      if (std::isalnum(static_cast<unsigned char>(glyph))) {
        EXPECT_GE(b.bottom - b.top + 1, 24) << "too small to read";
        EXPECT_NEAR((b.left + b.right + 1) / 2.0, column * 32 + 16, 2.0) << "not centred";
        EXPECT_NEAR((b.top + b.bottom + 1) / 2.0, row * 32 + 16, 2.0) << "not centred";
      }
    }
  }
}

TEST(GamePictures, BandAndSandRunOnWithoutASeamAndNoWaterShowsBetweenThem) {
  const Image band = Load(tavi::media::BackgroundBand), sand = Load(tavi::media::Sand);
  ASSERT_FALSE(band.Empty() || sand.Empty());
  for (const Image* picture : {&band, &sand}) {
    // The last column runs on into the first: the same key pixels, and close colours elsewhere.
    int keyMismatches = 0, both = 0;
    double sum = 0;
    for (int y = 0; y < picture->Height(); ++y) {
      const std::uint32_t p = picture->At(511, y), q = picture->At(0, y);
      if ((p == KeyBlue) != (q == KeyBlue)) {
        ++keyMismatches;
      } else if (p != KeyBlue) {
        ++both;
        sum += (std::abs(Red(p) - Red(q)) + std::abs(Green(p) - Green(q)) + std::abs(Blue(p) - Blue(q))) / 3.0;
      }
    }
    EXPECT_LE(keyMismatches, picture->Height() / 30) << picture->Height();
    EXPECT_LT(both > 0 ? sum / both : 0, 24.0) << picture->Height();
  }
  // The band (rows 424..703) reaches under the sand (rows 672..767); the two scroll at different
  // speeds, so wherever the sand's wavy edge dips, the band must be solid there.
  int deepestEdge = 0;
  for (int x = 0; x < 512; ++x) {
    int y = 0;
    while (y < 96 && sand.At(x, y) == KeyBlue) ++y;
    deepestEdge = std::max(deepestEdge, y);
    EXPECT_NE(sand.At(x, 95), KeyBlue) << "sand open at the bottom, column " << x;
  }
  int open = 0;
  for (int y = 672 - 424 + deepestEdge; y < 280; ++y)
    for (int x = 0; x < 512; ++x) open += band.At(x, y) == KeyBlue;
  EXPECT_EQ(open, 0) << "water shows through the band below row " << 672 - 424 + deepestEdge;
}

TEST(GamePictures, SelectionFrameIsAnOpenRingAndTheCursorAimsAtItsCentre) {
  const Image frame = Load(tavi::media::SelectionFrame);
  ASSERT_FALSE(frame.Empty());
  // Inside: the button it surrounds (215 x 49 at 4, 4) must show through; the ring may follow
  // the button's rounded corners.
  for (int y = 8; y < 49; ++y) {
    for (int x = 8; x < 215; ++x) {
      const bool corner = (x < 16 || x >= 207) && (y < 16 || y >= 41);
      ASSERT_TRUE(corner || frame.At(x, y) == KeyBlue) << x << "," << y;
    }
  }
  // The ring itself is closed on all four sides: six pixels in from each edge meet it.
  for (int x = 16; x < 208; x += 8) {
    EXPECT_TRUE(AnyOpaque(frame, {x, 0, x + 1, 6}, KeyBlue)) << "top, x " << x;
    EXPECT_TRUE(AnyOpaque(frame, {x, 50, x + 1, 56}, KeyBlue)) << "bottom, x " << x;
  }
  for (int y = 16; y < 42; y += 8) {
    EXPECT_TRUE(AnyOpaque(frame, {0, y, 6, y + 1}, KeyBlue)) << "left, y " << y;
    EXPECT_TRUE(AnyOpaque(frame, {218, y, 224, y + 1}, KeyBlue)) << "right, y " << y;
  }

  // Clicks are taken at the cursor picture's centre, so the pointer must point there.
  const Image cursor = Load(tavi::media::Cursor);
  ASSERT_FALSE(cursor.Empty());
  const tavi::Rect b = OpaqueBounds(cursor, {0, 0, 32, 32}, KeyBlue);
  EXPECT_NEAR((b.left + b.right + 1) / 2.0, 16, 1.0);
  EXPECT_NEAR((b.top + b.bottom + 1) / 2.0, 16, 1.0);
  EXPECT_NE(cursor.At(16, 16), KeyBlue);
}

}  // namespace
}  // namespace mediagen
