#pragma once

#include "app/file_paths.h"
#include "app/options.h"

namespace tavi {

class Platform;

// Start-up, the main loop and the end of the program. Returns the exit status.
int RunProgram(const Options& options, Platform& platform, const FilePaths& files = {});

}  // namespace tavi
