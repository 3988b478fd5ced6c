#pragma once

#include <cstdint>

#include "game/hit_box.h"
#include "graphics/animation.h"

namespace tavi {

class BitmapFont;
class Display;
class Keyboard;
class SoundSystem;

enum class DiverPose : std::int16_t { None = 0, Up = 1, Level = 2, Down = 3, Net = 4 };

// The player's figure: steered by the arrow keys, holds out a net with the space bar. It reads the
// keyboard's snapshot of the frame.
class Diver {
 public:
  Diver(Keyboard& keyboard, SoundSystem& sound, BitmapFont& font)
      : keyboard_(keyboard), sound_(sound), font_(font) {}

  void Init(Display& display);
  void Reset();
  void Update();
  void Draw();
  void DrawHud();

  int GetScore() const { return score; }
  int GetX() const { return x; }
  int GetY() const { return y; }
  bool IsOver() const;

  HitBox GetBox() const;
  HitBox GetNetBox() const;
  // Only a held-out net catches fish; the (0,0,0,0) box of the other poses catches nothing.
  bool HasNet() const { return pose == DiverPose::Net; }
  void CatchFish();
  void Hit(HitKind kind);

  // Level, Up, Down, Net in this order.
  Animation animations[4];
  int x = 50;
  int y = 100;
  int width = 159;
  int height = 60;
  DiverPose pose = DiverPose::None;
  int score = 0;
  int lives = 3;
  int eatenCountdown = -1;

 private:
  Keyboard& keyboard_;
  SoundSystem& sound_;
  BitmapFont& font_;
};

}  // namespace tavi
