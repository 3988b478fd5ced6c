#include "base/catalogue.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "base/cp1252.h"
#include "base/file_read.h"
#include "base/translate.h"

namespace tavi {

namespace {

constexpr std::uint32_t Magic = 0x950412DEu;
constexpr std::uint32_t SwappedMagic = 0xDE120495u;
constexpr std::uint64_t HeaderBytes = 28;

class MoFile {
 public:
  explicit MoFile(const std::string& bytes) : bytes_(bytes) {}

  // The 32-bit word at `at`, which the caller has checked to lie inside the file.
  std::uint32_t Word(std::uint64_t at) const {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes_.data() + at, 4);
    return swapped_ ? __builtin_bswap32(value) : value;
  }
  void SetSwapped(bool swapped) { swapped_ = swapped; }
  std::uint64_t Size() const { return bytes_.size(); }

  // Text `k` of the table at `table`, counting its bytes and zero byte into `used`.
  bool Text(std::uint64_t table, std::uint64_t k, std::uint64_t& used, std::string& text,
            const char*& reason) const {
    const std::uint64_t length = Word(table + 8 * k);
    const std::uint64_t offset = Word(table + 8 * k + 4);
    if (offset + length >= Size()) {
      reason = ForCatalogue("%s: ein Text reicht \xFC" "ber das Dateiende");  // über
      return false;
    }
    if (bytes_[offset + length] != '\0') {
      reason = ForCatalogue("%s: einem Text fehlt das abschlie\xDF" "ende Nullbyte");  // abschließende
      return false;
    }
    used += length + 1;
    if (used > Size()) {
      reason = ForCatalogue("%s: Texte \xFC" "berlappen sich");  // überlappen
      return false;
    }
    text.assign(bytes_, offset, length);
    return true;
  }

 private:
  const std::string& bytes_;
  bool swapped_ = false;
};

}  // namespace

bool ParseCatalogue(const std::string& bytes, CatalogueTexts& texts, const char*& reason) {
  MoFile file(bytes);
  if (file.Size() < HeaderBytes || (file.Word(0) != Magic && file.Word(0) != SwappedMagic)) {
    reason = ForCatalogue("%s: kein Sprachkatalog");
    return false;
  }
  file.SetSwapped(file.Word(0) == SwappedMagic);
  if (file.Word(4) >> 16 > 1) {  // major revisions 0 and 1 share this layout
    reason = ForCatalogue("%s: unbekannte Katalogversion");
    return false;
  }
  const std::uint64_t count = file.Word(8);
  const std::uint64_t originals = file.Word(12);
  const std::uint64_t translations = file.Word(16);
  if (originals + 8 * count > file.Size() || translations + 8 * count > file.Size()) {
    reason = ForCatalogue("%s: eine Tabelle reicht \xFC" "ber das Dateiende");  // über
    return false;
  }
  CatalogueTexts read;
  read.reserve(count);  // the tables lie inside the file: at most a million entries
  std::uint64_t used = 0;
  for (std::uint64_t k = 0; k < count; ++k) {
    std::string original, translation;
    if (!file.Text(originals, k, used, original, reason) || !file.Text(translations, k, used, translation, reason)) {
      return false;
    }
    if (!original.empty() && !translation.empty()) read[std::move(original)] = std::move(translation);
  }
  texts = std::move(read);
  return true;
}

bool ReadCatalogue(const std::string& path, CatalogueTexts& texts, std::string& error) {
  std::string bytes;
  if (!ReadRegularFile(path, MaxCatalogueBytes, bytes, error)) return false;
  const char* reason = nullptr;
  if (ParseCatalogue(bytes, texts, reason)) return true;
  error = FillIn(Translate(reason), {FileNameText(path)});
  return false;
}

std::string CatalogueKey(const std::string& context, const std::string& original) {
  return context + '\x04' + original;
}

}  // namespace tavi
