#pragma once

#include <string>
#include <vector>

#include "base/catalogue.h"
#include "picture_table.h"
#include "raster_image.h"

namespace mediagen {

// The context of the words on pictures in the catalogues (msgctxt), apart from the game's texts.
inline constexpr const char* PictureContext = "picture";

// A language's catalogue, read from a locale folder (LANGUAGE/LC_MESSAGES/tavi.mo).
struct LanguageTexts {
  std::string language;
  tavi::CatalogueTexts texts;
};

// Every language of `localeDir` but German, whose texts are the drawings' own. False, with a
// message, when a catalogue there cannot be read.
bool ReadLanguages(const std::string& localeDir, std::vector<LanguageTexts>& languages, std::string& error);

// The words of a drawing: the text of each <text> element, decoded to UTF-8, each once.
std::vector<std::string> DrawingWords(const std::string& svg);

// The drawing with each text element that reads a German text of `translation` (German, UTF-8 ->
// the words in its place) reading those words instead, drawn at font size `size`, or at the
// drawing's own size when `size` is 0.
std::string WithWords(const std::string& svg, const std::vector<std::pair<std::string, std::string>>& translation,
                      int size);

// Draws a picture with words in a language: each of its words as the catalogue translates them,
// at the largest font size, from the drawing's own down to three quarters of it, at which they
// stay within the picture's span for words. `translated` is false when the catalogue has none of
// them (no variant is made). False, with a message, when the drawing cannot be drawn or the words
// fit at no size.
bool BuildTranslatedPicture(const std::string& artDir, const PictureSpec& entry, const LanguageTexts& language,
                            RasterImage& picture, bool& translated, std::string& error);

}  // namespace mediagen
