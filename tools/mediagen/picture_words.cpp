#include "picture_words.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "base/file_read.h"
#include "base/translate.h"
#include "flatten.h"
#include "svg_raster.h"

namespace mediagen {

namespace {

constexpr std::size_t MaxDrawingBytes = std::size_t{16} << 20;

struct Span {
  std::size_t begin;
  std::size_t end;
};

// Where the contents of the drawing's text elements lie; elements that hold other elements are
// left out (their words are no single text).
std::vector<Span> TextContents(const std::string& svg) {
  std::vector<Span> spans;
  for (std::size_t at = svg.find("<text"); at != std::string::npos; at = svg.find("<text", at + 1)) {
    const std::size_t open = svg.find('>', at);
    if (open == std::string::npos) break;
    const char next = svg[at + 5];
    if ((next != '>' && next != ' ' && next != '\n' && next != '\t' && next != '\r') || svg[open - 1] == '/') continue;
    const std::size_t close = svg.find("</text>", open);
    if (close == std::string::npos) break;
    if (svg.find('<', open + 1) == close) spans.push_back({open + 1, close});
    at = close;
  }
  return spans;
}

void AppendUtf8(std::string& out, unsigned long code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// XML text with its character references and the five named entities resolved.
std::string Decoded(const std::string& text) {
  static const std::pair<const char*, char> named[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  std::string out;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const std::size_t semicolon = text[k] == '&' ? text.find(';', k) : std::string::npos;
    if (semicolon == std::string::npos) {
      out += text[k];
      continue;
    }
    const std::string entity = text.substr(k + 1, semicolon - k - 1);
    k = semicolon;
    if (entity.size() > 1 && entity[0] == '#') {
      const bool hex = entity[1] == 'x';
      AppendUtf8(out, std::strtoul(entity.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10));
      continue;
    }
    for (const auto& [name, character] : named) {
      if (entity == name) out += character;
    }
  }
  return out;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
  }
  return out;
}

// The font size the drawing gives its words: the last one set before its first text; 0 for none.
int WordsSize(const std::string& svg) {
  const std::vector<Span> spans = TextContents(svg);
  if (spans.empty()) return 0;
  const std::size_t at = svg.rfind("font-size=\"", spans.front().begin);
  return at == std::string::npos ? 0 : std::atoi(svg.c_str() + at + 11);
}

// Whether every pixel the words change lies between columns `left` and `right`.
bool WithinSpan(const RasterImage& bare, const RasterImage& drawn, int left, int right) {
  for (int y = 0; y < drawn.height; ++y) {
    for (int x = 0; x < drawn.width; ++x) {
      if ((x < left || x > right) && drawn.At(x, y) != bare.At(x, y)) return false;
    }
  }
  return true;
}

}  // namespace

bool ReadLanguages(const std::string& localeDir, std::vector<LanguageTexts>& languages, std::string& error) {
  for (const std::string& language : tavi::LanguagesOnOffer({localeDir})) {
    if (language == tavi::German) continue;
    LanguageTexts read{language, {}};
    if (!tavi::ReadCatalogue(tavi::CataloguePath(localeDir, language), read.texts, error)) return false;
    languages.push_back(std::move(read));
  }
  return true;
}

std::vector<std::string> DrawingWords(const std::string& svg) {
  std::vector<std::string> words;
  for (const Span& span : TextContents(svg)) {
    const std::string text = Decoded(svg.substr(span.begin, span.end - span.begin));
    if (!text.empty() && std::find(words.begin(), words.end(), text) == words.end()) words.push_back(text);
  }
  return words;
}

std::string WithWords(const std::string& svg, const std::vector<std::pair<std::string, std::string>>& translation,
                      int size) {
  std::string out;
  std::size_t copied = 0;
  for (const Span& span : TextContents(svg)) {
    const std::string text = Decoded(svg.substr(span.begin, span.end - span.begin));
    const auto found = std::find_if(translation.begin(), translation.end(), [&](const auto& t) { return t.first == text; });
    if (found == translation.end()) continue;
    out.append(svg, copied, span.begin - copied);
    const std::string words = Escaped(found->second);
    out += size == 0 ? words : "<tspan font-size=\"" + std::to_string(size) + "\">" + words + "</tspan>";
    copied = span.end;
  }
  return out.append(svg, copied, std::string::npos);
}

bool BuildTranslatedPicture(const std::string& artDir, const PictureSpec& entry, const LanguageTexts& language,
                            RasterImage& picture, bool& translated, std::string& error) {
  const std::string path = SourcePath(artDir, entry);
  std::string svg;
  if (!tavi::ReadRegularFile(path, MaxDrawingBytes, svg, error)) return false;
  std::vector<std::pair<std::string, std::string>> translation, blank;
  std::string shown;
  for (const std::string& german : DrawingWords(svg)) {
    const auto found = language.texts.find(tavi::CatalogueKey(PictureContext, german));
    if (found == language.texts.end()) continue;
    translation.push_back({german, found->second});
    blank.push_back({german, ""});
    shown += (shown.empty() ? "\"" : ", \"") + found->second + "\"";
  }
  translated = !translation.empty();
  if (!translated) return true;
  const tavi::media::Picture& p = *entry.picture;
  const std::string name = path + " (" + language.language + ")";
  RasterImage bare, drawn;
  if (!RasteriseSvgText(name, WithWords(svg, blank, 0), p.width, p.height, bare, error)) return false;
  const int own = WordsSize(svg);
  // The drawing's own size first, without a size of its own, so that words that fit are drawn as the German ones.
  for (int size = own; size == own || size * 4 >= own * 3; --size) {
    if (!RasteriseSvgText(name, WithWords(svg, translation, size == own ? 0 : size), p.width, p.height, drawn, error)) {
      return false;
    }
    if (WithinSpan(bare, drawn, entry.wordsLeft, entry.wordsRight)) {
      picture = Flatten(drawn, p.key);
      return true;
    }
  }
  error = name + ": the words " + shown + " do not fit between x = " + std::to_string(entry.wordsLeft) + " and " +
          std::to_string(entry.wordsRight) + " even at font size " + std::to_string((own * 3 + 3) / 4) +
          "; shorter words are needed";
  return false;
}

}  // namespace mediagen
