#include "platform/gamepads.h"

#include <algorithm>
#include <cstdio>

#include "base/dik.h"

namespace tavi {

namespace {

// Half deflection: a stick resting a little off centre moves nothing.
constexpr int StickDeadZone = 16384;

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

}  // namespace

Gamepads::Gamepads() {
  ready_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (!ready_) {
    std::fprintf(stderr, "SDL-Gamepads: %s\n", SDL_GetError());
  }
}

Gamepads::~Gamepads() {
  for (SDL_GameController* pad : pads_) {
    SDL_GameControllerClose(pad);
  }
  if (ready_) {
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
}

void Gamepads::Handle(const SDL_Event& event, std::uint32_t windowId) {
  if (!ready_) {
    return;
  }
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: {
      // Pads present at the start are announced too; a pad announced twice is opened once.
      const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(event.cdevice.which);
      if (std::none_of(pads_.begin(), pads_.end(), [id](SDL_GameController* pad) { return InstanceId(pad) == id; })) {
        if (SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which)) {
          pads_.push_back(pad);
        }
      }
      break;
    }
    case SDL_CONTROLLERDEVICEREMOVED:
      // Removed by instance id; whatever the pad held is released with it.
      pads_.erase(std::remove_if(pads_.begin(), pads_.end(),
                                 [&event](SDL_GameController* pad) {
                                   if (InstanceId(pad) != event.cdevice.which) return false;
                                   SDL_GameControllerClose(pad);
                                   return true;
                                 }),
                  pads_.end());
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
      if (event.cbutton.button == SDL_CONTROLLER_BUTTON_B) {
        PushKey(SDL_SCANCODE_ESCAPE, down, windowId);
      } else if (event.cbutton.button == SDL_CONTROLLER_BUTTON_START) {
        PushKey(SDL_SCANCODE_PAUSE, down, windowId);
      }
      break;
    }
    default:
      break;
  }
}

void Gamepads::AddHeldKeys(std::uint8_t (&state)[256]) const {
  for (SDL_GameController* pad : pads_) {
    const auto held = [pad](SDL_GameControllerButton button) {
      return SDL_GameControllerGetButton(pad, button) != 0;
    };
    const int x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    const int y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    const struct {
      bool down;
      std::uint32_t dik;
    } keys[] = {
        {held(SDL_CONTROLLER_BUTTON_DPAD_UP) || y <= -StickDeadZone, Dik::Up},
        {held(SDL_CONTROLLER_BUTTON_DPAD_DOWN) || y >= StickDeadZone, Dik::Down},
        {held(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || x <= -StickDeadZone, Dik::Left},
        {held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || x >= StickDeadZone, Dik::Right},
        {held(SDL_CONTROLLER_BUTTON_A), Dik::Space},
    };
    for (const auto& key : keys) {
      if (key.down) state[key.dik] = 0x80;
    }
  }
}

}  // namespace tavi
