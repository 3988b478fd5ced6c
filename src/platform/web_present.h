#pragma once

#include <cstdint>
#include <vector>

#include "base/image.h"

namespace tavi {

// Shows a frame on the page's canvas as it is; the page scales the canvas to the window.
class WebPresenter {
 public:
  void Present(const Image& frame);

 private:
  std::vector<std::uint32_t> rgba_;  // the frame in the canvas's byte order
};

}  // namespace tavi
