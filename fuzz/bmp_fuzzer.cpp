// The BMP loader with any file: header checks, SDL's decoding, the conversion to our pixel format
// and the scaling. A refused file must leave the target picture untouched; a loaded one must have
// exactly the asked size, keep the colour key and hold no bits above the 24 colour bits.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "bmp_sizes.h"
#include "fuzz_check.h"
#include "platform/bmp_loader.h"

namespace {

constexpr tavi::Pixel SentinelPixel = 0x00123456;
constexpr tavi::Pixel SentinelKey = 0x00ABCDEF;

// The loader takes a path: the input goes into an anonymous in-memory file opened by its
// /proc name, so nothing touches the disk and parallel runs do not meet.
struct InputFile {
  int fd = memfd_create("tavi-bmp-fuzz", MFD_CLOEXEC);
  std::string path = "/proc/self/fd/" + std::to_string(fd);

  void Write(const std::uint8_t* data, std::size_t size) const {
    TAVI_REQUIRE(fd >= 0 && ftruncate(fd, 0) == 0);
    std::size_t done = 0;
    while (done < size) {
      const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
      TAVI_REQUIRE(n > 0);
      done += static_cast<std::size_t>(n);
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const tavi::fuzz::BmpSize target = tavi::fuzz::BmpSizes[data[0] % tavi::fuzz::BmpSizeCount];
  static const InputFile input;
  input.Write(data + 1, size - 1);

  tavi::Image picture(1, 1, SentinelPixel);
  picture.SetColourKey(SentinelKey);
  if (tavi::LoadBmpScaled(input.path, target.width, target.height, picture)) {
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
