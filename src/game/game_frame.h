#pragma once

#include "game/object_group.h"

namespace tavi {

class Diver;
class Random;

// The work of one frame of the game screen: the diver's and the groups' updates and spawning.
// True when the diver's game is over.
bool UpdateGameFrame(Diver& diver, const ObjectGroups& groups, Random& random);

// Its drawing: the diver, the groups and the score display.
void DrawGameFrame(Diver& diver, const ObjectGroups& groups);

}  // namespace tavi
