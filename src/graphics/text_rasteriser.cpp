#include "graphics/text_rasteriser.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/cp1252.h"
#include "graphics/truetype.h"

namespace tavi {

namespace {

// Enough for every text of the game many times over; a full cache is simply emptied.
constexpr std::size_t MaxCachedTexts = 256;

std::uint32_t Blend(std::uint32_t source, std::uint32_t target, std::uint32_t alpha) {
  return (source * alpha + target * (255 - alpha) + 127) / 255;
}

// The characters of Windows-1252 text as Unicode code points.
std::vector<int> CodePoints(const std::string& text) {
  const std::string utf8 = Cp1252ToUtf8(text);
  std::vector<int> points;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    int point = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < utf8.size(); ++k) point = (point << 6) | (utf8[i + k] & 0x3F);
    points.push_back(point);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return points;
}

}  // namespace

struct TextRasteriser::Font {
  stbtt_fontinfo info{};
  float scale = 0;
  int ascent = 0;  // pixels from the top of a line to its baseline
  int height = 0;  // of a line, in pixels
  // Heights in font units (rising) and the whole pixels above the baseline they are drawn at.
  std::vector<std::pair<float, float>> zones;

  // The height in pixels above the baseline of a point `units` above it in the font.
  float PixelsAbove(float units) const {
    if (zones.empty() || units <= zones.front().first) {
      return zones.empty() ? units * scale : zones.front().second + (units - zones.front().first) * scale;
    }
    for (std::size_t i = 1; i < zones.size(); ++i) {
      const auto& [u0, p0] = zones[i - 1];
      const auto& [u1, p1] = zones[i];
      if (units <= u1) return p0 + (units - u0) * (p1 - p0) / (u1 - u0);
    }
    return zones.back().second + (units - zones.back().first) * scale;
  }

  // Where the letters' horizontal edges lie (baseline, x-height, capitals, ascenders, descenders,
  // and the round letters' overshoots beyond them), each moved to a whole pixel, as a hinted font
  // does: the edges are then sharp instead of spread over two rows. Left empty for a font that
  // lacks one of the letters measured.
  void FindZones() {
    const auto edge = [&](char letter, bool top, float& units) {
      int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
      if (stbtt_GetCodepointBox(&info, letter, &x0, &y0, &x1, &y1) == 0) return false;
      units = static_cast<float>(top ? y1 : y0);
      return true;
    };
    float descender = 0, roundBottom = 0, xHeight = 0, roundTop = 0, capitals = 0, ascender = 0;
    if (!edge('p', false, descender) || !edge('o', false, roundBottom) || !edge('x', true, xHeight) ||
        !edge('o', true, roundTop) || !edge('H', true, capitals) || !edge('d', true, ascender)) {
      return;
    }
    const auto snapped = [&](float units) { return std::round(units * scale); };
    const std::vector<std::pair<float, float>> wanted = {
        {descender, snapped(descender)}, {roundBottom, 0}, {0, 0}, {xHeight, snapped(xHeight)},
        {roundTop, snapped(xHeight)}, {capitals, snapped(capitals)}, {ascender, snapped(ascender)}};
    for (std::size_t i = 1; i < wanted.size(); ++i) {
      if (wanted[i].first <= wanted[i - 1].first || wanted[i].second < wanted[i - 1].second) return;
    }
    zones = wanted;
  }
};

namespace {

// A glyph's coverage and where its top-left pixel lies from the pen on the baseline.
struct GlyphCoverage {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<unsigned char> alpha;
};

GlyphCoverage RenderGlyph(const TextRasteriser::Font& font, int glyph) {
  GlyphCoverage out;
  stbtt_vertex* vertices = nullptr;
  const int count = stbtt_GetGlyphShape(&font.info, glyph, &vertices);
  if (count <= 0) return out;
  // The outline with its heights moved by the zones, still in font units.
  int lowest = 0;
  int highest = 0;
  for (int i = 0; i < count; ++i) {
    stbtt_vertex& v = vertices[i];
    const auto move = [&](stbtt_vertex_type& y) {
      y = static_cast<stbtt_vertex_type>(std::lround(font.PixelsAbove(y) / font.scale));
    };
    move(v.y);
    move(v.cy);
    move(v.cy1);
    // A curve keeps within its points, the control points among them.
    const int last = v.type == STBTT_vcubic ? 3 : v.type == STBTT_vcurve ? 2 : 1;
    const int heights[3] = {v.y, v.cy, v.cy1};
    for (int k = 0; k < last; ++k) {
      lowest = i == 0 && k == 0 ? heights[k] : std::min(lowest, heights[k]);
      highest = i == 0 && k == 0 ? heights[k] : std::max(highest, heights[k]);
    }
  }
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  stbtt_GetGlyphBox(&font.info, glyph, &x0, &y0, &x1, &y1);
  // The glyph's left edge, most often the side of a stem, moves to the nearest pixel's edge: the
  // stem then fills a column instead of two half ones.
  const float shift = std::round(x0 * font.scale) - x0 * font.scale;
  out.left = static_cast<int>(std::floor(x0 * font.scale + shift));
  out.top = static_cast<int>(std::floor(-highest * font.scale));
  out.width = static_cast<int>(std::ceil(x1 * font.scale + shift)) - out.left;
  out.height = static_cast<int>(std::ceil(-lowest * font.scale)) - out.top;
  if (out.width > 0 && out.height > 0 && out.width <= 8 * TextRasteriser::PointSize &&
      out.height <= 8 * TextRasteriser::PointSize) {
    out.alpha.assign(static_cast<std::size_t>(out.width) * out.height, 0);
    stbtt__bitmap bitmap{out.width, out.height, out.width, out.alpha.data()};
    stbtt_Rasterize(&bitmap, 0.35f, vertices, count, font.scale, font.scale, shift, 0, out.left, out.top, 1, nullptr);
  } else {
    out.width = out.height = 0;
  }
  stbtt_FreeShape(&font.info, vertices);
  return out;
}

}  // namespace

