#include "base/file_read.h"
#include "platform/platform.h"

#ifndef TAVI_FONT_FILE
#define TAVI_FONT_FILE "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
#endif

namespace tavi {

bool ReadMediaFile(const std::string& mediaName, std::size_t maxBytes, std::string& bytes, std::string& error) {
  return ReadRegularFile(ResolveMediaPath(mediaName), maxBytes, bytes, error, mediaName);
}

bool ReadTextFontFile(std::size_t maxBytes, std::string& bytes, std::string& error) {
  return ReadRegularFile(TAVI_FONT_FILE, maxBytes, bytes, error);
}

}  // namespace tavi
