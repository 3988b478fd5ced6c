// mediagen's pictures: the pipeline from drawing to colour-keyed BMP, and the pictures it made for
// the game (TAVI_MEDIA_DIR), checked against what the game's loaders rely on.

#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "flatten.h"
#include "pictures.h"
#include "svg_raster.h"

namespace mediagen {
namespace {

namespace fs = std::filesystem;

const std::string MediaDir = TAVI_MEDIA_DIR;
// The drawings lie beside the tests in the source tree.
const std::string ArtDir = (fs::path(TAVI_TEST_DATA).parent_path().parent_path() / "art").string();

constexpr std::uint32_t KeyBlue = 0x0000FF;
constexpr std::uint32_t KeyBlack = 0x000000;

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/mediagen-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made != nullptr ? made : "";
  }
  ~TempDir() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

void WriteText(const std::string& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
}

std::uint32_t Le(const std::vector<unsigned char>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

// A reader of its own, so that the writer is checked against the format and not against itself.
struct Bmp {
  bool ok = false;
  int bitsPerPixel = 0;
  RasterImage image;  // 0x00RRGGBB, top row first
};

Bmp ReadBmp(const std::string& file) {
  Bmp bmp;
  std::ifstream in(file, std::ios::binary);
  const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return bmp;
  const std::uint32_t offset = Le(b, 10, 4);
  const int width = static_cast<int>(Le(b, 18, 4));
  const int height = static_cast<int>(Le(b, 22, 4));
  bmp.bitsPerPixel = static_cast<int>(Le(b, 28, 2));
  if (bmp.bitsPerPixel != 24 || Le(b, 30, 4) != 0 || width <= 0 || height == 0) return bmp;
  const int rows = std::abs(height);
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  if (b.size() < offset + rowBytes * rows) return bmp;
  bmp.image = RasterImage(width, rows);
  for (int row = 0; row < rows; ++row) {
    const int y = height > 0 ? rows - 1 - row : row;
    for (int x = 0; x < width; ++x) {
      const std::size_t at = offset + row * rowBytes + x * 3;
      bmp.image.Set(x, y, Rgb(b[at + 2], b[at + 1], b[at]));
    }
  }
  bmp.ok = true;
  return bmp;
}

std::uint32_t Argb(int a, std::uint32_t rgb) { return (static_cast<std::uint32_t>(a) << 24) | rgb; }

// ---------------------------------------------------------------------------------------------
// Flattening onto the key

TEST(Flatten, HalfCoverageDecidesBetweenFigureAndKey) {
  RasterImage rgba(3, 1);
  rgba.Set(0, 0, Argb(127, 0xC03020));
  rgba.Set(1, 0, Argb(128, 0xC03020));
  rgba.Set(2, 0, Argb(0, 0xFFFFFF));
  const RasterImage flat = Flatten(rgba, ColourKey::Blue);
  EXPECT_EQ(flat.At(0, 0), KeyBlue);
  EXPECT_EQ(flat.At(1, 0), 0xC03020u);  // its own colour, not darkened by the coverage
  EXPECT_EQ(flat.At(2, 0), KeyBlue);
  EXPECT_EQ(Flatten(rgba, ColourKey::Black).At(0, 0), KeyBlack);
}

TEST(Flatten, AFigureInTheKeyColourIsNeverTransparent) {
  // Opaque pure blue inside a figure, away from the key: nudged off the key but kept blue.
  RasterImage blue(3, 3, Argb(255, 0x208040));
  blue.Set(1, 1, Argb(255, KeyBlue));
  EXPECT_EQ(Flatten(blue, ColourKey::Blue).At(1, 1), 0x0000FEu);

  RasterImage black(3, 3, Argb(255, 0x808080));
  black.Set(1, 1, Argb(255, KeyBlack));
  EXPECT_EQ(Flatten(black, ColourKey::Black).At(1, 1), 0x010101u);
}

TEST(Flatten, EdgesNearTheKeyTakeTheFigureColour) {
  // A red figure whose left column is almost key blue, with key to its left.
  RasterImage rgba(6, 3, Argb(255, 0xC02020));
  for (int y = 0; y < 3; ++y) {
    rgba.Set(0, y, Argb(0, 0));
    rgba.Set(1, y, Argb(255, 0x1010F0));
  }
  const RasterImage flat = Flatten(rgba, ColourKey::Blue);
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(flat.At(0, y), KeyBlue);
    EXPECT_EQ(flat.At(1, y), 0xC02020u) << y;
  }
}

TEST(Flatten, EdgesNearTheKeyWithNoFigureAroundArePushedAway) {
  // A lone near-key pixel (nothing of the figure within reach) still may not touch the key.
  RasterImage blue(5, 5, Argb(0, 0));
  blue.Set(2, 2, Argb(255, 0x0505FA));
  const std::uint32_t b = Flatten(blue, ColourKey::Blue).At(2, 2);
  EXPECT_NE(b, KeyBlue);
  EXPECT_FALSE(IsNearKey(b, KeyBlue)) << std::hex << b;

  RasterImage black(5, 5, Argb(0, 0));
  black.Set(2, 2, Argb(255, 0x101010));
  const std::uint32_t k = Flatten(black, ColourKey::Black).At(2, 2);
  EXPECT_FALSE(IsNearKey(k, KeyBlack)) << std::hex << k;
  EXPECT_TRUE(Red(k) == Green(k) && Green(k) == Blue(k)) << "grey stays grey: " << std::hex << k;
}

TEST(Flatten, DeepBlueInsideAFigureIsKept) {
  // Only the rim against the key is a fringe; the same colour inside the figure is art.
  RasterImage rgba(5, 5, Argb(255, 0x0A0AE6));
  rgba.Set(0, 0, Argb(0, 0));
  const RasterImage flat = Flatten(rgba, ColourKey::Blue);
  EXPECT_EQ(flat.At(3, 3), 0x0A0AE6u);
  EXPECT_FALSE(IsNearKey(flat.At(1, 1), KeyBlue));
}

TEST(Flatten, UnkeyedPicturesLieOverTheScreenBlue) {
  RasterImage rgba(3, 1);
  rgba.Set(0, 0, Argb(0, 0xFFFFFF));
  rgba.Set(1, 0, Argb(255, KeyBlue));
  rgba.Set(2, 0, Argb(102, 0xFFFFFF));  // 40 % white
  const RasterImage flat = Flatten(rgba, ColourKey::None);
  EXPECT_EQ(flat.At(0, 0), KeyBlue);
  EXPECT_EQ(flat.At(1, 0), KeyBlue);  // no key, so nothing to avoid
  EXPECT_EQ(flat.At(2, 0), Rgb(102, 102, 255));
}

// ---------------------------------------------------------------------------------------------
// BMP files

TEST(BmpWriter, WritesBottomUpBgrRowsPaddedToFourBytes) {
  TempDir dir;
  RasterImage image(3, 2);
  image.Set(0, 0, 0x112233);
  image.Set(2, 0, 0xFF0000);
  image.Set(0, 1, 0x0000FF);
  image.Set(1, 1, 0x00FF00);
  std::string error;
  const std::string file = dir.Path() + "/p.bmp";
  ASSERT_TRUE(WriteBmp(file, image, error)) << error;

  std::ifstream in(file, std::ios::binary);
  const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(b.size(), 54u + 2 * 12);  // 9 bytes of pixels per row, padded to 12
  EXPECT_EQ(Le(b, 2, 4), b.size());
  EXPECT_EQ(Le(b, 10, 4), 54u);
  EXPECT_EQ(Le(b, 14, 4), 40u);
  EXPECT_EQ(Le(b, 18, 4), 3u);
  EXPECT_EQ(Le(b, 22, 4), 2u);  // positive height: bottom row first
  EXPECT_EQ(Le(b, 28, 2), 24u);
  EXPECT_EQ(Le(b, 30, 4), 0u);
  // The file's first row is the picture's bottom row, blue byte first.
  const std::vector<unsigned char> bottom(b.begin() + 54, b.begin() + 66);
  EXPECT_EQ(bottom, (std::vector<unsigned char>{0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0}));
  const std::vector<unsigned char> top(b.begin() + 66, b.end());
  EXPECT_EQ(top, (std::vector<unsigned char>{0x33, 0x22, 0x11, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0}));
}

TEST(BmpWriter, AFailedWriteSaysSoAndLeavesNothingBehind) {
  TempDir dir;
  std::string error;
  const std::string file = dir.Path() + "/no-such-dir/p.bmp";
  EXPECT_FALSE(WriteBmp(file, RasterImage(2, 2), error));
  EXPECT_NE(error.find(file), std::string::npos) << error;
  EXPECT_FALSE(WriteBmp(dir.Path() + "/empty.bmp", RasterImage(), error));
  EXPECT_TRUE(fs::is_empty(dir.Path()));
}

// ---------------------------------------------------------------------------------------------
// Rasterising drawings

TEST(RasteriseSvg, GivesStraightColourAtTheAskedSize) {
  TempDir dir;
  const std::string file = dir.Path() + "/t.svg";
  WriteText(file,
            "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='2' viewBox='0 0 4 2'>"
            "<rect width='2' height='2' fill='#ff0000'/>"
            "<rect x='2' width='2' height='2' fill='#40c0ff' fill-opacity='0.5'/></svg>");
  RasterImage image;
  std::string error;
  ASSERT_TRUE(RasteriseSvg(file, 4, 2, image, error)) << error;
  ASSERT_EQ(image.width, 4);
  ASSERT_EQ(image.height, 2);
  EXPECT_EQ(image.At(0, 1), 0xFFFF0000u);
  const std::uint32_t half = image.At(3, 0);
  EXPECT_NEAR(Alpha(half), 128, 1);
  EXPECT_NEAR(Red(half), 0x40, 2);  // not premultiplied
  EXPECT_NEAR(Green(half), 0xC0, 2);
  EXPECT_NEAR(Blue(half), 0xFF, 2);

  // Stretched to another size the halves stay halves.
  ASSERT_TRUE(RasteriseSvg(file, 10, 3, image, error)) << error;
  EXPECT_EQ(image.At(4, 2), 0xFFFF0000u);
  EXPECT_NEAR(Alpha(image.At(5, 0)), 128, 1);
}

TEST(RasteriseSvg, MissingAndBrokenDrawingsAreReportedByName) {
  TempDir dir;
  RasterImage image;
  std::string error;
  EXPECT_FALSE(RasteriseSvg(dir.Path() + "/none.svg", 4, 4, image, error));
  EXPECT_NE(error.find("none.svg"), std::string::npos) << error;

  const std::string broken = dir.Path() + "/broken.svg";
  WriteText(broken, "BM this is no drawing \x01\x02");
  error.clear();
  EXPECT_FALSE(RasteriseSvg(broken, 4, 4, image, error));
  EXPECT_NE(error.find("broken.svg"), std::string::npos) << error;
}

// ---------------------------------------------------------------------------------------------
// The whole run

TEST(MakePictures, NamesEveryMissingDrawingAndWritesNothing) {
  TempDir art, out;
  fs::create_directories(art.Path() + "/pictures");
  WriteText(art.Path() + "/pictures/title.svg",
            "<svg xmlns='http://www.w3.org/2000/svg' width='440' height='65'/>");
  std::string error;
  EXPECT_FALSE(MakePictures(art.Path(), out.Path(), error));
  EXPECT_NE(error.find("hai.svg"), std::string::npos) << error;
  EXPECT_NE(error.find("schrift.svg"), std::string::npos) << error;
  EXPECT_EQ(error.find("title.svg"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_empty(out.Path()));
}

TEST(MakePictures, AnUnwritableMediaDirectoryIsAnError) {
  TempDir out;
  const std::string notADirectory = out.Path() + "/file";
  WriteText(notADirectory, "x");
  std::string error;
  EXPECT_FALSE(MakePictures(ArtDir, notADirectory, error));
  EXPECT_NE(error.find(notADirectory), std::string::npos) << error;
}

TEST(MakeIcon, IsASquarePngWithClearCorners) {
  TempDir out;
  const std::string file = out.Path() + "/icon.png";
  std::string error;
  ASSERT_TRUE(MakeIcon(ArtDir, 64, file, error)) << error;
  cairo_surface_t* icon = cairo_image_surface_create_from_png(file.c_str());
  ASSERT_EQ(cairo_surface_status(icon), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(icon), 64);
  EXPECT_EQ(cairo_image_surface_get_height(icon), 64);
  const unsigned char* data = cairo_image_surface_get_data(icon);
  const int stride = cairo_image_surface_get_stride(icon);
  const auto alphaAt = [&](int x, int y) {
    return Alpha(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x]);
  };
  EXPECT_EQ(alphaAt(0, 0), 0);
  EXPECT_EQ(alphaAt(63, 63), 0);
  EXPECT_EQ(alphaAt(32, 32), 255);
  cairo_surface_destroy(icon);

  EXPECT_FALSE(MakeIcon(ArtDir, 0, file, error));
  EXPECT_FALSE(MakeIcon(ArtDir, 100000, file, error));
  EXPECT_NE(error.find("100000"), std::string::npos) << error;
}

TEST(MakeContactSheet, ShowsWhatExistsEvenWhenDrawingsAreMissing) {
  TempDir art, out;
  fs::create_directories(art.Path() + "/pictures");
  fs::copy_file(ArtDir + "/pictures/hg1.svg", art.Path() + "/pictures/hg1.svg");
  const std::string file = out.Path() + "/sheet.png";
  std::string error;
  ASSERT_TRUE(MakeContactSheet(art.Path(), file, error)) << error;
  cairo_surface_t* sheet = cairo_image_surface_create_from_png(file.c_str());
  ASSERT_EQ(cairo_surface_status(sheet), CAIRO_STATUS_SUCCESS);
  EXPECT_GE(cairo_image_surface_get_width(sheet), 512);
  EXPECT_GE(cairo_image_surface_get_height(sheet), 280);
  cairo_surface_destroy(sheet);

  EXPECT_FALSE(MakeContactSheet(art.Path(), out.Path() + "/no-such-dir/sheet.png", error));
}

// ---------------------------------------------------------------------------------------------
// The game's pictures

struct Expected {
  std::string file;
  int width;
  int height;
  bool keyed;
  std::uint32_t key;
  int columns;
  int rows;
};

// What the game loads; written out here again so that a slip in mediagen's table shows.
const std::vector<Expected>& GamePictures() {
  static const std::vector<Expected> pictures = {
      {"title.bmp", 440, 65, false, 0, 1, 1},
      {"newgame.bmp", 215, 49, false, 0, 1, 1},
      {"anleitung.bmp", 215, 49, false, 0, 1, 1},
      {"highscore.bmp", 215, 49, false, 0, 1, 1},
      {"ende.bmp", 215, 49, true, KeyBlue, 1, 1},
      {"l\xC3\xB6schen.bmp", 198, 34, true, KeyBlue, 1, 1},  // "löschen.bmp"
      {"zurueck.bmp", 215, 49, true, KeyBlue, 1, 1},
      {"auswahl.bmp", 224, 56, true, KeyBlue, 1, 1},
      {"cursor.bmp", 32, 32, true, KeyBlue, 1, 1},
      {"hg1.bmp", 512, 280, true, KeyBlue, 1, 1},
      {"sand.bmp", 512, 96, true, KeyBlue, 1, 1},
      {"schrift.bmp", 256, 192, true, KeyBlack, 1, 1},
      {"taucher.bmp", 159, 180, true, KeyBlue, 1, 3},
      {"taucherh.bmp", 159, 180, true, KeyBlue, 1, 3},
      {"taucherr.bmp", 159, 180, true, KeyBlue, 1, 3},
      {"tauchern.bmp", 159, 180, true, KeyBlue, 1, 3},
      {"regenbogenfisch.bmp", 45, 72, true, KeyBlue, 1, 3},
      {"pflanze.bmp", 64, 128, true, KeyBlack, 2, 1},
      {"giftfa\xC3\x9F.bmp", 236, 91, true, KeyBlue, 4, 1},  // "giftfaß.bmp"
      {"hai.bmp", 315, 354, true, KeyBlue, 1, 3},
      {"blasen.bmp", 72, 18, true, KeyBlue, 4, 1},
      {"stein.bmp", 204, 63, true, KeyBlue, 3, 1},
      {"fa\xC3\x9F.bmp", 184, 78, true, KeyBlue, 2, 1},  // "faß.bmp"
  };
  return pictures;
}

Bmp Load(const std::string& name) { return ReadBmp(MediaDir + "/" + name); }

bool TouchesKey(const RasterImage& image, int x, int y, std::uint32_t key) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int nx = x + dx, ny = y + dy;
      if (nx >= 0 && ny >= 0 && nx < image.width && ny < image.height && image.At(nx, ny) == key) return true;
    }
  }
  return false;
}

