#include "game/object_group.h"

namespace tavi {

HitBox GetObjectBox(const ObjectInstance& o) {
  const int x = o.x;
  const int y = o.y;
  const int w = o.width;
  const int h = o.height;
  switch (o.kind) {
    case ObjectKind::PoisonBarrel:  // a narrow upright strip in the left half
      return HitBox{x + 14, y - 10 + h / 4, x + w / 2, y + h + 10 - h / 4};
    case ObjectKind::Shark:  // only the leading left half bites, middle half of its height
      return HitBox{x, y + h / 4, x + w / 2, y + h - h / 4};
    case ObjectKind::Barrel:  // the middle two thirds of its height
      return HitBox{x, y + h / 6, x + w, y + h - h / 6};
    default:
      return HitBox{x, y, x + w, y + h};
  }
}

}  // namespace tavi
