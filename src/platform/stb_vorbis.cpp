// stb_vorbis's code, once, without our warnings: it is not ours to change.
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include <stb/stb_vorbis.h>