TEST(GamePictures, HaveTheirSizesAKeyAndNoFringe) {
  for (const Expected& e : GamePictures()) {
    SCOPED_TRACE(e.file);
    const Bmp bmp = Load(e.file);
    ASSERT_TRUE(bmp.ok) << "missing or not a 24-bit BMP";
    EXPECT_EQ(bmp.image.width, e.width);
    EXPECT_EQ(bmp.image.height, e.height);
    if (!e.keyed) continue;
    const RasterImage& image = bmp.image;
    int keyPixels = 0, fringe = 0;
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        const std::uint32_t p = image.At(x, y);
        if (p == e.key) {
          ++keyPixels;
        } else if (IsNearKey(p, e.key) && TouchesKey(image, x, y, e.key)) {
          if (++fringe <= 3) ADD_FAILURE() << "fringe at " << x << "," << y << ": " << std::hex << p;
        }
      }
    }
    EXPECT_GT(keyPixels, 0);
    EXPECT_EQ(fringe, 0);

    // Every frame of a sheet shows something.
    const int fw = e.width / e.columns, fh = e.height / e.rows;
    for (int frame = 0; frame < e.columns * e.rows; ++frame) {
      const int left = frame % e.columns * fw, top = frame / e.columns * fh;
      int opaque = 0;
      for (int y = top; y < top + fh; ++y) {
        for (int x = left; x < left + fw; ++x) opaque += image.At(x, y) != e.key;
      }
      EXPECT_GT(opaque, fw * fh / 20) << "frame " << frame + 1 << " is (nearly) empty";
    }
  }
}

