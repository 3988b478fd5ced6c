#pragma once

#include <functional>

#include "game/object_group.h"

namespace tavi {

class Diver;
class Random;

// One frame of the game screen: the diver's and the groups' updates, spawning, the end test
// (calling `endGame` when the diver's game is over), the drawing and the score display.
void RunGameFrame(Diver& diver, const ObjectGroups& groups, Random& random,
                  const std::function<void()>& endGame);

}  // namespace tavi
