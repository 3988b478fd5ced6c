#pragma once

#include <vector>

#include "base/media_manifest.h"

namespace tavi {

// The buttons of a screen in the order the arrow keys step through them, and the one chosen
// first while the selection frame is on none.
struct ScreenButtons {
  std::vector<const media::Picture*> buttons;
  int preferred = 0;
};

class ScreenContext;
class ScreenList;

// One screen of the game. The screen list hands the window messages and each frame to the screen
// that shows; a screen changes to another through the list. Every screen is handed what the
// screens share and the list.
class Screen {
 public:
  Screen(ScreenContext& context, ScreenList& screens) : context_(context), screens_(screens) {}
  virtual ~Screen() = default;

  // The screen is changed to (the menu is not entered at start-up: it simply shows first).
  virtual void Enter() {}
  // The mouse moved: (x, y) is the pointer's top-left corner.
  virtual void MouseMove(int /*x*/, int /*y*/) {}
  // A left-button press, tested at (x, y).
  virtual void Click(int /*x*/, int /*y*/) {}
  virtual void Escape() = 0;
  // A frame: the screen's work, then its drawing over the backdrop. A screen left during its
  // Update still draws this frame.
  virtual void Update() {}
  virtual void Draw() = 0;

  // For the keyboard menus; no buttons where the keys do nothing.
  virtual const ScreenButtons& Buttons() const {
    static const ScreenButtons none;
    return none;
  }
  // A game is played here: it may pause.
  virtual bool Pausable() const { return false; }
  // A name is typed here: the platform reports keys as the player's layout types them.
  virtual bool TypesName() const { return false; }

 protected:
  ScreenContext& context_;
  ScreenList& screens_;
};

}  // namespace tavi
