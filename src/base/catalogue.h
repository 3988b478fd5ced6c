#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

namespace tavi {

// The pairs of a compiled gettext catalogue (msgfmt's .mo): UTF-8 original -> UTF-8 translation.
// An original with a context (msgctxt) is keyed by CatalogueKey.
using CatalogueTexts = std::unordered_map<std::string, std::string>;

// The largest catalogue read; the game's own are a few KiB.
constexpr std::size_t MaxCatalogueBytes = std::size_t{16} << 20;

// Reads the .mo in `bytes` into `texts`, leaving out pairs with an empty original or translation.
// Every table and text must lie inside the file and each text end in its zero byte, and the texts
// together may not be longer than the file (only texts that share bytes can be), so what is built
// never outgrows the file whatever its entries claim. False for anything else, `texts` then
// untouched and `reason` a German text for Translate, "%s" standing for the file.
bool ParseCatalogue(const std::string& bytes, CatalogueTexts& texts, const char*& reason);

// Reads the catalogue at `path` through the bounded reader: a FIFO or a device never holds the
// start. False, with "PATH: what is wrong" in `error`, when it cannot be used.
bool ReadCatalogue(const std::string& path, CatalogueTexts& texts, std::string& error);

// The key of an original within a context, as msgfmt stores it: the context, an EOT byte, the text.
std::string CatalogueKey(const std::string& context, const std::string& original);

}  // namespace tavi
