// The catalogue reader: what it refuses and why, without building more than the file holds, and
// the language staying German (or taking the next folder's catalogue) when one is refused.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "base/catalogue.h"
#include "base/translate.h"
#include "fake_platform.h"

namespace tavi {
namespace {

const std::string English = test::ReadFile(TAVI_LOCALE_DIR "/en/LC_MESSAGES/tavi.mo");
// Two entries whose four texts are all the same 1000 bytes: 4,004 bytes of text in 1,067.
const std::string Overlapping = test::ReadFile(TAVI_SOURCE_DIR "/fuzz/regressions/catalogue/overlapping-texts.mo");

TEST(Catalogue, ReadsPairsAndRefusesWhatLiesOutsideTheFileOrOverlaps) {
  CatalogueTexts texts;
  const char* reason = nullptr;
  ASSERT_TRUE(ParseCatalogue(English, texts, reason));
  EXPECT_EQ(texts.at("Punkte "), "Score  ");
  EXPECT_EQ(texts.count(""), 0u) << "the header entry is no text";
  EXPECT_EQ(texts.at(CatalogueKey("picture", "Anleitung")), "Instructions");  // the words on a picture
  EXPECT_EQ(texts.count("Anleitung"), 0u);

  std::string unterminated = English, newer = English;
  unterminated.back() = '!';
  newer[6] = 2;  // major revision 2
  const std::pair<std::string, std::string> broken[] = {
      {"Kein Katalog, nur Text, wenn auch lang genug", "%s: kein Sprachkatalog"},
      {newer, "%s: unbekannte Katalogversion"},
      {English.substr(0, 40), "%s: eine Tabelle reicht \xFC" "ber das Dateiende"},
      {English.substr(0, English.size() - 10), "%s: ein Text reicht \xFC" "ber das Dateiende"},
      {unterminated, "%s: einem Text fehlt das abschlie\xDF" "ende Nullbyte"},
      {Overlapping, "%s: Texte \xFC" "berlappen sich"},
  };
  const CatalogueTexts before = texts;
  for (const auto& [bytes, expected] : broken) {
    EXPECT_FALSE(ParseCatalogue(bytes, texts, reason)) << expected;
    EXPECT_STREQ(reason, expected.c_str());
    EXPECT_EQ(texts, before) << "the texts read before were changed";
  }
}

TEST(Catalogue, RefusedOnesAreNamedWithTheirReasonAndTheNextFolderOrGermanIsUsed) {
  test::TempDir dir;
  const std::vector<std::string> folders{dir.File("overlapping"), dir.File("fifo"), dir.File("huge")};
  auto catalogue = [&](int k) { return folders[k] + "/en/LC_MESSAGES/tavi.mo"; };
  for (int k = 0; k < 3; ++k) std::filesystem::create_directories(folders[k] + "/en/LC_MESSAGES");
  std::ofstream(catalogue(0), std::ios::binary) << Overlapping;
  ASSERT_EQ(::mkfifo(catalogue(1).c_str(), 0644), 0);
  std::ofstream{catalogue(2)}.close();
  std::filesystem::resize_file(catalogue(2), MaxCatalogueBytes + 1);

  std::vector<std::string> refused;
  EXPECT_FALSE(UseLanguage("en", folders, &refused));
  EXPECT_EQ(ActiveLanguage(), German);
  EXPECT_EQ(Translate("Punkte "), "Punkte ");
  const std::string prefix = "Der Sprachkatalog wird nicht verwendet: ";
  EXPECT_EQ(refused, (std::vector<std::string>{prefix + catalogue(0) + ": Texte \xFC" "berlappen sich",
                                               prefix + catalogue(1) + ": keine gew\xF6hnliche Datei",
                                               prefix + catalogue(2) + ": gr\xF6\xDF" "er als 16 MiB"}));

  refused.clear();
  std::vector<std::string> withGood = folders;
  withGood.push_back(TAVI_LOCALE_DIR);
  EXPECT_TRUE(UseLanguage("en", withGood, &refused));
  EXPECT_EQ(refused.size(), 3u);
  EXPECT_EQ(Translate("Punkte "), "Score  ");
  UseLanguage(German, {});
}

}  // namespace
}  // namespace tavi