// Black pixels of one glyph cell that cannot be reached from the cell's border: holes in a glyph.
int EnclosedBlack(const RasterImage& sheet, int column, int row) {
  const int left = column * 32, top = row * 32;
  std::vector<char> seen(32 * 32, 0);
  std::vector<std::pair<int, int>> todo;
  for (int i = 0; i < 32; ++i) {
    todo.emplace_back(i, 0);
    todo.emplace_back(i, 31);
    todo.emplace_back(0, i);
    todo.emplace_back(31, i);
  }
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    if (x < 0 || y < 0 || x > 31 || y > 31 || seen[y * 32 + x] || sheet.At(left + x, top + y) != KeyBlack) continue;
    seen[y * 32 + x] = 1;
    todo.emplace_back(x + 1, y);
    todo.emplace_back(x - 1, y);
    todo.emplace_back(x, y + 1);
    todo.emplace_back(x, y - 1);
  }
  int enclosed = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) enclosed += sheet.At(left + x, top + y) == KeyBlack && !seen[y * 32 + x];
  }
  return enclosed;
}

TEST(GamePictures, GlyphSheetHasWholeCentredGlyphsAndEmptyCells) {
  const Bmp bmp = Load("schrift.bmp");
  ASSERT_TRUE(bmp.ok);
  const RasterImage& sheet = bmp.image;
  const std::string layout[6] = {"12345678", "90 ABCDE", "FGHIJKLM", "NOPQRSTU", "VWXYZ:?!", ".-      "};
  std::set<std::vector<std::uint32_t>> seenGlyphs;
  for (int row = 0; row < 6; ++row) {
    for (int column = 0; column < 8; ++column) {
      const char glyph = layout[row][column];
      SCOPED_TRACE(std::string("cell ") + std::to_string(column) + "," + std::to_string(row) + " '" + glyph + "'");
      int minX = 32, maxX = -1, minY = 32, maxY = -1;
      std::vector<std::uint32_t> pixels;
      for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
          const std::uint32_t p = sheet.At(column * 32 + x, row * 32 + y);
          pixels.push_back(p);
          if (p == KeyBlack) continue;
          minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
      }
      if (glyph == ' ') {  // the fallback cell and the unused ones are empty
        EXPECT_EQ(maxX, -1);
        continue;
      }
      ASSERT_GE(maxX, 0) << "no glyph";
      EXPECT_EQ(EnclosedBlack(sheet, column, row), 0) << "black shows through inside the glyph";
      EXPECT_TRUE(seenGlyphs.insert(pixels).second) << "same picture as another cell";
      if (std::isalnum(static_cast<unsigned char>(glyph))) {
        EXPECT_GE(maxY - minY + 1, 24) << "too small to read";
        EXPECT_NEAR((minX + maxX + 1) / 2.0, 16, 2.0) << "not centred";
        EXPECT_NEAR((minY + maxY + 1) / 2.0, 16, 2.0) << "not centred";
      }
    }
  }
}

