#pragma once

#include "app/screens/screen.h"
#include "graphics/animation.h"

namespace tavi {

class Display;

// The running objects of the instructions. Loaded once; each keeps its frame between visits.
struct InstructionAnimations {
  void Load(Display& display);

  Animation diver;
  Animation fish;
  Animation poisonBarrel;
  Animation shark;
  Animation stone;
  Animation barrel;
};

// The story and every object of the lake beside what it does.
class InstructionsScreen : public Screen {
 public:
  InstructionsScreen(ScreenContext& context, ScreenList& screens, InstructionAnimations& animations)
      : Screen(context, screens), animations_(animations) {}

  void Enter() override;
  void MouseMove(int x, int y) override;
  void Click(int x, int y) override;
  void Escape() override;
  void Draw() override;
  const ScreenButtons& Buttons() const override { return buttons_; }

 private:
  InstructionAnimations& animations_;
  const ScreenButtons buttons_{{&media::BackButton}};
};

}  // namespace tavi
