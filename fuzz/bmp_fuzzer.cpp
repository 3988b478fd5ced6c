// The BMP decoder with any file: header checks, decoding every depth and compression, the
// conversion to our pixel format and the scaling. A refused file must leave the target picture
// untouched; a decoded one must have exactly the asked size, keep the colour key and hold no bits
// above the 24 colour bits.
#include <cstdint>
#include <string>

#include "bmp_sizes.h"
#include "fuzz_check.h"
#include "graphics/bmp_decoder.h"

namespace {

constexpr tavi::Pixel SentinelPixel = 0x00123456;
constexpr tavi::Pixel SentinelKey = 0x00ABCDEF;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const tavi::fuzz::BmpSize target = tavi::fuzz::BmpSizes[data[0] % tavi::fuzz::BmpSizeCount];
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  tavi::Image picture(1, 1, SentinelPixel);
  picture.SetColourKey(SentinelKey);
  if (tavi::DecodeBmpScaled(bytes, target.width, target.height, picture)) {
    TAVI_REQUIRE(picture.Width() == target.width && picture.Height() == target.height);
    TAVI_REQUIRE(picture.Pixels().size() == static_cast<std::size_t>(target.width) * target.height);
    TAVI_REQUIRE(picture.ColourKey() == SentinelKey);
    for (const tavi::Pixel p : picture.Pixels()) TAVI_REQUIRE(p <= 0x00FFFFFFu);
  } else {
    TAVI_REQUIRE(picture.Width() == 1 && picture.Height() == 1);
    TAVI_REQUIRE(picture.At(0, 0) == SentinelPixel && picture.ColourKey() == SentinelKey);
  }
  return 0;
}
