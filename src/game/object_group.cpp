#include "game/object_group.h"

#include "base/frame_size.h"
#include "base/media_manifest.h"
#include "game/diver.h"
#include "game/random.h"
#include "graphics/display.h"
#include "sound/sound_system.h"

namespace tavi {

namespace {

constexpr int RightEdge = FrameWidth;
constexpr int BarrelLanded = 633;

}  // namespace

void ObjectGroup::Init(Display& display, ObjectKind groupKind, Diver& groupDiver) {
  const int index = static_cast<int>(groupKind) - 1;
  if (index < 0 || index >= ObjectKindCount) return;
  animation.Load(display, *media::ObjectSheets[index]);
  animation.Restart(-1);
  kind = groupKind;
  diver = &groupDiver;
}

void ObjectGroup::Spawn() {
  ObjectInstance o;
  switch (kind) {
    case ObjectKind::Fish:
      o = {RightEdge, random_.Next() % 600, 4, 0, kind, 45, 24, diver};
      break;
    case ObjectKind::Plant:
      o = {RightEdge, 556, 2, 0, kind, 32, 128, diver};
      break;
    case ObjectKind::PoisonBarrel:
      o = {RightEdge, random_.Next() % 581, 2, 0, kind, 59, 91, diver};
      break;
    case ObjectKind::Shark:
      o = {RightEdge, 100 + random_.Next() % 500, 5, 0, kind, 315, 118, diver};
      break;
    case ObjectKind::Bubbles:
      // From the diver's right edge, level with its top.
      o = {diver ? diver->GetX() + 159 : 0, diver ? diver->GetY() : 0, 2, -1, kind, 18, 18, diver};
      break;
    case ObjectKind::Stone:
      o = {RightEdge, 625, 2, 0, kind, 68, 63, diver};
      break;
    case ObjectKind::Barrel:
      o = {512 + random_.Next() % 512, -78, 2, 2, kind, 92, 78, diver};
      break;
  }
  instances.push_back(o);
}

void ObjectGroup::RestartAfterRemoval() {
  // Kept on purpose: the pass goes on at the second record, so the new first one waits a frame.
  cursor = instances.begin();
  if (cursor != instances.end()) ++cursor;
}

void ObjectGroup::Update() {
  // Movement.
  for (cursor = instances.begin(); cursor != instances.end(); ++cursor) {
    ObjectInstance& o = *cursor;
    if (o.kind == ObjectKind::Shark && diver) {
      const int d = diver->GetY();
      if (o.y < d - 47) {
        o.speedY = 2;
      } else if (o.y > d - 43) {
        o.speedY = -2;
      } else {
        o.speedY = 0;
      }
    }
    // Kept on purpose: a landing barrel thuds twice (634 -> 633, then 633 -> 632) and rests at 632.
    if (o.kind == ObjectKind::Barrel && o.y >= BarrelLanded) {
      sound_.PlaySoundEffect(media::StoneSound.file);
      o.speedY = 0;
      o.y -= 1;
    }
    o.x -= o.speedX;
    o.y += o.speedY;
  }

  if (!diver) return;

  // Catch and leave.
  cursor = instances.begin();
  while (cursor != instances.end()) {
    const ObjectInstance& o = *cursor;
    // Only a held-out net catches; the (0, 0, 0, 0) box of the other poses would net fish at the corner.
    if (o.kind == ObjectKind::Fish && diver->HasNet() && BoxesTouch(GetObjectBox(o), diver->GetNetBox())) {
      instances.erase(cursor);
      diver->CatchFish();
      RestartAfterRemoval();
    } else if (o.x + o.width <= 0 || (o.y + o.height <= 0 && o.kind != ObjectKind::Barrel)) {
      instances.erase(cursor);
      RestartAfterRemoval();
    } else {
      ++cursor;
    }
  }

  // Contact with the diver's body; its box is worked out afresh for every record.
  cursor = instances.begin();
  while (cursor != instances.end()) {
    const ObjectInstance& o = *cursor;
    if (!BoxesTouch(diver->GetBox(), GetObjectBox(o))) {
      ++cursor;
      continue;
    }
    switch (o.kind) {
      case ObjectKind::PoisonBarrel:
      case ObjectKind::Barrel:
        instances.erase(cursor);
        diver->Hit(HitKind::BarrelHit);
        RestartAfterRemoval();
        continue;
      case ObjectKind::Shark:
        diver->Hit(HitKind::SharkHit);
        break;
      case ObjectKind::Stone:
        diver->Hit(HitKind::StoneHit);
        break;
      default:
        break;  // fish, plants and bubbles are harmless
    }
    ++cursor;
  }
}

void ObjectGroup::Draw() {
  // One shared animation: every object of the kind shows the same frame, stepped once a frame.
  for (const ObjectInstance& o : instances) animation.Draw(o.x, o.y, false);
  animation.Advance();
}

void ObjectGroup::Clear() { instances.clear(); }

}  // namespace tavi
