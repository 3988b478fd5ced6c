#pragma once

// stb_truetype's declarations (Debian's libstb-dev, copied into the build by CMake so that the
// browser build finds it without the system's headers); its code is compiled in truetype.cpp.
#include <stb/stb_truetype.h>
