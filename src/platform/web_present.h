#pragma once

#include <cstdint>
#include <memory>

#include "base/image.h"

namespace tavi {

// Shows a frame on the page's canvas as it is; the page scales the canvas to the window.
class WebPresenter {
 public:
  void Present(const Image& frame);

 private:
  // The frame in the canvas's byte order; made once, and not cleared first, as every frame
  // writes all of it.
  std::unique_ptr<std::uint32_t[]> rgba_;
};

}  // namespace tavi
