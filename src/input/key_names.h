#pragma once

#include <string>

namespace tavi {

// DirectInput key names without their DIK_ prefix, as demos write them.
// Returns the scan code, or -1 for an unknown name.
int ScanCodeFromName(const std::string& name);
// The name of a scan code, or nullptr when it has none.
const char* NameOfScanCode(int scanCode);

}  // namespace tavi
