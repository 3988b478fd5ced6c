
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "base/cp1252.h"
#include "base/media_manifest.h"
#include "base/translate.h"

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

std::string ReadWhole(const std::string& path) {
  std::string bytes;
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return bytes;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0 && bytes.size() < (1u << 24);) {
    bytes.append(buffer, n);
  }
  std::fclose(in);
  return bytes;
}

// A compiled gettext catalogue (msgfmt's .mo): its pairs, or false when it is not one. Read here
// rather than through the C library, which translates only for locales installed on the machine.
bool ParseCatalogue(const std::string& bytes, std::unordered_map<std::string, std::string>& texts) {
  auto word = [&](std::size_t at, bool swap, std::uint32_t& value) {
    if (at + 4 > bytes.size()) return false;
    std::memcpy(&value, bytes.data() + at, 4);
    if (swap) value = __builtin_bswap32(value);
    return true;
  };
  std::uint32_t magic = 0, count = 0, originals = 0, translations = 0;
  if (!word(0, false, magic) || (magic != 0x950412DEu && magic != 0xDE120495u)) return false;
  const bool swap = magic == 0xDE120495u;
  if (!word(8, swap, count) || !word(12, swap, originals) || !word(16, swap, translations)) return false;
  auto text = [&](std::uint32_t table, std::uint32_t k, std::string& out) {
    std::uint32_t length = 0, offset = 0;
    if (!word(table + 8ull * k, swap, length) || !word(table + 8ull * k + 4, swap, offset)) return false;
    if (std::uint64_t{offset} + length > bytes.size()) return false;
    out.assign(bytes, offset, length);
    return true;
  };
  for (std::uint32_t k = 0; k < count; ++k) {
    std::string german, translated;
    if (!text(originals, k, german) || !text(translations, k, translated)) return false;
    if (!german.empty() && !translated.empty()) texts[german] = Utf8ToCp1252(translated);
  }
  return true;
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

bool UseLanguage(Language language, const std::vector<std::string>& localeDirs) {
  Active& active = State();
  active = Active{};
  if (language == Language::German) return true;
  for (const std::string& dir : localeDirs) {
    const std::string path = dir + "/" + LanguageCode(language) + "/LC_MESSAGES/tavi.mo";
    std::unordered_map<std::string, std::string> texts;
    if (ParseCatalogue(ReadWhole(path), texts)) {
      active.language = language;
      active.texts = std::move(texts);
      return true;
    }
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
