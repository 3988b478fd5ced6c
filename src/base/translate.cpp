#include "base/translate.h"

#include <unistd.h>

#include <unordered_map>
#include <utility>

#include "base/catalogue.h"
#include "base/cp1252.h"
#include "base/file_read.h"
#include "base/media_manifest.h"

namespace tavi {

namespace {

struct Active {
  Language language = Language::German;
  // UTF-8 German -> the Windows-1252 text shown: the catalogue's translations, and each German text
  // asked for that has none (kept, so that Translate can hand out a reference; all are literals).
  std::unordered_map<std::string, std::string> texts;
};

Active& State() {
  static Active active;
  return active;
}

// Reads the catalogue at `path` into `texts`, through the bounded reader: a FIFO or a device never
// holds the start. False, with "PATH: what is wrong" in `error`, when it cannot be used.
bool ReadCatalogue(const std::string& path, CatalogueTexts& texts, std::string& error) {
  std::string bytes;
  if (!ReadRegularFile(path, MaxCatalogueBytes, bytes, error)) return false;
  const char* reason = nullptr;
  if (ParseCatalogue(bytes, texts, reason)) return true;
  error = FileNameText(path) + ": " + Translate(reason);
  return false;
}

bool StartsWithEn(const std::string& value) { return value.compare(0, 2, "en") == 0; }

}  // namespace

bool LanguageFromCode(const std::string& code, Language& language) {
  if (code != "de" && code != "en") return false;
  language = code == "en" ? Language::English : Language::German;
  return true;
}

const char* LanguageCode(Language language) { return language == Language::English ? "en" : "de"; }

Language ChooseLanguage(const std::string& option, const std::string& setting,
                        const std::vector<std::string>& localeVariables) {
  Language language = Language::German;
  if (LanguageFromCode(option, language) || LanguageFromCode(setting, language)) return language;
  for (const std::string& value : localeVariables) {
    if (!value.empty()) return StartsWithEn(value) ? Language::English : Language::German;
  }
  return Language::German;
}

bool UseLanguage(Language language, const std::vector<std::string>& localeDirs,
                 std::vector<std::string>* refused) {
  Active& active = State();
  active = Active{};
  if (language == Language::German) return true;
  for (const std::string& dir : localeDirs) {
    const std::string path = dir + "/" + LanguageCode(language) + "/LC_MESSAGES/tavi.mo";
    if (::access(path.c_str(), F_OK) != 0) continue;  // not there: the next folder may have one
    CatalogueTexts texts;
    std::string error;
    if (!ReadCatalogue(path, texts, error)) {
      if (refused) refused->push_back(FillIn(Translate("Der Sprachkatalog wird nicht verwendet: %s"), {error}));
      continue;
    }
    for (auto& pair : texts) pair.second = Utf8ToCp1252(pair.second);
    active.language = language;
    active.texts = std::move(texts);  // also forgets the German texts a refusal above asked for
    return true;
  }
  return false;
}

Language ActiveLanguage() { return State().language; }

const std::string& Translate(const char* german) {
  auto& texts = State().texts;
  const std::string key = Cp1252ToUtf8(german);
  auto found = texts.find(key);
  if (found == texts.end()) found = texts.emplace(key, german).first;
  return found->second;
}

std::string FillIn(const std::string& text, std::initializer_list<std::string> values) {
  std::string out;
  auto value = values.begin();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "%s") == 0 && value != values.end()) {
      out += *value++;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string LocalisedMediaName(const std::string& mediaName) {
  if (ActiveLanguage() == Language::German) return mediaName;
  for (const media::Picture* picture : media::Pictures) {
    if (!picture->words || mediaName != picture->file) continue;
    const auto slash = mediaName.rfind('\\');
    const std::string folder = mediaName.substr(0, slash + 1) + LanguageCode(ActiveLanguage()) + "\\";
    return folder + mediaName.substr(slash + 1);
  }
  return mediaName;
}

}  // namespace tavi