// Key pixels of the column, and the mean difference of the colours where both are opaque.
void CompareColumns(const RasterImage& image, int a, int b, int& keyMismatches, double& meanDifference) {
  keyMismatches = 0;
  int both = 0;
  double sum = 0;
  for (int y = 0; y < image.height; ++y) {
    const std::uint32_t p = image.At(a, y), q = image.At(b, y);
    if ((p == KeyBlue) != (q == KeyBlue)) {
      ++keyMismatches;
    } else if (p != KeyBlue) {
      ++both;
      sum += (std::abs(Red(p) - Red(q)) + std::abs(Green(p) - Green(q)) + std::abs(Blue(p) - Blue(q))) / 3.0;
    }
  }
  meanDifference = both > 0 ? sum / both : 0;
}

TEST(GamePictures, BandAndSandRunOnWithoutASeam) {
  for (const char* name : {"hg1.bmp", "sand.bmp"}) {
    SCOPED_TRACE(name);
    const Bmp bmp = Load(name);
    ASSERT_TRUE(bmp.ok);
    int mismatches = 0;
    double difference = 0;
    CompareColumns(bmp.image, 511, 0, mismatches, difference);
    EXPECT_LE(mismatches, bmp.image.height / 30);
    EXPECT_LT(difference, 24.0);
  }
}

