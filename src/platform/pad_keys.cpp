#include "platform/pad_keys.h"

#include <cmath>

#include "base/dik.h"

namespace tavi {

namespace {

// As the desktop's pads: half deflection swims, so a stick resting a little off centre moves
// nothing; under a quarter it is back in the centre, and between the two it neither presses nor
// rearms, so a stick trembling about half deflection presses once.
constexpr double StickDeadZone = 0.5;
constexpr double StickCentre = StickDeadZone / 2;

// A pad's press is the game's own code already: the player's key bindings leave it alone.
WindowEvent KeyPress(std::uint32_t code) { return {WindowEventType::KeyPress, 0, 0, static_cast<std::uint8_t>(code), false, true}; }

}  // namespace

bool PadKeys::Deflected(const Axis& axis, double value, bool negative) {
  return axis.counts && (negative ? value <= -StickDeadZone : value >= StickDeadZone);
}

void PadKeys::Look(const std::vector<PadLook>& pads, std::deque<WindowEvent>& presses) {
  if (pads_.size() < pads.size()) pads_.resize(pads.size());
  for (std::size_t place = 0; place < pads_.size(); ++place) {
    Pad& pad = pads_[place];
    if (place >= pads.size() || !pads[place].connected) {
      pad = Pad{};
      continue;
    }
    const PadLook& now = pads[place];
    const PadLook before = pad.look;
    pad.look = now;
    const auto pressed = [&](bool PadLook::*button) { return now.*button && !(before.*button); };
    if (pressed(&PadLook::b)) presses.push_back({WindowEventType::EscapeDown, 0, 0});
    if (pressed(&PadLook::start)) presses.push_back({WindowEventType::PauseKey, 0, 0});
    if (pressed(&PadLook::a)) presses.push_back(KeyPress(Dik::Space));
    if (pressed(&PadLook::up)) presses.push_back(KeyPress(Dik::Up));
    if (pressed(&PadLook::down)) presses.push_back(KeyPress(Dik::Down));
    if (pressed(&PadLook::left)) presses.push_back(KeyPress(Dik::Left));
    if (pressed(&PadLook::right)) presses.push_back(KeyPress(Dik::Right));
    const double values[2] = {now.x, now.y};
    for (int i = 0; i < 2; ++i) {
      Axis& axis = pad.axes[i];
      const double value = std::isfinite(values[i]) ? values[i] : 0;
      if (std::abs(value) < StickCentre) {
        axis.counts = axis.rearmed = true;
      } else if (std::abs(value) >= StickDeadZone && axis.counts && axis.rearmed) {
        axis.rearmed = false;
        if (i == 0) presses.push_back(KeyPress(value < 0 ? Dik::Left : Dik::Right));
        if (i == 1) presses.push_back(KeyPress(value < 0 ? Dik::Up : Dik::Down));
      }
    }
  }
}

void PadKeys::AddHeldKeys(std::uint8_t (&state)[256], bool directions) const {
  for (const Pad& pad : pads_) {
    const PadLook& look = pad.look;
    if (look.a) state[Dik::Space] = 0x80;
    if (!directions) continue;
    const struct {
      bool down;
      std::uint32_t dik;
    } keys[] = {
        {look.up || Deflected(pad.axes[1], look.y, true), Dik::Up},
        {look.down || Deflected(pad.axes[1], look.y, false), Dik::Down},
        {look.left || Deflected(pad.axes[0], look.x, true), Dik::Left},
        {look.right || Deflected(pad.axes[0], look.x, false), Dik::Right},
    };
    for (const auto& key : keys) {
      if (key.down) state[key.dik] = 0x80;
    }
  }
}

}  // namespace tavi
