#include "platform/bmp_loader.h"

#include <SDL_rwops.h>
#include <SDL_surface.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

namespace tavi {

namespace {

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

}  // namespace

bool LoadBmpScaled(const std::string& path, int width, int height, Image& out) {
  std::string bytes;
  if (!ReadPlausibleBmp(path, width, height, bytes)) {
    return false;
  }
  SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (stream == nullptr) {
    return false;
  }
  SurfacePtr decoded(SDL_LoadBMP_RW(stream, 1));
  if (!decoded) {
    return false;
  }
  SurfacePtr pixels(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_RGB888, 0));
  if (!pixels || SDL_LockSurface(pixels.get()) != 0) {
    return false;
  }
  const int sourceWidth = pixels->w;
  const int sourceHeight = pixels->h;
  Image scaled(width, height);
  scaled.SetColourKey(out.ColourKey());
  const auto* base = static_cast<const unsigned char*>(pixels->pixels);
  for (int y = 0; y < height; ++y) {
    // Sample at the centre of each target pixel, so shrinking keeps the picture symmetric.
    const int sy = static_cast<int>((2 * static_cast<std::int64_t>(y) + 1) * sourceHeight /
                                    (2 * static_cast<std::int64_t>(height)));
    const auto* sourceRow = reinterpret_cast<const std::uint32_t*>(base + sy * pixels->pitch);
    Pixel* targetRow = scaled.Row(y);
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>((2 * static_cast<std::int64_t>(x) + 1) * sourceWidth /
                                      (2 * static_cast<std::int64_t>(width)));
      targetRow[x] = sourceRow[sx] & 0x00FFFFFFu;
    }
  }
  SDL_UnlockSurface(pixels.get());
  out = std::move(scaled);
  return true;
}

}  // namespace tavi
