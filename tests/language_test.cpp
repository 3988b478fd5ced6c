// The language: who chooses it, the catalogues, and German staying when one cannot be read.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/settings.h"
#include "base/error_log.h"
#include "base/media_manifest.h"
#include "base/translate.h"
#include "fake_platform.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"
#include "graphics/surface.h"

namespace tavi {
namespace {

TEST(Language, OptionThenSettingThenFirstLocaleEntryOnOffer) {
  const auto onOffer = [](const std::string& code) { return code == "en" || code == "es" || code == "pt"; };
  const std::vector<std::string> english{"", "en_GB.UTF-8", "de_DE.UTF-8", "C"};
  EXPECT_EQ(ChooseLanguage("de", "en", english, onOffer), "de");
  EXPECT_EQ(ChooseLanguage("", "pt_BR", english, onOffer), "pt");  // the language when its country has none
  EXPECT_EQ(ChooseLanguage("sv", "en", english, onOffer), "sv");   // asked for: reported as missing
  EXPECT_EQ(ChooseLanguage("", "", english, onOffer), "en");
  EXPECT_EQ(ChooseLanguage("", "", {"sv:pt_BR:en", "", "", ""}, onOffer), "pt");
  EXPECT_EQ(ChooseLanguage("", "", {"", "C", "POSIX", "es_ES.UTF-8@euro"}, onOffer), "es");
  EXPECT_EQ(ChooseLanguage("", "", {"de_AT:en", "", "", "es_ES"}, onOffer), "de");
  EXPECT_EQ(ChooseLanguage("", "", {"sv_SE", "C.UTF-8", "", ""}, onOffer), "de");

  SettingsFile file;
  ParseSettings("[language]\nlanguage = fr\n", file);
  EXPECT_TRUE(file.values.language == "fr" && file.problems.empty());
  ParseSettings("[language]\nlanguage = English\n", file);
  EXPECT_EQ(file.problems.size(), 1u);
}

// Every catalogue of po/ is built and on offer, and each draws its bitmap-font texts with glyphs the
// sheet has (a space draws the blank cell).
TEST(Language, EveryBuiltLanguageLoadsAndHasGlyphsForItsFontTexts) {
  std::vector<std::string> built{German};
  for (const auto& file : std::filesystem::directory_iterator(TAVI_SOURCE_DIR "/po")) {
    if (file.path().extension() == ".po" && file.path().stem() != German) built.push_back(file.path().stem());
  }
  std::sort(built.begin() + 1, built.end());
  EXPECT_EQ(LanguagesOnOffer({"/nonexistent", TAVI_LOCALE_DIR}), built);
  const Rect blank = BitmapFont::CellFor(' ');
  for (const std::string& language : built) {
    ASSERT_TRUE(UseLanguage(language, {TAVI_LOCALE_DIR}));
    for (const char* german : {"Punkte ", "Leben  ", "Super neue Highscore!", "Name: ", "Pause", "Ton aus", "Ton an"}) {
      for (const char c : Translate(german)) {
        const Rect cell = BitmapFont::CellFor(c);
        EXPECT_TRUE(c == ' ' || cell.left != blank.left || cell.top != blank.top) << language << ": " << german;
      }
    }
  }

  ASSERT_TRUE(UseLanguage("en", {"/nonexistent", TAVI_LOCALE_DIR}));
  EXPECT_EQ(Translate("Punkte "), "Score  ");
  EXPECT_EQ(Translate("Unbekannt \xE4"), "Unbekannt \xE4");
  EXPECT_EQ(LocalisedMediaName(media::ClearButton.file), "media\\en\\l\xF6schen.bmp");
  EXPECT_EQ(LocalisedMediaName(media::Shark.file), media::Shark.file);
  EXPECT_FALSE(UseLanguage("en", {"/nonexistent"}));
  EXPECT_EQ(ActiveLanguage(), German);
  EXPECT_EQ(LocalisedMediaName(media::ClearButton.file), media::ClearButton.file);
}

// A translation as long as a catalogue may hold is handed out without a copy and drawn only as far
// as the frame reaches: the same pixels as its visible part, at the cost of a line.
TEST(Language, LongTextsAreDrawnOnlyAsFarAsTheFrameReaches) {
  EXPECT_EQ(&Translate("Punkte "), &Translate("Punkte "));
  test::FakePlatform platform;
  ErrorLog log(nullptr, "");
  const std::string longText(1 << 16, 'A');
  auto textAt = [&](const std::string& text, int x) {
    Display target(platform, log);
    target.DrawGdiText(text, x, 200);
    return target.BackBuffer().Pixels();
  };
  const std::vector<Pixel> blank = Display(platform, log).BackBuffer().Pixels();
  EXPECT_NE(textAt(longText, 50), blank);
  EXPECT_EQ(textAt(longText, 50), textAt(longText.substr(0, 974), 50));
  EXPECT_EQ(textAt(longText, -100), textAt(longText.substr(0, 1124), -100));
  EXPECT_EQ(textAt(longText, 2000), blank);

  Image& sheet = platform.pictures[media::Glyphs.file] = Image(media::Glyphs.width, media::Glyphs.height);
  for (int y = 0; y < sheet.Height(); ++y) {
    for (int x = 0; x < sheet.Width(); ++x) sheet.Row(y)[x] = static_cast<Pixel>(1 + y / 32 * 8 + x / 32);
  }
  auto drawn = [&](const std::string& text, int x, int expectedEnd) {
    Display target(platform, log);
    EXPECT_EQ(BitmapFont(target).DrawFontText(text, x, 100), expectedEnd) << text.substr(0, 20);
    return target.BackBuffer().Pixels();
  };
  EXPECT_EQ(drawn("12345678ABC", -64, 288), drawn("345678ABC", 0, 288));
  std::string varied = longText;
  for (std::size_t k = 0; k < varied.size(); k += 7) varied[k] = 'Z';
  EXPECT_EQ(drawn(varied, 0, FrameWidth), drawn(varied.substr(0, 32), 0, FrameWidth));
}

// A missing or broken font is told once, reading it once; the game goes on without text.
TEST(Language, MissingOrBrokenFontShowsOneBoxAndDrawsNoText) {
  for (const char* file : {"/nonexistent/font.ttf", TAVI_SOURCE_DIR "/README.md"}) {
    test::FakePlatform platform;
    platform.fontFile = file;
    ErrorLog log(&platform, "");
    Display display(platform, log);
    const std::vector<Pixel> blank = display.BackBuffer().Pixels();
    for (const int y : {0, 20}) display.DrawGdiText("Tavi", 0, y);
    EXPECT_EQ(display.BackBuffer().Pixels(), blank) << file;
    EXPECT_TRUE(platform.messages.size() == 1 && platform.fontReads == 1) << file;
  }
}

TEST(Language, BrokenTranslatedPictureIsReportedAndTheGermanOneShown) {
  test::TempDir dir;
  test::FakePlatform platform;  // holds only the German picture
  const media::Picture& clear = media::ClearButton;
  platform.pictures[clear.file] = Image(clear.width, clear.height, 0x00ABCDEF);
  ErrorLog log(nullptr, "Error.txt");
  Display display(platform, log);
  ASSERT_TRUE(UseLanguage("en", {TAVI_LOCALE_DIR}));
  auto load = [&] {
    Surface surface;
    surface.Load(display, clear.file, clear.width, clear.height, clear.x, clear.y, clear.Keyed());
    return surface.image && surface.image->At(0, 0) == 0x00ABCDEF;
  };
  EXPECT_TRUE(load());  // no English variant: the German picture, without a word
  EXPECT_FALSE(std::filesystem::exists("Error.txt"));
  std::filesystem::create_directories("media/en");
  std::ofstream("media/en/l\xC3\xB6schen.bmp") << "kein Bild";
  EXPECT_TRUE(load());
  EXPECT_EQ(test::ReadLines("Error.txt"), std::vector<std::string>{"Error loading: media\\en\\l\xF6schen.bmp"});
  UseLanguage(German, {});
}

}  // namespace
}  // namespace tavi
