// The catalogue reader with any bytes: a refused catalogue names a reason and leaves the texts as
// they were; an accepted one holds no empty text and never more text than the input has bytes,
// whatever its entries claim.
#include <cstdint>
#include <string>

#include "base/catalogue.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  tavi::CatalogueTexts texts{{"vorher", "before"}};
  const char* reason = nullptr;
  if (!tavi::ParseCatalogue(bytes, texts, reason)) {
    TAVI_REQUIRE(reason != nullptr && texts.size() == 1 && texts.count("vorher") == 1);
    return 0;
  }
  std::size_t held = 0;
  for (const auto& [original, translation] : texts) {
    TAVI_REQUIRE(!original.empty() && !translation.empty());
    held += original.size() + translation.size();
  }
  TAVI_REQUIRE(held <= size);
  return 0;
}