TextRasteriser::TextRasteriser() = default;
TextRasteriser::~TextRasteriser() = default;

bool TextRasteriser::UseFont(std::string fontBytes) {
  font_.reset();
  cache_.clear();
  fontBytes_ = std::move(fontBytes);
  const auto* data = reinterpret_cast<const unsigned char*>(fontBytes_.data());
  auto font = std::make_unique<Font>();
  if (fontBytes_.size() < 12 || stbtt_GetFontOffsetForIndex(data, 0) != 0 ||
      stbtt_InitFont(&font->info, data, 0) == 0) {
    return false;
  }
  font->scale = stbtt_ScaleForMappingEmToPixels(&font->info, PointSize);
  int ascent = 0;
  int descent = 0;
  int lineGap = 0;
  stbtt_GetFontVMetrics(&font->info, &ascent, &descent, &lineGap);
  font->ascent = static_cast<int>(std::ceil(ascent * font->scale));
  font->height = static_cast<int>(std::ceil((ascent - descent) * font->scale));
  if (font->height <= 0 || font->height > 4 * PointSize) return false;
  font->FindZones();
  font_ = std::move(font);
  return true;
}

const TextRasteriser::Rendered& TextRasteriser::Render(const std::string& text) {
  auto found = cache_.find(text);
  if (found != cache_.end()) return found->second;
  if (cache_.size() >= MaxCachedTexts) cache_.clear();

  // Glyphs stand on whole pixels and advance by whole pixels, as hinted text does: each stem then
  // falls the same way in every glyph, which keeps small text sharp.
  struct Placed {
    int glyph;
    int x;
  };
  std::vector<Placed> placed;
  const stbtt_fontinfo& info = font_->info;
  int pen = 0;
  int previous = 0;
  int right = 0;
  for (const int point : CodePoints(text)) {
    const int glyph = stbtt_FindGlyphIndex(&info, point);
    if (previous != 0) pen += static_cast<int>(std::lround(stbtt_GetGlyphKernAdvance(&info, previous, glyph) * font_->scale));
    int advance = 0;
    int bearing = 0;
    stbtt_GetGlyphHMetrics(&info, glyph, &advance, &bearing);
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetGlyphBox(&info, glyph, &x0, &y0, &x1, &y1);
    placed.push_back({glyph, pen});
    right = std::max(right, pen + static_cast<int>(std::ceil(x1 * font_->scale)));
    pen += static_cast<int>(std::lround(advance * font_->scale));
    right = std::max(right, pen);
    previous = glyph;
  }

  Rendered rendered;
  rendered.width = std::max(0, right);
  rendered.height = rendered.width > 0 ? font_->height : 0;
  rendered.alpha.assign(static_cast<std::size_t>(rendered.width) * rendered.height, 0);
  for (const Placed& p : placed) {
    const GlyphCoverage glyph = RenderGlyph(*font_, p.glyph);
    // Where glyphs overlap, the more covered wins.
    for (int row = 0; row < glyph.height; ++row) {
      const int y = font_->ascent + glyph.top + row;
      if (y < 0 || y >= rendered.height) continue;
      for (int column = 0; column < glyph.width; ++column) {
        const int x = p.x + glyph.left + column;
        if (x < 0 || x >= rendered.width) continue;
        std::uint8_t& out = rendered.alpha[static_cast<std::size_t>(y) * rendered.width + x];
        out = std::max(out, glyph.alpha[static_cast<std::size_t>(row) * glyph.width + column]);
      }
    }
  }
  return cache_.emplace(text, std::move(rendered)).first->second;
}

void TextRasteriser::Draw(Image& target, const std::string& text, int x, int y, Pixel colour) {
  if (!font_) return;
  const Rendered& rendered = Render(text);
  const int left = std::max(0, -x);
  const int top = std::max(0, -y);
  const int right = std::min(rendered.width, target.Width() - x);
  const int bottom = std::min(rendered.height, target.Height() - y);
  const std::uint32_t red = (colour >> 16) & 0xFF;
  const std::uint32_t green = (colour >> 8) & 0xFF;
  const std::uint32_t blue = colour & 0xFF;
  for (int row = top; row < bottom; ++row) {
    const std::uint8_t* coverage = rendered.alpha.data() + static_cast<std::size_t>(row) * rendered.width;
    Pixel* out = target.Row(y + row);
    for (int column = left; column < right; ++column) {
      const std::uint32_t alpha = coverage[column];
      if (alpha == 0) continue;
      const Pixel old = out[x + column];
      out[x + column] = (Blend(red, (old >> 16) & 0xFF, alpha) << 16) |
                        (Blend(green, (old >> 8) & 0xFF, alpha) << 8) | Blend(blue, old & 0xFF, alpha);
    }
  }
}

}  // namespace tavi
