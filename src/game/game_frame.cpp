#include "game/game_frame.h"

#include "game/diver.h"
#include "game/random.h"

namespace tavi {

namespace {

// Later groups cover earlier ones: every object covers the diver, bubbles cover sharks.
constexpr ObjectKind DrawOrder[ObjectKindCount] = {ObjectKind::Fish,   ObjectKind::Plant, ObjectKind::Stone,
                                                   ObjectKind::PoisonBarrel, ObjectKind::Barrel,
                                                   ObjectKind::Shark,  ObjectKind::Bubbles};

}  // namespace

bool UpdateGameFrame(Diver& diver, const ObjectGroups& groups, Random& random) {
  diver.Update();
  for (ObjectGroup* group : groups)
    if (group) group->Update();
  SpawnStep(random, groups);
  return diver.IsOver();
}

void DrawGameFrame(Diver& diver, const ObjectGroups& groups) {
  diver.Draw();
  for (ObjectKind kind : DrawOrder)
    if (ObjectGroup* group = groups[static_cast<int>(kind) - 1]) group->Draw();
  diver.DrawHud();
}

}  // namespace tavi
