#pragma once

namespace tavi {

// Whether a key of a keyboard sends this DirectInput scan code into the key snapshot: those that
// platform/scancodes.cpp maps an SDL scancode to. Some named codes (AT, KANJI, WAKE, ...) no key
// sends there; a binding to one of them would leave its action without a key.
bool KeyboardSendsDik(int dik);

}  // namespace tavi
