#pragma once

// DirectInput's key names (DIK_ values without the prefix), as demo files write them.

#include <string>

namespace tavi {

// The scan code of a DirectInput key name without its "DIK_" prefix ("Z", "RETURN", "NUMPAD7");
// upper or lower case; -1 when the name is unknown.
int DikFromName(const std::string& name);

// The name of a scan code without its "DIK_" prefix, or nullptr for a code without a name.
const char* DikName(int dik);

}  // namespace tavi
