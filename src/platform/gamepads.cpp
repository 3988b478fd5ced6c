#include "platform/gamepads.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/dik.h"
#include "base/error_log.h"
#include "base/translate.h"

namespace tavi {

namespace {

// Half deflection: a stick resting a little off centre moves nothing.
constexpr int StickDeadZone = 16384;
// Under a quarter the stick is back in the centre; between the two it neither presses nor rearms,
// so a stick trembling about half deflection presses once.
constexpr int StickCentre = StickDeadZone / 2;

SDL_JoystickID InstanceId(SDL_GameController* pad) {
  return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
}

void PushKey(SDL_Scancode scancode, bool down, std::uint32_t windowId) {
  SDL_Event key{};
  key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  key.key.windowID = windowId;
  key.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  key.key.keysym.scancode = scancode;
  key.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
  SDL_PushEvent(&key);
}

std::uint8_t ButtonCode(int button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return Dik::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return Dik::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return Dik::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return Dik::Right;
    case SDL_CONTROLLER_BUTTON_A:
      return Dik::Space;
    default:
      return 0;
  }
}

}  // namespace

Gamepads::Gamepads() {
  ready_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!ready_) {
    WriteToStandardError(FillIn(Translate("Gamepads stehen nicht zur Verf\xFCgung: %s"), {SDL_GetError()}));  // Verfügung
  }
}

Gamepads::~Gamepads() {
  for (const Pad& pad : pads_) {
    SDL_GameControllerClose(pad.controller);
  }
  if (ready_) {
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
}

std::uint8_t Gamepads::Observe(Axis& axis, int axisIndex, int value) {
  if (std::abs(value) < StickCentre) {
    axis.counts = axis.rearmed = true;
    return 0;
  }
  if (std::abs(value) < StickDeadZone || !axis.counts || !axis.rearmed) return 0;
  axis.rearmed = false;
  if (axisIndex == 0) return value < 0 ? Dik::Left : Dik::Right;
  return value < 0 ? Dik::Up : Dik::Down;
}

std::uint8_t Gamepads::Handle(const SDL_Event& event, std::uint32_t windowId) {
  if (!ready_) {
    return 0;
  }
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: {
      // Pads present at the start are announced too; a pad announced twice is opened once.
      const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(event.cdevice.which);
      if (std::none_of(pads_.begin(), pads_.end(), [id](const Pad& pad) { return InstanceId(pad.controller) == id; })) {
        if (SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which)) {
          pads_.push_back({controller, {}});
        }
      }
      break;
    }
    case SDL_CONTROLLERDEVICEREMOVED:
      // Removed by instance id; whatever the pad held is released with it.
      pads_.erase(std::remove_if(pads_.begin(), pads_.end(),
                                 [&event](const Pad& pad) {
                                   if (InstanceId(pad.controller) != event.cdevice.which) return false;
                                   SDL_GameControllerClose(pad.controller);
                                   return true;
                                 }),
                  pads_.end());
      break;
    case SDL_CONTROLLERAXISMOTION:
      if (event.caxis.axis > SDL_CONTROLLER_AXIS_LEFTY) break;
      for (Pad& pad : pads_) {
        if (InstanceId(pad.controller) == event.caxis.which) {
          return Observe(pad.axes[event.caxis.axis], event.caxis.axis, event.caxis.value);
        }
      }
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
      if (event.cbutton.button == SDL_CONTROLLER_BUTTON_B) {
        PushKey(SDL_SCANCODE_ESCAPE, down, windowId);
      } else if (event.cbutton.button == SDL_CONTROLLER_BUTTON_START) {
        PushKey(SDL_SCANCODE_PAUSE, down, windowId);
      } else if (down) {
        return ButtonCode(event.cbutton.button);
      }
      break;
    }
    default:
      break;
  }
  return 0;
}

void Gamepads::AddHeldKeys(std::uint8_t (&state)[256], bool directions) {
  for (Pad& pad : pads_) {
    const auto held = [&pad](SDL_GameControllerButton button) {
      return SDL_GameControllerGetButton(pad.controller, button) != 0;
    };
    if (held(SDL_CONTROLLER_BUTTON_A)) state[Dik::Space] = 0x80;
    if (!directions) continue;
    int deflection[2] = {};
    for (int i = 0; i < 2; ++i) {
      deflection[i] = SDL_GameControllerGetAxis(pad.controller, static_cast<SDL_GameControllerAxis>(i));
      // A stick at rest sends no events: it is seen in the centre here (its presses are events).
      if (std::abs(deflection[i]) < StickCentre) pad.axes[i].counts = pad.axes[i].rearmed = true;
      if (!pad.axes[i].counts) deflection[i] = 0;
    }
    const struct {
      bool down;
      std::uint32_t dik;
    } keys[] = {
        {held(SDL_CONTROLLER_BUTTON_DPAD_UP) || deflection[1] <= -StickDeadZone, Dik::Up},
        {held(SDL_CONTROLLER_BUTTON_DPAD_DOWN) || deflection[1] >= StickDeadZone, Dik::Down},
        {held(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || deflection[0] <= -StickDeadZone, Dik::Left},
        {held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || deflection[0] >= StickDeadZone, Dik::Right},
    };
    for (const auto& key : keys) {
      if (key.down) state[key.dik] = 0x80;
    }
  }
}

}  // namespace tavi
