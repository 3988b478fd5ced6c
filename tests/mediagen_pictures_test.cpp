// mediagen's pictures: what flattening does to the key colour, the tool's failures, the pictures it
// made for the game, and those of a language just added.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fake_platform.h"
#include "flatten.h"
#include "picture_table.h"
#include "pictures.h"
#include "graphics/bmp_decoder.h"

namespace mediagen {
namespace {

namespace fs = std::filesystem;
using tavi::Image;

const std::string MediaDir = TAVI_MEDIA_DIR;
// The drawings lie beside the tests in the source tree.
const std::string ArtDir = (fs::path(TAVI_TEST_DATA).parent_path().parent_path() / "art").string();

std::uint32_t Argb(int a, std::uint32_t rgb) { return (static_cast<std::uint32_t>(a) << 24) | rgb; }

void WriteText(const std::string& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

TEST(Flatten, OpaqueKeyColourInsideAFigureIsNudgedOffTheKey) {
  RasterImage blue(3, 3, Argb(255, 0x208040)), black(3, 3, Argb(255, 0x808080));
  blue.Set(1, 1, Argb(255, 0x0000FF));
  black.Set(1, 1, Argb(255, 0x000000));
  EXPECT_EQ(Flatten(blue, ColourKey::Blue).At(1, 1), 0x0000FEu);  // still blue, never transparent
  EXPECT_EQ(Flatten(black, ColourKey::Black).At(1, 1), 0x010101u);
}

TEST(MakePictures, NamesEveryMissingDrawingOrTheUnwritableDirectoryAndWritesNothing) {
  tavi::test::TempDir dir;
  fs::create_directories("art/pictures");
  fs::create_directories("out");
  WriteText("art/pictures/title.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='440' height='65'/>");
  std::string error;
  EXPECT_FALSE(MakePictures("art", "", "out", error));
  EXPECT_NE(error.find("hai.svg"), std::string::npos) << error;
  EXPECT_NE(error.find("schrift.svg"), std::string::npos) << error;
  EXPECT_EQ(error.find("title.svg"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_empty("out"));

  WriteText("kein-verzeichnis", "x");
  EXPECT_FALSE(MakePictures(ArtDir, "", "kein-verzeichnis", error));
  EXPECT_NE(error.find("kein-verzeichnis"), std::string::npos) << error;
}

// Every picture of the media directory (TAVI_MEDIA_DIR) is a 24-bit BMP of its manifest size that
// loads as the game loads it; a keyed one is flattened onto its key with no fringe, and no frame of
// a sheet is (nearly) empty.
TEST(GamePictures, HaveTheirSizesAKeyAndNoFringe) {
  for (const tavi::media::Picture* e : tavi::media::Pictures) {
    SCOPED_TRACE(e->file);
    const std::string path = MediaDir + "/" + MediaFileName(e->file);
    const std::string header = tavi::test::ReadFile(path).substr(0, 30);
    ASSERT_EQ(header.size(), 30u);
    const auto le = [&](int at) { return int(std::uint8_t(header[at])) | std::uint8_t(header[at + 1]) << 8; };
    EXPECT_EQ(header[0], 'B');
    EXPECT_EQ(le(18), e->width);
    EXPECT_EQ(le(22), e->height);
    EXPECT_EQ(le(28), 24);
    Image image;
    ASSERT_TRUE(tavi::DecodeBmpScaled(tavi::test::ReadFile(path), e->width, e->height, image));
    if (!e->Keyed()) continue;
    const std::uint32_t key = KeyColour(e->key);
    int keyPixels = 0, fringe = 0;
    const auto isKey = [&](int x, int y) {
      return x >= 0 && y >= 0 && x < image.Width() && y < image.Height() && image.At(x, y) == key;
    };
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width(); ++x) {
        const std::uint32_t p = image.At(x, y);
        keyPixels += p == key;
        bool touchesKey = false;
        for (int n = 0; n < 9; ++n) touchesKey |= isKey(x + n % 3 - 1, y + n / 3 - 1);
        fringe += p != key && IsNearKey(p, key) && touchesKey;
      }
    }
    EXPECT_GT(keyPixels, 0);
    EXPECT_EQ(fringe, 0);
    const int fw = e->width / e->columns, fh = e->height / e->rows;
    for (int frame = 0; e->Animated() && frame < e->Frames(); ++frame) {
      int opaque = 0;
      for (int y = frame / e->columns * fh; y < (frame / e->columns + 1) * fh; ++y)
        for (int x = frame % e->columns * fw; x < (frame % e->columns + 1) * fw; ++x) opaque += image.At(x, y) != key;
      EXPECT_GT(opaque, fw * fh / 20) << "frame " << frame + 1 << " is (nearly) empty";
    }
  }
}

// A language is one catalogue: its words are drawn into its pictures, shrunk to fit or refused when
// too wide, and the game started in a locale that names it shows those pictures.
TEST(AddedLanguage, ItsCatalogueGivesItsPicturesAndTheGameShowsThem) {
  tavi::test::TempDir dir;
  const auto catalogue = [](const std::string& instructions) {
    std::ofstream("sv.po") << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                              "msgctxt \"picture\"\nmsgid \"Tavi der Taucher\"\nmsgstr \"Tavi dykaren\"\n\n"
                              "msgctxt \"picture\"\nmsgid \"Anleitung\"\nmsgstr \"" << instructions << "\"\n";
    return std::system("msgfmt --check -o locale/sv/LC_MESSAGES/tavi.mo sv.po") == 0;
  };
  fs::create_directories("locale/sv/LC_MESSAGES");
  fs::copy(MediaDir, "media", fs::copy_options::recursive);
  std::string error;
  ASSERT_TRUE(catalogue("Instruktioner till spelet"));
  EXPECT_FALSE(MakePictures(ArtDir, "locale", "media", error));
  EXPECT_NE(error.find("\"Instruktioner till spelet\" do not fit"), std::string::npos) << error;
  ASSERT_TRUE(catalogue("Instruktioner"));  // wider than the button's words may be at their own size
  ASSERT_TRUE(MakePictures(ArtDir, "locale", "media", error)) << error;
  EXPECT_FALSE(fs::exists("media/sv/highscore.bmp"));  // untranslated: the German one is shown

  // The Swedish menu is the German one with the Swedish pictures in place of the German ones.
  fs::copy_file(TAVI_EXE, "tavi");  // its catalogues are looked for beside it
  const auto menu = [](const std::string& locale) {
    const std::string run = "LANG=" + locale + " ./tavi --headless --seed 1 --screenshot 0:menu.png >/dev/null 2>&1";
    return std::system(run.c_str()) == 0 ? tavi::test::ReadFile("menu.png") : "";
  };
  const std::string swedish = menu("sv_SE.UTF-8"), german = menu("C.UTF-8");
  for (const char* picture : {"title.bmp", "anleitung.bmp"}) {
    fs::copy_file(std::string("media/sv/") + picture, std::string("media/") + picture, fs::copy_options::overwrite_existing);
  }
  EXPECT_FALSE(swedish.empty());
  EXPECT_NE(swedish, german);
  EXPECT_EQ(swedish, menu("C.UTF-8"));
}

}  // namespace
}  // namespace mediagen
