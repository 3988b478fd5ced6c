#include "base/cp1252.h"
#include "platform/text_renderer.h"

#include <SDL_ttf.h>

#include <algorithm>

#include "base/error_log.h"
#include "base/translate.h"
#include "platform/platform.h"

#ifndef TAVI_FONT_FILE
#define TAVI_FONT_FILE "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
#endif

namespace tavi {

namespace {

// Enough for every text of the game many times over; a full cache is simply emptied.
constexpr std::size_t MaxCachedTexts = 256;

std::uint32_t Blend(std::uint32_t source, std::uint32_t target, std::uint32_t alpha) {
  return (source * alpha + target * (255 - alpha) + 127) / 255;
}

}  // namespace

TextRenderer::~TextRenderer() {
  if (font_ != nullptr) {
    TTF_CloseFont(font_);
  }
  if (ttfStarted_) {
    TTF_Quit();
  }
}

bool TextRenderer::OpenFont() {
  if (font_ != nullptr) {
    return true;
  }
  if (fontFailed_) {
    return false;
  }
  if (!ttfStarted_) {
    ttfStarted_ = TTF_Init() == 0;
  }
  if (ttfStarted_) {
    font_ = TTF_OpenFont(TAVI_FONT_FILE, PointSize);
  }
  if (font_ == nullptr) {
    fontFailed_ = true;
    WriteToStandardError(Translate("Schriftart ") + FileNameText(TAVI_FONT_FILE) +
                         Translate(" kann nicht geladen werden: ") + FileNameText(TTF_GetError()));
    return false;
  }
  return true;
}

const TextRenderer::Rendered& TextRenderer::Render(const std::string& text) {
  auto found = cache_.find(text);
  if (found != cache_.end()) {
    return found->second;
  }
  if (cache_.size() >= MaxCachedTexts) {
    cache_.clear();
  }
  Rendered rendered;
  const std::string utf8 = Cp1252ToUtf8(text);
  // An empty text, or one the font cannot shape, renders as nothing.
  SDL_Surface* surface =
      utf8.empty() ? nullptr : TTF_RenderUTF8_Blended(font_, utf8.c_str(), SDL_Color{255, 255, 255, 255});
  if (surface != nullptr) {
    if (surface->format->format == SDL_PIXELFORMAT_ARGB8888 && SDL_LockSurface(surface) == 0) {
      rendered.width = surface->w;
      rendered.height = surface->h;
      rendered.alpha.resize(static_cast<std::size_t>(surface->w) * surface->h);
      const auto* base = static_cast<const unsigned char*>(surface->pixels);
      for (int y = 0; y < surface->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(base + y * surface->pitch);
        for (int x = 0; x < surface->w; ++x) {
          rendered.alpha[static_cast<std::size_t>(y) * surface->w + x] =
              static_cast<std::uint8_t>(row[x] >> 24);
        }
      }
      SDL_UnlockSurface(surface);
    }
    SDL_FreeSurface(surface);
  }
  return cache_.emplace(text, std::move(rendered)).first->second;
}

bool TextRenderer::Draw(Image& target, const std::string& text, int x, int y, Pixel colour) {
  if (!OpenFont()) {
    return false;
  }
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
      if (alpha == 0) {
        continue;
      }
      const Pixel old = out[x + column];
      out[x + column] = (Blend(red, (old >> 16) & 0xFF, alpha) << 16) |
                    (Blend(green, (old >> 8) & 0xFF, alpha) << 8) | Blend(blue, old & 0xFF, alpha);
    }
  }
  return true;
}

}  // namespace tavi
