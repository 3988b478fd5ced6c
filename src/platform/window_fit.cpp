#include "platform/window_fit.h"

#include <algorithm>

namespace tavi {

WindowSize FitWindow(WindowSize wanted, WindowSize room) {
  const bool fits = wanted.width <= room.width && wanted.height <= room.height;
  if (fits || wanted.width <= 0 || wanted.height <= 0 || room.width <= 0 || room.height <= 0) return wanted;
  const double scale = 0.9 * std::min(static_cast<double>(room.width) / wanted.width,
                                      static_cast<double>(room.height) / wanted.height);
  return {std::max(1, static_cast<int>(wanted.width * scale)), std::max(1, static_cast<int>(wanted.height * scale))};
}

}  // namespace tavi