TEST(GamePictures, NoWaterShowsBetweenBandAndSand) {
  // The band (rows 424..703) reaches under the sand (rows 672..767); the two scroll at different
  // speeds, so wherever the sand's wavy edge dips, the band must be solid there.
  const Bmp band = Load("hg1.bmp"), sand = Load("sand.bmp");
  ASSERT_TRUE(band.ok && sand.ok);
  int deepestEdge = 0;
  for (int x = 0; x < sand.image.width; ++x) {
    int y = 0;
    while (y < sand.image.height && sand.image.At(x, y) == KeyBlue) ++y;
    deepestEdge = std::max(deepestEdge, y);
    EXPECT_NE(sand.image.At(x, sand.image.height - 1), KeyBlue) << "sand open at the bottom, column " << x;
  }
  for (int y = 672 - 424 + deepestEdge; y < band.image.height; ++y) {
    for (int x = 0; x < band.image.width; ++x) {
      if (band.image.At(x, y) == KeyBlue) {
        ADD_FAILURE() << "band open at " << x << "," << y;
        return;
      }
    }
  }
}

TEST(GamePictures, SelectionFrameIsAnOpenRing) {
  const Bmp bmp = Load("auswahl.bmp");
  ASSERT_TRUE(bmp.ok);
  const RasterImage& frame = bmp.image;
  // Inside: the button it surrounds (215 x 49 at 4, 4) must show through; the ring may follow
  // the button's rounded corners.
  for (int y = 8; y < 49; ++y) {
    for (int x = 8; x < 215; ++x) {
      const bool corner = (x < 16 || x >= 207) && (y < 16 || y >= 41);
      if (!corner) {
        ASSERT_EQ(frame.At(x, y), KeyBlue) << x << "," << y;
      }
    }
  }
  // The ring itself is closed on all four sides.
  const auto opaqueAcross = [&](int x0, int y0, int dx, int dy, int steps) {
    for (int i = 0; i < steps; ++i) {
      if (frame.At(x0 + dx * i, y0 + dy * i) != KeyBlue) return true;
    }
    return false;
  };
  for (int x = 16; x < 208; x += 8) {
    EXPECT_TRUE(opaqueAcross(x, 0, 0, 1, 6)) << "top, x " << x;
    EXPECT_TRUE(opaqueAcross(x, 55, 0, -1, 6)) << "bottom, x " << x;
  }
  for (int y = 16; y < 42; y += 8) {
    EXPECT_TRUE(opaqueAcross(0, y, 1, 0, 6)) << "left, y " << y;
    EXPECT_TRUE(opaqueAcross(223, y, -1, 0, 6)) << "right, y " << y;
  }
}

TEST(GamePictures, CursorAimsAtItsCentre) {
  // Clicks are taken at the picture's centre, so the pointer must point there.
  const Bmp bmp = Load("cursor.bmp");
  ASSERT_TRUE(bmp.ok);
  const RasterImage& cursor = bmp.image;
  int minX = 32, maxX = -1, minY = 32, maxY = -1;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if (cursor.At(x, y) == KeyBlue) continue;
      minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  }
  EXPECT_NEAR((minX + maxX + 1) / 2.0, 16, 1.0);
  EXPECT_NEAR((minY + maxY + 1) / 2.0, 16, 1.0);
  EXPECT_NE(cursor.At(16, 16), KeyBlue);
}

}  // namespace
}  // namespace mediagen
