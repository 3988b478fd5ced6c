// stb_truetype's code, once, without our warnings: it is not ours to change.
#define STB_TRUETYPE_IMPLEMENTATION
#include "graphics/truetype.h"
