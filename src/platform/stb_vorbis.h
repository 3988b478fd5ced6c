#pragma once

// stb_vorbis's declarations (its code is in stb_vorbis.cpp): the recording read from memory only.
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>
