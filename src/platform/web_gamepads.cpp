#include "platform/web_gamepads.h"

#include <emscripten.h>

#include <vector>

namespace {

constexpr int MaxPads = 8;
constexpr int Fields = 10;  // per pad: connected, up, down, left, right, A, B, Start, stick x, y

}  // namespace

// Fills `out` with `Fields` numbers per pad of navigator.getGamepads() (standard mapping: buttons
// 12-15 the d-pad, 0 A, 1 B, 9 Start; axes 0 and 1 the left stick); the number of places.
EM_JS(int, WebLookAtPads, (double* out, int maxPads), {
  if (Module.taviDemo || !navigator.getGamepads) return 0;  // a demo's keys are its own
  let pads;
  try {
    pads = navigator.getGamepads() || [];
  } catch (error) {
    return 0;  // not allowed here (a frame without the permission)
  }
  const count = Math.min(pads.length, maxPads);
  const fields = [1, 12, 13, 14, 15, 0, 1, 9];
  for (let place = 0; place < count; ++place) {
    const pad = pads[place];
    const at = (out >> 3) + place * 10;
    HEAPF64.fill(0, at, at + 10);
    if (!pad || !pad.connected) continue;
    const pressed = index => {
      const button = pad.buttons[index];
      return button !== undefined && (typeof button === 'object' ? button.pressed : button > 0.5);
    };
    HEAPF64[at] = 1;
    for (let field = 1; field < 8; ++field) HEAPF64[at + field] = pressed(fields[field]) ? 1 : 0;
    HEAPF64[at + 8] = Number(pad.axes[0]) || 0;
    HEAPF64[at + 9] = Number(pad.axes[1]) || 0;
  }
  return count;
});

namespace tavi {

void WebGamepads::Look(std::deque<WindowEvent>& events) {
  const double now = emscripten_get_now();
  if (now - lastLook_ < 1) return;
  lastLook_ = now;
  double numbers[MaxPads * Fields] = {};
  const int count = WebLookAtPads(numbers, MaxPads);
  std::vector<PadLook> pads(static_cast<std::size_t>(count));
  for (int place = 0; place < count; ++place) {
    const double* at = numbers + place * Fields;
    PadLook& look = pads[static_cast<std::size_t>(place)];
    look.connected = at[0] != 0;
    look.up = at[1] != 0;
    look.down = at[2] != 0;
    look.left = at[3] != 0;
    look.right = at[4] != 0;
    look.a = at[5] != 0;
    look.b = at[6] != 0;
    look.start = at[7] != 0;
    look.x = at[8];
    look.y = at[9];
  }
  keys_.Look(pads, events);
}

}  // namespace tavi
