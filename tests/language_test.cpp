// The language: who chooses it, the English catalogue, and German staying when it cannot be read.
#include <gtest/gtest.h>

#include "app/options.h"
#include "app/settings.h"
#include "base/media_manifest.h"
#include "base/translate.h"
#include "graphics/bitmap_font.h"

namespace tavi {
namespace {

TEST(Language, OptionThenSettingThenFirstSetLocaleVariable) {
  const std::vector<std::string> english{"", "en_GB.UTF-8", "de_DE.UTF-8", "C"};
  EXPECT_EQ(ChooseLanguage("de", "en", english), Language::German);
  EXPECT_EQ(ChooseLanguage("", "de", english), Language::German);
  EXPECT_EQ(ChooseLanguage("", "", english), Language::English);
  EXPECT_EQ(ChooseLanguage("", "", {"en:de", "C.UTF-8", "", ""}), Language::English);
  EXPECT_EQ(ChooseLanguage("", "", {"", "", "", "C.UTF-8"}), Language::German);
  EXPECT_EQ(ChooseLanguage("", "", {"", "", "", ""}), Language::German);

  Options options;
  std::string error;
  const char* lang[] = {"tavi", "--lang", "en"};
  EXPECT_TRUE(ParseOptions(3, lang, options, error) && options.language == "en");
  const char* french[] = {"tavi", "--lang", "fr"};
  EXPECT_FALSE(ParseOptions(3, french, options, error));
  SettingsFile file;
  ParseSettings("[language]\nlanguage = en\n", file);
  EXPECT_TRUE(file.values.language == "en" && file.problems.empty());
  ParseSettings("[language]\nlanguage = English\n", file);
  EXPECT_EQ(file.problems.size(), 1u);
}

TEST(Language, EnglishCatalogueAndPicturesGermanWithoutIt) {
  ASSERT_TRUE(UseLanguage(Language::English, {"/nonexistent", TAVI_LOCALE_DIR}));
  EXPECT_EQ(Translate("Punkte "), "Score  ");
  EXPECT_EQ(Translate("Highscore konnte nicht ge\xF6" "ffnet werden"), "The highscore list could not be opened");
  EXPECT_EQ(Translate("Unbekannt \xE4"), "Unbekannt \xE4");
  EXPECT_EQ(LocalisedMediaName(media::ClearButton.file), "media\\en\\l\xF6schen.bmp");
  EXPECT_EQ(LocalisedMediaName(media::Shark.file), media::Shark.file);
  // The bitmap font's English texts need no glyph the sheet lacks (a space draws the blank cell).
  for (const char* german : {"Punkte ", "Leben  ", "Super neue Highscore!", "Name: ", "Pause"}) {
    for (const char c : Translate(german)) {
      EXPECT_TRUE(c == ' ' || BitmapFont::CellFor(c).left != BitmapFont::CellFor(' ').left ||
                  BitmapFont::CellFor(c).top != BitmapFont::CellFor(' ').top) << german;
    }
  }

  EXPECT_FALSE(UseLanguage(Language::English, {"/nonexistent"}));
  EXPECT_EQ(ActiveLanguage(), Language::German);
  EXPECT_EQ(Translate("Punkte "), "Punkte ");
  EXPECT_EQ(LocalisedMediaName(media::ClearButton.file), media::ClearButton.file);
}

}  // namespace
}  // namespace tavi
