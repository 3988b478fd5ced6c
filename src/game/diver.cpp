#include "game/diver.h"

#include "base/frame_size.h"
#include "base/media_manifest.h"
#include "graphics/display.h"
#include "input/keyboard.h"
#include "sound/sound_system.h"

namespace tavi {

namespace {

constexpr int StartX = 50;
constexpr int StartY = 100;
constexpr int StartLives = 3;
constexpr int NotEaten = -1;
constexpr int EatenFrames = 45;
constexpr int Speed = 4;
constexpr int LakeBottom = 672;  // the diver's bottom edge never passes it
constexpr int StoneLift = 63;

}  // namespace

void Diver::Init(Display& display) {
  for (int i = 0; i < 4; ++i) {
    animations[i].Load(display, *media::DiverSheets[i]);
    animations[i].Restart(-1);
  }
  x = StartX;
  y = StartY;
  width = 159;
  height = 60;
  score = 0;
  lives = StartLives;
  eatenCountdown = NotEaten;
}

void Diver::Reset() {
  score = 0;
  lives = StartLives;
  x = StartX;
  y = StartY;
  eatenCountdown = NotEaten;
}

void Diver::Update() {
  const int countdown = eatenCountdown;
  if (countdown == NotEaten) {
    if (keyboard_.Down(Dik::Space)) {
      pose = DiverPose::Net;  // the net out holds the diver still
    } else {
      if (keyboard_.Down(Dik::Up)) {
        pose = DiverPose::Up;
        y -= Speed;
      } else if (keyboard_.Down(Dik::Down)) {
        pose = DiverPose::Down;
        y += Speed;
      } else {
        pose = DiverPose::Level;
      }
      if (keyboard_.Down(Dik::Left)) {
        pose = DiverPose::Level;
        x -= Speed;
        if (x <= -(width / 2)) x = -(width / 2);
      } else if (keyboard_.Down(Dik::Right)) {
        pose = DiverPose::Level;
        x += Speed;
        if (x > FrameWidth - width) x = FrameWidth - width;
      }
    }
  }
  if (y <= 0) y = 0;
  if (y >= LakeBottom - height) y = LakeBottom - height;
  if (countdown > 0) eatenCountdown = countdown - 1;
}

void Diver::Draw() {
  int index = -1;
  switch (pose) {
    case DiverPose::Level: index = 0; break;
    case DiverPose::Up: index = 1; break;
    case DiverPose::Down: index = 2; break;
    case DiverPose::Net: index = 3; break;
    default: break;  // no pose yet: nothing to show
  }
  if (index >= 0) animations[index].Draw(x, y, true);
}

bool Diver::IsOver() const { return eatenCountdown == 0 || lives <= 0; }

HitBox Diver::GetBox() const { return HitBox{x, y, x + width, y + height}; }

HitBox Diver::GetNetBox() const {
  if (!HasNet()) return HitBox{};
  // The right-hand quarter, measured with the truncated quarter width (117, not 119).
  return HitBox{x + 3 * (width / 4), y + height / 4, x + width, y + height - height / 4};
}

void Diver::CatchFish() {
  sound_.PlaySoundEffect(media::FishSound.file);
  ++score;
}

void Diver::Hit(HitKind kind) {
  switch (kind) {
    case HitKind::BarrelHit:
      sound_.PlaySoundEffect(media::BarrelSound.file);
      --lives;
      break;
    case HitKind::SharkHit:
      // A shark that keeps touching neither restarts the countdown nor roars again.
      if (eatenCountdown == NotEaten) {
        eatenCountdown = EatenFrames;
        sound_.PlaySoundEffect(media::SharkSound.file);
      }
      break;
    case HitKind::StoneHit:
      sound_.PlaySoundEffect(media::StoneSound.file);
      --lives;
      y -= StoneLift;
      break;
  }
}

}  // namespace tavi
