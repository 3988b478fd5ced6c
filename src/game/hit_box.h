#pragma once

namespace tavi {

// A box whose four bounds all belong to it.
struct HitBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

enum class HitKind { BarrelHit = 1, SharkHit = 2, StoneHit = 3 };

// True when a corner of b lies within a or a corner of a lies within b.
bool BoxesTouch(const HitBox& a, const HitBox& b);

}  // namespace tavi
