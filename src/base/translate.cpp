#include "base/translate.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <unordered_map>
#include <utility>

#include "base/catalogue.h"
#include "base/cp1252.h"
#include "base/media_manifest.h"

namespace tavi {

namespace {

struct Active {
  std::string language = German;
  // UTF-8 German -> the Windows-1252 text shown: the catalogue's translations, and each German text
  // asked for that has none (kept, so that Translate can hand out a reference; all are literals).
  std::unordered_map<std::string, std::string> texts;
};

Active& State() {
  static Active active;
  return active;
}

bool AllIn(const std::string& text, std::size_t from, std::size_t to, char low, char high) {
  for (std::size_t k = from; k < to; ++k) {
    if (text[k] < low || text[k] > high) return false;
  }
  return true;
}

}  // namespace

bool IsLanguageCode(const std::string& text) {
  const std::size_t underscore = std::min(text.find('_'), text.size());
  const bool country = underscore == text.size() ||
                       (text.size() == underscore + 3 && AllIn(text, underscore + 1, text.size(), 'A', 'Z'));
  return (underscore == 2 || underscore == 3) && AllIn(text, 0, underscore, 'a', 'z') && country;
}

std::string OfferedLanguage(const std::string& name, const std::function<bool(const std::string&)>& onOffer) {
  const std::string full = name.substr(0, name.find_first_of(".@"));  // no encoding, no modifier
  const std::string language = full.substr(0, full.find('_'));
  for (const std::string& code : {full, language}) {
    if (IsLanguageCode(code) && (code == German || onOffer(code))) return code;
  }
  return "";
}

std::string ChooseLanguage(const std::string& option, const std::string& setting,
                           const std::vector<std::string>& localeVariables,
                           const std::function<bool(const std::string&)>& onOffer) {
  for (const std::string* chosen : {&option, &setting}) {
    if (chosen->empty()) continue;
    const std::string offered = OfferedLanguage(*chosen, onOffer);
    return offered.empty() ? *chosen : offered;
  }
  for (const std::string& variable : localeVariables) {
    // Only LANGUAGE is a list, and no locale name holds a colon.
    for (std::size_t start = 0; start <= variable.size();) {
      const std::size_t end = std::min(variable.find(':', start), variable.size());
      const std::string offered = OfferedLanguage(variable.substr(start, end - start), onOffer);
      if (!offered.empty()) return offered;
      start = end + 1;
    }
  }
  return German;
}

std::string CataloguePath(const std::string& localeDir, const std::string& language) {
  return localeDir + "/" + language + "/LC_MESSAGES/tavi.mo";
}

std::vector<std::string> LanguagesOnOffer(const std::vector<std::string>& localeDirs) {
  std::vector<std::string> languages{German};
  for (const std::string& dir : localeDirs) {
    std::error_code error;  // a folder that cannot be read offers nothing, and never throws
    for (std::filesystem::directory_iterator entry(dir, error), end; !error && entry != end; entry.increment(error)) {
      const std::string name = entry->path().filename().string();
      if (IsLanguageCode(name) && ::access(CataloguePath(dir, name).c_str(), F_OK) == 0) languages.push_back(name);
    }
  }
  std::sort(languages.begin(), languages.end());
  languages.erase(std::unique(languages.begin(), languages.end()), languages.end());
  return languages;
}

bool UseLanguage(const std::string& language, const std::vector<std::string>& localeDirs,
                 std::vector<std::string>* refused) {
  Active& active = State();
  active = Active{};
  if (language == German) return true;
  for (const std::string& dir : localeDirs) {
    const std::string path = CataloguePath(dir, language);
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

const std::string& ActiveLanguage() { return State().language; }

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
  if (ActiveLanguage() == German) return mediaName;
  for (const media::Picture* picture : media::Pictures) {
    if (!picture->words || mediaName != picture->file) continue;
    const auto slash = mediaName.rfind('\\');
    const std::string folder = mediaName.substr(0, slash + 1) + ActiveLanguage() + "\\";
    return folder + mediaName.substr(slash + 1);
  }
  return mediaName;
}

}  // namespace tavi
