#pragma once

#include <array>
#include <list>

#include "game/hit_box.h"
#include "graphics/animation.h"

namespace tavi {

class Display;
class Diver;
class Random;
class SoundSystem;

enum class ObjectKind { Fish = 1, Plant = 2, PoisonBarrel = 3, Shark = 4, Bubbles = 5, Stone = 6, Barrel = 7 };
constexpr int ObjectKindCount = 7;

struct ObjectInstance {
  int x = 0;
  int y = 0;
  int speedX = 0;
  int speedY = 0;
  ObjectKind kind = ObjectKind::Fish;
  int width = 0;
  int height = 0;
  Diver* diver = nullptr;
};

// The box an object presents to the diver, by its kind.
HitBox GetObjectBox(const ObjectInstance& object);

// All live objects of one kind with their one shared animation.
class ObjectGroup {
 public:
  ObjectGroup(Random& random, SoundSystem& sound) : random_(random), sound_(sound) {}

  void Init(Display& display, ObjectKind kind, Diver& diver);
  void Spawn();
  void Update();
  void Draw();
  void Clear();

  ObjectKind Kind() const { return kind; }
  std::list<ObjectInstance>& Instances() { return instances; }
  const std::list<ObjectInstance>& Instances() const { return instances; }
  Animation& GetAnimation() { return animation; }

 private:
  // After a removal the pass goes on from the record now second in the list.
  void RestartAfterRemoval();

  std::list<ObjectInstance> instances;
  std::list<ObjectInstance>::iterator cursor;
  Animation animation;
  ObjectKind kind = ObjectKind::Fish;
  Diver* diver = nullptr;
  Random& random_;
  SoundSystem& sound_;
};

// The seven groups in kind order Fish .. Barrel (index = kind - 1).
using ObjectGroups = std::array<ObjectGroup*, ObjectKindCount>;

// Once per game frame after every group's Update: each kind spawns with a chance of 1 in N.
void SpawnStep(Random& random, const ObjectGroups& groups);

}  // namespace tavi
