#include "game/object_group.h"
#include "game/random.h"

namespace tavi {

namespace {

// One chance in N per frame, by kind in kind order.
constexpr int SpawnDivisors[ObjectKindCount] = {120, 180, 180, 1200, 300, 600, 480};

}  // namespace

void SpawnStep(Random& random, const ObjectGroups& groups) {
  for (int i = 0; i < ObjectKindCount; ++i) {
    // The test draw comes first; Spawn's own draws follow before the next kind's test.
    if (random.Next() % SpawnDivisors[i] == 1 && groups[i]) groups[i]->Spawn();
  }
}

}  // namespace tavi
