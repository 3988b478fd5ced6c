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

void RunGameFrame(Diver& diver, const ObjectGroups& groups, Random& random, const std::function<void()>& endGame) {
  diver.Update();
  for (ObjectGroup* group : groups)
    if (group) group->Update();
  SpawnStep(random, groups);
  // The frame that ends the game is still drawn to its end, over an emptied lake.
  if (diver.IsOver() && endGame) endGame();
  diver.Draw();
  for (ObjectKind kind : DrawOrder)
    if (ObjectGroup* group = groups[static_cast<int>(kind) - 1]) group->Draw();
  diver.DrawHud();
}

}  // namespace tavi
