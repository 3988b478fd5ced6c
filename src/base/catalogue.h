#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

namespace tavi {

// The pairs of a compiled gettext catalogue (msgfmt's .mo): UTF-8 original -> UTF-8 translation.
using CatalogueTexts = std::unordered_map<std::string, std::string>;

// The largest catalogue read; the game's own are a few KiB.
constexpr std::size_t MaxCatalogueBytes = std::size_t{16} << 20;

// Reads the .mo in `bytes` into `texts`, leaving out pairs with an empty original or translation.
// Every table and text must lie inside the file and each text end in its zero byte, and the texts
// together may not be longer than the file (only texts that share bytes can be), so what is built
// never outgrows the file whatever its entries claim. False for anything else, `texts` then
// untouched and `reason` a German text for Translate.
bool ParseCatalogue(const std::string& bytes, CatalogueTexts& texts, const char*& reason);

}  // namespace tavi
